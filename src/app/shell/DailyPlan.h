#pragma once

// How today's work compares with the daily plan (questions or minutes).
// NoPlan: the bank holds no plan row, so there is nothing to hold the learner back.
enum class PlanProgress { NotChecked, NoPlan, Behind, Met, Exceeded };

// Reads the plan row and today's log row through the data module.
// Database and conversion errors propagate to the caller.
PlanProgress TodayAgainstPlan();
