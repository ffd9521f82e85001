#pragma once

#include <QString>

namespace store { class Query; }

namespace study {

// The study log's totals over all days: attempts, wrong attempts and the
// overall score as "%2.2f" ("0" before the first attempt).
struct LogTotals {
    qint64 attempts = 0;
    qint64 wrong = 0;
    QString score;
};

// Sums tab_rz through the given query; no rows give 0, 0 and "0".
LogTotals ReadLogTotals(store::Query &query);

} // namespace study
