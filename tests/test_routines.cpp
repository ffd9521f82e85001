#include "Clock.h"
#include "DataModule.h"
#include "Error.h"
#include "BankTestCase.h"
#include "Globals.h"
#include "LinkCounts.h"
#include "Routines.h"

#include <QtTest>
#include <sqlite3.h>

class TestRoutines : public BankTestCase {
    Q_OBJECT

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    // Links end at the first empty field; a point named twice is one link; an
    // item or group counts each question once.
    void linkCountsCountEachQuestionOncePerEntry()
    {
        store::Connection &c = dm->ADOCn1;
        c.execute("insert into tab_rule (id,ftid,sn,n) values ('010001','0100010002','适用范围','第二条')");
        c.execute("update tab_answ set K3='0100010001', K4='0100010002', K5='0100010001' where A1='100101110002'");
        c.execute("update tab_answ set K3='', K4='0100010002' where A1='100201110001'");
        const auto counts = [&] {
            return c.scalar("select group_concat(ftid || ':' || q, ' ') from (select * from tab_rule order by ftid)")
                       .toString() +
                   " / " +
                   c.scalar("select group_concat(id || ':' || q, ' ') from (select * from tab_fgmc order by id)")
                       .toString();
        };
        store::recountLinks(c);
        QCOMPARE(counts(), QString("0100010001:2 0100010002:1 0100020001:2 / 01:3 010001:2 010002:2"));

        c.execute("update tab_rule set q = 9");
        c.execute("update tab_fgmc set q = 9");
        store::recountLinks(c, {"0100020001"});
        QCOMPARE(counts(), QString("0100010001:9 0100010002:9 0100020001:2 / 01:3 010001:9 010002:2"));
    }

    void createsTheConnectionFromTheProgramFolder()
    {
        QVERIFY(AppDir.endsWith('/'));
        QVERIFY(dm->ADOCn1.connectionString().contains("Data Source=" + AppDir + "data/Vellumar.mdb;"));
        QVERIFY(dm->ADOCn1.connectionString().endsWith("Jet OLEDB:SFP=False"));
        QVERIFY(dm->ADOCn1.connectionString().contains("Database Password=41736pd82k5wqjtrzhxn;"));
    }

    void notConnectedWithoutABank()
    {
        QTemporaryDir empty;
        TDM1 missing(empty.path());
        QVERIFY(!missing.connected);
        QDir(empty.path()).mkpath("data");
        QFile f(empty.path() + "/data/Vellumar.mdb");
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("SQLite format 3 but not really");
        f.close();
        TDM1 corrupt(empty.path());
        QVERIFY(!corrupt.connected);
        store::Connection other;
        other.setConnectionString(TDM1::connectionStringFor(empty.path() + "/data/other.mdb"));
        other.open(true);
        other.execute("create table t (a)");
        other.close();
        QFile::remove(f.fileName());
        QFile::copy(empty.path() + "/data/other.mdb", f.fileName());
        TDM1 foreign(empty.path());
        QVERIFY(!foreign.connected);
    }

    void chapterChangeFollowsTheCurrentRow()
    {
        QList<bool> explanation;
        connect(dm.get(), &TDM1::chapterExplanationAvailable, this, [&](bool on) { explanation << on; });
        SelectorOpen = true;
        dm->Cn1Table_kmmc.open();
        QVERIFY(dm->Cn1Table_kmmc.locate("C1", "1001"));
        QCOMPARE(CurrentChapterCode, QString("第一章提示"));
        QVERIFY(dm->Cn1Table_kmmc.locate("C1", "100101"));
        QCOMPARE(CurrentChapterCode, QString("第一节提示"));
        SelectorOpen = false;
        dm->Cn1Table_kmmc.first();
        QCOMPARE(CurrentChapterCode, QString("科目一提示"));
        QCOMPARE(explanation.mid(explanation.size() - 2), QList<bool>({true, false}));
    }

    void logAnswerFirstOfDayThenWrongThenRight()
    {
        LogAnswer(2, 2, 1);
        QCOMPARE(db("select A2 || '/' || A3 || '/' || B1 || '/' || B2 from tab_rz where A1 = '2026-12-08'").toString(),
                 QString("1/1/1/1"));
        QVERIFY(!dm->Cn1Table_rz.isOpen()); // closed after appending a new day
        LogAnswer(1, 1, 2); // same question answered right later the same day
        QCOMPARE(db("select A2 || '/' || A3 || '/' || B1 || '/' || B2 from tab_rz").toString(), QString("2/1/1/0"));
        LogAnswer(2, 1, 1);
        LogAnswer(1, 2, 1); // right before, wrong now
        QCOMPARE(db("select A2 || '/' || A3 || '/' || B1 || '/' || B2 from tab_rz").toString(), QString("4/2/2/1"));
        store::setToday(QDate(2026, 12, 9));
        LogAnswer(2, 1, 1);
        QCOMPARE(db("select count(*) from tab_rz").toInt(), 2);
        QCOMPARE(db("select A3 from tab_rz where A1 = '2026-12-09'").toInt(), 0);
    }

    void chapterAnswerCountsEveryExistingAncestorOnce()
    {
        CountChapterAnswer("100101", 2, 2);
        CountChapterAnswer("100101", 1, 1);
        QCOMPARE(db("select group_concat(C1 || ':' || C4 || D1 || D2, ' ') from "
                    "(select * from tab_kmmc where D1 > 0 order by bh)")
                     .toString(),
                 QString("1:121 10:121 1001:121 100101:121"));
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100102'").toInt(), 0);

        for (const char *code : {"0", "01", "010", "0102", "01020", "010203", "0103"})
            bank->exec("insert into tab_kmmc (bh, C1) values (100, ?)", {QString(code)});
        dm->Cn1Table_kmmc.refresh();
        CountChapterAnswer("010203", 1, 1);
        QCOMPARE(db("select group_concat(C1, ' ') from (select C1 from tab_kmmc where left(C1,1)='0' and D1 = 1 "
                    "order by length(C1))")
                     .toString(),
                 QString("0 01 010 0102 01020 010203"));
    }

    void pointAnswerUpdatesPointsItemsAndGroups()
    {
        const PointLists lists = PointListsOf({"0100010001", "0100020001"});
        QCOMPARE(lists.points, QString("('0100010001','0100020001')"));
        QCOMPARE(lists.items, QString("('010001','010002')"));
        QCOMPARE(lists.groups, QString("('01','01')"));
        CountPointAnswer(lists.points, lists.items, lists.groups, 2, 2);
        CountPointAnswer(lists.points, lists.items, lists.groups, 1, 1);
        QCOMPARE(db("select group_concat(q1 || q2 || q4, ' ') from (select * from tab_rule order by ftid)").toString(),
                 QString("121 121"));
        // The group appears twice in its list but is counted once per statement.
        QCOMPARE(db("select group_concat(id || ':' || q1 || q2 || q4, ' ') from (select * from tab_fgmc order by bh)")
                     .toString(),
                 QString("01:121 010001:121 010002:121"));
    }

    void linkedPointsStopAtTheFirstEmptyOne()
    {
        bank->exec("update tab_answ set K3 = '', K4 = '0100010001' where A1 = '100101110002'");
        dm->Cn1Query2.setSql("select * from tab_answ where A1 in ('100101110001', '100101110002') order by A1");
        dm->Cn1Query2.open();
        QCOMPARE(LinkedPoints(dm->Cn1Query2), QStringList({"0100010001", "0100020001"}));
        dm->Cn1Query2.next();
        QVERIFY(LinkedPoints(dm->Cn1Query2).isEmpty());
        QVERIFY(PointListsOf({}).isEmpty());
    }

    void parseHms()
    {
        QCOMPARE(ParseHms(""), 0);
        QCOMPARE(ParseHms("01:59:30"), 7170);
        QCOMPARE(ParseHms("0:00:45"), 45);
        QCOMPARE(ParseHms("2:"), 7200); // one colon: hours only
        QCOMPARE(ParseHms("1:02:345"), 3600 + 120 + 34);
        QCOMPARE(ParseHms("1:02:03:04"), 3720); // a third colon ends the walk
        QCOMPARE(ParseHms("100:00:00"), 360000);
        QVERIFY_THROWS_EXCEPTION(store::Error, ParseHms("a:00:00"));
        QVERIFY_THROWS_EXCEPTION(store::Error, ParseHms("1:00:"));
    }

    void addStudyTimeAddsAndRefreshesEveryChapter()
    {
        bank->exec("insert into tab_rz (A1,A2,A3,B1,B2,D1) values ('2026-12-08',4,1,3,1,'01:59:30')");
        bank->exec("update tab_kmmc set D1 = 3, D2 = 1, C6 = 'stale' where C1 = '1'");
        bank->exec("update tab_kmmc set D1 = 0, C6 = 'stale' where C1 = '100101'");
        dm->Cn1Table_kmmc.open();
        dm->Cn1Table_kmmc.last(); // earlier rows must be refreshed as well
        AddStudyTime("0:00:45");
        QCOMPARE(db("select D1 || ' ' || A4 from tab_rz").toString(), QString("02:00:15 75.00"));
        QCOMPARE(db("select C6 from tab_kmmc where C1 = '1'").toString(), QString("66.67"));
        QCOMPARE(db("select C6 from tab_kmmc where C1 = '100101'").toString(), QString("0"));
        QVERIFY(dm->Cn1Table_kmmc.eof());

        AddStudyTime("97:59:45");
        QCOMPARE(db("select D1 from tab_rz").toString(), QString("100:00:00"));

        store::setToday(QDate(2026, 12, 10));
        bank->exec("update tab_kmmc set C6 = 'stale' where C1 = '1'");
        dm->Cn1Table_kmmc.refresh();
        AddStudyTime("0:10:00"); // no row today: the log is untouched, the scores are not
        QCOMPARE(db("select count(*) from tab_rz").toInt(), 1);
        QCOMPARE(db("select C6 from tab_kmmc where C1 = '1'").toString(), QString("66.67"));
    }

    void smallRoutines()
    {
        QCOMPARE(AnswerPageOfType(11), 0);
        QCOMPARE(AnswerPageOfType(14), 1);
        QCOMPARE(AnswerPageOfType(65), 4);
        QCOMPARE(AnswerPageOfType(12), 99);
        QCOMPARE(PaperTotalMarks(), 100);

        QList<int> applied;
        SetVolumeSink([&](int level) { applied << level; });
        SetVolumeLevel(0);
        SetVolumeLevel(1);
        SetVolumeLevel(40);
        SetVolumeLevel(9);
        SetVolumeSink({});
        QCOMPARE(applied, QList<int>({1, 1, 16, 9}));
        QCOMPARE(VolumeLevel, 9);
    }

    void dropPaperAndAllowZeroLength()
    {
        DropPaper("tab_exam9"); // missing: nothing happens, nothing thrown
        dm->ADOCn1.execute("CREATE TABLE tab_exam1 (A1 TEXT(20) NOT NULL PRIMARY KEY,A2 TEXT(100),A14 MEMO,"
                           "E2 TEXT(100),E2_1 TEXT(100),csbs TEXT(2))");
        dm->ADOCn1.execute("insert into tab_cj (A1,A3,A3_1) values ('tab_exam1','试卷',1)");
        AllowZeroLength("tab_exam1", dm->ADOCn1.connectionString());
        QVERIFY_THROWS_EXCEPTION(store::Error, AllowZeroLength("tab_exam2", dm->ADOCn1.connectionString()));
        dm->ADOCn1.execute("CREATE TABLE tab_exam2 (A1 TEXT(20))");
        QVERIFY_THROWS_EXCEPTION(store::Error, AllowZeroLength("tab_exam2", dm->ADOCn1.connectionString()));
        DropPaper("tab_exam1");
        QVERIFY(!dm->ADOCn1.tableExists("tab_exam1"));
        QCOMPARE(db("select count(*) from tab_cj").toInt(), 0);
    }

    void oneAnswerIsAllOrNothing()
    {
        try {
            store::Transaction t(dm->ADOCn1);
            LogAnswer(2, 2, 1);
            CountChapterAnswer("100101", 2, 2);
            const PointLists l = PointListsOf({"0100010001"});
            CountPointAnswer(l.points, l.items, "('no such table",  2, 2);
            t.commit();
            QFAIL("the broken statement did not fail");
        } catch (const store::Error &) {
        }
        QCOMPARE(db("select count(*) from tab_rz").toInt(), 0);
        QCOMPARE(db("select sum(D1) from tab_kmmc").toInt(), 0);
        QCOMPARE(db("select sum(q2) from tab_rule").toInt(), 0);
        QCOMPARE(dm->Cn1Table_kmmc.isOpen() ? dm->Cn1Table_kmmc.recordCount() : 7, 7);
        dm->Cn1Table_kmmc.first();
        QVERIFY(dm->Cn1Table_kmmc.locate("C1", "100101"));
        QCOMPARE(dm->Cn1Table_kmmc.fieldByName("D1").asInteger(), 0); // the snapshot follows the rollback
    }

    void counterStatementsUseIndexes()
    {
        // Warm up: tables open, keys known.
        LogAnswer(2, 2, 1);
        LogAnswer(1, 1, 2);
        CountChapterAnswer("100101", 2, 2);
        QStringList statements;
        sqlite3_trace_v2(
            dm->ADOCn1.handle(), SQLITE_TRACE_STMT,
            [](unsigned, void *ctx, void *p, void *) {
                auto *list = static_cast<QStringList *>(ctx);
                list->append(QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt *>(p))));
                return 0;
            },
            &statements);
        LogAnswer(1, 2, 1);
        CountChapterAnswer("100101", 1, 2);
        const PointLists l = PointListsOf({"0100010001", "0100020001"});
        CountPointAnswer(l.points, l.items, l.groups, 2, 2);
        sqlite3_trace_v2(dm->ADOCn1.handle(), 0, nullptr, nullptr);
        QVERIFY(statements.size() >= 10);
        for (const QString &sql : std::as_const(statements)) {
            store::Statement plan(dm->ADOCn1.handle(), "EXPLAIN QUERY PLAN " + sql, {});
            int bound = sqlite3_bind_parameter_count(plan.handle());
            for (int i = 1; i <= bound; ++i)
                sqlite3_bind_text(plan.handle(), i, "x", -1, SQLITE_STATIC);
            while (plan.step()) {
                const QString detail = plan.value(3).toString();
                QVERIFY2(!detail.startsWith("SCAN"), qPrintable(sql + " -> " + detail));
            }
        }
    }
};

QTEST_MAIN(TestRoutines)
#include "test_routines.moc"
