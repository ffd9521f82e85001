#pragma once

#include <QString>

class QWidget;

// Saves a picture of a window to $QUILLET_SCREENS/<name>-<ScreenClass>.png
// when that folder is set, so a person can look at what the tests drove.
void SaveScreen(QWidget &window, const QString &name);
