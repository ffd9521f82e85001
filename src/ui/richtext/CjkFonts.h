#pragma once

#include <QString>

class QTextDocument;

namespace richtext {

// Bank texts name Windows fonts (宋体, 黑体, 楷体, Times New Roman …) that a
// Linux desktop lacks. Each missing one is substituted by the nearest
// installed font so that Chinese always renders; the names themselves stay
// in the documents, so saving writes them back unchanged. Safe to call often.
void installCjkFontFallbacks();

// The installed CJK family the program shows Chinese text in.
QString programCjkFamily();

// The face of bank texts that name no font: the Song-style face for the screen.
QString readingCjkFamily();

// Any other font `document` names that is not installed is shown in the
// program's CJK font.
void substituteMissingFonts(const QTextDocument &document);

} // namespace richtext
