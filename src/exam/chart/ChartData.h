#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QVector>

namespace store { class Query; }

namespace chart {

// One top-level chapter as the statistics charts show it.
struct ChapterStat {
    QString name;      // C2
    int questions = 0; // C3
    int done = 0;      // C4: questions answered at least once
    int answers = 0;   // D1
    int wrong = 0;     // D2
};

// The top-level chapters (C7 = '0') in the order the query returns them; the query stays open.
QVector<ChapterStat> ReadTopChapters(store::Query &kmmc);

// Sum of C3 over the top-level chapters; 0 when there are none.
int TotalQuestions(store::Query &query);

// Whole percent of a chapter's questions answered, in integers so that 29 of 100 is 29.
int ProgressPercent(int done, int questions);

// The colour of the i-th chapter's slice and progress bar.
QColor ChapterColour(int index);

// One day of the learning curve; days without a log row have no attempts.
struct DayStat {
    QDate day;
    int attempts = 0;
    int wrong = 0;
    bool hasAttempts() const { return attempts > 0; }
    double accuracy() const { return attempts > 0 ? double(attempts - wrong) * 100.0 / attempts : 0.0; }
};

// The calendar days from the later of (today − 29) and the first logged day
// up to today, oldest first; empty when nothing is logged.
QVector<DayStat> ReadRecentDays(store::Query &query, const QDate &today, int dayCount = 30);

// The daily target in questions, when the plan counts questions; 0 otherwise.
int DailyQuestionTarget(store::Query &query);

} // namespace chart
