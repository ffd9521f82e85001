#pragma once

class QApplication;
class QFont;

namespace ui {

// The program font (CJK-capable, in falling preference) at a pixel size.
QFont programFont(int pixelSize = 14);

// Applies the program font, palette and style sheet; call once at start-up.
void applyLook(QApplication &app);

} // namespace ui
