#pragma once

class QWidget;

namespace search {

// Opens the search window modally over `from`; builds the index first when
// the bank has none.
void openSearchWindow(QWidget *from = nullptr, bool duringPractice = false);

// Lets Ctrl+F in the chapter selector and the practice windows open it.
void installSearchShortcut();

} // namespace search
