#pragma once

#include <QString>
#include <QVector>

// How the answer pages turn pressed buttons into answer text and back.
// Answers are compared with the key A2 as plain text.
namespace practice {

enum AnswerPage {
    SingleChoicePage = 0,
    MultipleChoicePage = 1,
    FillInPage = 2,
    TrueFalsePage = 3,
    SelfAssessmentPage = 4,
    MatchingPage = 5,
};

constexpr int kMaxOptions = 6; // buttons A … F

QString optionLetter(int index); // 0 → "A"

// pressed[i] is option i (A = 0); only the first optionCount options are offered.
QString singleChoiceAnswer(const QVector<bool> &pressed, int optionCount);
QString multipleChoiceAnswer(const QVector<bool> &pressed, int optionCount);
QString fillInAnswer(const QString &text);
QString trueFalseAnswer(bool truePressed, bool falsePressed); // "A" 对, "B" 错
QString selfAssessmentAnswer(int itemIndex);                  // "0" 不会, "1" 会, "" none

// Restoring a page from an answer given earlier in the run.
QVector<bool> pressedOptionsFor(AnswerPage page, const QString &answer, int optionCount);
int trueFalseChoiceOf(const QString &answer);      // 0 对, 1 错, -1 neither
int selfAssessmentItemOf(const QString &answer);   // 0, 1 or -1

bool isSubjectiveType(int typeCode); // the key is never shown

// Answered: given during an exam, not judged until the paper is marked.
enum class AnswerState { NotAnswered, Right, Wrong, Answered };
AnswerState answerState(const QString &runAnswer, const QString &key);

// The texts of the answer panel that slides over the question.
struct AnswerPanelText {
    QString tip;
    QString given;
    QString correct;
};
AnswerPanelText answerPanelText(int page, const QString &given, const QString &key);

} // namespace practice
