#include "ShellOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace ui {
namespace {

bool openWithDesktop(const QString &path)
{
    // The desktop handler starts asynchronously and does not report a missing
    // file, so that is checked here.
    if (!QFileInfo(path).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

std::function<bool(const QString &)> &opener()
{
    static std::function<bool(const QString &)> current = openWithDesktop;
    return current;
}

} // namespace

bool openLocalPage(const QString &path) { return opener()(path); }

void setPageOpener(std::function<bool(const QString &)> replacement)
{
    opener() = replacement ? std::move(replacement) : openWithDesktop;
}

} // namespace ui
