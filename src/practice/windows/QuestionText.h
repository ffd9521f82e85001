#pragma once

#include <QString>

class QLabel;

namespace practice {

// The chapter hint on the hint board, fitted to its room.
void fitHint(QLabel *board, const QString &text);

} // namespace practice
