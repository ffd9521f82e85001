#pragma once

#include <QString>

namespace bank {

// A question of a bank as plain text for proofreading: stem, body, key,
// explanation and linked exam points. Throws store::Error for an unknown id.
QString printQuestion(const QString &bankFile, const QString &questionId);

} // namespace bank
