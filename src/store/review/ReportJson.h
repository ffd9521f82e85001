#pragma once

#include <QJsonObject>

namespace store::review {

struct Report;

// The report's figures for tools outside the program: scores in marks,
// chances as fractions, days as ISO dates.
QJsonObject reportJson(const Report &report);

} // namespace store::review
