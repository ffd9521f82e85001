#pragma once

#include <QString>
#include <functional>

namespace ui {

// Opens a local page or file with the desktop's handler; false when the file
// does not exist or no handler took it.
bool openLocalPage(const QString &path);

// Replaces how pages are opened (tests record the paths); an empty function
// restores the desktop handler.
void setPageOpener(std::function<bool(const QString &)> opener);

} // namespace ui
