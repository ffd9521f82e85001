#pragma once

#include "Recognized.h"

#include <QString>

namespace formats::import {

// Whether text is written in Aiken: unnumbered questions, options "A." or
// "A)", and a line "ANSWER: B" closing each question.
bool looksLikeAiken(const QString &text);
Recognition recognizeAiken(const QString &text, int subject);

} // namespace formats::import
