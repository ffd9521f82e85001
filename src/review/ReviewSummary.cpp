#include "ReviewSummary.h"

#include "Clock.h"
#include "DataModule.h"
#include "DueQueue.h"
#include "PlanLogic.h"

namespace review {

ReviewSummary reviewSummary()
{
    store::Connection &c = DataModule->ADOCn1;
    ReviewSummary summary;
    summary.due = store::review::reviewLeft(c, store::today());
    const QDate exam = study::ParseStoredDate(store::review::storedExamDay(c));
    summary.examSet = exam.isValid();
    if (summary.examSet)
        summary.daysToExam = study::DaysUntil(store::today(), exam);
    return summary;
}

int questionsStillDue()
{
    try {
        return store::review::reviewLeft(DataModule->ADOCn1, store::today());
    } catch (const std::exception &) {
        return 0; // the quit check never keeps the learner in over it
    }
}

} // namespace review
