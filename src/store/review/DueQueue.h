#pragma once

#include <QDateTime>
#include <QStringList>
#include <QVector>

namespace store {
class Connection;

namespace review {

// Questions answered before that day whose chance falls below the target
// retention by its end (a voided question has no state). Cheap: a range of one index.
int dueCount(Connection &c, const QDate &day);
// Distinct questions answered in a review run on the day.
int reviewedOn(Connection &c, const QDate &day);
// What is left of the day's review: the due questions, at most what the
// day's plan still allows after the questions already reviewed.
int reviewLeft(Connection &c, const QDate &day);

struct DueQuestion {
    QString question;
    double chance = 0;     // of a right answer now
    bool lastWrong = false;
};
// The due questions to review first: those answered wrong last time, then the
// ones closest to being forgotten (lowest chance). limit 0 takes them all.
QVector<DueQuestion> dueQueue(Connection &c, const QDateTime &at, int limit = 0);

// The day's plan in questions (tab_plan PlanAmount when the plan counts
// questions), 0 when the plan counts minutes or is not set.
int plannedQuestions(Connection &c);
// tab_plan's ExamDate as stored (empty when not set).
QString storedExamDay(Connection &c);

// A practice run over exactly these questions in this order: fills a
// connection-local list and returns the question-set SELECT that reads it.
QString orderedRunSql(Connection &c, const QStringList &questions);

} // namespace review
} // namespace store
