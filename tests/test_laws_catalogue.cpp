#include "BankTestCase.h"
#include "PointCatalogue.h"
#include "Schema.h"
#include "Settings.h"

#include <QtTest>

// The exam-point browser's rules that need no window, on a fixture bank.
class TestLawsCatalogue : public BankTestCase {
    Q_OBJECT

    QStringList plan(const QString &sql)
    {
        store::Query q(&dm->ADOCn1);
        q.setSql(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
        q.open();
        QStringList steps;
        for (q.first(); !q.eof(); q.next())
            steps << q.fieldByName(QStringLiteral("detail")).asString();
        return steps;
    }

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void countersAreRightAlignedInNineCharacters()
    {
        QCOMPARE(laws::counterCell(7), QString("        7"));
        QCOMPARE(laws::counterCell(0), QString("        0"));
        QCOMPARE(laws::counterCell(1234567890), QString("1234567890"));
    }

    void searchFindsTheFirstRowContainingTheTrimmedText()
    {
        const QStringList names{"中华人民共和国建筑法", "第一章 总则", "第二章 建筑许可", "招标投标法"};
        QCOMPARE(laws::findRow(names, "法"), 0);
        QCOMPARE(laws::findRow(names, "  建筑许可 "), 2);
        QCOMPARE(laws::findRow(names, "章"), 1);
        QCOMPARE(laws::findRow(names, "   "), -1);
        QCOMPARE(laws::findRow(names, ""), -1);
        QCOMPARE(laws::findRow(names, "民法典"), -1);
        QCOMPARE(laws::findRow({"Law A"}, "law"), -1);
    }

    void theKeyPointThresholdIsTheAverageQuestionsPerPoint()
    {
        QCOMPARE(laws::keyPointThreshold("       10", 4), 2);
        QCOMPARE(laws::keyPointThreshold("        3", 5), 1);
        QCOMPARE(laws::keyPointThreshold("        9", 0), 1);
        QCOMPARE(laws::keyPointThreshold("        0", 3), 1);
        QCOMPARE(laws::keyPointThreshold("abc", 3), 1);
        QCOMPARE(laws::keyPointThreshold("", 3), 1);
        QCOMPARE(laws::keyPointFilter(3), QString("q >=3"));
        QVERIFY(laws::isGroupId("01") && laws::isGroupId(" 1 ") && !laws::isGroupId("010001"));
    }

    void pointEntriesCarryTheirQuestionCount()
    {
        QCOMPARE(laws::pointEntry("第三条    ", 5), QString("第三条(5)"));
        QCOMPARE(laws::pointEntry("第三条    ", 0), QString("第三条"));
        QCOMPARE(laws::pointEntry("第三条(一)  ", 2), QString("第三条(一)(2)"));
        QCOMPARE(laws::pointTitle("第三条(5)"), QString("第三条"));
        QCOMPARE(laws::pointTitle("罚则"), QString("罚则"));
    }

    void theNoteBarShowsThePointsCounters()
    {
        bank->exec("update tab_rule set q=12, q1=3, q2=7, q4=2 where ftid='0100020001'");
        store::Query &points = dm->m_queryDetail;
        points.setSql(laws::sectionPointsSql("010002"));
        points.open();
        const laws::PointNote note = laws::pointNote(points);
        QCOMPARE(note.text, QString("相关题数：12题  已做题数：3题  已做道次：7次  做错道次：2次"));
        QVERIFY(note.practicable);
        bank->exec("update tab_rule set q=0 where ftid='0100020001'");
        points.refresh();
        QCOMPARE(laws::pointNote(points).text, QString("虽然针对该内容的习题没有，您仍要仔细阅读！"));
        QVERIFY(!laws::pointNote(points).practicable);
    }

    void theCatalogueAndASectionAreReadInOrder()
    {
        bank->exec("update tab_fgmc set q=4, q1=3, q2=9, q4=1 where id='010002'");
        const QVector<laws::CatalogueRow> rows = laws::readCatalogue(dm->m_query);
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(2).id + rows.at(2).name, QString("010002第二章 建筑许可"));
        QCOMPARE(QString("%1/%2/%3/%4").arg(rows.at(2).q).arg(rows.at(2).q1).arg(rows.at(2).q2).arg(rows.at(2).q4),
                 QString("4/3/9/1"));
        QCOMPARE(laws::sectionPointCount(dm->ADOQuery3, "010002"), 1);
        QCOMPARE(laws::sectionPointCount(dm->ADOQuery3, "01'0002"), 0);
    }

    // A point code is text from the bank: quoting keeps it a value, whatever it holds.
    void thePracticeSetSelectsTheQuestionsLinkedToThePoint()
    {
        bank->exec("insert into tab_rule (id,ftid,sn,q) values ('010002','01''0002','引号',1)");
        store::Query set(&dm->ADOCn1);
        set.setSql(laws::pointPracticeSql("0100020001"));
        set.open();
        QCOMPARE(set.recordCount(), 2);
        QVERIFY(set.hasField("csbs") && set.hasField("k12") && set.hasField("e2_1"));
        set.close();
        set.setSql(laws::pointPracticeSql("01'0002"));
        set.open();
        QCOMPARE(set.recordCount(), 0);
        QCOMPARE(laws::pointPracticeSql("0100020001"),
                 QString("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1, csbs "
                         "from tab_answ where '0100020001' in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12)"));
    }

    void theBrowsersQueriesUseAnIndex()
    {
        const QStringList catalogue = plan("select * from tab_fgmc order by bh");
        QVERIFY2(catalogue.join('|').contains("USING INDEX ix_fgmc_order"), qPrintable(catalogue.join('|')));
        const QStringList count = plan("select count(*) as icou1 from tab_rule where (id = '010002')");
        QVERIFY2(count.join('|').contains("ix_rule_section (id=?)"), qPrintable(count.join('|')));
        const QStringList section = plan(laws::sectionPointsSql("010002"));
        QVERIFY2(section.join('|').contains("USING INDEX ix_rule_section (id=?)"), qPrintable(section.join('|')));
        QVERIFY2(!section.join('|').contains("TEMP B-TREE"), qPrintable(section.join('|')));
        for (const char *sql : {"update tab_rule set q2=q2+1 where ftid in ('0100020001')",
                                "update tab_fgmc set q2=q2+1 where id in ('010002')"}) {
            const QStringList steps = plan(sql);
            QVERIFY2(steps.join('|').contains("SEARCH"), qPrintable(steps.join('|')));
        }
    }

    void anOlderBankGetsTheSectionIndex()
    {
        closeBank();
        bank->exec("drop index ix_rule_section");
        bank->exec("create index ix_rule_item on tab_rule (id)");
        bank->exec("pragma user_version=1");
        dm = std::make_unique<TDM1>(bank->folder());
        QVERIFY(dm->connected);
        QCOMPARE(db("select count(*) from sqlite_master where name='ix_rule_section'").toInt(), 1);
        QCOMPARE(db("select count(*) from sqlite_master where name='ix_rule_item'").toInt(), 0);
        QCOMPARE(db("pragma user_version").toInt(), store::schema::kVersion);
        store::settings::setValue(dm->ADOCn1, "reading.size", "17");
        store::settings::setValue(dm->ADOCn1, "reading.size", "18");
        QCOMPARE(store::settings::value(dm->ADOCn1, "reading.size"), QString("18"));
        QCOMPARE(store::settings::value(dm->ADOCn1, "absent", "x"), QString("x"));
    }
};

QTEST_MAIN(TestLawsCatalogue)
#include "test_laws_catalogue.moc"
