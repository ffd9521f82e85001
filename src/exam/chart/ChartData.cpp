#include "ChartData.h"

#include "ColorRef.h"
#include "Dataset.h"
#include "PlanLogic.h"

#include <QHash>

namespace chart {

QVector<ChapterStat> ReadTopChapters(store::Query &kmmc)
{
    kmmc.close();
    kmmc.setSql(QStringLiteral("select * from tab_kmmc where C7='0'"));
    kmmc.open();
    QVector<ChapterStat> chapters;
    for (kmmc.first(); !kmmc.eof(); kmmc.next()) {
        ChapterStat c;
        c.name = kmmc.fieldByName(QStringLiteral("C2")).asString().trimmed();
        c.questions = kmmc.fieldByName(QStringLiteral("C3")).asInteger();
        c.done = kmmc.fieldByName(QStringLiteral("C4")).asInteger();
        c.answers = kmmc.fieldByName(QStringLiteral("D1")).asInteger();
        c.wrong = kmmc.fieldByName(QStringLiteral("D2")).asInteger();
        chapters << c;
    }
    return chapters;
}

int TotalQuestions(store::Query &query)
{
    query.close();
    query.setSql(QStringLiteral("select sum(C3) as sumc3 from tab_kmmc where C7='0'"));
    query.open();
    const int total = query.isEmpty() ? 0 : query.fieldByName(QStringLiteral("sumc3")).asInteger();
    query.close();
    return total;
}

int ProgressPercent(int done, int questions)
{
    if (questions <= 0)
        return 0;
    return int(qint64(done) * 100 / questions);
}

QColor ChapterColour(int index) { return ui::fromColorRef(quint32(255 + 80000 * qint64(index))); }

QVector<DayStat> ReadRecentDays(store::Query &query, const QDate &today, int dayCount)
{
    query.close();
    query.setSql(QStringLiteral("select A1, A2, A3 from tab_rz"));
    query.open();
    QHash<QDate, DayStat> logged;
    QDate first;
    for (query.first(); !query.eof(); query.next()) {
        DayStat d;
        d.day = study::ParseStoredDate(query.fieldByName(QStringLiteral("A1")).asString());
        if (!d.day.isValid() || d.day > today)
            continue;
        d.attempts = query.fieldByName(QStringLiteral("A2")).asInteger();
        d.wrong = query.fieldByName(QStringLiteral("A3")).asInteger();
        logged.insert(d.day, d);
        if (!first.isValid() || d.day < first)
            first = d.day;
    }
    query.close();
    QVector<DayStat> days;
    if (!first.isValid())
        return days;
    for (QDate day = std::max(first, today.addDays(1 - dayCount)); day <= today; day = day.addDays(1)) {
        DayStat d = logged.value(day);
        d.day = day;
        days << d;
    }
    return days;
}

int DailyQuestionTarget(store::Query &query)
{
    query.close();
    query.setSql(QStringLiteral("select PlanMark, PlanAmount from tab_plan"));
    query.open();
    int target = 0;
    if (!query.isEmpty() && query.fieldByName(QStringLiteral("PlanMark")).asInteger() == 0)
        target = query.fieldByName(QStringLiteral("PlanAmount")).asInteger();
    query.close();
    return target;
}

} // namespace chart
