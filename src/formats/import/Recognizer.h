#pragma once

#include "Recognized.h"
#include "Source.h"

namespace formats::import {

class Deadline;

// Finds the questions of a document written as running text (a Word
// document, a text file): numbered questions under section headings, their
// options, keys and explanations, and the answer list at the end.
Recognition recognizeDocument(const SourceDocument &document, int subject, const Deadline &deadline);

// The questions of a decoded text file: GIFT, Aiken, a table with a header
// row (CSV or tab-separated), or running text. `suffix` is the file's, lower case.
Recognition recognizeText(const QString &text, const QString &suffix, int subject, const Deadline &deadline);

} // namespace formats::import
