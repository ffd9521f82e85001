#pragma once

#include <functional>

class QWidget;

namespace ui {

// Ctrl+F opens the search window from the windows that offer it. That window
// belongs to a subsystem above the ones that offer it, so the program tells
// this layer how to open it; until it does, Ctrl+F does nothing.
// `duringPractice`: opened from a practice run, which must not start another.
using SearchOpener = std::function<void(QWidget *from, bool duringPractice)>;
void setSearchOpener(const SearchOpener &opener);

// Gives `window` the Ctrl+F shortcut.
void addSearchShortcut(QWidget *window, bool duringPractice);

} // namespace ui
