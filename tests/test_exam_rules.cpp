#include "BankTestCase.h"
#include "Error.h"
#include "ExamRules.h"
#include "Globals.h"
#include "Marking.h"
#include "PaperBuilder.h"

#include <QtTest>

using namespace exam;

// Answering, marking and reviewing a paper built from the fixture bank, whose
// rows in paper order are 1 = 100101110001 (A), 2 = 100101110002 (C),
// 3 = 100102110001 (B), 4 = 100201110001 (D), 5 = 100101140001 (ABD);
// type 11 scores 1, type 14 scores 2; LeastMark is 60.
// Answers given on the first paper, as the exam window records them.
const practice::AnswerContext kOnPaper{store::review::AnswerPlace::Exam, QStringLiteral("tab_exam1"), -1};

class TestExamRules : public BankTestCase {
    Q_OBJECT

    store::Query &paper() { return dm->Cn1Query_exam; }

    void openPaper()
    {
        paper().close();
        paper().setSql("select * from tab_exam1 order by A13,A1");
        paper().open();
        QCOMPARE(paper().recordCount(), 5);
    }
    void addMarkedPaper(int number, const QVariant &score)
    {
        dm->ADOCn1.execute("insert into tab_cj (A1, A3, A3_1, A6) values (:A1, 'p', :n, :A6)",
                           {{"A1", QString("tab_exam%1").arg(number)}, {"n", number}, {"A6", score}});
    }

private slots:
    void init()
    {
        openFreshBank();
        CurrentSubject = 1;
        buildPaper(1);
        openPaper();
    }
    void cleanup() { closeBank(); }

    void theClockRunsOutAtTheLimitEvenWhenATickIsLate()
    {
        QVERIFY(!timeIsUp(7199, 7200));
        QVERIFY(timeIsUp(7200, 7200));
        QVERIFY(timeIsUp(7202, 7200)); // the tick for 7200 never came
        QVERIFY(!timeIsUp(99999, 0));  // no limit
        QVERIFY(!timeIsUp(10, -60));
        QCOMPARE(examTimeSetting(), 9000);
        QCOMPARE(leastMarkSetting(), 60);
    }

    void answersOnThePaperCountLikePractice()
    {
        using practice::markPaperAnswer;
        QVERIFY(markPaperAnswer(paper(), 2, "A", kOnPaper).counted);
        QVERIFY(markPaperAnswer(paper(), 2, "B", kOnPaper).counted);
        QVERIFY(!markPaperAnswer(paper(), 2, "B", kOnPaper).counted);
        QVERIFY(markPaperAnswer(paper(), 2, "A", kOnPaper).counted); // A, B, A: three attempts
        QCOMPARE(db("select C4 || D1 || D2 from tab_kmmc where C1 = '100101'").toString(), QString("133"));
        QCOMPARE(db("select A2 || A3 from tab_rz where A1 = '2026-12-08'").toString(), QString("33"));
        QCOMPARE(db("select E2 || E2_1 || E3 || E4 || E1 from tab_answ where A1 = '100101110002'").toString(),
                 QString("AA3-52026-12-08"));
        QCOMPARE(db("select E2 || E2_1 || E3 || E1 from tab_exam1 where A1 = '100101110002'").toString(),
                 QString("AA02026-12-08"));
        // Leaving it blank clears the paper's answer and takes back nothing.
        QVERIFY(markPaperAnswer(paper(), 2, "", kOnPaper).emptyAnswer);
        QCOMPARE(db("select ifnull(E2_1, 'null') || E2 from tab_exam1 where A1 = '100101110002'").toString(),
                 QString("A"));
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100101'").toInt(), 3);
        QCOMPARE(unansweredCount("tab_exam1"), 5);
    }

    void aFailedAnswerLeavesNothingCountedAndCountsOnceLater()
    {
        dm->ADOCn1.execute("create trigger full_disk before update on tab_answ begin select raise(abort, 'disk full'); end");
        QVERIFY_THROWS_EXCEPTION(store::Error, practice::markPaperAnswer(paper(), 1, "B", kOnPaper));
        QCOMPARE(db("select count(*) from tab_rz").toInt(), 0);
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100101'").toInt(), 0);
        QCOMPARE(db("select E2_1 from tab_exam1 where A1 = '100101110001'").toString(), QString());
        QCOMPARE(paper().fieldByName("E2_1").asString(), QString());
        dm->ADOCn1.execute("drop trigger full_disk");
        QVERIFY(practice::markPaperAnswer(paper(), 1, "B", kOnPaper).counted);
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100101'").toInt(), 1);
        QCOMPARE(db("select E3 from tab_answ where A1 = '100101110001'").toInt(), 1);
    }

    void onlyTheExactKeyScoresAndTheRowGetsTheScore()
    {
        practice::markPaperAnswer(paper(), 1, "A", kOnPaper);
        practice::markPaperAnswer(paper(), 2, "B", kOnPaper);
        practice::markPaperAnswer(paper(), 5, "AB", kOnPaper);
        QCOMPARE(paperScore("tab_exam1", 1), 1.0);
        practice::markPaperAnswer(paper(), 5, "ABD", kOnPaper);
        QCOMPARE(unansweredCount("tab_exam1"), 2);
        const MarkedPaper marked = markPaper("tab_exam1", 1, "0:12:34");
        QCOMPARE(marked.score, 3.0);
        QVERIFY(marked.dropOnClose);
        QCOMPARE(db("select A6 || ' ' || D2 from tab_cj where A1 = 'tab_exam1'").toString(), QString("3.0 0:12:34"));
        QCOMPARE(db("select D1 from tab_rz where A1 = '2026-12-08'").toString(), QString("00:12:34"));

        dm->ADOCn1.execute("update tab_plan set LeastMark = 3");
        dm->Cn1Table_plan.close();
        QVERIFY(!markPaper("tab_exam1", 1, "0:12:34").dropOnClose); // equal to the lowest kept
    }

    void voidingAPaperCountsItsTimeOnlyWhenMostWasDone()
    {
        practice::markPaperAnswer(paper(), 1, "A", kOnPaper); // today's log
        voidPaper("tab_exam1", 49, "0:10:00");
        QCOMPARE(db("select count(*) from tab_cj").toInt(), 0);
        QVERIFY(!dm->ADOCn1.tableExists("tab_exam1"));
        QCOMPARE(db("select D1 from tab_rz where A1 = '2026-12-08'").toString(), QString("00:10:00"));
        buildPaper(1);
        voidPaper("tab_exam1", 50, "0:10:00");
        QCOMPARE(db("select D1 from tab_rz where A1 = '2026-12-08'").toString(), QString("00:10:00"));
    }

    void cancellingAVoidGivesTheLearnersMarkBack()
    {
        bank->addQuestion("US0000000001", "100101", 11, "A");
        dm->ADOCn1.execute("update tab_answ set F1 = 2 where A1 = 'US0000000001'");
        dm->ADOCn1.execute("delete from tab_exam1 where A1 = '100201110001'");
        dm->ADOCn1.execute("insert into tab_exam1 (A1, A2, A10, A13, E2, F1) select A1, A2, A10, A13, E2, F1 "
                           "from tab_answ where A1 = 'US0000000001'");
        openPaper();
        for (int record : {1, 4}) {
            paper().setRecNo(record);
            voidPaperQuestion(paper());
        }
        QCOMPARE(db("select group_concat(A1 || ':' || F1 || E2, ' ') from tab_exam1 where F1 = 1").toString(),
                 QString("100101110001:1zero US0000000001:1zero"));
        QCOMPARE(db("select F1 || E2 from tab_answ where A1 = 'US0000000001'").toString(), QString("1zero"));
        for (int record : {1, 4}) {
            paper().setRecNo(record);
            cancelPaperQuestionVoid(paper());
        }
        QCOMPARE(db("select F1 || '/' || E2 from tab_exam1 where A1 = 'US0000000001'").toString(), QString("2/"));
        QCOMPARE(db("select F1 || '/' || E2 from tab_answ where A1 = 'US0000000001'").toString(), QString("2/zero"));
        QCOMPARE(db("select F1 from tab_answ where A1 = '100101110001'").toInt(), 0);
    }

    void historyFigures()
    {
        QCOMPARE(passMarkFor(120), 72);
        QCOMPARE(passMarkFor(96), 57);
        QCOMPARE(scoreFigures(72).average, 0); // the new paper is not marked yet
        QCOMPARE(scoreFigures(72).exams, 1);
        addMarkedPaper(2, 72.0);
        addMarkedPaper(3, 99.0);
        const ScoreFigures figures = scoreFigures(72);
        QCOMPARE(figures.exams, 3);
        QCOMPARE(figures.passed, 2);  // exactly the pass mark passes
        QCOMPARE(figures.average, 86); // 85.5 to even
        addMarkedPaper(4, 88.0);
        QCOMPARE(scoreFigures(72).average, 86); // 86.33
        QCOMPARE(roundHalfToEven(86.5), 86);
        QCOMPARE(roundHalfToEven(85.4), 85);
        QCOMPARE(scoreText(86), QString("得分：86 分"));
        QCOMPARE(scoreText(86.5), QString("得分：86.5 分"));
    }

    void deletingARowWhosePaperIsGone()
    {
        addMarkedPaper(9, 70.0);
        deletePaper("tab_exam9");
        deletePaper("tab_exam1");
        QCOMPARE(db("select count(*) from tab_cj").toInt(), 0);
        QVERIFY(!dm->ADOCn1.tableExists("tab_exam1"));
        QVERIFY_THROWS_EXCEPTION(store::Error, unansweredCount("tab_cj"));
    }
};

QTEST_MAIN(TestExamRules)
#include "test_exam_rules.moc"
