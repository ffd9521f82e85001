#include "LogTotals.h"

#include "Dataset.h"
#include "Routines.h"

namespace study {

LogTotals ReadLogTotals(store::Query &query)
{
    query.close();
    query.setSql(QStringLiteral("select sum(A2) as count_d1,sum(A3) as count_d2 from tab_rz "));
    query.open();
    LogTotals totals;
    if (!query.isEmpty()) {
        // The sums of no rows are NULL, which read as 0.
        totals.attempts = query.fieldByName(QStringLiteral("count_d1")).asLargeInt();
        totals.wrong = query.fieldByName(QStringLiteral("count_d2")).asLargeInt();
    }
    totals.score = PercentText(totals.attempts, totals.wrong);
    query.close();
    return totals;
}

} // namespace study
