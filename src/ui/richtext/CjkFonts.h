#pragma once

#include <QString>

namespace richtext {

// Bank texts name Windows fonts (宋体, 黑体, 楷体, Times New Roman …) that a
// Linux desktop lacks. Each missing one is substituted by the nearest
// installed font so that Chinese always renders; the names themselves stay
// in the documents, so saving writes them back unchanged. Safe to call often.
void installCjkFontFallbacks();

// The installed CJK family the program shows Chinese text in.
QString programCjkFamily();

} // namespace richtext
