#include "SearchShortcut.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace ui {

namespace {
SearchOpener &opener()
{
    static SearchOpener o;
    return o;
}
} // namespace

void setSearchOpener(const SearchOpener &o) { opener() = o; }

void addSearchShortcut(QWidget *window, bool duringPractice)
{
    auto *shortcut = new QShortcut(QKeySequence::Find, window);
    shortcut->setObjectName(QStringLiteral("searchShortcut"));
    QObject::connect(shortcut, &QShortcut::activated, window, [window, duringPractice] {
        if (opener())
            opener()(window, duringPractice);
    });
}

} // namespace ui
