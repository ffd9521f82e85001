#include "ExamRules.h"

#include "DataModule.h"
#include "Error.h"
#include "PaperBuilder.h"
#include "PracticeSession.h"
#include "Routines.h"

#include <cmath>

namespace exam {

namespace {

int planValue(const char *field)
{
    store::Table &plan = DataModule->Cn1Table_plan;
    if (!plan.isOpen())
        plan.open();
    if (plan.isEmpty())
        return 0;
    plan.first();
    return plan.fieldByName(QLatin1String(field)).asInteger();
}

// Names reach SQL only after this check; anything else is refused.
const QString &checkedTable(const QString &table)
{
    if (!isPaperTableName(table))
        throw store::Error(QStringLiteral("试卷名称无效：") + table);
    return table;
}

// The bank's row of the paper's current question, on ADOQuery3; empty when the bank no longer has it.
store::Query &bankRowOf(const store::Dataset &paper)
{
    store::Query &q = DataModule->ADOQuery3;
    q.close();
    q.setSql(QStringLiteral("select * from tab_answ where a1=:A1"));
    q.setParam(QStringLiteral("A1"), paper.fieldByName(QStringLiteral("A1")).asString());
    q.open();
    return q;
}

void inOneTransaction(store::Dataset &paper, const std::function<void()> &writes)
{
    try {
        store::Transaction t(DataModule->ADOCn1);
        writes();
        t.commit();
    } catch (...) {
        paper.cancel();
        DataModule->ADOQuery3.cancel();
        throw;
    }
}

} // namespace

int examTimeSetting() { return planValue("ExamTime"); }

int leastMarkSetting() { return planValue("LeastMark"); }

bool timeIsUp(qint64 elapsedSeconds, int examTime) { return examTime > 0 && elapsedSeconds >= examTime; }

int unansweredCount(const QString &table)
{
    return DataModule->ADOCn1
        .scalar(QStringLiteral("select count(*) from ") + checkedTable(table) +
                QStringLiteral(" where E2_1 = '' or E2_1 is null"))
        .toInt();
}

double paperScore(const QString &table, int subject)
{
    const QString tx = QStringLiteral("tab_tx") + QString::number(subject);
    const QString &t = checkedTable(table);
    return DataModule->ADOCn1
        .scalar(QStringLiteral("select sum(%2.B3) as ZFS from %1,%2 where %1.A13 = %2.A1 and %1.A2 = %1.E2_1")
                    .arg(t, tx))
        .toDouble();
}

MarkedPaper markPaper(const QString &table, int subject, const QString &timeText)
{
    MarkedPaper marked;
    store::Transaction t(DataModule->ADOCn1);
    marked.score = paperScore(table, subject);
    marked.leastMark = leastMarkSetting();
    marked.dropOnClose = marked.leastMark > marked.score;
    DataModule->ADOCn1.execute(QStringLiteral("update tab_cj set A6 = :A6, D2 = :D2 where A1 = :A1"),
                               {{QStringLiteral("A6"), marked.score},
                                {QStringLiteral("D2"), timeText},
                                {QStringLiteral("A1"), table}});
    AddStudyTime(timeText);
    t.commit();
    return marked;
}

void voidPaper(const QString &table, int unanswered, const QString &timeText)
{
    DropPaper(table);
    if (unanswered < 50)
        AddStudyTime(timeText);
}

void voidPaperQuestion(store::Dataset &paper)
{
    inOneTransaction(paper, [&paper] {
        practice::voidQuestion(paper);
        store::Query &bank = bankRowOf(paper);
        if (!bank.isEmpty())
            practice::voidQuestion(bank);
    });
}

void cancelPaperQuestionVoid(store::Dataset &paper)
{
    inOneTransaction(paper, [&paper] {
        practice::cancelVoid(paper, true);
        store::Query &bank = bankRowOf(paper);
        if (!bank.isEmpty())
            practice::cancelVoid(bank);
    });
}

int passMarkFor(int totalMarks) { return totalMarks / 5 * 3; }

int roundHalfToEven(double value) { return int(std::nearbyint(value)); }

ScoreFigures scoreFigures(int passMark)
{
    store::Connection &c = DataModule->ADOCn1;
    ScoreFigures figures;
    figures.exams = c.scalar(QStringLiteral("select count(*) from tab_cj")).toInt();
    figures.passed =
        c.scalar(QStringLiteral("select count(*) from tab_cj where A6 >= :pass"), {{QStringLiteral("pass"), passMark}})
            .toInt();
    const QVariant average = c.scalar(QStringLiteral("select avg(A6) as avg_fs from tab_cj"));
    figures.average = average.isNull() ? 0 : roundHalfToEven(average.toDouble());
    return figures;
}

void deletePaper(const QString &table)
{
    DropPaper(table);
    DataModule->ADOCn1.execute(QStringLiteral("delete * from tab_cj where A1=:A1"), {{QStringLiteral("A1"), table}});
}

QString scoreText(double score)
{
    return QStringLiteral("得分：") + QString::number(score, 'g', 10) + QStringLiteral(" 分");
}

} // namespace exam
