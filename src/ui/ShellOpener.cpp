#include "ShellOpener.h"

#include "PageViewer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>

namespace ui {
namespace {

bool isWebAddress(const QString &target)
{
    const QString scheme = QUrl(target).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto");
}

bool openWithProgram(const QString &target)
{
    if (isWebAddress(target))
        return QDesktopServices::openUrl(QUrl(target));
    // The desktop handler starts asynchronously and does not report a missing
    // file, so that is checked here.
    const QFileInfo file(target);
    if (!file.isFile())
        return false;
    const QString suffix = file.suffix().toLower();
    if (suffix == QLatin1String("htm") || suffix == QLatin1String("html")) {
        PageViewer viewer(target, QApplication::activeWindow());
        viewer.exec();
        return true;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(target));
}

std::function<bool(const QString &)> &opener()
{
    static std::function<bool(const QString &)> current = openWithProgram;
    return current;
}

} // namespace

bool openLocalPage(const QString &path) { return opener()(path); }

bool openWebAddress(const QUrl &address) { return opener()(address.toString()); }

void setPageOpener(std::function<bool(const QString &)> replacement)
{
    opener() = replacement ? std::move(replacement) : openWithProgram;
}

} // namespace ui
