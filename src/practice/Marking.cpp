#include "Marking.h"

#include "AnswerCodes.h"
#include "Clock.h"
#include "DataModule.h"
#include "Error.h"
#include "PracticeSession.h"
#include "ReviewSettings.h"
#include "Routines.h"

#include <QScopeGuard>

namespace practice {

namespace {

int flag(bool yes) { return yes ? 2 : 1; }

QString text(const store::Dataset &row, const char *field) { return row.fieldByName(QLatin1String(field)).asString(); }

// The flags of a counted answer, judged from the row the run keeps its answers in.
void judge(const store::Dataset &row, MarkOutcome &outcome)
{
    const QString stored = text(row, "E2");
    outcome.firstToday = row.fieldByName(QStringLiteral("E1")).asDate() != store::today();
    outcome.firstEver = stored.isEmpty();
    outcome.previouslyWrong = stored != outcome.key;
}

// The wrong-answer score and the answer count of a bank row in edit mode, by its own last answer.
void applyScoreRule(store::Dataset &bankRow, bool wrong)
{
    const int e4 = bankRow.fieldByName(QStringLiteral("E4")).asInteger();
    if (text(bankRow, "E2").isEmpty())
        bankRow.setValue(QStringLiteral("E4"), wrong ? -3 : 0);
    else if (wrong)
        bankRow.setValue(QStringLiteral("E4"), e4 - 1);
    else if (e4 < 0)
        bankRow.setValue(QStringLiteral("E4"), e4 + 1);
    bankRow.setValue(QStringLiteral("E3"), bankRow.fieldByName(QStringLiteral("E3")).asInteger() + 1);
}

// Today's log, the chapter and its ancestors, the linked exam points and the answer history.
void countJudged(const store::Dataset &row, MarkOutcome &outcome, const AnswerContext &context)
{
    const bool wrong = outcome.answer != outcome.key;
    LogAnswer(flag(outcome.firstToday), flag(wrong), flag(outcome.previouslyWrong));
    CountChapterAnswer(text(row, "A10"), flag(outcome.firstEver), flag(wrong));
    const PointLists lists = PointListsOf(LinkedPoints(row));
    if (!lists.isEmpty())
        CountPointAnswer(lists.points, lists.items, lists.groups, flag(outcome.firstEver), flag(wrong));
    store::review::AnsweredQuestion answered;
    answered.question = text(row, "A1");
    answered.answer = outcome.answer;
    answered.correct = !wrong;
    answered.firstEver = outcome.firstEver;
    answered.type = outcome.type;
    answered.options = row.fieldByName(QStringLiteral("A2_1")).asInteger();
    answered.place = context.place;
    answered.paper = context.paper;
    answered.seconds = context.seconds;
    store::review::recordAnswer(DataModule->ADOCn1, answered, store::review::now());
    outcome.counted = true;
}

void setAnswerFields(store::Dataset &row, const QString &answer)
{
    row.setValue(QStringLiteral("E2_1"), answer);
    row.setValue(QStringLiteral("E2"), answer);
    row.setValue(QStringLiteral("E1"), store::today());
}

// Practice: the question set's row is the bank row.
void record(store::Dataset &row, MarkOutcome &outcome, const AnswerContext &context)
{
    row.edit();
    if (outcome.answer.isEmpty()) {
        row.setValue(QStringLiteral("E2_1"), QString());
    } else {
        if (outcome.answer != text(row, "E2_1")) {
            judge(row, outcome);
            applyScoreRule(row, outcome.answer != outcome.key);
            countJudged(row, outcome, context);
        }
        setAnswerFields(row, outcome.answer);
    }
    row.post();
}

// Exam: the paper row is judged and keeps the answer; the bank's row of the question takes the score rule.
void recordOnPaper(store::Dataset &paper, MarkOutcome &outcome, const AnswerContext &context)
{
    paper.edit();
    if (outcome.answer.isEmpty()) {
        paper.setValue(QStringLiteral("E2_1"), QString());
        paper.post();
        return;
    }
    if (outcome.answer != text(paper, "E2_1")) {
        judge(paper, outcome);
        countJudged(paper, outcome, context);
        store::Query bankRow(&DataModule->ADOCn1);
        bankRow.setSql(QStringLiteral("select * from tab_answ where A1=:A1"));
        bankRow.setParam(QStringLiteral("A1"), text(paper, "A1"));
        bankRow.open();
        if (!bankRow.isEmpty()) {
            bankRow.edit();
            applyScoreRule(bankRow, outcome.answer != outcome.key);
            setAnswerFields(bankRow, outcome.answer);
            bankRow.post();
        }
    }
    setAnswerFields(paper, outcome.answer);
    paper.post();
}

using Recorder = void (*)(store::Dataset &, MarkOutcome &, const AnswerContext &);

MarkOutcome mark(store::Dataset &questions, int recordNumber, const QString &answer, const AnswerContext &context,
                 Recorder recorder)
{
    MarkOutcome outcome;
    if (recordNumber <= 0 || recordNumber > questions.recordCount())
        return outcome;
    store::Connection &c = DataModule->ADOCn1;
    if (questions.connection() != &c)
        throw store::Error(QStringLiteral("题目数据集不在题库连接上"));

    questions.setRecNo(recordNumber);
    outcome.marked = true;
    outcome.answer = answer;
    outcome.emptyAnswer = answer.isEmpty();
    outcome.key = text(questions, "A2");
    outcome.type = questions.fieldByName(QStringLiteral("A13")).asInteger();
    outcome.keyShown = !isSubjectiveType(outcome.type);
    outcome.hasPoints = !text(questions, "K3").trimmed().isEmpty();
    outcome.hasExplanation = hasExplanation(text(questions, "A1"));

    try {
        store::Transaction t(c);
        recorder(questions, outcome, context);
        t.commit();
    } catch (...) {
        // The rollback has already re-read every dataset that posted; rows still in edit mode are dropped here.
        questions.cancel();
        DataModule->Cn1Table_kmmc.cancel();
        DataModule->Cn1Table_rz.cancel();
        throw;
    }
    outcome.right = !outcome.emptyAnswer && answer == outcome.key;
    return outcome;
}

} // namespace

MarkOutcome markAnswer(store::Dataset &questions, int recordNumber, const QString &answer, const AnswerContext &context)
{
    return mark(questions, recordNumber, answer, context, record);
}

MarkOutcome markPaperAnswer(store::Dataset &paper, int recordNumber, const QString &answer, const AnswerContext &context)
{
    return mark(paper, recordNumber, answer, context, recordOnPaper);
}

void endPracticeSession(const QString &elapsed)
{
    const auto closeRunDatasets = qScopeGuard([] {
        DataModule->Cn1Query1.close();
        DataModule->Cn1Query2.close();
        DataModule->Cn1Query_tm.close();
        DataModule->Cn1Table_cj.close();
        DataModule->Cn1Table_tx.close();
    });
    AddStudyTime(elapsed);
}

QString clockText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace practice
