#include "DrawPool.h"
#include "FixtureBank.h"
#include "Schema.h"

#include <QtTest>

// The draw pool must stay exactly the set a paper may draw from, with dense places,
// whatever happens to the questions.
class TestDrawPool : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<store::Connection> conn;

    void reopen()
    {
        conn = std::make_unique<store::Connection>();
        conn->setConnectionString(QStringLiteral("Data Source=") + bank->bankFile());
        conn->open();
        store::schema::migrate(*conn);
    }
    void exec(const QString &sql) { conn->execute(sql); }
    QStringList faults() { return store::drawpool::disagreements(*conn); }
    QString drawnIds(const QString &prefix, int type)
    {
        QVector<int> all;
        for (int i = 0; i < store::drawpool::size(*conn, prefix, type); ++i)
            all << i;
        QStringList ids = store::drawpool::questionsAt(*conn, prefix, type, all);
        ids.sort();
        return ids.join(QLatin1Char(' '));
    }

private slots:
    void init()
    {
        bank = std::make_unique<FixtureBank>();
        for (int n = 1; n <= 6; ++n)
            bank->addQuestion(QString("1001011188%1").arg(n, 2, 10, QChar('0')), "100101", 11, "A");
        bank->addQuestion("100101148801", "100101", 14, "AB");
        reopen();
    }
    void cleanup()
    {
        conn.reset();
        bank.reset();
    }

    void anOlderBankGetsThePoolOfWhatPapersDraw()
    {
        for (const char *sql : {"drop trigger ql_draw_pool_insert", "drop trigger ql_draw_pool_delete",
                                "drop trigger ql_draw_pool_update", "drop table ql_draw_pool",
                                "drop index ix_answ_run_answer", "pragma user_version = 3"})
            exec(sql);
        reopen();
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join('\n')));
        QCOMPARE(store::drawpool::size(*conn, "10", 11),
                 conn->scalar("select count(*) from tab_answ where Left(A10,2) = '10' and A13 = 11 and f1 <> 1").toInt());
        QVERIFY(store::drawpool::hasAny(*conn, "10"));
        QVERIFY(!store::drawpool::hasAny(*conn, "20"));
    }

    void everyChangeOfAQuestionKeepsThePoolExact()
    {
        exec("delete from tab_answ where A1 = '100101118802'");        // a gap in the middle
        exec("delete from tab_answ where A1 = (select A1 from ql_draw_pool where prefix = '10' and type = 11"
             " and pos = (select max(pos) from ql_draw_pool where prefix = '10' and type = 11))"); // the last place, 05
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join('\n')));
        exec("update tab_answ set F1 = 1 where A1 = '100101118803'");  // voided: no longer drawn
        exec("update tab_answ set A13 = 14 where A1 = '100101118804'"); // another type
        exec("update tab_answ set A10 = '200101' where A1 = '100101118806'"); // another subject
        exec("update tab_answ set A1 = 'US0000000001' where A1 = '100101118801'");
        exec("update tab_answ set E2 = 'B', E3 = E3 + 1");             // answering touches nothing drawn
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join('\n')));
        exec("update tab_answ set F1 = 0 where A1 = '100101118803'");  // restored
        exec("update tab_answ set F1 = null where A1 = 'US0000000001'"); // null is not drawn, as "f1 <> 1" says
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join('\n')));
        const QString single = drawnIds("10", 11), multiple = drawnIds("10", 14);
        QVERIFY(single.contains("100101118803") && !single.contains("100101118805"));
        QVERIFY(!single.contains("100101118801") && !single.contains("US0000000001"));
        QVERIFY(multiple.contains("100101118804") && multiple.contains("100101148801"));
        QCOMPARE(drawnIds("20", 11), QString("100101118806"));
    }

    void aBulkCopyAndARolledBackChangeLeaveItExact()
    {
        exec("create temp table incoming as select * from tab_answ");
        exec("update incoming set A1 = 'X' || A1");
        exec("insert into tab_answ select * from incoming");
        const int doubled = store::drawpool::size(*conn, "10", 11);
        QCOMPARE(doubled, 2 * conn->scalar("select count(*) from tab_answ where A1 not like 'X%' and A13 = 11"
                                           " and A10 like '10%' and f1 <> 1").toInt());
        {
            store::Transaction abandoned(*conn);
            exec("delete from tab_answ where A1 like 'X%'");
        }
        QCOMPARE(store::drawpool::size(*conn, "10", 11), doubled);
        QVERIFY2(faults().isEmpty(), qPrintable(faults().join('\n')));
    }

    void theCheckNamesAPoolThatDrifted()
    {
        exec("delete from ql_draw_pool where pos = 0 and type = 11");
        QVERIFY(faults().size() >= 2); // a missing question, and a gap in the places
    }
};

QTEST_MAIN(TestDrawPool)
#include "test_draw_pool.moc"
