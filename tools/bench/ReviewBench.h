#pragma once

#include "Measure.h"

namespace store { class Connection; }

// A learner's past on the synthetic bank: a memory state for every question
// and `rows` answers in the history, the last fit fresh (the report opens
// without fitting).
void fillReviewHistory(store::Connection &c, int rows);

Measurement dueCountOnTheMenu(int runs);
Measurement openingTheReport(int runs);
Measurement fittingTheModel();
