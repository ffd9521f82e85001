#include "PracticeSession.h"

#include "DataModule.h"
#include "Globals.h"
#include "MemoryStates.h"
#include "Routines.h"

namespace practice {

namespace {

constexpr int kDefaultTickMs = 600;

QString field(const store::Dataset &row, const char *name) { return row.fieldByName(QLatin1String(name)).asString(); }

// Writes the fields to the current record; a failed write leaves the set browsing its stored row.
void writeCurrent(store::Dataset &questions, std::initializer_list<QPair<const char *, QVariant>> values)
{
    questions.edit();
    try {
        for (const auto &v : values)
            questions.setValue(QLatin1String(v.first), v.second);
        questions.post();
    } catch (...) {
        questions.cancel();
        throw;
    }
}

QString noticeOf(int voidFlag)
{
    if (voidFlag == 1)
        return voidedNotice();
    if (voidFlag == 2)
        return QStringLiteral("本题是您加入的题目！");
    return QString();
}

} // namespace

bool prepareSession(QVector<TypeEntry> &types)
{
    types.clear();
    store::Query &questions = DataModule->Cn1Query_tm;
    questions.close();
    questions.setFilter(QString());
    // Only rows that hold a run answer are written: rewriting every row of a large bank costs a whole-table write.
    questions.setSql(QStringLiteral("Update tab_answ set E2_1= '' where E2_1 <> '' or E2_1 is null"));
    questions.execSql();
    questions.setSql(PracticeSql);
    questions.open();
    if (questions.isEmpty())
        return false;
    FirstQuestionId = field(questions, "a1");

    store::Table &typeTable = DataModule->Cn1Table_tx;
    if (!typeTable.isOpen())
        typeTable.open();
    typeTable.setSort(QStringLiteral("A1 ASC"));
    types << TypeEntry{0, QStringLiteral("任意"), true};
    for (typeTable.first(); !typeTable.eof(); typeTable.next()) {
        const int code = typeTable.fieldByName(QStringLiteral("A1")).asInteger();
        types << TypeEntry{code, field(typeTable, "B1"), applyTypeFilter(questions, code) > 0};
    }
    applyTypeFilter(questions, 0);
    return true;
}

QString typeFilter(int tag) { return tag == 0 ? QString() : QStringLiteral("A13=") + QString::number(tag); }

int applyTypeFilter(store::Dataset &questions, int tag)
{
    const QString wanted = typeFilter(tag);
    if (questions.filter() != wanted || !questions.filtered()) {
        questions.setFilter(QString());
        questions.setFiltered(true);
        questions.setFilter(wanted);
        questions.setFiltered(true);
    }
    return questions.recordCount();
}

int tickInterval(int typeCode)
{
    const int at = int(TypeCodes.indexOf(typeCode));
    return at >= 0 && at < TypeTimes.size() ? TypeTimes.at(at) : kDefaultTickMs;
}

bool AnswerGauge::tick()
{
    if (m_value >= kSteps)
        return true;
    ++m_value;
    return false;
}

int appearanceCount(int timesAnswered) { return timesAnswered >= 1 ? timesAnswered + 1 : 1; }

QuestionView viewOfCurrent(const store::Dataset &questions)
{
    QuestionView view;
    view.id = field(questions, "a1");
    view.type = questions.fieldByName(QStringLiteral("a13")).asInteger();
    view.page = AnswerPageOfType(view.type);
    view.optionCount = questions.fieldByName(QStringLiteral("a2_1")).asInteger();
    view.key = field(questions, "a2");
    view.runAnswer = field(questions, "e2_1");
    view.state = answerState(view.runAnswer, view.key);
    view.appearance = appearanceCount(questions.fieldByName(QStringLiteral("e3")).asInteger());

    const bool answered = !view.runAnswer.isEmpty();
    view.keyEnabled = answered && !isSubjectiveType(view.type);
    view.explanationEnabled = answered && hasExplanation(view.id);
    view.pointsEnabled = answered && !field(questions, "k3").trimmed().isEmpty();
    view.hasNote = !field(questions, "a14").trimmed().isEmpty();

    const int voidFlag = questions.fieldByName(QStringLiteral("f1")).asInteger();
    view.voided = voidFlag == 1;
    view.notice = noticeOf(voidFlag);
    // The exam-point browser's question set may not select the edit count.
    if (questions.hasField(QStringLiteral("ecount")) && questions.fieldByName(QStringLiteral("ecount")).asInteger() != 0)
        view.editedNotice = QStringLiteral("本题被您修改过");
    if (view.id.contains(QLatin1Char('-')))
        view.stemId = view.id.left(16);
    view.tickInterval = tickInterval(view.type);
    return view;
}

bool openQuestionText(const QString &questionId)
{
    store::Query &text = DataModule->cn1query_nr;
    text.close();
    text.setSql(QStringLiteral("select * from tab_exer where A1=") + store::quoted(questionId));
    text.open();
    if (!questionId.contains(QLatin1Char('-')))
        return false;
    store::Query &stem = DataModule->Cn1Query2;
    stem.close();
    stem.setSql(QStringLiteral("select * from tab_title where A1=:A1"));
    stem.setParam(QStringLiteral("A1"), questionId.left(16));
    stem.open();
    return true;
}

bool voidQuestion(store::Dataset &questions)
{
    if (questions.isEmpty())
        return false;
    // A voided question leaves the review with its memory state, in the same transaction.
    store::Transaction t(DataModule->ADOCn1);
    writeCurrent(questions, {{"f1", 1}, {"e2", QStringLiteral("zero")}});
    store::review::forgetState(DataModule->ADOCn1, field(questions, "a1"));
    t.commit();
    return true;
}

int flagAfterVoidCancelled(const QString &questionId)
{
    return questionId.startsWith(QLatin1String("US")) ? 2 : 0;
}

bool cancelVoid(store::Dataset &questions, bool clearLastAnswer)
{
    if (questions.isEmpty())
        return false;
    const int restored = flagAfterVoidCancelled(field(questions, "a1"));
    if (clearLastAnswer)
        writeCurrent(questions, {{"f1", restored}, {"e2", QString()}});
    else
        writeCurrent(questions, {{"f1", restored}});
    return true;
}

QString voidedNotice() { return QStringLiteral("本题已被您作废！"); }

QString unvoidedNotice() { return QStringLiteral("本题曾被作废，现已被您取消！"); }

void markTimeUp(store::Dataset &questions) { writeCurrent(questions, {{"csbs", QStringLiteral("Y")}}); }

bool hasExplanation(const QString &questionId)
{
    return !DataModule->ADOCn1
                .scalar(QStringLiteral("select jx from tab_exer where A1 = :A1"), {{QStringLiteral("A1"), questionId}})
                .isNull();
}

} // namespace practice
