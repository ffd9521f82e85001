#include "BankTestCase.h"
#include "SelectorLogic.h"

#include <QtTest>

using namespace practice;

class TestSelectorLogic : public BankTestCase {
    Q_OBJECT

    QStringList selected(PracticeMode mode, const QString &chapter)
    {
        QStringList ids;
        store::Query &q = dm->Cn1Query1;
        q.close();
        q.setSql(practiceSql(mode, chapter));
        q.open();
        for (q.first(); !q.eof(); q.next())
            ids << q.fieldByName("a1").asString();
        return ids;
    }

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void practiceSqlOfEachMode()
    {
        const QString fields = "a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount";
        QCOMPARE(practiceSql(PracticeMode::NewQuestions, "100101"),
                 "select a1 ," + fields +
                     " from tab_answ where (left(A10,6) = '100101') and (E2 = '' or E2 is null)  and (f1<>1)  "
                     "order by a13,a10,xx,a1");
        QCOMPARE(practiceSql(PracticeMode::NewByDoubleClick, "1001"),
                 "select a1 ," + fields +
                     " from tab_answ where (left(A10,4) = '1001') and (E2 = '' or E2 is null)  and (f1<>1)  "
                     "order by a13,a10,xx");
        QCOMPARE(practiceSql(PracticeMode::RedoWrong, "1001"),
                 "select a1," + fields +
                     " from tab_answ  where (left(A10,4) = '1001') and (E4 < 0)  and (f1<>1) "
                     "order by a13,e3,e4,e1,xx,a1");
        QCOMPARE(practiceSql(PracticeMode::Review, "1001"),
                 "select a1," + fields +
                     " from tab_answ where (left(A10,4) = '1001') and (E2 <> '' and E2 is not null) "
                     "order by a13,e3,e4,e1,xx,a1");
        QVERIFY(practiceSql(PracticeMode::Review, "10'1").contains("(left(A10,4) = '10''1')"));
    }

    void modesSelectTheRightQuestions()
    {
        QCOMPARE(selected(PracticeMode::NewQuestions, "1001"),
                 QStringList({"100101110001", "100101110002", "100102110001", "100101140001"}));
        QCOMPARE(selected(PracticeMode::NewQuestions, "100102"), QStringList({"100102110001"}));
        QVERIFY(selected(PracticeMode::Review, "1001").isEmpty());
        QVERIFY(selected(PracticeMode::NewQuestions, "10'1").isEmpty()); // a quote is data, not SQL

        // Answered wrongly twice; answered right; voided ("zero", f1 = 1); null f1.
        bank->exec("update tab_answ set E2 = 'B', E3 = 2, E4 = -2 where A1 = '100101110001'");
        bank->exec("update tab_answ set E2 = 'C', E3 = 1, E4 = 0 where A1 = '100101110002'");
        bank->exec("update tab_answ set E2 = 'zero', F1 = 1, E4 = -1 where A1 = '100102110001'");
        bank->exec("update tab_answ set F1 = null where A1 = '100101140001'");
        bank->exec("update tab_answ set E2 = 'A', E3 = 1, E4 = -3 where A1 = '100201110001'");
        QVERIFY(selected(PracticeMode::NewQuestions, "1001").isEmpty());
        QCOMPARE(selected(PracticeMode::RedoWrong, "10"), QStringList({"100201110001", "100101110001"}));
        QCOMPARE(selected(PracticeMode::Review, "1001"),
                 QStringList({"100102110001", "100101110002", "100101110001"}));
    }

    void headingsAndEmptyResults()
    {
        QVERIFY(isHeadingChapter("1"));
        QVERIFY(isHeadingChapter("10"));
        QVERIFY(isHeadingChapter(""));
        QVERIFY(!isHeadingChapter("1001"));
        QCOMPARE(headingRefusalMessage(), QString("请选择具体章节目录！"));
        QCOMPARE(emptyResultMessage(PracticeMode::NewQuestions).text, QString("恭喜，习题已做完！"));
        QCOMPARE(emptyResultMessage(PracticeMode::NewByDoubleClick).picture, 0);
        QCOMPARE(emptyResultMessage(PracticeMode::RedoWrong).text, QString("本章节下没有错题！"));
        QCOMPARE(emptyResultMessage(PracticeMode::Review).text, QString("本章节习题还未曾做过！"));
        QCOMPARE(emptyResultMessage(PracticeMode::Review).picture, 1);
    }

    void totalsAndCompositeScore()
    {
        ChapterTotals t = readChapterTotals(dm->Cn1Query1); // sums over no attempts are 0, not null
        QCOMPARE(t.attempts, 0);
        QCOMPARE(t.compositeScore(), QString());

        bank->exec("update tab_kmmc set C3 = 12000, D1 = 15, D2 = 5 where C1 = '100101'");
        bank->exec("update tab_kmmc set C3 = 345, D1 = 5 where C1 = '100102'");
        bank->exec("update tab_kmmc set C3 = 99999, D1 = 999 where C1 = '1001'"); // not a six-character code
        t = readChapterTotals(dm->Cn1Query1);
        QCOMPARE(t.questions, 12345);
        QCOMPARE(t.shownQuestions(), 10000);
        QCOMPARE(t.attempts, 20);
        QCOMPARE(t.wrongAttempts, 5);
        QCOMPARE(t.compositeScore(), QString("75.00"));
        QCOMPARE((ChapterTotals{9999, 3, 1}.shownQuestions()), 9999);
        QCOMPARE((ChapterTotals{0, 3, 1}.compositeScore()), QString("66.67"));
    }

    void gridHidesTheXxRowAndReturnsToTheLastChapter()
    {
        bank->exec("insert into tab_kmmc (bh,C1,C2) values (0,'xx','隐藏')");
        bank->exec("insert into tab_kmmc (bh,C1,C2) values (8,'1002AB','字母')");
        store::Table &kmmc = dm->Cn1Table_kmmc;
        showChapterGrid(kmmc, "1002ab");
        QCOMPARE(kmmc.recordCount(), 8);
        QCOMPARE(kmmc.fieldByName("C1").asString(), QString("1002AB"));
        showChapterGrid(kmmc, "gone");
        QCOMPARE(kmmc.fieldByName("C1").asString(), QString("1"));
        showChapterGrid(kmmc, QString());
        QCOMPARE(kmmc.recNo(), 1);
    }
};

QTEST_MAIN(TestSelectorLogic)
#include "test_selector_logic.moc"
