#pragma once

#include <QMessageBox>

// A message with standard buttons (OK, Cancel …) and a standard icon, drawn in
// the program's own box; through the message recorder. Returns the button pressed.
QMessageBox::StandardButton SystemMessageBox(const QString &caption, const QString &text,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok);
