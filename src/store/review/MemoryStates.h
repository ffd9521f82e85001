#pragma once

#include "MemoryModel.h"

#include <QString>

namespace store {
class Connection;
class SqlBatch;

// The memory state kept per answered question, beside the bank's own tables.
namespace review {

// Creates the answer history, the memory states and the daily predictions.
void createReviewTables(Connection &c);

// A question answered before the history existed becomes one old review: its
// attempts (E3), whether its last answer (E2) was the key, on its day (E1).
// Voided and never-answered questions get no state. Returns the states written.
int seedFromOldProgress(Connection &c);

// The guess rate of a question from its type code and option count.
double guessOf(int type, int options);

// The state in five columns from `first` on: stability, difficulty,
// last_review, reviews, last_correct (the order of ql_memory).
MemoryState stateAt(const SqlBatch &row, int first);

struct StoredState {
    MemoryState state;
    bool found = false;
};
StoredState loadState(Connection &c, const QString &question);
void forgetState(Connection &c, const QString &question);
// Writes the state with the day its chance falls below the target; firstCorrect
// (0 or 1) records a first answer ever, for the prior of unseen questions.
void saveState(Connection &c, const QString &question, const MemoryState &state, double guess, int firstCorrect = -1);

} // namespace review
} // namespace store
