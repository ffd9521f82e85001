#include "BankTestCase.h"
#include "GroupPager.h"
#include "Globals.h"
#include "Marking.h"
#include "PracticeSession.h"
#include "SelectorLogic.h"

#include <QtTest>

using namespace practice;

class TestPracticeSession : public BankTestCase {
    Q_OBJECT

    store::Query &questions() { return dm->Cn1Query_tm; }

    QVector<TypeEntry> start(const QString &sql)
    {
        PracticeSql = sql;
        QVector<TypeEntry> types;
        prepareSession(types);
        return types;
    }

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void preparingClearsTheRunAndListsTheTypes()
    {
        bank->exec("update tab_answ set E2_1 = 'X'");
        bank->exec("insert into tab_tx1 (A1,B1) values (41,'判断题')");
        const QVector<TypeEntry> types = start(practiceSql(PracticeMode::NewQuestions, "1001"));
        QCOMPARE(types.size(), 4);
        QCOMPARE(types.at(0).tag, 0);
        QCOMPARE(types.at(0).caption, QString("任意"));
        QCOMPARE(types.at(1).tag, 11);
        QCOMPARE(types.at(2).caption, QString("多项选择题"));
        QVERIFY(types.at(0).enabled && types.at(1).enabled && types.at(2).enabled);
        QVERIFY(!types.at(3).enabled); // no true/false question in the run
        QCOMPARE(db("select count(*) from tab_answ where E2_1 <> ''").toInt(), 0); // the whole bank
        QCOMPARE(FirstQuestionId, QString("100101110001"));
        QCOMPARE(questions().recordCount(), 4); // no type filter left behind

        QCOMPARE(applyTypeFilter(questions(), 14), 1);
        QCOMPARE(questions().fieldByName("a1").asString(), QString("100101140001"));
        QCOMPARE(applyTypeFilter(questions(), 41), 0);
        QCOMPARE(applyTypeFilter(questions(), 0), 4);
        QCOMPARE(questions().filter(), QString());
    }

    void anEmptySelectionStillClearsTheRun()
    {
        bank->exec("update tab_answ set E2_1 = 'X'");
        QVERIFY(start(practiceSql(PracticeMode::Review, "1001")).isEmpty());
        QCOMPARE(db("select count(*) from tab_answ where E2_1 <> ''").toInt(), 0);
    }

    void groupsOfTwenty()
    {
        GroupPager p;
        p.reset(41);
        QCOMPARE(p.groupCount(), 3);
        QCOMPARE(p.total(), 41);
        QCOMPARE(p.first(), 1);
        QCOMPARE(p.last(), 20);
        QVERIFY(!p.hasPreviousGroup() && p.hasNextGroup());
        QCOMPARE(p.nextQuestion(19).record, 20);
        const GroupPager::Step intoGroupTwo = p.nextQuestion(20);
        QCOMPARE(intoGroupTwo.move, GroupPager::Move::ToNextGroup);
        QCOMPARE(intoGroupTwo.record, 21);

        p.nextGroup();
        QCOMPARE(p.group(), 2);
        QCOMPARE(p.first(), 21);
        QCOMPARE(p.size(), 20);
        QVERIFY(p.contains(40) && !p.contains(20) && !p.contains(41));
        const GroupPager::Step back = p.previousQuestion(21);
        QCOMPARE(back.move, GroupPager::Move::ToPreviousGroup);
        QCOMPARE(back.record, 1); // the previous group opens at its first question
        QCOMPARE(p.previousQuestion(22).record, 21);

        p.nextGroup();
        QCOMPARE(p.group(), 3);
        QCOMPARE(p.size(), 1);
        QVERIFY(!p.hasNextGroup());
        QCOMPARE(p.recordAt(0), 41);
        QCOMPARE(p.recordAt(1), 0);
        QCOMPARE(p.nextQuestion(41).move, GroupPager::Move::None);
        QVERIFY(!p.hasNextQuestion(41) && p.hasPreviousQuestion(41));
        p.nextGroup(); // beyond the last group: nothing
        QCOMPARE(p.group(), 3);

        p.previousGroup();
        QCOMPARE(p.first(), 21);
        QCOMPARE(p.size(), 20);
        p.previousGroup();
        QVERIFY(!p.hasPreviousGroup());
        QCOMPARE(p.previousQuestion(1).move, GroupPager::Move::None);

        p.reset(48);
        p.nextGroup();
        p.nextGroup();
        QCOMPARE(p.size(), 8);
        QCOMPARE(p.last(), 48);
        p.reset(20);
        QCOMPARE(p.groupCount(), 1);
        QVERIFY(!p.hasNextGroup());
        p.reset(0);
        QCOMPARE(p.groupCount(), 0);
        QCOMPARE(p.size(), 0);

        QCOMPARE(GroupPager::buttonIndexOf(1), 0);
        QCOMPARE(GroupPager::buttonIndexOf(20), 19);
        QCOMPARE(GroupPager::buttonIndexOf(21), 0);
        QCOMPARE(GroupPager::buttonIndexOf(40), 19);
    }

    void answerTimeAndGauge()
    {
        TypeCodes = {11, 14};
        TypeTimes = {600, 1200};
        QCOMPARE(tickInterval(14), 1200);
        QCOMPARE(tickInterval(65), 600);
        TypeCodes = {11, 14, 65};
        QCOMPARE(tickInterval(65), 600); // a code without its time
        TypeCodes.clear();
        TypeTimes.clear();

        AnswerGauge g;
        for (int i = 0; i < 100; ++i)
            QVERIFY(!g.tick());
        QCOMPARE(g.value(), 100);
        QVERIFY(g.tick());
        g.reset();
        QCOMPARE(g.value(), 0);

        start("select * from tab_answ order by a1");
        markTimeUp(questions());
        QCOMPARE(db("select csbs from tab_answ where A1 = '100101110001'").toString(), QString("Y"));
    }

    void viewOfTheQuestionOnDisplay()
    {
        bank->addQuestion("US0000000000000A-1", "100101", 65, "1");
        bank->exec("insert into tab_title (A1,A15) values ('US0000000000000A','共用题干')");
        bank->exec("update tab_answ set F1 = 2, ecount = 1, A14 = '  ', E3 = 1 where A1 = 'US0000000000000A-1'");
        bank->exec("update tab_exer set jx = null where A1 = '100101110002'");
        start("select * from tab_answ order by a1");

        QuestionView v = viewOfCurrent(questions());
        QCOMPARE(v.id, QString("100101110001"));
        QCOMPARE(v.page, 0);
        QCOMPARE(v.optionCount, 4);
        QCOMPARE(v.appearance, 1);
        QVERIFY(!v.keyEnabled && !v.explanationEnabled && !v.pointsEnabled); // not answered in this run
        QVERIFY(v.stemId.isEmpty() && v.notice.isEmpty() && v.editedNotice.isEmpty());

        markAnswer(questions(), 1, "B");
        v = viewOfCurrent(questions());
        QCOMPARE(v.state, AnswerState::Wrong);
        QCOMPARE(v.runAnswer, QString("B"));
        QCOMPARE(v.appearance, 2);
        QVERIFY(v.keyEnabled && v.explanationEnabled && v.pointsEnabled);

        markAnswer(questions(), 2, "C");
        v = viewOfCurrent(questions());
        QCOMPARE(v.state, AnswerState::Right);
        QVERIFY(v.keyEnabled && !v.explanationEnabled && !v.pointsEnabled);

        questions().last();
        markAnswer(questions(), questions().recNo(), "1");
        v = viewOfCurrent(questions());
        QCOMPARE(v.page, 4);
        QVERIFY(!v.keyEnabled); // subjective: the key is never shown
        QCOMPARE(v.stemId, QString("US0000000000000A"));
        QCOMPARE(v.notice, QString("本题是您加入的题目！"));
        QCOMPARE(v.editedNotice, QString("本题被您修改过"));
        QVERIFY(!v.hasNote); // blanks only
        QCOMPARE(v.appearance, 3);

        QVERIFY(openQuestionText(v.id));
        QCOMPARE(dm->Cn1Query2.fieldByName("A15").asString(), QString("共用题干"));
        QCOMPARE(dm->cn1query_nr.fieldByName("A15").asString(), QString("题目 US0000000000000A-1"));
        start("select a1,a2,a2_1,k3,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,csbs from tab_answ where A1 like 'US%'");
        QCOMPARE(viewOfCurrent(questions()).editedNotice, QString()); // the point practice selects no edit count

        QVERIFY(!openQuestionText("100101110001"));
        QCOMPARE(dm->cn1query_nr.fieldByName("jx").asString(), QString("解析 100101110001"));
    }

    void voidAndCancelVoid()
    {
        start(practiceSql(PracticeMode::NewQuestions, "100102"));
        QVERIFY(voidQuestion(questions()));
        QCOMPARE(db("select F1 || E2 from tab_answ where A1 = '100102110001'").toString(), QString("1zero"));
        QuestionView v = viewOfCurrent(questions());
        QVERIFY(v.voided);
        QCOMPARE(v.notice, voidedNotice());
        QVERIFY(start(practiceSql(PracticeMode::NewQuestions, "100102")).isEmpty());
        QVERIFY(!start(practiceSql(PracticeMode::Review, "100102")).isEmpty());

        QVERIFY(cancelVoid(questions()));
        QCOMPARE(db("select F1 || E2 from tab_answ where A1 = '100102110001'").toString(), QString("0zero"));
        QVERIFY(!viewOfCurrent(questions()).voided);
        QCOMPARE(unvoidedNotice(), QString("本题曾被作废，现已被您取消！"));

        start(practiceSql(PracticeMode::RedoWrong, "100102"));
        QVERIFY(!voidQuestion(questions()));
        QVERIFY(!cancelVoid(questions()));
    }

    void cancellingTheVoidOfALearnersQuestionKeepsItsMark()
    {
        bank->addQuestion("US0000000000001", "100102", 11, "A");
        bank->exec("update tab_answ set F1 = 2 where A1 = 'US0000000000001'");
        start("select * from tab_answ where A1 like 'US%'");
        QVERIFY(voidQuestion(questions()));
        QVERIFY(cancelVoid(questions()));
        QCOMPARE(db("select F1 || E2 from tab_answ where A1 = 'US0000000000001'").toString(), QString("2zero"));
        QCOMPARE(viewOfCurrent(questions()).notice, QString("本题是您加入的题目！"));
        QCOMPARE(flagAfterVoidCancelled("100102110001"), 0);
    }
};

QTEST_MAIN(TestPracticeSession)
#include "test_practice_session.moc"
