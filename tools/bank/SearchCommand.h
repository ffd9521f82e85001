#pragma once

#include <QStringList>

class QTextStream;

namespace bank {

// quillet-bank search <bank> <query> [--json]: the question ids and exam-point
// codes the query finds, best first. Builds the search index when the bank
// has none. Returns the process exit code.
int searchCommand(const QStringList &args, QTextStream &out, QTextStream &err);

// Gives a newly built bank its search index, so that it ships with one.
void indexNewBank(const QString &bankFile);

} // namespace bank
