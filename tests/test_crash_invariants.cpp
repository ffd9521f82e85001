#include "BankInvariants.h"
#include "Clock.h"
#include "DataModule.h"
#include "Marking.h"
#include "SyntheticBank.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// The rules the crash harness checks after each kill: they hold after real
// markings and name the counter that a half-written marking would leave wrong.
class TestCrashInvariants : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<TDM1> dm;

    void markSome()
    {
        store::Query &q = dm->Cn1Query_tm;
        q.setSql(QStringLiteral("select * from tab_answ where K3 <> '' order by A1 limit 30"));
        q.open();
        for (int r = 1; r <= q.recordCount(); ++r) {
            q.setRecNo(r);
            const QString key = q.fieldByName(QStringLiteral("A2")).asString();
            practice::markAnswer(q, r, r % 3 ? key : QStringLiteral("C"));
            if (r % 5 == 0)
                practice::markAnswer(q, r, QStringLiteral("B")); // a changed answer counts again
        }
    }

private slots:
    void init()
    {
        store::setToday(QDate(2026, 3, 1));
        QVERIFY(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("data"));
        SyntheticBankShape shape;
        shape.questions = 400;
        shape.sectionsPerSubject = 2;
        shape.chaptersPerSection = 2;
        shape.partsPerChapter = 3;
        shape.pointGroups = 2;
        QFile::remove(dir.path() + QStringLiteral("/data/Vellumar.mdb"));
        createSyntheticBank(dir.path() + QStringLiteral("/data/Vellumar.mdb"), shape);
        dm = std::make_unique<TDM1>(dir.path());
        QVERIFY(dm->connected);
    }
    void cleanup() { dm.reset(); }

    // Items and groups count each linking question once, as their answers do.
    void theSyntheticBankCountsEachQuestionOncePerEntry()
    {
        QString links;
        for (int k = 3; k <= 12; ++k)
            links += QStringLiteral("%1substr(a.K%2, 1, length(f.id)) = f.id").arg(k == 3 ? "" : " or ").arg(k);
        const QString miscounted = QStringLiteral("select count(*) from tab_fgmc f where f.q <> "
                                                  "(select count(*) from tab_answ a where %1)")
                                       .arg(links);
        QCOMPARE(dm->ADOCn1.scalar(miscounted).toInt(), 0);
        QVERIFY(dm->ADOCn1.scalar("select count(*) from tab_answ where substr(K3, 1, 6) = substr(K4, 1, 6)").toInt() > 0);
    }

    void realMarkingsKeepEveryRule()
    {
        markSome();
        QVERIFY(dm->ADOCn1.scalar(QStringLiteral("select sum(E3) from tab_answ")).toInt() >= 30);
        QCOMPARE(brokenCounterRules(dm->ADOCn1), QStringList());
    }

    void eachHalfWrittenMarkingIsNamed_data()
    {
        QTest::addColumn<QString>("tamper");
        QTest::addColumn<QString>("rule");
        QTest::newRow("chapter attempt lost") << "update tab_kmmc set D1 = D1 - 1 where length(C1) = 6 and D1 > 0 "
                                                 "and rowid = (select min(rowid) from tab_kmmc where length(C1) = 6 and D1 > 0)"
                                              << "chapter D1";
        QTest::newRow("question counted alone") << "update tab_answ set E3 = E3 + 1 where A1 = (select min(A1) from tab_answ)"
                                                << "chapter D1";
        QTest::newRow("day not logged") << "update tab_rz set A2 = A2 - 1" << "study log attempts";
        QTest::newRow("wrong answer not logged") << "update tab_rz set A3 = A3 + 1" << "study log wrong";
        QTest::newRow("point not counted") << "update tab_rule set q2 = q2 + 1 where ftid = (select min(ftid) from tab_rule)"
                                           << "point q1";
        QTest::newRow("item counted per point") << "update tab_fgmc set q2 = q2 + 1 where id = (select min(id) from "
                                                   "tab_fgmc where length(id) = 6)"
                                                << "each question once";
    }

    void eachHalfWrittenMarkingIsNamed()
    {
        QFETCH(QString, tamper);
        QFETCH(QString, rule);
        markSome();
        dm->ADOCn1.execute(tamper);
        const QStringList broken = brokenCounterRules(dm->ADOCn1);
        QVERIFY2(!broken.filter(rule).isEmpty(), qPrintable(broken.join('\n')));
    }
};

QTEST_MAIN(TestCrashInvariants)
#include "test_crash_invariants.moc"
