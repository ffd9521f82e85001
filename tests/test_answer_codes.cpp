#include "AnswerCodes.h"

#include <QtTest>

using namespace practice;

class TestAnswerCodes : public QObject {
    Q_OBJECT

private slots:
    void readingThePages()
    {
        QCOMPARE(singleChoiceAnswer({false, true, true}, 4), QString("B"));
        QCOMPARE(singleChoiceAnswer({false, false, false, false, true}, 4), QString()); // E is not offered
        QCOMPARE(multipleChoiceAnswer({true, false, true, true, false, true}, 4), QString("ACD"));
        QCOMPARE(multipleChoiceAnswer({true, true, true, true, true, true, true}, 9), QString("ABCDEF"));
        QCOMPARE(multipleChoiceAnswer({true}, 0), QString());
        QCOMPARE(fillInAnswer("  1,2 "), QString("1,2"));
        QCOMPARE(trueFalseAnswer(true, false), QString("A"));
        QCOMPARE(trueFalseAnswer(false, true), QString("B"));
        QCOMPARE(trueFalseAnswer(false, false), QString());
        QCOMPARE(selfAssessmentAnswer(1), QString("1"));
        QCOMPARE(selfAssessmentAnswer(0), QString("0"));
        QCOMPARE(selfAssessmentAnswer(-1), QString());
    }

    void restoringThePages()
    {
        using V = QVector<bool>;
        QCOMPARE(pressedOptionsFor(MultipleChoicePage, "ACD", 4), V({true, false, true, true, false, false}));
        QCOMPARE(pressedOptionsFor(MatchingPage, "ACF", 4), V({true, false, true, false, false, false}));
        QCOMPARE(pressedOptionsFor(SingleChoicePage, "C", 4), V({false, false, true, false, false, false}));
        QCOMPARE(pressedOptionsFor(SingleChoicePage, "C", 2), V(6, false));
        QCOMPARE(pressedOptionsFor(SingleChoicePage, "AB", 4), V(6, false));
        QCOMPARE(trueFalseChoiceOf("B"), 1);
        QCOMPARE(trueFalseChoiceOf("1"), -1);
        QCOMPARE(selfAssessmentItemOf("0"), 0);
        QCOMPARE(selfAssessmentItemOf("2"), -1);
    }

    void judgingAndShowing()
    {
        QVERIFY(isSubjectiveType(65) && isSubjectiveType(74) && !isSubjectiveType(11) && !isSubjectiveType(75));
        QCOMPARE(answerState("", "A"), AnswerState::NotAnswered);
        QCOMPARE(answerState("A", "A"), AnswerState::Right);
        QCOMPARE(answerState("a", "A"), AnswerState::Wrong);

        const AnswerPanelText tf = answerPanelText(TrueFalsePage, "A", "B");
        QCOMPARE(tf.given, QString("对"));
        QCOMPARE(tf.correct, QString("错"));
        QCOMPARE(tf.tip, QString("很遗憾，做错了，请继续努力！"));
        const AnswerPanelText many = answerPanelText(MultipleChoicePage, "ABD", "ABD");
        QCOMPARE(many.tip, QString("恭喜你，做对了！"));
        QCOMPARE(many.correct, QString("ABD"));
        QCOMPARE(answerPanelText(FillInPage, "1,2", "1,2").tip, QString("恭喜你，做对了！"));
    }
};

QTEST_MAIN(TestAnswerCodes)
#include "test_answer_codes.moc"
