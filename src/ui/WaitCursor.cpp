#include "WaitCursor.h"

#include <QApplication>

namespace ui {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

WaitCursor::~WaitCursor() { restore(); }

void WaitCursor::restore()
{
    if (!active)
        return;
    active = false;
    QApplication::restoreOverrideCursor();
}

} // namespace ui
