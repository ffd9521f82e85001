#include "BankTestCase.h"
#include "Clock.h"
#include "Error.h"
#include "Globals.h"
#include "Marking.h"
#include "PracticeSession.h"

#include <QtTest>

using practice::markAnswer;

// Marking answers against the fixture bank. The run lists every question by
// id: 1 = 100101110001 (key A, points 0100010001 and 0100020001),
// 2 = 100101110002 (key C), 3 = 100101140001 (key ABD), 4 = 100102110001 (key B),
// 5 = 100201110001 (key D).
class TestMarking : public BankTestCase {
    Q_OBJECT

    store::Query &questions() { return dm->Cn1Query_tm; }

    void startRun()
    {
        PracticeSql = "select * from tab_answ order by a1";
        QVector<practice::TypeEntry> types;
        QVERIFY(practice::prepareSession(types));
    }

    QString answerRecord(const QString &id)
    {
        return db("select E2 || '/' || E2_1 || '/' || E3 || '/' || E4 || '/' || ifnull(E1, '') from tab_answ where A1 = '" + id +
                  "'")
            .toString();
    }
    QString chapterCounters()
    {
        return db("select group_concat(C1 || ':' || C4 || D1 || D2, ' ') from (select * from tab_kmmc where D1 > 0 "
                  "order by bh)")
            .toString();
    }
    QString todayLog() { return db("select A2 || A3 || B1 || B2 from tab_rz where A1 = '2026-12-08'").toString(); }
    QString pointCounters()
    {
        return db("select (select group_concat(ftid || ':' || q1 || q2 || q4, ' ') from tab_rule) || ' | ' || "
                  "(select group_concat(id || ':' || q1 || q2 || q4, ' ') from (select * from tab_fgmc order by bh))")
            .toString();
    }

private slots:
    void init()
    {
        openFreshBank();
        startRun();
    }
    void cleanup() { closeBank(); }

    void neverAnsweredWrongCountsEverywhere()
    {
        const practice::MarkOutcome o = markAnswer(questions(), 1, "B");
        QVERIFY(o.marked && o.counted && !o.right && !o.emptyAnswer);
        QVERIFY(o.firstEver && o.firstToday);
        QVERIFY(o.hasPoints && o.hasExplanation && o.keyShown);
        QCOMPARE(o.key, QString("A"));
        QCOMPARE(answerRecord("100101110001"), QString("B/B/1/-3/2026-12-08"));
        QCOMPARE(chapterCounters(), QString("1:111 10:111 1001:111 100101:111"));
        QCOMPARE(todayLog(), QString("1111"));
        QCOMPARE(pointCounters(), QString("0100010001:111 0100020001:111 | 01:111 010001:111 010002:111"));
        // The dataset shows what was stored.
        QCOMPARE(questions().fieldByName("E4").asInteger(), -3);
        QCOMPARE(questions().recNo(), 1);
    }

    void rightLaterTheSameDayPaysBackOne()
    {
        markAnswer(questions(), 1, "B");
        startRun();
        const practice::MarkOutcome o = markAnswer(questions(), 1, "A");
        QVERIFY(o.counted && o.right && !o.firstEver && !o.firstToday);
        QCOMPARE(answerRecord("100101110001"), QString("A/A/2/-2/2026-12-08"));
        QCOMPARE(chapterCounters(), QString("1:121 10:121 1001:121 100101:121"));
        QCOMPARE(todayLog(), QString("2110")); // B2 back to 0
        QCOMPARE(pointCounters(), QString("0100010001:121 0100020001:121 | 01:121 010001:121 010002:121"));

        store::setToday(QDate(2026, 12, 9));
        startRun();
        QVERIFY(markAnswer(questions(), 1, "A").firstToday);
        startRun();
        markAnswer(questions(), 1, "A");
        startRun();
        markAnswer(questions(), 1, "A"); // E4 stops at 0
        QCOMPARE(db("select E4 from tab_answ where A1 = '100101110001'").toInt(), 0);
    }

    void onlyAChangedAnswerCountsAgain()
    {
        QVERIFY(markAnswer(questions(), 2, "A").counted);
        QVERIFY(!markAnswer(questions(), 2, "A").counted);
        QCOMPARE(answerRecord("100101110002"), QString("A/A/1/-3/2026-12-08"));
        QVERIFY(markAnswer(questions(), 2, "C").counted);
        QVERIFY(markAnswer(questions(), 2, "A").counted); // A, C, A: three attempts
        QCOMPARE(answerRecord("100101110002"), QString("A/A/3/-3/2026-12-08"));
        QCOMPARE(db("select C4 || D1 || D2 from tab_kmmc where C1 = '100101'").toString(), QString("132"));
        QCOMPARE(todayLog(), QString("3211")); // wrong, right (−1), wrong (+1)
    }

    void emptyAnswerClearsTheRunAnswerOnly()
    {
        markAnswer(questions(), 2, "C");
        const practice::MarkOutcome o = markAnswer(questions(), 2, "");
        QVERIFY(o.marked && o.emptyAnswer && !o.counted && !o.right);
        QCOMPARE(answerRecord("100101110002"), QString("C//1/0/2026-12-08"));
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100101'").toInt(), 1);
        // The run's answer is gone, so giving it again is a new attempt.
        QVERIFY(markAnswer(questions(), 2, "C").counted);
    }

    void noSuchRecordTouchesNothing()
    {
        QVERIFY(!markAnswer(questions(), 0, "A").marked);
        QVERIFY(!markAnswer(questions(), -1, "A").marked);
        QVERIFY(!markAnswer(questions(), 6, "A").marked);
        QCOMPARE(db("select sum(E3) from tab_answ").toInt(), 0);
    }

    void noPointsWhenTheFirstLinkIsEmpty()
    {
        bank->exec("update tab_answ set K3 = '', K4 = '0100010001' where A1 = '100101110002'");
        startRun();
        const practice::MarkOutcome o = markAnswer(questions(), 2, "B");
        QVERIFY(o.counted && !o.hasPoints);
        QCOMPARE(db("select sum(q2) from tab_rule").toInt() + db("select sum(q2) from tab_fgmc").toInt(), 0);
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100101'").toInt(), 1);
    }

    void fiveCharacterChapterCountsEveryExistingPrefix()
    {
        bank->exec("insert into tab_kmmc (bh,C1,C2) values (8,'10010','五位')");
        bank->exec("insert into tab_kmmc (bh,C1,C2) values (9,'100','三位')");
        bank->addQuestion("100101110009", "10010", 65, "1");
        bank->exec("update tab_exer set jx = null where A1 = '100101110009'");
        dm->Cn1Table_kmmc.close();
        startRun();
        QVERIFY(questions().locate("A1", "100101110009"));
        const practice::MarkOutcome o = markAnswer(questions(), questions().recNo(), "0");
        QVERIFY(!o.keyShown && !o.hasExplanation && !o.hasPoints);
        QCOMPARE(db("select group_concat(C1, ' ') from (select C1 from tab_kmmc where D1 = 1 order by length(C1))")
                     .toString(),
                 QString("1 10 100 1001 10010"));
    }

    void aDatabaseErrorLeavesNothingHalfCounted_data()
    {
        QTest::addColumn<QString>("failingTable");
        QTest::newRow("last exam-point statement") << "tab_fgmc";
        QTest::newRow("the question's own row") << "tab_answ";
    }
    void aDatabaseErrorLeavesNothingHalfCounted()
    {
        QFETCH(QString, failingTable);
        dm->ADOCn1.execute("create trigger boom before update on " + failingTable +
                           " begin select raise(abort, 'disk full'); end");
        dm->Cn1Table_kmmc.open();
        QVERIFY_THROWS_EXCEPTION(store::Error, markAnswer(questions(), 1, "B"));

        QCOMPARE(answerRecord("100101110001"), QString("//0/0/"));
        QCOMPARE(db("select sum(D1) from tab_kmmc").toInt(), 0);
        QCOMPARE(db("select count(*) from tab_rz").toInt(), 0);
        QCOMPARE(db("select sum(q2) from tab_rule").toInt(), 0);
        // The datasets show the stored rows again and can move on.
        QCOMPARE(questions().state(), store::Dataset::State::Browse);
        QCOMPARE(questions().recNo(), 1);
        QCOMPARE(questions().fieldByName("E3").asInteger(), 0);
        QCOMPARE(questions().fieldByName("E2_1").asString(), QString());
        QCOMPARE(dm->Cn1Table_kmmc.state(), store::Dataset::State::Browse);
        QVERIFY(dm->Cn1Table_kmmc.locate("C1", "100101"));
        QCOMPARE(dm->Cn1Table_kmmc.fieldByName("D1").asInteger(), 0);

        dm->ADOCn1.execute("drop trigger boom");
        const practice::MarkOutcome o = markAnswer(questions(), 1, "B");
        QVERIFY(o.counted && o.firstEver);
        QCOMPARE(answerRecord("100101110001"), QString("B/B/1/-3/2026-12-08"));
        QCOMPARE(todayLog(), QString("1111"));
    }

    void closingAddsTheClockTimeAndClosesTheRun()
    {
        bank->exec("insert into tab_rz (A1,A2,A3,B1,B2,D1) values ('2026-12-08',4,1,3,1,'1:59:59')");
        markAnswer(questions(), 1, "A");
        QCOMPARE(practice::clockText(2), QString("0:00:02"));
        QCOMPARE(practice::clockText(36000 + 61), QString("10:01:01"));
        practice::endPracticeSession(practice::clockText(2));
        QCOMPARE(db("select D1 || ' ' || A4 from tab_rz").toString(), QString("02:00:01 80.00"));
        QCOMPARE(db("select C6 from tab_kmmc where C1 = '100101'").toString(), QString("100.00"));
        QVERIFY(!questions().isOpen());
        QVERIFY(!dm->Cn1Table_tx.isOpen());

        startRun();
        QVERIFY_THROWS_EXCEPTION(store::Error, practice::endPracticeSession("x:00:00"));
        QVERIFY(!questions().isOpen()); // closed even when the time could not be added
    }
};

QTEST_MAIN(TestMarking)
#include "test_marking.moc"
