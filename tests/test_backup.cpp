#include "Backups.h"
#include "BankRecovery.h"
#include "Clock.h"
#include "DataModule.h"
#include "Error.h"
#include "DemoBank.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "Screens.h"
#include "Startup.h"

#include <QDir>
#include <QPushButton>
#include <QTreeWidget>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

QStringList names(const QString &folder) { return QDir(folder).entryList({"Vellumar-*.mdb"}, QDir::Files, QDir::Name); }

void damage(const QString &file)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(f.size() / 2);
    f.write(QByteArray(8192, '\x5a'));
    f.seek(0);
    f.write(QByteArray(100, '\0'));
}

} // namespace

class TestBackup : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;

    QVariant db(const QString &sql) { return dm->ADOCn1.scalar(sql); }
    void answerSome(int questions)
    {
        dm->ADOCn1.execute(QStringLiteral("update tab_answ set E2 = 'A' where A1 in (select A1 from tab_answ order by A1 limit %1)")
                               .arg(questions));
    }

private slots:
    void init()
    {
        QVERIFY(openFreshDemo(demo, dm));
        MessageRecorder::clear();
    }
    void cleanup()
    {
        dm.reset();
        MessageRecorder::clear();
    }

    void backupIsAConsistentCopyWithItsSummary()
    {
        answerSome(12);
        dm->ADOCn1.execute("insert into tab_rz (A1, A2) values ('2026-12-07', 3), ('2026-12-08', 4)");
        const QDateTime made(QDate(2026, 12, 8), QTime(9, 30, 5));
        const QString path = backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Manual, made);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("Vellumar-20261208-093005-manual.mdb"));
        QVERIFY(!QFile::exists(path + "-wal"));
        const QVector<backup::BackupInfo> list = backup::listBackups(demo->backupFolder());
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].made, made);
        QVERIFY(list[0].sound);
        QCOMPARE(list[0].answered, 12);
        QCOMPARE(list[0].daysLogged, 2);
        QCOMPARE(list[0].bytes, QFileInfo(path).size());
        QCOMPARE(backup::summaryOf(list[0]), QStringLiteral("已做 12 题，学习日志 2 天"));
        // A second copy in the same second gets a name of its own.
        const QString second = backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Manual, made);
        QVERIFY(second != path);
        QCOMPARE(backup::listBackups(demo->backupFolder()).size(), 2);
    }

    void damagedCopiesAreListedAsUnsound()
    {
        const QString path = backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Daily);
        damage(path);
        const QVector<backup::BackupInfo> list = backup::listBackups(demo->backupFolder());
        QCOMPARE(list.size(), 1);
        QVERIFY(!list[0].sound);
        QVERIFY_THROWS_EXCEPTION(store::Error, backup::restoreInto(dm->ADOCn1, path));
    }

    void rotationKeepsSevenDaysAndFourWeeks()
    {
        // Two copies a day over six weeks, the newest on Tuesday 2026-12-08.
        const QDate last(2026, 12, 8);
        for (int d = 41; d >= 0; --d)
            for (int hour : {8, 20})
                backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Daily,
                                   QDateTime(last.addDays(-d), QTime(hour, 0)));
        const QVector<backup::BackupInfo> list = backup::listBackups(demo->backupFolder());
        QSet<QDate> days;
        QVector<QDateTime> older;
        for (const backup::BackupInfo &b : list) {
            if (b.made.date() > last.addDays(-7))
                days.insert(b.made.date());
            else
                older << b.made;
        }
        QCOMPARE(days.size(), 7);
        QCOMPARE(list.size() - older.size(), 14); // both copies of each of the last 7 days
        // The newest copy of each of the 4 weeks before: Sunday evenings, and the Tuesday before the 7 days.
        QCOMPARE(older, QVector<QDateTime>({QDateTime(QDate(2026, 12, 1), QTime(20, 0)),
                                            QDateTime(QDate(2026, 11, 29), QTime(20, 0)),
                                            QDateTime(QDate(2026, 11, 22), QTime(20, 0)),
                                            QDateTime(QDate(2026, 11, 15), QTime(20, 0))}));
    }

    void restoreBringsBackTheCopyAfterASafetyCopy()
    {
        answerSome(5);
        const QString copy = backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Manual,
                                                QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        answerSome(40);
        dm->ADOCn1.execute("create table tab_exam9 (A1 text)");
        QCOMPARE(db("select count(*) from tab_answ where E2 = 'A'").toInt(), 40);
        dm->Cn1Table_kmmc.open();
        backup::restoreWithSafetyCopy(dm->ADOCn1, copy, demo->backupFolder(), QDateTime(QDate(2026, 12, 8), QTime(11, 0)));
        QCOMPARE(db("select count(*) from tab_answ where E2 = 'A'").toInt(), 5);
        QVERIFY(!dm->ADOCn1.tableExists("tab_exam9"));
        const QVector<backup::BackupInfo> list = backup::listBackups(demo->backupFolder());
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].kind, backup::Kind::BeforeRestore);
        QCOMPARE(list[0].answered, 40);
        // The restored bank keeps working: it takes writes and reopens.
        answerSome(7);
        dm.reset();
        dm = std::make_unique<TDM1>(demo->folder());
        QVERIFY(dm->connected);
        QCOMPARE(db("select count(*) from tab_answ where E2 = 'A'").toInt(), 7);
    }

    // A damaged bank with three copies: a sound daily one with 9 answers, a
    // damaged daily one, and the newest, taken just before a restore, with 20.
    void damageWithThreeCopies()
    {
        answerSome(9);
        backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Daily, QDateTime(QDate(2026, 12, 6), QTime(8, 0)));
        const QString damaged = backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Daily,
                                                   QDateTime(QDate(2026, 12, 7), QTime(8, 0)));
        damage(damaged);
        answerSome(20);
        backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::BeforeRestore,
                           QDateTime(QDate(2026, 12, 8), QTime(9, 0)));
        dm.reset();
        damage(demo->bankFile());
    }

    // Runs start-up recovery, doing `choose` in the recovery window.
    std::unique_ptr<TDM1> recoverWith(const std::function<void(TFrmRecover &)> &choose)
    {
        MessageRecorder::queueAnswer(QMessageBox::Ok); // for the message that says what was restored
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (auto *w = qobject_cast<TFrmRecover *>(QApplication::activeModalWidget())) {
                shown = true;
                choose(*w);
                if (w->isVisible()) // a check failed before the window was answered
                    w->reject();
            }
        });
        std::unique_ptr<TDM1> opened = OpenBankOrOfferRestore(demo->folder());
        [&] { QVERIFY(shown); }();
        return opened;
    }

    void recoveryOffersTheCopyBeforeTheUndoneWork()
    {
        damageWithThreeCopies();
        std::unique_ptr<TDM1> restored = recoverWith([](TFrmRecover &w) {
            QCOMPARE(w.BackupList->topLevelItemCount(), 3);
            QCOMPARE(w.BackupList->topLevelItem(0)->text(1), QStringLiteral("恢复前"));
            QVERIFY(w.BackupList->topLevelItem(1)->isDisabled());
            QCOMPARE(w.BackupList->currentItem(), w.BackupList->topLevelItem(2));
            QCOMPARE(w.BackupList->topLevelItem(2)->text(3), QStringLiteral("已做 9 题，学习日志 0 天"));
            QVERIFY(w.RestoreButton->isEnabled());
            SaveScreen(w, "recover");
            w.RestoreButton->click();
        });
        QVERIFY(restored);
        QCOMPARE(restored->ADOCn1.scalar("select count(*) from tab_answ where E2 = 'A'").toInt(), 9);
        const QList<MessageRecord> shown = MessageRecorder::shown();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].text.startsWith(QStringLiteral("已用 2026-12-06 08:00 的每日备份恢复题库（已做 9 题，学习日志 0 天）。")),
                 qPrintable(shown[0].text));
        QVERIFY(shown[0].text.contains(QStringLiteral("Vellumar.mdb.damaged-")));
        QCOMPARE(QDir(demo->folder() + "/data").entryList({"Vellumar.mdb.damaged-*"}).size(), 1);
    }

    void learnerMayChooseTheNewestCopyAfterAll()
    {
        damageWithThreeCopies();
        std::unique_ptr<TDM1> restored = recoverWith([](TFrmRecover &w) {
            QVERIFY(!(w.BackupList->topLevelItem(1)->flags() & Qt::ItemIsEnabled)); // a damaged copy cannot be chosen
            w.BackupList->setCurrentItem(w.BackupList->topLevelItem(0));
            QVERIFY(w.RestoreButton->isEnabled());
            ScreenClass = "800"; // the window fits the small screen as it is
            SaveScreen(w, "recover");
            ScreenClass = "1024";
            w.RestoreButton->click();
        });
        QVERIFY(restored);
        QCOMPARE(restored->ADOCn1.scalar("select count(*) from tab_answ where E2 = 'A'").toInt(), 20);
        QVERIFY(MessageRecorder::shown().value(0).text.contains(QStringLiteral("恢复前备份")));
    }

    void recoveryChoiceSkipsPreRestoreCopies()
    {
        const auto copy = [](backup::Kind kind, bool sound) {
            backup::BackupInfo b;
            b.kind = kind;
            b.sound = sound;
            return b;
        };
        using backup::Kind;
        QCOMPARE(backup::recoveryChoice({}), -1);
        QCOMPARE(backup::recoveryChoice({copy(Kind::Daily, false)}), -1);
        QCOMPARE(backup::recoveryChoice({copy(Kind::BeforeRestore, true), copy(Kind::Manual, false),
                                         copy(Kind::BeforeUpgrade, true)}),
                 2);
        QCOMPARE(backup::recoveryChoice({copy(Kind::BeforeRestore, false), copy(Kind::BeforeRestore, true)}), 1);
    }

    void declinedOrImpossibleRestoreOpensNothing()
    {
        backup::makeBackup(dm->ADOCn1, demo->backupFolder(), backup::Kind::Daily);
        dm.reset();
        damage(demo->bankFile());
        const QByteArray damaged = DemoBank::bytesOf(demo->bankFile());
        QVERIFY(!recoverWith([](TFrmRecover &w) { w.CancelButton->click(); }));
        QCOMPARE(DemoBank::bytesOf(demo->bankFile()), damaged);
        QVERIFY(MessageRecorder::shown().isEmpty());
        MessageRecorder::clear();
        QDir(demo->backupFolder()).removeRecursively();
        QVERIFY(!OpenBankOrOfferRestore(demo->folder()));
        QVERIFY(MessageRecorder::shown().isEmpty()); // nothing to offer: the caller reports the bank
    }

    void soundBankOpensWithoutAQuestion()
    {
        dm.reset();
        std::unique_ptr<TDM1> opened = OpenBankOrOfferRestore(demo->folder());
        QVERIFY(opened && opened->connected);
        QVERIFY(MessageRecorder::shown().isEmpty());
    }

    void startUpBacksUpAndTheMenuOpensBothWindows()
    {
        dm.reset();
        Session session = StartQuillet(demo->folder());
        QVERIFY(session.running());
        QCOMPARE(names(demo->backupFolder()).size(), 1);
        const QPair<QString, QString> commands[] = {{"sj", "frmstxz"}, {"bf", "FrmBackup"}};
        for (const auto &[command, window] : commands) {
            QString seen;
            QTimer::singleShot(0, [&seen] {
                if (QWidget *w = QApplication::activeModalWidget()) {
                    seen = w->objectName();
                    w->close();
                }
            });
            session.mainWindow->ShockwaveFlash1FSCommand(command, QString());
            QCOMPARE(seen, window);
        }
    }

    void dailyBackupAtMostOnceADay()
    {
        AppDir = demo->folder() + QLatin1Char('/');
        MakeDailyBackup(*dm);
        MakeDailyBackup(*dm);
        QCOMPARE(names(demo->backupFolder()).size(), 1);
        QVERIFY(names(demo->backupFolder()).first().startsWith(QLatin1String("Vellumar-20261208-")));
        store::setToday(QDate(2026, 12, 9));
        MakeDailyBackup(*dm);
        QCOMPARE(names(demo->backupFolder()).size(), 2);
    }
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"
