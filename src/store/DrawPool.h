#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <random>

namespace store {

class Connection;

// The questions a mock-exam paper may draw, per chapter-code prefix and type,
// numbered 0 … n−1 without gaps so that a draw reads only the rows it takes.
// Triggers on tab_answ keep it equal to
//   select A1 from tab_answ where Left(A10,2) = prefix and A13 = type and f1 <> 1
// through every insert, delete and change of A1, A10, A13 or F1.
namespace drawpool {

// Creates the pool, fills it from the bank and installs the triggers.
void create(Connection &c);

// Takes the pool and its triggers out again: an upgrade file carries content only,
// and a file with triggers is refused when it is applied.
void remove(Connection &c);

// Number of questions of the prefix and type that a paper may draw.
int size(Connection &c, const QString &prefix, int type);
// True when any question under the prefix may be drawn.
bool hasAny(Connection &c, const QString &prefix);
// Identifiers at the given places of the pool of prefix and type.
QStringList questionsAt(Connection &c, const QString &prefix, int type, const QVector<int> &places);

// Pool rows that differ from what tab_answ says they should be, as readable lines; empty when they agree.
QStringList disagreements(Connection &c);

} // namespace drawpool

// min(count, size) distinct places of 0 … size−1, each set of places equally likely.
QVector<int> pickPlaces(int size, int count, std::mt19937 &generator);

} // namespace store
