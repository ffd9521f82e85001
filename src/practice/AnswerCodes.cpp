#include "AnswerCodes.h"

namespace practice {

namespace {

int offered(int optionCount) { return qBound(0, optionCount, kMaxOptions); }

bool isPressed(const QVector<bool> &pressed, int i) { return i < pressed.size() && pressed.at(i); }

QString trueFalseText(const QString &answer)
{
    if (answer == QLatin1String("A"))
        return QStringLiteral("对");
    if (answer == QLatin1String("B"))
        return QStringLiteral("错");
    return answer;
}

} // namespace

QString optionLetter(int index) { return QString(QChar(u'A' + index)); }

QString singleChoiceAnswer(const QVector<bool> &pressed, int optionCount)
{
    for (int i = 0; i < offered(optionCount); ++i)
        if (isPressed(pressed, i))
            return optionLetter(i);
    return QString();
}

QString multipleChoiceAnswer(const QVector<bool> &pressed, int optionCount)
{
    QString answer;
    for (int i = 0; i < offered(optionCount); ++i)
        if (isPressed(pressed, i))
            answer += optionLetter(i);
    return answer;
}

QString fillInAnswer(const QString &text) { return text.trimmed(); }

QString trueFalseAnswer(bool truePressed, bool falsePressed)
{
    if (truePressed)
        return QStringLiteral("A");
    if (falsePressed)
        return QStringLiteral("B");
    return QString();
}

QString selfAssessmentAnswer(int itemIndex) { return itemIndex >= 0 ? QString::number(itemIndex) : QString(); }

QVector<bool> pressedOptionsFor(AnswerPage page, const QString &answer, int optionCount)
{
    QVector<bool> pressed(kMaxOptions, false);
    for (int i = 0; i < offered(optionCount); ++i) {
        const QString letter = optionLetter(i);
        if (page == SingleChoicePage)
            pressed[i] = answer == letter;
        else if (page == MultipleChoicePage || page == MatchingPage)
            pressed[i] = answer.contains(letter);
    }
    return pressed;
}

int trueFalseChoiceOf(const QString &answer)
{
    if (answer == QLatin1String("A"))
        return 0;
    if (answer == QLatin1String("B"))
        return 1;
    return -1;
}

int selfAssessmentItemOf(const QString &answer)
{
    if (answer == QLatin1String("0"))
        return 0;
    if (answer == QLatin1String("1"))
        return 1;
    return -1;
}

bool isSubjectiveType(int typeCode)
{
    return typeCode == 65 || typeCode == 72 || typeCode == 73 || typeCode == 74;
}

AnswerState answerState(const QString &runAnswer, const QString &key)
{
    if (runAnswer.isEmpty())
        return AnswerState::NotAnswered;
    return runAnswer == key ? AnswerState::Right : AnswerState::Wrong;
}

AnswerPanelText answerPanelText(int page, const QString &given, const QString &key)
{
    AnswerPanelText text;
    text.tip = given == key ? QStringLiteral("恭喜你，做对了！") : QStringLiteral("很遗憾，做错了，请继续努力！");
    text.given = page == TrueFalsePage ? trueFalseText(given) : given;
    text.correct = page == TrueFalsePage ? trueFalseText(key) : key;
    return text;
}

} // namespace practice
