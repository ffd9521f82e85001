#pragma once

#include <QString>

class QTextStream;

namespace bank {

// quillet-bank replay <file.csv>: the model's chance for each answer line, before that line,
// one number per line; "-" reads standard input. Returns the exit code.
int replayCommand(const QString &file, QTextStream &out, QTextStream &err);

} // namespace bank
