#pragma once

#include "AnswerCodes.h"

#include <QString>
#include <QVector>

namespace store { class Dataset; }

// The data side of a practice run, shared by the chapter practice window and
// the exam-point practice window. Both work on DataModule->Cn1Query_tm.
namespace practice {

// One entry of the type list: tag 0 is "任意" (every type), otherwise the type code.
struct TypeEntry {
    int tag = 0;
    QString caption;
    bool enabled = true; // false: no question of this type in the run
};

// Starts a run from PracticeSql: clears the run's answer E2_1 in the whole
// bank, opens the question set, sets FirstQuestionId and lists the types of
// Cn1Table_tx in code order. Returns false (types empty) when nothing was selected.
bool prepareSession(QVector<TypeEntry> &types);

QString typeFilter(int tag); // "A13=<code>", "" for 任意
// Narrows the question set to the entry's type; the number of questions that pass.
int applyTypeFilter(store::Dataset &questions, int tag);

// Milliseconds per gauge step for a type: its TypeTimes entry, else 600.
int tickInterval(int typeCode);

// The per-question gauge: 100 steps; the time is up on the tick after the hundredth.
class AnswerGauge {
public:
    static constexpr int kSteps = 100;
    void reset() { m_value = 0; }
    int value() const { return m_value; }
    // Advances one step; true (and no step) when the gauge was already full.
    bool tick();

private:
    int m_value = 0;
};

// Everything the window shows about the question set's current record.
struct QuestionView {
    QString id;
    int type = 0;
    int page = 99;           // AnswerPageOfType: 99 keeps the page on display
    int optionCount = 0;     // A2_1: how many of A … F are offered
    QString key;
    QString runAnswer;       // E2_1, to restore the answer page from
    AnswerState state = AnswerState::NotAnswered;
    int appearance = 1;      // "（第 M 次出现）"
    bool keyEnabled = false; // "答案"
    bool explanationEnabled = false; // "解析"
    bool pointsEnabled = false;      // "考点"
    bool hasNote = false;    // the notes button reads "有内容"
    bool voided = false;     // F1 = 1
    QString notice;          // red status text: voided, or added by the learner
    QString editedNotice;    // "本题被您修改过" when edited
    QString stemId;          // tab_title key of a grouped question, else empty
    int tickInterval = 600;
};
// Needs a current record.
QuestionView viewOfCurrent(const store::Dataset &questions);

int appearanceCount(int timesAnswered);

// Opens the question's tab_exer row in cn1query_nr and, for a grouped
// question, its shared stem in Cn1Query2. Returns whether it is grouped.
bool openQuestionText(const QString &questionId);

// Voiding writes F1 = 1 and E2 = "zero" and drops the question's memory
// state (it leaves the review); cancelling gives F1 back (E2 stays
// "zero" unless cleared). Both act on the current record and return false on
// an empty set.
bool voidQuestion(store::Dataset &questions);
bool cancelVoid(store::Dataset &questions, bool clearLastAnswer = false);
// F1 of a question whose void is cancelled: 2 for one the learner added ("US…"), else 0.
int flagAfterVoidCancelled(const QString &questionId);
QString voidedNotice();   // "本题已被您作废！"
QString unvoidedNotice(); // "本题曾被作废，现已被您取消！"

// The question's tab_exer.jx is not null.
bool hasExplanation(const QString &questionId);

// The answer time ran out on the current record: CSBS = "Y".
void markTimeUp(store::Dataset &questions);

} // namespace practice
