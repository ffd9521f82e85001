#pragma once

#include "Recognized.h"

#include <QString>
#include <QStringList>

// How a recognized question becomes the texts of a bank row, and the text two
// questions are compared on to find one that is already in the bank.
namespace importing {

// The body as the learner reads it: the stem, then one line per option
// ("A．…"); a true/false question without options of its own gets 正确 and 错误.
QStringList bodyParagraphs(const formats::import::RecognizedQuestion &question);
// The same body as RTF, keeping the rich text of the stem and options.
QString bodyRtf(const formats::import::RecognizedQuestion &question);
// The explanation as RTF; a null string when there is none.
QString explanationRtf(const formats::import::RecognizedQuestion &question);

// Text reduced to what makes two questions the same: full- and half-width
// forms folded, case folded, blanks, punctuation and symbols dropped.
QString comparisonText(const QString &plainText);
QString comparisonTextOf(const formats::import::RecognizedQuestion &question);

} // namespace importing
