#pragma once

#include <QString>
#include <QUrl>
#include <functional>

namespace ui {

// Opens a file of the program: its pages (.htm) in the program's page viewer,
// anything else with the desktop's handler. False when the file does not exist
// or nothing took it.
bool openLocalPage(const QString &path);

// Hands an outside web address to the desktop's browser; false when none took it.
bool openWebAddress(const QUrl &address);

// Replaces how pages, files and web addresses are opened (tests record what
// is opened: a path, or an address as text); an empty function restores the
// program's own handling.
void setPageOpener(std::function<bool(const QString &)> opener);

} // namespace ui
