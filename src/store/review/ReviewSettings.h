#pragma once

#include "MemoryModel.h"

#include <QDateTime>
#include <QString>

namespace store {
class Connection;

namespace review {

// Day numbers as the memory model counts them: days since 1970-01-01, as a real.
double dayNumber(const QDateTime &moment);
double dayNumber(const QDate &day); // the start of the day
// The moment answers are stamped with: store::today() at the wall clock's time.
QDateTime now();

// The retention the due queue keeps questions above.
constexpr double kDefaultTarget = 0.90;
constexpr double kLowestTarget = 0.70;
constexpr double kHighestTarget = 0.97;
double targetRetention(Connection &c);
// Clamped to the allowed range; every due day is worked out again.
void setTargetRetention(Connection &c, double target);

// The learner's model: fitted parameters once they exist, else the defaults.
struct FitRecord {
    QDateTime fittedAt; // invalid: never fitted
    int answers = 0;    // history rows the fit saw
    double logLossBefore = 0, logLossAfter = 0;
};
FitRecord lastFit(Connection &c);
// Read once per bank and kept; saving parameters renews it.
const MemoryModel &modelOf(Connection &c);
// Stores fitted parameters and works every due day out again.
void saveFit(Connection &c, const Parameters &p, const FitRecord &record);

// Works out every question's due day again (after the target or the parameters changed).
void recomputeDueDays(Connection &c);

} // namespace review
} // namespace store
