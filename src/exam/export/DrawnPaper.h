#pragma once

#include "PaperExport.h"

namespace exam {

// A fresh paper of the subject, drawn exactly as a mock exam draws it, written
// to `outFile` with its answer section. The draw runs in a scratch copy of the
// bank, so the bank itself is only read: no score row, paper table or counter
// of the learner's changes. Throws store::Error, PaperError or docx::Error.
PaperRef drawPaperDocument(const QString &bankFile, int subject, const QString &outFile);

} // namespace exam
