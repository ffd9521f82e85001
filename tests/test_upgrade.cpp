#include "Backups.h"
#include "BankCheck.h"
#include "BankWriter.h"
#include "Content.h"
#include "Clock.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "Error.h"
#include "SearchIndex.h"
#include "Searcher.h"
#include "UpgradeMerge.h"

#include <QDir>
#include <QtTest>
#include <memory>

using upgrade::UpgradeResult;

namespace {

// Edits a copy of an upgrade file with statements of its own.
void editFile(const QString &file, const QStringList &statements)
{
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(file));
    c.open();
    for (const QString &sql : statements)
        c.execute(sql);
    c.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

} // namespace

class TestUpgrade : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;

    UpgradeResult apply(const QString &path, QString *reason = nullptr)
    {
        return upgrade::applyUpgrade(dm->ADOCn1, dm->ADOCn2, path, demo->backupFolder(), reason);
    }
    QVariant db(const QString &sql) { return dm->ADOCn1.scalar(sql); }
    QStringList column(const QString &sql)
    {
        QStringList values;
        store::Statement st(dm->ADOCn1.handle(), sql, {});
        while (st.step())
            values << st.value(0).toString();
        return values;
    }
    // The chapter codes as the selector lists them.
    QStringList chapterOrder() { return column("select C1 from tab_kmmc where C1 <> 'xx' order by bh"); }
    // An upgrade file of questions for sections the demo bank already has,
    // and one new section; `vetted` refuses it when it would not apply.
    void buildSectionsFile(const QString &file, const bank::Numbering &after, bool vetted)
    {
        bank::UpgradeFileOrder order{"QUILLET-ZJS-2026.sj02", "QUILLET-ZJS-2026", after, {}};
        if (vetted)
            order.vet = [this](const QString &built) {
                const QString why = upgrade::whyItWouldNotApply(demo->bankFile(), built);
                if (!why.isEmpty())
                    throw store::Error(why);
            };
        bank::buildUpgradeFile(bank::readUpgradeContent(QStringLiteral(QUILLET_UPGRADE_SECTIONS_DIR)), file, order, true,
                               QDate(2026, 12, 8));
    }
    // The bank's bytes with the connection closed, so the write-ahead log is folded in.
    QByteArray closedBankBytes()
    {
        dm.reset();
        const QByteArray bytes = DemoBank::bytesOf(demo->bankFile());
        dm = std::make_unique<TDM1>(demo->folder());
        return bytes;
    }
    void expectRefusedUnchanged(const QString &path, UpgradeResult expected)
    {
        const QByteArray before = closedBankBytes();
        QCOMPARE(apply(path), expected);
        QCOMPARE(closedBankBytes(), before);
    }

private slots:
    void init()
    {
        QVERIFY(openFreshDemo(demo, dm));
    }
    void cleanup() { dm.reset(); }

    void mergesContentAndRecountsCounters()
    {
        dm->ADOCn1.execute("update tab_kmmc set C4 = 3, D1 = 5, D2 = 1 where C1 = '100101'");
        dm->ADOCn1.execute("update tab_kmmc set C4 = C4 + 3, D1 = D1 + 5, D2 = D2 + 1 where C1 in ('1','10','1001')");
        const int questions = db("select count(*) from tab_answ").toInt();
        const int subjectCount = db("select C3 from tab_kmmc where C1 = '1'").toInt();
        const int pointLinks = db("select q from tab_rule where ftid = '0100010001'").toInt();
        const int itemLinks = db("select q from tab_fgmc where id = '010001'").toInt();
        const int chapters = db("select count(*) from tab_kmmc").toInt();
        QString reason;
        const UpgradeResult result = apply(demo->upgradeFile(), &reason);
        QVERIFY2(result == UpgradeResult::Applied, qPrintable(reason));
        QVERIFY2(reason.isEmpty(), qPrintable(reason));
        QCOMPARE(db("select count(*) from tab_answ").toInt(), questions + 5);
        QCOMPARE(db("select count(*) from tab_exer where A1 like '100199%' or A1 like '109901%'").toInt(), 5);
        QCOMPARE(db("select count(*) from tab_title where A1 like '109901%'").toInt(), 1);
        QCOMPARE(db("select count(*) from tab_kmmc").toInt(), chapters + 3); // existing chapters are not doubled
        QCOMPARE(db("select C3 from tab_kmmc where C1 = '1'").toInt(), subjectCount + 5);
        QCOMPARE(db("select C3 from tab_kmmc where C1 = '100199'").toInt(), 2);
        QCOMPARE(db("select C3 from tab_kmmc where C1 = '1099'").toInt(), 3);
        QCOMPARE(db("select q from tab_rule where ftid = '0100010001'").toInt(), pointLinks + 2);
        QCOMPARE(db("select q from tab_rule where ftid = '0100019901'").toInt(), 2);
        // Three new questions link the item, one of them through both of its points.
        QCOMPARE(db("select q from tab_fgmc where id = '010001'").toInt(), itemLinks + 3);
        QCOMPARE(db("select D1 || '/' || D2 || '/' || C4 from tab_kmmc where C1 = '100101'").toString(), QString("5/1/3"));
        QCOMPARE(db("select count(*) from tab_sj where sjbs = 'QUILLET-ZJS-2026.sj01'").toInt(), 1);
        dm.reset();
        const bank::CheckReport report = bank::checkBank(demo->bankFile());
        QVERIFY2(report.violations.isEmpty(), qPrintable(report.violations.join('\n')));
        QCOMPARE(backup::listBackups(demo->backupFolder()).size(), 1);
        QCOMPARE(backup::listBackups(demo->backupFolder()).first().kind, backup::Kind::BeforeUpgrade);
    }

    void upgradedQuestionsAreSearchableAtOnce()
    {
        search::build(dm->ADOCn1);
        search::Searcher searcher(dm->ADOCn1);
        QCOMPARE(searcher.find(QStringLiteral("升级新增")).total, 0);
        QCOMPARE(apply(demo->upgradeFile()), UpgradeResult::Applied);
        QCOMPARE(searcher.find(QStringLiteral("升级新增")).total, 3);
        // A new exam point is found by its title; the bank's own points are not doubled.
        QCOMPARE(searcher.find(QStringLiteral("建筑活动的范围")).hits.value(0).ref, QStringLiteral("0100019901"));
        QVERIFY(search::isBuilt(dm->ADOCn1));
    }

    void newSectionsAreListedWhereTheirCodesBelong()
    {
        const QStringList before = chapterOrder();
        QVERIFY(before.indexOf("2") > before.indexOf("100101"));
        QCOMPARE(apply(demo->upgradeFile()), UpgradeResult::Applied);
        const QStringList after = chapterOrder();
        QStringList sorted = after;
        sorted.sort();
        QCOMPARE(after, sorted); // codes form a tree by prefix: code order is the listing order
        QCOMPARE(after.size(), before.size() + 3);
        QCOMPARE(after.indexOf("100199"), after.indexOf("100105") + 1);
        QVERIFY(after.indexOf("109901") < after.indexOf("2"));
        QCOMPARE(db("select count(distinct bh) = count(*) from tab_kmmc").toInt(), 1);
    }

    void upgradeFileContinuesTheBanksNumbering()
    {
        const QString file = demo->folder() + QStringLiteral("/sections.qup");
        try {
            buildSectionsFile(file, {}, true); // numbered from 1 again: every id collides
            QFAIL("a file that cannot apply was written");
        } catch (const store::Error &e) {
            QVERIFY2(e.message().contains(QStringLiteral("已在题库中")), qPrintable(e.message()));
        }
        QVERIFY(!QFile::exists(file));

        const int lastLone = db("select max(A1) from tab_answ where A1 like '10010111____'").toString().right(4).toInt();
        QVERIFY(lastLone > 1);
        bank::Numbering after;
        after.takeAllOf(demo->bankFile());
        QCOMPARE(after.lone.value("10010111"), lastLone);
        QCOMPARE(after.groups.value("100402"), 1);
        buildSectionsFile(file, after, true);
        QString reason;
        QCOMPARE(apply(file, &reason), UpgradeResult::Applied);
        QVERIFY2(reason.isEmpty(), qPrintable(reason));
        QCOMPARE(column("select A1 from tab_answ where A1 > '10010111' and A1 < '10010112' order by A1").mid(lastLone),
                 QStringList({bank::questionId("100101", 11, lastLone + 1), bank::questionId("100101", 11, lastLone + 2)}));
        QCOMPARE(column("select A1 from tab_answ where A1 like '10040211-GRP002-%' order by A1"),
                 QStringList({"10040211-GRP002-01", "10040211-GRP002-02"}));
        QCOMPARE(db("select count(*) from tab_title where A1 = '10040211-GRP002-'").toInt(), 1);
        QCOMPARE(db("select count(*) from tab_answ where A1 = '100106110001'").toInt(), 1);
        const QStringList order = chapterOrder();
        QCOMPARE(order.indexOf("100106"), order.indexOf("100105") + 1);
        QCOMPARE(order.indexOf("1002"), order.indexOf("100106") + 1);
        dm.reset();
        const bank::CheckReport report = bank::checkBank(demo->bankFile());
        QVERIFY2(report.violations.isEmpty(), qPrintable(report.violations.join('\n')));
    }

    void numberingFromTheHighestIdsGiven()
    {
        bank::Numbering after;
        for (const char *id : {"100101110004", "100101110002", "10040211-GRP001-", "10040211-GRP001-03", "US0000000000000A-1",
                               "1001011100"})
            after.take(id);
        QCOMPARE(after.lone, (QHash<QString, int>{{"10010111", 4}}));
        QCOMPARE(after.groups, (QHash<QString, int>{{"100402", 1}}));
    }

    void stemsTheBankAlreadyHoldsAreAccepted()
    {
        const QString stem = db("select A15 from tab_title where A1 = '10040211-GRP001-'").toString();
        QVERIFY(!stem.isEmpty());
        const QString file = demo->upgradeFile();
        // The file repeats a stem of the bank, and adds two questions to that
        // group without carrying the stem itself.
        editFile(file, {"insert into tab_title (A1, A15) values ('10040211-GRP001-', 'another text')",
                        "delete from tab_title where A1 like '109901%'",
                        "update tab_answ set A1 = '10040211-GRP001-9' || substr(A1, -1), A10 = '100402' "
                        "where A1 like '109901%-%'",
                        "update tab_exer set A1 = '10040211-GRP001-9' || substr(A1, -1) where A1 like '109901%-%'"});
        QString reason;
        QCOMPARE(apply(file, &reason), UpgradeResult::Applied);
        QVERIFY2(reason.isEmpty(), qPrintable(reason));
        QCOMPARE(db("select A15 from tab_title where A1 = '10040211-GRP001-'").toString(), stem);
        QCOMPARE(db("select count(*) from tab_answ where A1 in ('10040211-GRP001-91', '10040211-GRP001-92')").toInt(), 2);
    }

    void failureSaysWhy_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("reason");
        QTest::newRow("question already in the bank")
            << QStringList{"update tab_answ set A1 = '100101110001' where A1 = '100199110001'",
                           "update tab_exer set A1 = '100101110001' where A1 = '100199110001'"}
            << "题号 100101110001 已在题库中";
        QTest::newRow("missing table") << QStringList{"drop table tab_rule"} << "升级文件缺少表 tab_rule";
        QTest::newRow("missing column") << QStringList{"alter table tab_kmmc drop column C7"}
                                        << "升级文件的表 tab_kmmc 缺少列 C7";
        QTest::newRow("stem nowhere") << QStringList{"delete from tab_title"} << "分组题 10990172-GRP001-01 缺少共用题干";
    }

    void failureSaysWhy()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, reason);
        const QString file = demo->upgradeFile();
        editFile(file, edits);
        QString said;
        QCOMPARE(apply(file, &said), UpgradeResult::Failed);
        QCOMPARE(said, reason);
    }

    void readOnlyBankIsRefusedBeforeABackup()
    {
        dm.reset();
        store::setWriteCheck([](const QString &) { return false; });
        dm = std::make_unique<TDM1>(demo->folder());
        store::setWriteCheck({});
        QVERIFY(dm->connected && dm->ADOCn1.isReadOnly());
        QString reason;
        QCOMPARE(apply(demo->upgradeFile(), &reason), UpgradeResult::Failed);
        QVERIFY2(reason.startsWith(QStringLiteral("题库文件只读")), qPrintable(reason));
        QVERIFY(backup::listBackups(demo->backupFolder()).isEmpty());
    }

    void sameUpgradeTwiceChangesNothing()
    {
        const QString file = demo->upgradeFile();
        QCOMPARE(apply(file), UpgradeResult::Applied);
        expectRefusedUnchanged(file, UpgradeResult::AlreadyApplied);
        QCOMPARE(backup::listBackups(demo->backupFolder()).size(), 1);
    }

    void duplicateQuestionRollsEverythingBack()
    {
        const QString existing = db("select min(A1) from tab_answ").toString();
        const QString file = demo->upgradeFile();
        editFile(file, {QStringLiteral("insert into tab_exer (A1, A15) values ('%1', 'x')").arg(existing)});
        expectRefusedUnchanged(file, UpgradeResult::Failed);
        editFile(file, {QStringLiteral("delete from tab_exer where A1 = '%1'").arg(existing),
                        QStringLiteral("update tab_answ set A1 = '%1' where A1 = (select max(A1) from tab_answ)").arg(existing)});
        expectRefusedUnchanged(file, UpgradeResult::Failed);
    }

    void pathsWithQuotesAndChineseWork_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("quote") << QStringLiteral("O'Brien's upgrade.qup");
        QTest::newRow("statement") << QStringLiteral("x'; drop table tab_answ; --.qup");
        QTest::newRow("chinese") << QStringLiteral("造价题库升级（第一版）.qup");
        QTest::newRow("double quote") << QStringLiteral("the \"new\" one;2.qup");
    }

    void pathsWithQuotesAndChineseWork()
    {
        QFETCH(QString, name);
        QDir(demo->folder()).mkpath(QStringLiteral("下载 'files'"));
        const QString path = demo->folder() + QStringLiteral("/下载 'files'/") + name;
        QCOMPARE(store::Connection::dataSourceOf(TDM1::connectionStringFor(path)), path);
        QString reason;
        QCOMPARE(apply(demo->upgradeFile(QStringLiteral("下载 'files'/") + name), &reason), UpgradeResult::Applied);
        QVERIFY2(reason.isEmpty(), qPrintable(reason));
        QVERIFY(db("select count(*) from tab_answ").toInt() > 0);
    }

    void identifiersDecideTheProduct_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::newRow("other product") << QStringList{"update tab_sj set cpbs = 'OTHER-PRODUCT'"};
        QTest::newRow("empty tab_sj") << QStringList{"delete from tab_sj"};
        QTest::newRow("no tab_sj") << QStringList{"drop table tab_sj"};
        QTest::newRow("tab_sj without cpbs") << QStringList{"alter table tab_sj drop column cpbs"};
        QTest::newRow("empty upgrade id") << QStringList{"update tab_sj set sjbs = ''"};
        QTest::newRow("blank product id") << QStringList{"update tab_sj set cpbs = '  '"};
    }

    void identifiersDecideTheProduct()
    {
        QFETCH(QStringList, edits);
        const QString file = demo->upgradeFile();
        editFile(file, edits);
        expectRefusedUnchanged(file, UpgradeResult::ForeignProduct);
    }

    void unreadableFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("expected");
        QTest::newRow("truncated") << "truncated" << int(UpgradeResult::CannotOpen);
        QTest::newRow("text") << "text" << int(UpgradeResult::CannotOpen);
        QTest::newRow("missing") << "missing" << int(UpgradeResult::CannotOpen);
        QTest::newRow("jet with other tables") << "jet" << int(UpgradeResult::ForeignProduct);
    }

    void unreadableFilesAreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(int, expected);
        QString path = demo->folder() + QStringLiteral("/bad.mdb");
        if (kind == QLatin1String("truncated")) {
            const QByteArray whole = DemoBank::bytesOf(demo->upgradeFile());
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(whole.left(whole.size() / 3));
        } else if (kind == QLatin1String("text")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("升级文件\n这不是数据库。\n");
        } else if (kind == QLatin1String("jet")) {
            path = QStringLiteral(QUILLET_JET_DIR "/nwind.mdb");
        }
        expectRefusedUnchanged(path, UpgradeResult(expected));
    }

    void unsafeOrIncompleteFilesAreRefused_data()
    {
        QTest::addColumn<QStringList>("edits");
        QTest::newRow("missing column") << QStringList{"alter table tab_answ drop column ecount"};
        QTest::newRow("missing table") << QStringList{"drop table tab_rule"};
        QTest::newRow("trigger") << QStringList{"create trigger t after insert on tab_sj begin delete from tab_kmmc; end"};
        QTest::newRow("view") << QStringList{"create view tab_v as select * from tab_answ"};
        QTest::newRow("stem missing") << QStringList{"delete from tab_title"};
    }

    void unsafeOrIncompleteFilesAreRefused()
    {
        QFETCH(QStringList, edits);
        const QString file = demo->upgradeFile();
        editFile(file, edits);
        expectRefusedUnchanged(file, UpgradeResult::Failed);
    }

    void columnsAreMatchedByName()
    {
        // The same table with its columns in another order.
        const QString file = demo->upgradeFile();
        editFile(file, {"create table reordered as select jx, A15, A1 from tab_exer", "drop table tab_exer",
                        "alter table reordered rename to tab_exer"});
        QCOMPARE(apply(file), UpgradeResult::Applied);
        QVERIFY(db("select A15 from tab_exer where A1 = '100199110001'").toString().startsWith(QLatin1String("{\\rtf")));
    }

    void upgradeFileLeftUntouched()
    {
        const QString file = demo->upgradeFile();
        const QByteArray before = DemoBank::bytesOf(file);
        QCOMPARE(apply(file), UpgradeResult::Applied);
        dm->ADOCn2.close();
        QCOMPARE(DemoBank::bytesOf(file), before);
        QVERIFY(!QFile::exists(file + QStringLiteral("-wal")));
    }
};

QTEST_GUILESS_MAIN(TestUpgrade)
#include "test_upgrade.moc"
