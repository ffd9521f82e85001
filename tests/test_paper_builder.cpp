#include "BankTestCase.h"
#include "Globals.h"
#include "DrawPool.h"
#include "PaperBuilder.h"

#include <QSet>
#include <QtTest>

using namespace exam;

// Building papers on the fixture bank: subject 1 has four single-choice
// questions (100101110001, 100101110002, 100102110001, 100201110001) and one
// multiple-choice question (100101140001); tab_tx1 offers types 11 and 14.
class TestPaperBuilder : public BankTestCase {
    Q_OBJECT

    QString paperIds(const QString &table)
    {
        return db("select group_concat(A1, ' ') from (select A1 from " + table + " order by A13, A1)").toString();
    }
    int tableCount(const QString &name)
    {
        return db("select count(*) from sqlite_master where type = 'table' and name = '" + name + "'").toInt();
    }
    void expectFailure(int subject, const QString &message)
    {
        try {
            buildPaper(subject);
            QFAIL("the paper was built");
        } catch (const PaperError &e) {
            QCOMPARE(e.text, message);
        }
    }

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void theFirstPaperTakesEveryCandidateWhenTheBankIsSmall()
    {
        QStringList progress;
        const BuiltPaper built = buildPaper(1, [&](const QString &text) { progress << text; });
        QCOMPARE(built.name.sequence, 1);
        QCOMPARE(built.name.table, QString("tab_exam1"));
        QCOMPARE(built.name.title, QString("2026年12月08日造价工程师·工程造价管理基础理论与相关法规[1]"));
        QCOMPARE(progress, QStringList({"正在初始化数据...", "正在建立数据表...", "正在整理数据..."}));
        // Fewer candidates than the 60 and 20 asked for: all of them, none twice.
        QCOMPARE(built.questionCount, 5);
        QCOMPARE(paperIds("tab_exam1"),
                 QString("100101110001 100101110002 100102110001 100201110001 100101140001"));
        QCOMPARE(db("select A1 || '|' || A3 || '|' || A3_1 || '|' || D1 || '|' || ifnull(A6, 'none') from tab_cj")
                     .toString(),
                 QString("tab_exam1|" + built.name.title + "|1|2026-12-08|none"));
        // The row is the bank's question with the explanation from tab_exer.
        QCOMPARE(db("select A2 || K3 || K4 || A10 || A13 || jx from tab_exam1 where A1 = '100101110001'").toString(),
                 QString("A01000100010100020001100101" "11解析 100101110001"));
    }

    void textColumnsKeepTextAndDatesStayDates()
    {
        buildPaper(1);
        dm->ADOCn1.execute("update tab_exam1 set A14 = '0123', E2_1 = '', E1 = '2026-12-08' where A13 = 14");
        QCOMPARE(db("select typeof(A14) || typeof(E2_1) || typeof(E1) || A14 from tab_exam1 where A13 = 14").toString(),
                 QString("texttexttext0123"));
        QCOMPARE(db("select typeof(A13) || typeof(A2_1) from tab_exam1 where A13 = 14").toString(),
                 QString("integerinteger"));
    }

    void numbersFollowTheNewestRow()
    {
        for (int n = 1; n <= 7; ++n)
            bank->exec("insert into tab_cj (A1, A3, A3_1) values (?, 'old', ?)",
                       {QString("tab_exam%1").arg(n == 7 ? 12 : n), n});
        bank->exec("create table tab_exam12 (A1 TEXT)");
        openDataModuleAgain();
        const BuiltPaper built = buildPaper(1);
        QCOMPARE(built.name.sequence, 8);
        QCOMPARE(built.name.table, QString("tab_exam13"));
        QVERIFY(built.name.title.endsWith("[8]"));
        QCOMPARE(tableCount("tab_exam12"), 1); // the others stay
    }

    void aLeftoverTableOfTheNewNameMakesRoom()
    {
        bank->exec("create table tab_exam1 (A1 TEXT, stale INTEGER)");
        openDataModuleAgain();
        buildPaper(1);
        QVERIFY(!dm->ADOCn1.columnNames("tab_exam1").contains("stale"));
        QCOMPARE(db("select count(*) from tab_exam1").toInt(), 5);
    }

    void typesOffNotAskedForOrVoidedAreNotDrawn()
    {
        bank->exec("update tab_tx1 set B2 = 0 where A1 = 14");
        bank->exec("insert into tab_tx1 (A1, B1, B2, B3, time) values (41, '判断题', 10, 1, 1)");
        bank->addQuestion("100101410001", "100101", 41, "A");
        bank->exec("update tab_answ set F1 = 1 where A1 = '100101110002'");
        bank->addQuestion("200101110001", "200101", 11, "A"); // another subject
        openDataModuleAgain();
        buildPaper(1);
        QCOMPARE(paperIds("tab_exam1"), QString("100101110001 100102110001 100201110001"));
    }

    void aTypeWithExactlyTheCountTakesEveryCandidate()
    {
        for (int n = 1; n <= 60; ++n)
            bank->addQuestion(QString("1002011199%1").arg(n, 2, 10, QChar('0')), "100201", 11, "A");
        openDataModuleAgain();
        const BuiltPaper built = buildPaper(1);
        QCOMPARE(db("select count(*) from tab_exam1 where A13 = 11").toInt(), 60);
        QCOMPARE(db("select count(distinct A1) from tab_exam1").toInt(), built.questionCount);
    }

    void picksAreDistinctAndEveryPlaceEquallyLikely()
    {
        std::mt19937 generator(7);
        QVector<int> hits(100);
        const int rounds = 20000;
        for (int round = 0; round < rounds; ++round) {
            const QVector<int> picked = store::pickPlaces(100, 10, generator);
            QCOMPARE(picked.size(), 10);
            QCOMPARE(QSet<int>(picked.begin(), picked.end()).size(), 10);
            for (int place : picked)
                hits[place]++;
        }
        // Each place is expected 2,000 times; five standard deviations is about 212.
        for (int place = 0; place < 100; ++place)
            QVERIFY2(qAbs(hits[place] - 2000) < 212, qPrintable(QString("place %1: %2").arg(place).arg(hits[place])));
        QCOMPARE(store::pickPlaces(3, 60, generator).size(), 3);
        QVERIFY(store::pickPlaces(100, 0, generator).isEmpty());
        QVERIFY(store::pickPlaces(0, 5, generator).isEmpty());
    }

    void aPaperThatCannotBeBuiltLeavesNothingBehind()
    {
        expectFailure(2, "没有发现题目！");
        QCOMPARE(db("select count(*) from tab_cj").toInt(), 0);
        QCOMPARE(tableCount("tab_exam1"), 0);

        bank->exec("create index tab_exam1 on tab_cj (A3)"); // takes the name the table needs
        openDataModuleAgain();
        expectFailure(1, "建立数据表时发生错误！");
        QCOMPARE(db("select count(*) from tab_cj").toInt(), 0);

        // Half way: the table is made, then copying the questions fails.
        dm->ADOCn1.execute("drop index tab_exam1");
        dm->ADOCn1.execute("alter table tab_exer rename to tab_exer_gone");
        expectFailure(1, "提取数据时发生错误！");
        QCOMPARE(db("select count(*) from tab_cj").toInt(), 0);
        QCOMPARE(tableCount("tab_exam1"), 0);
    }

    void onlyCheckedNamesAreTaken()
    {
        QVERIFY(isPaperTableName("tab_exam1"));
        QVERIFY(isPaperTableName("tab_exam12"));
        QVERIFY(!isPaperTableName("tab_exam"));
        QVERIFY(!isPaperTableName("tab_exam1; drop table tab_answ"));
        QVERIFY(!isPaperTableName("tab_cj"));
        QCOMPARE(drawCount(2, 11), 72);
        QCOMPARE(drawCount(5, 65), 7);
        QCOMPARE(drawCount(5, 11), 0);
        QCOMPARE(subjectPaper(6), nullptr);
    }

private:
    // The fixture was changed behind the data module's back.
    void openDataModuleAgain()
    {
        dm.reset();
        dm = std::make_unique<TDM1>(bank->folder());
        QVERIFY(dm->connected);
    }
};

QTEST_MAIN(TestPaperBuilder)
#include "test_paper_builder.moc"
