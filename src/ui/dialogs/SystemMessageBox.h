#pragma once

#include <QMessageBox>

// The system-style message box (no owner), through the message recorder.
QMessageBox::StandardButton SystemMessageBox(const QString &caption, const QString &text,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok);
