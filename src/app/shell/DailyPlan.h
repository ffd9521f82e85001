#pragma once

// How today's work compares with the daily plan (questions or minutes).
enum class PlanProgress { NotChecked, Behind, Met, Exceeded };

// Reads the plan row and today's log row through the data module.
// Database and conversion errors propagate to the caller.
PlanProgress TodayAgainstPlan();
