#include "SelectorLogic.h"

#include "Dataset.h"
#include "Routines.h"

namespace practice {

namespace {

const char kFields[] = "a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount";

QString chapterCondition(const QString &chapterCode)
{
    return QStringLiteral("(left(A10,") + QString::number(chapterCode.size()) + QStringLiteral(") = ") +
           store::quoted(chapterCode) + QStringLiteral(")");
}

} // namespace

QString chapterGridFilter() { return QStringLiteral("c1<>") + store::quoted(QStringLiteral("xx")); }

void showChapterGrid(store::Table &chapters, const QString &lastChapterCode)
{
    if (!chapters.isOpen())
        chapters.open();
    chapters.first();
    chapters.setFiltered(false);
    chapters.setFilter(chapterGridFilter());
    chapters.setFiltered(true);
    chapters.first();
    chapters.locate(QStringLiteral("C1"), lastChapterCode, true);
}

bool isHeadingChapter(const QString &chapterCode) { return chapterCode.size() <= 2; }

QString headingRefusalMessage() { return QStringLiteral("请选择具体章节目录！"); }

QString practiceSql(PracticeMode mode, const QString &chapterCode)
{
    const QString fields = QLatin1String(kFields);
    const QString chapter = chapterCondition(chapterCode);
    switch (mode) {
    case PracticeMode::NewQuestions:
    case PracticeMode::NewByDoubleClick: {
        const QString head = QStringLiteral("select a1 ,") + fields.mid(3) + QStringLiteral(" from tab_answ where ") +
                             chapter + QStringLiteral(" and (E2 = '' or E2 is null)  and (f1<>1) ");
        return head + (mode == PracticeMode::NewQuestions ? QStringLiteral(" order by a13,a10,xx,a1")
                                                          : QStringLiteral(" order by a13,a10,xx"));
    }
    case PracticeMode::RedoWrong:
        return QStringLiteral("select ") + fields + QStringLiteral(" from tab_answ  where ") + chapter +
               QStringLiteral(" and (E4 < 0)  and (f1<>1) order by a13,e3,e4,e1,xx,a1");
    case PracticeMode::Review:
        return QStringLiteral("select ") + fields + QStringLiteral(" from tab_answ where ") + chapter +
               QStringLiteral(" and (E2 <> '' and E2 is not null) order by a13,e3,e4,e1,xx,a1");
    }
    return QString();
}

EmptyResultMessage emptyResultMessage(PracticeMode mode)
{
    switch (mode) {
    case PracticeMode::RedoWrong:
        return {QStringLiteral("本章节下没有错题！"), 1};
    case PracticeMode::Review:
        return {QStringLiteral("本章节习题还未曾做过！"), 1};
    default:
        return {QStringLiteral("恭喜，习题已做完！"), 0};
    }
}

int ChapterTotals::shownQuestions() const { return int(qMin<qint64>(questions, kShownQuestionsCap)); }

QString ChapterTotals::compositeScore() const
{
    return attempts > 0 ? PercentText(attempts, wrongAttempts) : QString();
}

ChapterTotals readChapterTotals(store::Query &query)
{
    query.close();
    query.setSql(QStringLiteral("select sum(C3) as count_c3,sum(D1) as count_d1,sum(D2) as count_d2 from tab_kmmc "
                                "where len(c1)=6"));
    query.open();
    ChapterTotals totals;
    totals.questions = query.fieldByName(QStringLiteral("count_c3")).asLargeInt();
    totals.attempts = query.fieldByName(QStringLiteral("count_d1")).asLargeInt();
    totals.wrongAttempts = query.fieldByName(QStringLiteral("count_d2")).asLargeInt();
    return totals;
}

} // namespace practice
