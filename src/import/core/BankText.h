#pragma once

#include <QByteArray>
#include <QString>

namespace importing {

// The text of a stored question body, read quickly for comparing questions:
// groups that hold no text (font and colour tables, pictures, "\*" groups)
// are skipped, "\'xx" bytes are GBK, "\uN" a character; formatting is
// dropped. Plain (non-RTF) bodies come back as they are. Letters and digits
// come out as the full RTF reader gives them, which is all a comparison
// needs, at a small fraction of its cost over a whole bank.
QString bankPlainText(const QByteArray &stored);

} // namespace importing
