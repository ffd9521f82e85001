#include "Marking.h"

#include "AnswerCodes.h"
#include "Clock.h"
#include "DataModule.h"
#include "Error.h"
#include "PracticeSession.h"
#include "Routines.h"

#include <QScopeGuard>

namespace practice {

namespace {

int flag(bool yes) { return yes ? 2 : 1; }

QString text(const store::Dataset &row, const char *field) { return row.fieldByName(QLatin1String(field)).asString(); }

// Steps of a counted answer; the row is in edit mode.
void countAnswer(store::Dataset &row, MarkOutcome &outcome)
{
    const QString stored = text(row, "E2");
    const bool wrong = outcome.answer != outcome.key;
    const bool previouslyWrong = stored != outcome.key;
    outcome.firstToday = row.fieldByName(QStringLiteral("E1")).asDate() != store::today();
    outcome.firstEver = stored.isEmpty();

    const int e4 = row.fieldByName(QStringLiteral("E4")).asInteger();
    if (outcome.firstEver)
        row.setValue(QStringLiteral("E4"), wrong ? -3 : 0);
    else if (wrong)
        row.setValue(QStringLiteral("E4"), e4 - 1);
    else if (e4 < 0)
        row.setValue(QStringLiteral("E4"), e4 + 1);
    row.setValue(QStringLiteral("E3"), row.fieldByName(QStringLiteral("E3")).asInteger() + 1);

    LogAnswer(flag(outcome.firstToday), flag(wrong), flag(previouslyWrong));
    CountChapterAnswer(text(row, "A10"), flag(outcome.firstEver), flag(wrong));
    const PointLists lists = PointListsOf(LinkedPoints(row));
    if (!lists.isEmpty())
        CountPointAnswer(lists.points, lists.items, lists.groups, flag(outcome.firstEver), flag(wrong));
    outcome.counted = true;
}

void record(store::Dataset &row, MarkOutcome &outcome)
{
    row.edit();
    if (outcome.answer.isEmpty()) {
        row.setValue(QStringLiteral("E2_1"), QString());
    } else {
        if (outcome.answer != text(row, "E2_1"))
            countAnswer(row, outcome);
        row.setValue(QStringLiteral("E2_1"), outcome.answer);
        row.setValue(QStringLiteral("E2"), outcome.answer);
        row.setValue(QStringLiteral("E1"), store::today());
    }
    row.post();
}

} // namespace

MarkOutcome markAnswer(store::Dataset &questions, int recordNumber, const QString &answer)
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
        record(questions, outcome);
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
