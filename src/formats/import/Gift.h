#pragma once

#include "Recognized.h"

#include <QString>

namespace formats::import {

// Whether text is written in GIFT, the quiz exchange format: questions
// separated by blank lines, answers in braces ({=right ~wrong}, {T}, {}).
bool looksLikeGift(const QString &text);
Recognition recognizeGift(const QString &text, int subject);

} // namespace formats::import
