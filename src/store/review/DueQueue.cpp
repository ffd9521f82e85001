#include "DueQueue.h"

#include "Connection.h"
#include "MemoryStates.h"
#include "ReviewSettings.h"
#include "SqlBatch.h"

#include <algorithm>

namespace store::review {

int dueCount(Connection &c, const QDate &day)
{
    SqlBatch count(c, "SELECT count(*) FROM ql_memory WHERE due_day < ?1 AND last_review < ?2");
    count.bind(1, dayNumber(day) + 1);
    count.bind(2, dayNumber(day));
    return count.next() ? count.integer(0) : 0;
}

QVector<DueQuestion> dueQueue(Connection &c, const QDateTime &at, int limit)
{
    const MemoryModel &model = modelOf(c);
    SqlBatch read(c, "SELECT m.question, m.stability, m.difficulty, m.last_review, m.reviews, m.last_correct,"
                     " a.A13, a.A2_1 FROM ql_memory m JOIN tab_answ a ON a.A1 = m.question"
                     " WHERE m.due_day < ?1 AND m.last_review < ?2 AND coalesce(a.F1, 0) <> 1");
    read.bind(1, dayNumber(at.date()) + 1);
    read.bind(2, dayNumber(at.date()));
    const double now = dayNumber(at);
    QVector<DueQuestion> due;
    while (read.next()) {
        const MemoryState s = stateAt(read, 1);
        due.append({read.text(0), model.chanceRight(s, now, guessOf(read.integer(6), read.integer(7))), !s.lastCorrect});
    }
    std::sort(due.begin(), due.end(), [](const DueQuestion &a, const DueQuestion &b) {
        if (a.lastWrong != b.lastWrong)
            return a.lastWrong;
        if (a.chance != b.chance)
            return a.chance < b.chance;
        return a.question < b.question;
    });
    if (limit > 0 && due.size() > limit)
        due.resize(limit);
    return due;
}

int reviewedOn(Connection &c, const QDate &day)
{
    SqlBatch count(c, "SELECT count(DISTINCT question) FROM ql_answer_history WHERE place = 'review' AND at >= ?1"
                      " AND at < ?2");
    count.bind(1, day.toString(Qt::ISODate));
    count.bind(2, day.addDays(1).toString(Qt::ISODate));
    return count.next() ? count.integer(0) : 0;
}

int reviewLeft(Connection &c, const QDate &day)
{
    const int due = dueCount(c, day);
    const int plan = plannedQuestions(c);
    if (plan <= 0 || due == 0)
        return due;
    return qMin(due, qMax(0, plan - reviewedOn(c, day)));
}

int plannedQuestions(Connection &c)
{
    SqlBatch plan(c, "SELECT PlanMark, PlanAmount FROM tab_plan LIMIT 1");
    if (!plan.next() || plan.integer(0) != 0)
        return 0;
    return qMax(0, plan.integer(1));
}

QString storedExamDay(Connection &c)
{
    SqlBatch plan(c, "SELECT ExamDate FROM tab_plan LIMIT 1");
    return plan.next() ? plan.text(0) : QString();
}

QString orderedRunSql(Connection &c, const QStringList &questions)
{
    c.execute(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS ql_run (pos INTEGER PRIMARY KEY, question TEXT NOT NULL)"));
    Transaction t(c);
    c.execute(QStringLiteral("DELETE FROM temp.ql_run"));
    SqlBatch insert(c, "INSERT INTO temp.ql_run (question) VALUES (?1)");
    for (const QString &q : questions) {
        insert.bind(1, q);
        insert.run();
    }
    t.commit();
    return QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,csbs,ecount"
                          " from tab_answ where a1 in (select question from temp.ql_run)"
                          " order by (select pos from temp.ql_run r where r.question = tab_answ.a1)");
}

} // namespace store::review
