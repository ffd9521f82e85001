#pragma once

#include <QRect>

class QApplication;
class QWidget;

namespace ui {

// Where a secondary window of `size` goes: centred over its opener's frame,
// shrunk to the screen's available area when larger, and moved so that it
// lies wholly on it.
QRect placementOver(const QSize &size, const QRect &opener, const QRect &available);

// Places `window` by placementOver: over the window that opened it (its
// parent's window, else the active window, else the screen) on that screen's
// available area. A window that is larger than the area is shrunk to it.
void placeOverOpener(QWidget *window);

// Every secondary window (a dialog or any window with a parent) is placed
// by placeOverOpener each time it is shown, after its own show handling has
// set its size. Called once at start-up; windows need not call anything.
void installWindowPlacement(QApplication &app);

} // namespace ui
