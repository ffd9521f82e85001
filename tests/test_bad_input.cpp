#include "AnswerPages.h"
#include "BadConditions.h"
#include "BankTestCase.h"
#include "Clock.h"
#include "Error.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "Startup.h"
#include "TFrmLxxt.h"
#include "TFrmkmmc.h"

#include <QAbstractButton>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sqlite3.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList textsShown()
{
    QStringList texts;
    for (const MessageRecord &m : MessageRecorder::shown())
        texts << m.caption + QLatin1Char('|') + m.text;
    return texts;
}

// Stands for a window whose save fails on a full disk, with no handling of its own.
class SavesOnAFullDisk : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw store::Error("database or disk is full", store::Condition::DiskFull);
        return QObject::event(e);
    }
};

// The child process of the missing-pictures case: opens the practice window
// on the program folder given and prints the messages it showed when it ends.
int practiseWithoutPictures(const QString &folder)
{
    TDM1 dataModule(folder);
    if (!dataModule.connected)
        return 2;
    // The recorder's list is made first, so that it is still there when the handler below runs.
    MessageRecorder::queueAnswer(1);
    MessageRecorder::shown();
    std::atexit([] {
        for (const QString &text : textsShown())
            std::printf("%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    });
    TFrmLxxt window;
    return 0;
}

} // namespace

// Damaged, foreign, write-protected and full banks: the learner reads a message and the bank stays as it was.
class TestBadInput : public BankTestCase {
    Q_OBJECT

    QString counters()
    {
        return db("select (select group_concat(E2 || E3 || E4, ',') from tab_answ) || '|' || "
                  "(select sum(D1) from tab_kmmc) || '|' || (select count(*) from tab_rz where A1 = '2026-12-08') || "
                  "'|' || (select sum(q2) from tab_rule)")
            .toString();
    }

    static void selectChapter100101(TFrmkmmc &selector)
    {
        QVERIFY(DataModule->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("100101")));
        selector.DBGrid1->setCurrentIndex(
            selector.DBGrid1->model()->index(DataModule->Cn1Table_kmmc.recNo() - 1, 0));
    }

    // Opens the practice window on chapter 100101 and runs `drive` in it, then closes it.
    static void practise(TFrmkmmc &selector, const std::function<void(TFrmLxxt &)> &drive)
    {
        selectChapter100101(selector);
        bool driven = false;
        QTimer::singleShot(0, [&] {
            if (auto *w = qobject_cast<TFrmLxxt *>(QApplication::activeModalWidget())) {
                driven = true;
                drive(*w);
                w->epEfTrBtn99->click();
            }
        });
        selector.SpeedButton1->click();
        QVERIFY(driven);
    }

private slots:
    void init()
    {
        MessageRecorder::clear();
        store::setWriteCheck({});
        PracticeSubject = 1;
    }
    void cleanup()
    {
        closeBank();
        store::setWriteCheck({});
        MessageRecorder::clear();
    }

    void startUpRefusesABankItCannotRead_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("truncated bank") << "truncate";
        QTest::newRow("empty file") << "empty";
        QTest::newRow("not an SQLite file") << "jet";
        QTest::newRow("SQLite file of another program") << "foreign";
    }
    void startUpRefusesABankItCannotRead()
    {
        QFETCH(QString, damage);
        FixtureBank fixture;
        const QString file = fixture.bankFile();
        if (damage == "truncate") {
            QFile f(file);
            QVERIFY(f.size() > 8192);
            QVERIFY(f.resize(f.size() / 2));
        } else if (damage == "empty") {
            writeFile(file, QByteArray());
        } else if (damage == "jet") {
            writeFile(file, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(4076, '\x5a'));
        } else {
            QFile::remove(file);
            sqlite3 *other = nullptr;
            QCOMPARE(sqlite3_open(file.toUtf8().constData(), &other), SQLITE_OK);
            QCOMPARE(sqlite3_exec(other, "create table moz_places (id integer primary key, url text);"
                                         "insert into moz_places (url) values ('about:blank');",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(other);
        }
        const QByteArray before = fileHash(file);

        MessageRecorder::queueAnswer(QMessageBox::Ok);
        QVERIFY(!StartQuillet(fixture.folder()).running());
        QCOMPARE(textsShown(), QStringList({"错误|无法连接数据库！"}));
        QCOMPARE(fileHash(file), before);
        QVERIFY(!QFile::exists(file + "-wal"));
    }

    void aBankThatCannotBeWrittenStartsAndSaysSo()
    {
        bank = std::make_unique<FixtureBank>();
        store::setToday(QDate(2026, 12, 8));
        QVERIFY(bank->installPictures(QStringLiteral(QUILLET_PIC_DIR)));
        const QByteArray before = fileHash(bank->bankFile());
        store::setWriteCheck([](const QString &) { return false; });

        MessageRecorder::queueAnswer(1);
        Session session = StartQuillet(bank->folder());
        QVERIFY(session.running());
        QCOMPARE(textsShown(), QStringList({"提示|题库文件只读，练习和考试的答题都不能保存！"}));
        QVERIFY(session.dataModule->ADOCn1.isReadOnly());

        // Reading works; practice refuses to start instead of pretending to record.
        {
            TFrmkmmc selector;
            selector.show();
            QVERIFY(selector.DBGrid1->model()->rowCount() > 0);
            MessageRecorder::clear();
            MessageRecorder::queueAnswer(1);
            selectChapter100101(selector);
            selector.SpeedButton1->click(); // a practice window would wait here for the learner
            QVERIFY(selector.isVisible());
            QCOMPARE(textsShown(), QStringList({"错误|题库文件不能写入，答题记录无法保存！"}));
        }
        session = Session();
        QCOMPARE(fileHash(bank->bankFile()), before);
    }

    void aMarkingThatFindsTheDiskFullIsUndoneWhole()
    {
        openFreshBank();
        QVERIFY(bank->installPictures(QStringLiteral(QUILLET_PIC_DIR)));
        TFrmkmmc selector;
        selector.show();
        practise(selector, [&](TFrmLxxt &w) {
            const QString untouched = counters();
            fillTheDisk(dm->ADOCn1);
            w.Notebook1->findChild<QAbstractButton *>("fcBG_oneB")->click();
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            QCOMPARE(textsShown(), QStringList({"错误|磁盘已满，答案没有保存，请腾出空间！"}));
            QCOMPARE(counters(), untouched);
            QCOMPARE(w.currentRecord(), 1);

            // Space is back: the same answer counts in full.
            dm->ADOCn1.execute("PRAGMA max_page_count = 1000000");
            w.epEfTrBtn3->click();
            QCOMPARE(textsShown().size(), 1);
            QCOMPARE(db("select E2 || E3 || E4 from tab_answ where A1 = '100101110001'").toString(), QString("B1-3"));
            QCOMPARE(db("select A2 || A3 || B1 || B2 from tab_rz where A1 = '2026-12-08'").toString(), QString("1111"));
        });
    }

    void aBankThatTurnsReadOnlyEndsThePracticeRunWithOneMessage()
    {
        openFreshBank();
        QVERIFY(bank->installPictures(QStringLiteral(QUILLET_PIC_DIR)));
        TFrmkmmc selector;
        selector.show();
        QString afterFirst;
        practise(selector, [&](TFrmLxxt &w) {
            w.Notebook1->findChild<QAbstractButton *>("fcBG_oneA")->click();
            w.epEfTrBtn3->click();
            afterFirst = counters();
            // The drive the bank lives on is remounted read-only.
            dm->ADOCn1.execute("PRAGMA query_only = 1");
            w.Notebook1->findChild<QAbstractButton *>("fcBG_oneB")->click();
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn2->click(); // leaving the question marks the changed answer
            QVERIFY(!w.isVisible());
            QCOMPARE(w.currentRecord(), 1);
        });
        QCOMPARE(textsShown(), QStringList({"错误|题库文件不能写入，答题记录无法保存！"}));
        dm->ADOCn1.execute("PRAGMA query_only = 0");
        QCOMPARE(counters(), afterFirst);
        QCOMPARE(db("select E2 || E3 from tab_answ where A1 = '100101110001'").toString(), QString("A1"));
        QVERIFY(selector.isVisible());
    }

    // The system itself refuses the writes (the immutable attribute binds root too).
    void aWriteProtectedBankIsReadAsItLies_data()
    {
        QTest::addColumn<bool>("wholeFolder");
        QTest::addColumn<QString>("journal");
        QTest::newRow("read-only file") << false << "wal";
        QTest::newRow("read-only folder") << true << "wal";
        // The file itself could be written, but no log can be made beside it.
        QTest::newRow("bank of an older journal in a read-only folder") << true << "delete";
    }
    void aWriteProtectedBankIsReadAsItLies()
    {
        QFETCH(bool, wholeFolder);
        QFETCH(QString, journal);
        FixtureBank fixture;
        fixture.exec("PRAGMA journal_mode=" + journal);
        const QString file = fixture.bankFile();
        const QString locked = wholeFolder ? fixture.folder() + "/data" : file;
        const QByteArray before = fileHash(file);
        if (QProcess::execute("chattr", {"+i", locked}) != 0)
            QSKIP("this file system has no immutable attribute");
        const auto unlock = qScopeGuard([&] { QProcess::execute("chattr", {"-i", locked}); });

        TDM1 readOnly(fixture.folder());
        QVERIFY(readOnly.connected);
        QVERIFY(readOnly.ADOCn1.isReadOnly());
        QCOMPARE(readOnly.ADOCn1.scalar("select count(*) from tab_answ").toInt(), 5);
        try {
            readOnly.ADOCn1.execute("update tab_answ set E3 = E3 + 1");
            QFAIL("a write-protected bank took a write");
        } catch (const store::Error &e) {
            QCOMPARE(e.condition(), store::Condition::ReadOnly);
            QCOMPARE(e.learnerMessage(), QString("题库文件不能写入，答题记录无法保存！"));
        }
        readOnly.ADOCn1.close();
        QCOMPARE(fileHash(file), before);
    }

    void aFullDiskMeetsTheLearnerInChineseAnywhere()
    {
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        SavesOnAFullDisk window;
        QCoreApplication::postEvent(&window, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(textsShown(), QStringList({"Quillet|磁盘已满，答案没有保存，请腾出空间！"}));
    }

    // The fixture's program folder has no sound/ at all.
    void missingTunesOrNoSoundOutputSayOnceAndPlayNothing()
    {
        FixtureBank fixture;
        MessageRecorder::queueAnswer(1);
        Session session = StartQuillet(fixture.folder());
        QVERIFY(session.running());
        TFrmStart &w = *session.mainWindow;
        w.show();
        MessageRecorder::clear();
        MessageRecorder::queueAnswer(1);
        w.PlayMusic(AppDir + "sound/乐曲01.mid", true);
        const QString expected = w.MidiMediaPlayer.audioAvailable() ? "提示|无法播放背景音乐！" : "提示|没发现声卡！";
        QCOMPARE(textsShown(), QStringList({expected}));
        QVERIFY(!w.MidiMediaPlayer.isPlaying());
    }

    void missingPicturesEndTheProgramWithTheirMessage()
    {
        FixtureBank fixture;
        const QByteArray before = fileHash(fixture.bankFile());
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--practise-without-pictures", fixture.folder()});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), EXIT_FAILURE);
        QCOMPARE(QString::fromUtf8(child.readAllStandardOutput()).trimmed(), QString("错误|无法提取资源文件！"));
        QCOMPARE(fileHash(fixture.bankFile()), before);
    }
};

int main(int argc, char **argv)
{
    QuilletApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--practise-without-pictures")
        return practiseWithoutPictures(QString::fromLocal8Bit(argv[2]));
    TestBadInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_bad_input.moc"
