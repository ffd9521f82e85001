#include "Backups.h"
#include "Clock.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "FileDialogs.h"
#include "MessageRecorder.h"
#include "TFrmBackup.h"
#include "Tfrmstxz.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

class TestUpgradeWindows : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;

    // Clicks "开始升级" with the path in Edit1 and returns the one message shown.
    MessageRecord startWith(Tfrmstxz &w, const QString &path)
    {
        MessageRecorder::clear();
        MessageRecorder::queueAnswer(1);
        w.Edit1->setText(path);
        QTest::mouseClick(w.epFocusButton1, Qt::LeftButton);
        const QList<MessageRecord> shown = MessageRecorder::shown();
        return shown.size() == 1 ? shown.first() : MessageRecord{};
    }

private slots:
    void init()
    {
        QVERIFY(openFreshDemo(demo, dm));
        MessageRecorder::clear();
        ui::FileDialogRecorder::clear();
    }
    void cleanup()
    {
        dm.reset();
        MessageRecorder::clear();
        ui::FileDialogRecorder::clear();
    }

    void upgradeWindowShowsEachOutcome()
    {
        Tfrmstxz w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.size(), QSize(305, 158));
        QVERIFY(w.RadioLocal->isChecked());
        QVERIFY(w.Edit1->isVisible() && w.SpeedButton1->isVisible());

        MessageRecord m = startWith(w, QStringLiteral("   "));
        QCOMPARE(m.text, QStringLiteral("请点击文件夹按钮选择升级文件！"));
        QCOMPARE(m.caption, QStringLiteral("提示"));
        QVERIFY(!dm->ADOCn2.isOpen());

        const QString file = demo->upgradeFile(QStringLiteral("题库 'v2'.qup"));
        ui::FileDialogRecorder::queueAnswer(file);
        QTest::mouseClick(w.SpeedButton1, Qt::LeftButton);
        QCOMPARE(w.Edit1->text(), file);
        QCOMPARE(ui::FileDialogRecorder::asked().first().filter, Tfrmstxz::openDialogFilter());
        QVERIFY(Tfrmstxz::openDialogFilter().contains(QLatin1String("*.mdb")));

        const int before = dm->ADOCn1.scalar("select count(*) from tab_answ").toInt();
        m = startWith(w, QStringLiteral("  ") + file + QStringLiteral(" "));
        QCOMPARE(m.text, QStringLiteral("升级成功！"));
        QCOMPARE(m.icon, 0);
        QCOMPARE(dm->ADOCn1.scalar("select count(*) from tab_answ").toInt(), before + 5);

        m = startWith(w, file);
        QCOMPARE(m.text, QStringLiteral("您已升级过了！"));
        QCOMPARE(m.icon, 1);

        m = startWith(w, QStringLiteral(QUILLET_JET_DIR "/nwind.mdb"));
        QCOMPARE(m.text, QStringLiteral("升级文件不属于本软件！"));

        m = startWith(w, demo->folder() + QStringLiteral("/no such file.mdb"));
        QCOMPARE(m.caption, QStringLiteral("错误"));
        QCOMPARE(m.text, QStringLiteral("无法打开升级文件！"));
        QCOMPARE(m.icon, 2);

        w.close();
        QVERIFY(!dm->ADOCn2.isOpen());
    }

    void failedMergeSaysSoAndKeepsTheBank()
    {
        const QString file = demo->upgradeFile();
        {
            store::Connection c;
            c.setConnectionString(TDM1::connectionStringFor(file));
            c.open();
            c.execute("update tab_sj set sjbs = 'QUILLET-ZJS-2026.sj02'");
            c.execute("alter table tab_kmmc drop column C7");
            c.execute("PRAGMA journal_mode=DELETE");
        }
        Tfrmstxz w;
        w.show();
        const int before = dm->ADOCn1.scalar("select count(*) from tab_kmmc").toInt();
        MessageRecord m = startWith(w, file);
        QCOMPARE(m.text, QStringLiteral("升级失败！\n升级文件的表 tab_kmmc 缺少列 C7"));
        QCOMPARE(m.icon, 2);
        QCOMPARE(dm->ADOCn1.scalar("select count(*) from tab_kmmc").toInt(), before);

        // A bank opened read-only is refused before a backup is taken.
        w.close();
        dm.reset();
        store::setWriteCheck([](const QString &) { return false; });
        dm = std::make_unique<TDM1>(demo->folder());
        store::setWriteCheck({});
        QDir(demo->backupFolder()).removeRecursively();
        Tfrmstxz again;
        again.show();
        m = startWith(again, demo->upgradeFile());
        QVERIFY2(m.text.startsWith(QStringLiteral("升级失败！\n题库文件只读")), qPrintable(m.text));
        QVERIFY(backup::listBackups(demo->backupFolder()).isEmpty());
    }

    void backupWindowMakesListsAndRestores()
    {
        TFrmBackup w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.BackupList->topLevelItemCount(), 0);
        QVERIFY(!w.RestoreButton->isEnabled());

        MessageRecorder::queueAnswer(1);
        QTest::mouseClick(w.BackupNowButton, Qt::LeftButton);
        QCOMPARE(MessageRecorder::shown().last().text, QStringLiteral("备份成功！"));
        QCOMPARE(w.BackupList->topLevelItemCount(), 1);
        QCOMPARE(w.BackupList->topLevelItem(0)->text(1), QStringLiteral("手动"));
        QCOMPARE(w.BackupList->topLevelItem(0)->text(3), QStringLiteral("已做 0 题，学习日志 0 天"));
        QVERIFY(w.RestoreButton->isEnabled());

        dm->ADOCn1.execute("update tab_answ set E2 = 'B'");
        MessageRecorder::clear();
        MessageRecorder::queueAnswer(2); // the learner thinks better of it
        QTest::mouseClick(w.RestoreButton, Qt::LeftButton);
        QCOMPARE(MessageRecorder::shown().size(), 1);
        QVERIFY(MessageRecorder::shown().first().text.contains(QStringLiteral("替换当前题库")));
        QVERIFY(dm->ADOCn1.scalar("select count(*) from tab_answ where E2 = 'B'").toInt() > 0);
        QCOMPARE(w.BackupList->topLevelItemCount(), 1);

        MessageRecorder::clear();
        MessageRecorder::queueAnswer(1);
        MessageRecorder::queueAnswer(1);
        QTest::mouseClick(w.RestoreButton, Qt::LeftButton);
        QCOMPARE(MessageRecorder::shown().last().text, QStringLiteral("恢复成功！"));
        QCOMPARE(dm->ADOCn1.scalar("select count(*) from tab_answ where E2 = 'B'").toInt(), 0);
        QCOMPARE(w.BackupList->topLevelItemCount(), 2);
        QCOMPARE(w.BackupList->topLevelItem(0)->text(1), QStringLiteral("恢复前"));
        QVERIFY(w.BackupList->topLevelItem(0)->text(3).startsWith(QStringLiteral("已做 ")));
        QVERIFY(!w.BackupList->topLevelItem(0)->text(3).startsWith(QStringLiteral("已做 0 ")));
    }
};

QTEST_MAIN(TestUpgradeWindows)
#include "test_upgrade_windows.moc"
