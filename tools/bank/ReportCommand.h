#pragma once

#include <QStringList>
#include <QTextStream>

namespace bank {

// quillet-bank report <bank> [--json]: the learner report's figures of a bank
// as of now, without changing what the bank has stored (an older bank gets
// the review tables first). Returns the exit code; 2 for bad arguments.
int reportCommand(const QStringList &args, QTextStream &out, QTextStream &err);

} // namespace bank
