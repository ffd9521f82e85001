#pragma once

namespace review {

// What the main menu's review card shows.
struct ReviewSummary {
    int due = 0;          // questions left of today's review
    bool examSet = false; // the plan holds an exam day
    int daysToExam = 0;   // whole days from today; negative once it has passed
};
ReviewSummary reviewSummary();

// How many questions of today's review are still due (0 also when the bank
// cannot say), for the quit-time check.
int questionsStillDue();

} // namespace review
