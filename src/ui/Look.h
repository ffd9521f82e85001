#pragma once

class QApplication;
class QFont;
class QIcon;

namespace ui {

// The program font (CJK-capable, in falling preference) at a pixel size.
QFont programFont(int pixelSize = 14);

// The program's emblem at the sizes window managers and launchers ask for.
QIcon programIcon();

// Applies the program font, icon, palette and style sheet; call once at start-up.
void applyLook(QApplication &app);

} // namespace ui
