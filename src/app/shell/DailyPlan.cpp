#include "DailyPlan.h"

#include "Clock.h"
#include "DataModule.h"
#include "Routines.h"

PlanProgress TodayAgainstPlan()
{
    store::Table &plan = DataModule->Cn1Table_plan;
    if (!plan.isOpen())
        plan.open();
    plan.first();
    if (plan.isEmpty())
        return PlanProgress::NoPlan;
    const int mode = plan.fieldByName(QStringLiteral("PlanMark")).asInteger();
    const int amount = plan.fieldByName(QStringLiteral("PlanAmount")).asInteger();
    const int minutesPlanned = plan.fieldByName(QStringLiteral("PlanTime")).asInteger();

    store::Table &log = DataModule->Cn1Table_rz;
    if (!log.isOpen())
        log.open();
    qint64 done = 0;
    qint64 minutes = 0;
    if (log.locate(QStringLiteral("A1"), store::today())) {
        done = log.fieldByName(QStringLiteral("A2")).asInteger();
        minutes = ParseHms(log.fieldByName(QStringLiteral("D1")).asString()) / 60;
    }
    qint64 actual = 0;
    qint64 planned = 0;
    if (mode == 0) {
        actual = done;
        planned = amount;
    } else if (mode == 1) {
        actual = minutes;
        planned = minutesPlanned;
    } else {
        return PlanProgress::NotChecked;
    }
    if (actual < planned)
        return PlanProgress::Behind;
    return actual == planned ? PlanProgress::Met : PlanProgress::Exceeded;
}
