#include "DataModule.h"
#include "FixtureBank.h"
#include "Globals.h"
#include "MainMenu.h"
#include "MessageRecorder.h"
#include "NextModal.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "Switch.h"
#include "TFrmAbout.h"
#include "TFrmConfig.h"
#include "TFrmStart.h"
#include "Clock.h"
#include "Look.h"
#include "Screens.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QDoubleSpinBox>
#include <QLocalServer>
#include <QPushButton>
#include <QtTest>

class TestShell : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureBank> bank;
    Session session;

private slots:
    void qtsOwnDialogsAndCalendarsSpeakChinese()
    {
        QVERIFY(LoadChineseTranslations(*qApp));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("取消"));
        QFileDialog files(nullptr, "生成文档");
        files.setOption(QFileDialog::DontUseNativeDialog);
        files.setAcceptMode(QFileDialog::AcceptSave);
        QStringList captions;
        for (QAbstractButton *b : files.findChild<QDialogButtonBox *>()->buttons())
            captions << b->text();
        QVERIFY2(captions.contains("取消"), qPrintable(captions.join(',')));
        QCOMPARE(QLocale().monthName(12), QString("十二月"));
        QCalendarWidget calendar;
        QCOMPARE(calendar.locale().language(), QLocale::Chinese);
    }

    void initTestCase() { ui::applyLook(*qApp); }

    void init()
    {
        MessageRecorder::clear();
        bank = std::make_unique<FixtureBank>();
        store::setToday(QDate(2026, 12, 8));
        CurrentSubject = 0;
        session = StartQuillet(bank->folder());
        QVERIFY(session.running());
    }

    void cleanup()
    {
        session = Session();
        MessageRecorder::clear();
    }

    void startUpFailuresShowTheirMessage()
    {
        session = Session();
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        QTemporaryDir empty;
        QVERIFY(!StartQuillet(empty.path()).running());
        QDir(empty.path()).mkpath("data");
        QFile junk(empty.path() + "/data/Vellumar.mdb");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'Q'));
        junk.close();
        QVERIFY(!StartQuillet(empty.path()).running());
        QCOMPARE(captionsAndTexts(), QStringList({"错误|无法连接数据库！", "错误|无法连接数据库！"}));
        QCOMPARE(MessageRecorder::shown().first().kind, MessageRecord::Kind::SystemBox);
    }

    void screenClassesAndFonts()
    {
        QCOMPARE(ScreenClassFor({1280, 1024}), QString("1024"));
        QCOMPARE(ScreenClassFor({1024, 768}), QString("1024"));
        QCOMPARE(ScreenClassFor({800, 1200}), QString("800"));
        QCOMPARE(ScreenClassFor({1600, 600}), QString("800"));
        QVERIFY(SmallFontsInUse(96));
        QVERIFY(!SmallFontsInUse(120));
    }

    void showLoadsAnswerTimesOfTheCurrentSubject()
    {
        bank->exec("delete from tab_tx1");
        for (const auto &row : {QPair<int, double>{11, 1}, {14, 1.5}, {41, 2.5}, {72, 0.1}})
            bank->exec("insert into tab_tx1 (A1, B1, B2, B3, time) values (?, 'x', 0, 0, ?)", {row.first, row.second});
        session.mainWindow->FormShow();
        QCOMPARE(CurrentSubject, 1);
        QCOMPARE(TypeTimes, QVector<int>({600, 900, 1500, 60}));
        QCOMPARE(TypeCodes, QVector<int>({11, 14, 41, 72}));
        QVERIFY(MusicOn);
        QCOMPARE(VolumeLevel, 12);
    }

    void commandTableMatchesNamesExactly()
    {
        TFrmStart &w = *session.mainWindow;
        QCOMPARE(w.commandNames(), QStringList({"ksdg", "zsd", "ss", "lx", "lx2", "lx3", "lx4", "lx5", "mnks", "mnks2", "mnks3",
                                                "mnks4", "mnks5", "szks", "cj", "szjh", "rz", "tj", "music", "sztime",
                                                "fg", "help", "lxfs", "about", "dr", "sj", "bf", "quit", "jrfx", "xxbg"}));
        // "zsd" names the same window as "ksdg" and has no button of its own.
        QCOMPARE(w.ShockwaveFlash1->offeredCommands().size(), w.commandNames().size() - 1);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        for (const char *name : {"ABOUT", "Quit", "nothing", "", "lx9"})
            w.ShockwaveFlash1FSCommand(name, QString());
        QVERIFY(MessageRecorder::shown().isEmpty());
        QVERIFY(w.isVisible()); // names match exactly: "Quit" is not "quit"
        QVERIFY(session.running());

        QString opened;
        onNextModal([&](QWidget *modal) {
            opened = modal->metaObject()->className();
            modal->close();
        });
        emit w.ShockwaveFlash1->FSCommand("about", QString());
        QCOMPARE(opened, QString("TFrmAbout"));

        onNextModal([&](QWidget *modal) {
            opened = modal->metaObject()->className();
            modal->close();
        });
        w.ShockwaveFlash1FSCommand("lx3", QString());
        QCOMPARE(opened, QString("TFrmkmmc"));
        QCOMPARE(PracticeSubject, 3);
        QVERIFY(!SelectorOpen);
        for (const char *name : {"ksdg", "zsd"}) {
            opened.clear();
            onNextModal([&](QWidget *modal) {
                opened = modal->metaObject()->className();
                modal->close();
            });
            w.ShockwaveFlash1FSCommand(name, QString());
            QCOMPARE(opened, QString("TfrmLawsFaGui"));
            QVERIFY(!QApplication::overrideCursor());
        }
        SaveScreen(w, "main-menu");
    }

    void studyCommandsOpenTheirWindows()
    {
        TFrmStart &w = *session.mainWindow;
        const QList<QPair<QString, QString>> windows{{"szjh", "Frmplan"}, {"rz", "FrmRz"}, {"tj", "frmchart"}};
        for (const auto &[command, window] : windows) {
            QString opened;
            onNextModal([&](QWidget *modal) {
                opened = modal->objectName();
                QVERIFY(modal->isVisible());
                static_cast<QDialog *>(modal)->done(0);
            });
            w.ShockwaveFlash1FSCommand(command, QString());
            QCOMPARE(opened, window);
            QVERIFY(!QApplication::overrideCursor());
        }
        QVERIFY(w.ShockwaveFlash1->offeredCommands().contains("tj"));
        QVERIFY(MessageRecorder::shown().isEmpty());
    }

    void quitWithoutAPlanRowEnds()
    {
        TFrmStart &w = *session.mainWindow;
        w.show();
        bank->exec("delete from tab_plan");
        DataModule->Cn1Table_plan.close();
        w.ShockwaveFlash1FSCommand("quit", QString());
        QVERIFY(MessageRecorder::shown().isEmpty());
        QVERIFY(!w.isVisible());
    }

    void quitChecksTodaysPlan()
    {
        TFrmStart &w = *session.mainWindow;
        w.show();
        MessageRecorder::queueAnswer(QMessageBox::Cancel);
        w.ShockwaveFlash1FSCommand("quit", QString());
        QCOMPARE(captionsAndTexts(), QStringList({"提示|还未完成今日学习计划，要退出吗？"}));
        QVERIFY(w.isVisible());

        bank->exec("update tab_plan set PlanMark = 1, PlanTime = 30");
        bank->exec("insert into tab_rz (A1, A2, D1) values ('2026-12-08', 3, '00:30:59')");
        DataModule->Cn1Table_plan.refresh();
        DataModule->Cn1Table_rz.refresh();
        MessageRecorder::clear();
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        w.ShockwaveFlash1FSCommand("quit", QString());
        QCOMPARE(captionsAndTexts(), QStringList({"提示|恭喜完成今日学习计划！"}));
        QVERIFY(!w.isVisible());

        session = StartQuillet(bank->folder());
        session.mainWindow->show();
        bank->exec("update tab_rz set D1 = '00:31:00'");
        MessageRecorder::clear();
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        session.mainWindow->ShockwaveFlash1FSCommand("quit", QString());
        QCOMPARE(captionsAndTexts(), QStringList({"提示|超额完成学习计划，要注意休息呦！"}));
        QVERIFY(!session.mainWindow->isVisible());

        session = StartQuillet(bank->folder());
        session.mainWindow->show();
        bank->exec("update tab_plan set PlanMark = 2");
        MessageRecorder::clear();
        session.mainWindow->ShockwaveFlash1FSCommand("quit", QString());
        QVERIFY(MessageRecorder::shown().isEmpty());
        QVERIFY(session.mainWindow->isVisible());
    }

    void answerTimeSettingsAreSavedOnClose()
    {
        bank->exec("update tab_tx1 set time = 1.25 where A1 = 14"); // untouched: kept, not rounded
        bool timesOnly = false;
        onNextModal([&](QWidget *modal) {
            auto *config = qobject_cast<TFrmConfig *>(modal);
            QVERIFY(config);
            timesOnly = config->RxSwitch1->isHidden() && config->FlatComboBox1->isHidden() && config->Label1->isHidden();
            QCOMPARE(config->rowCount(), 2);
            auto *first = config->findChild<QDoubleSpinBox *>("Currencyedit1");
            auto *second = config->findChild<QDoubleSpinBox *>("Currencyedit2");
            QVERIFY(first && second);
            QVERIFY(first->isVisible() && second->isVisible());
            QCOMPARE(first->text(), QString("1.0"));
            SaveScreen(*config, "settings-times");
            first->setValue(45); // held to the edit's range
            QCOMPARE(first->value(), 30.0);
            first->setValue(2.5);
            config->epFocusButton3->click();
        });
        session.mainWindow->ShockwaveFlash1FSCommand("sztime", QString());
        QVERIFY(timesOnly);
        QCOMPARE(bank->scalar("select group_concat(time, ' ') from (select time from tab_tx1 order by A1)").toString(),
                 QString("2.5 1.25"));
        QCOMPARE(TypeTimes, QVector<int>({1500, 750}));
        QCOMPARE(TypeCodes, QVector<int>({11, 14}));
    }

    void musicFaceActsAtOnce()
    {
        QList<QPair<QString, bool>> played;
        MainPlayMusic = [&](const QString &file, bool play) { played << qMakePair(QFileInfo(file).fileName(), play); };
        TFrmConfig config;
        SettingsVariant = 0;
        config.show();
        SaveScreen(config, "settings-music");
        QVERIFY(config.RxSwitch1->isChecked());
        QCOMPARE(config.FlatComboBox1->currentIndex(), -1);
        config.RxSwitch1->click(); // off
        config.RxSwitch1->click(); // on before any tune was chosen
        config.RxSwitch1->click(); // off
        config.FlatComboBox1->setCurrentIndex(2);
        emit config.FlatComboBox1->activated(2); // chosen while off: not started
        QCOMPARE(played.value(1), qMakePair(QString("乐曲01.mid"), true));
        QCOMPARE(played.last(), qMakePair(QString("乐曲03.mid"), false));
        QVERIFY(!MusicOn);
        config.close();
        MainPlayMusic = {};
    }

    void playMusicWithoutSoundCardOnlySaysSo()
    {
        TFrmStart &w = *session.mainWindow;
        if (w.MidiMediaPlayer.audioAvailable())
            QSKIP("this machine has a sound device");
        MessageRecorder::queueAnswer(1);
        w.PlayMusic(AppDir + "sound/乐曲01.mid", true);
        QCOMPARE(captionsAndTexts(), QStringList({"提示|没发现声卡！"}));
        QVERIFY(!w.MidiMediaPlayer.isPlaying());
    }

    void secondCopyAsksTheFirstToComeForward()
    {
        const QString key = "quillet-test-" + QString::number(QCoreApplication::applicationPid());
        SingleInstance first(key);
        QVERIFY(!first.anotherIsRunning());
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        SingleInstance second(key);
        QVERIFY(second.anotherIsRunning());
        QVERIFY(asked.wait(2000));
    }
};

QTEST_MAIN(TestShell)
#include "test_shell.moc"
