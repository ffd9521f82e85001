#include "BankTestCase.h"
#include "RelatedPoints.h"

#include <QtTest>

using practice::RelatedPoints;

class TestRelatedPoints : public BankTestCase {
    Q_OBJECT

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void anEmptyLinkDoesNotEndTheList()
    {
        bank->exec("update tab_answ set K3 = '0100010001', K4 = '', K5 = '0100020001', K6 = null, K7 = '0199990001' "
                   "where A1 = '100101110002'");
        RelatedPoints r(&dm->ADOCn1);
        QVERIFY(r.loadLinks("100101110002"));
        QCOMPARE(r.codes(), QStringList({"0100010001", "0100020001", "0199990001"}));
        r.openPoints();
        // The code without a point is missing from the list.
        QCOMPARE(r.titles(), QStringList({"立法目的    ", "施工许可    "}));
        QCOMPARE(r.pointText(), QString("第一条"));
        QCOMPARE(r.sectionName(), QString("第一章 总则"));
        r.select(1);
        QCOMPARE(r.points().fieldByName("n").asString(), QString("第七条"));
        QCOMPARE(r.sectionName(), QString("第二章 建筑许可"));
    }

    void noLinksNoWindow()
    {
        RelatedPoints r(&dm->ADOCn1);
        QVERIFY(!r.loadLinks("100101110002"));
        QVERIFY(!r.loadLinks("no such question"));
        r.openPoints();
        QVERIFY(r.titles().isEmpty());
        QCOMPARE(r.pointText(), QString());
    }

    void theSectionFollowsTheSelectedPointNotItsTitle()
    {
        bank->exec("insert into tab_fgmc (id,n,bh) values ('020001','第一章 招标',5)");
        bank->exec("insert into tab_rule (id,ftid,sn,n) values ('020001','0200010001','立法目的    ','招标法第一条')");
        bank->exec("insert into tab_rule (id,ftid,sn,n) values ('030001','0300010001','无节之点','孤立')");
        bank->exec("update tab_answ set K3 = '0200010001', K4 = '0100010001', K5 = '0300010001' "
                   "where A1 = '100101110002'");
        RelatedPoints r(&dm->ADOCn1);
        QVERIFY(r.loadLinks("100101110002"));
        r.openPoints();
        QCOMPARE(r.titles().size(), 3);
        for (int i = 0; i < 3; ++i) {
            r.select(i);
            const QString text = r.pointText();
            if (text == "招标法第一条")
                QCOMPARE(r.sectionName(), QString("第一章 招标"));
            else if (text == "第一条")
                QCOMPARE(r.sectionName(), QString("第一章 总则"));
        }
        // A point whose section row is missing keeps the name shown before.
        const int lonely = r.titles().indexOf("无节之点");
        r.select(lonely == 0 ? 1 : 0);
        const QString before = r.sectionName();
        r.select(lonely);
        QCOMPARE(r.pointText(), QString("孤立"));
        QCOMPARE(r.sectionName(), before);
    }
};

QTEST_MAIN(TestRelatedPoints)
#include "test_related_points.moc"
