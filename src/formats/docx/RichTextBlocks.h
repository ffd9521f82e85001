#pragma once

#include "Docx.h"

class QTextDocument;
class QTextCharFormat;

namespace docx {

// The paragraphs, tables and pictures of a rich text (as the RTF reader
// builds it) in document form, with their character formats. Pictures are
// added to `target`.
QVector<Block> blocksOf(const QTextDocument &text, Document &target);

CharFormat charFormatOf(const QTextCharFormat &format);

} // namespace docx
