#include "BadConditions.h"
#include "BankWriter.h"
#include "Clock.h"
#include "Connection.h"
#include "Content.h"
#include "DataModule.h"
#include "FixtureBank.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "MockExam.h"
#include "TFrmExam.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

// Mock exams on a bank that cannot be written or whose disk fills up.
class TestExamBadConditions : public QObject {
    Q_OBJECT

    QTemporaryDir m_template;
    std::unique_ptr<FixtureBank> m_folder;
    std::unique_ptr<TDM1> dm;

    QString bankFile() const { return m_folder->bankFile(); }
    QVariant db(const QString &sql) { return dm->ADOCn1.scalar(sql); }

    QString counters()
    {
        return db("select (select sum(E3) from tab_answ) || '|' || (select sum(D1) from tab_kmmc) || '|' || "
                  "(select ifnull(sum(A2), 0) from tab_rz where A1 = '2026-12-08') || '|' || (select sum(q2) from tab_rule)")
            .toString();
    }

    static QStringList texts()
    {
        QStringList shown;
        for (const MessageRecord &m : MessageRecorder::shown())
            shown << m.text;
        return shown;
    }

    void openBank()
    {
        dm = std::make_unique<TDM1>(m_folder->folder());
        QVERIFY(dm->connected);
    }

    // Runs `drive` on the exam window of a subject-1 paper; a window still open is voided afterwards.
    static void sit(const std::function<void(TFrmExam &)> &drive)
    {
        bool driven = false;
        std::function<void(int)> poll = [&](int triesLeft) {
            QTimer::singleShot(20, [&, triesLeft] {
                if (auto *w = qobject_cast<TFrmExam *>(QApplication::activeModalWidget())) {
                    driven = true;
                    drive(*w);
                    if (w->isVisible()) {
                        MessageRecorder::queueAnswer(2);
                        w->epEfTrBtn7->click();
                    }
                } else if (triesLeft > 0) {
                    poll(triesLeft - 1);
                }
            });
        };
        poll(250);
        mnks(1);
        QVERIFY(driven);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Gives the current question of the paper a wrong answer and moves on (Return).
    static void answerWrongly(TFrmExam &w)
    {
        DataModule->Cn1Query_exam.setRecNo(w.currentRecord());
        const bool keyIsA = DataModule->Cn1Query_exam.fieldByName("A2").asString().startsWith('A');
        QTest::keyClick(&w, keyIsA ? Qt::Key_B : Qt::Key_A);
        QTest::keyClick(&w, Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        bank::buildBank(bank::readContent(QStringLiteral(QUILLET_CONTENT_DIR)), m_template.filePath("Vellumar.mdb"),
                        true, QDate(2026, 12, 8));
    }

    void init()
    {
        // A program folder with the pictures, holding the demo bank instead of the small one.
        m_folder = std::make_unique<FixtureBank>();
        QVERIFY(m_folder->installPictures(QStringLiteral(QUILLET_PIC_DIR)));
        QVERIFY(QFile::remove(bankFile()));
        QVERIFY(QFile::copy(m_template.filePath("Vellumar.mdb"), bankFile()));
        store::setToday(QDate(2026, 12, 8));
        ScreenClass = "1024";
        CurrentSubject = 1;
        MessageRecorder::clear();
    }

    void cleanup()
    {
        store::setWriteCheck({});
        dm.reset();
        m_folder.reset();
        MessageRecorder::clear();
    }

    void aBankThatCannotBeWrittenDrawsNoPaper()
    {
        const QByteArray before = fileHash(bankFile());
        store::setWriteCheck([](const QString &) { return false; });
        openBank();
        QVERIFY(dm->ADOCn1.isReadOnly());
        MessageRecorder::queueAnswer(1);
        mnks(1);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(texts(), QStringList({"题库文件不能写入，答题记录无法保存！"}));
        dm.reset();
        QCOMPARE(fileHash(bankFile()), before);
    }

    void aBankThatTurnsReadOnlyEndsTheExamWithOneMessage()
    {
        openBank();
        QString afterFirst;
        sit([&](TFrmExam &w) {
            answerWrongly(w);
            afterFirst = counters();
            dm->ADOCn1.execute("PRAGMA query_only = 1");
            MessageRecorder::queueAnswer(1);
            answerWrongly(w);
            QVERIFY(!w.isVisible());
        });
        QCOMPARE(texts(), QStringList({"题库文件不能写入，答题记录无法保存！"}));
        dm->ADOCn1.execute("PRAGMA query_only = 0");
        QCOMPARE(counters(), afterFirst);
    }

    void aFullDiskKeepsTheAnswerToBeGivenAgain()
    {
        openBank();
        sit([&](TFrmExam &w) {
            const QString untouched = counters();
            fillTheDisk(dm->ADOCn1);
            MessageRecorder::queueAnswer(1);
            answerWrongly(w);
            QCOMPARE(texts(), QStringList({"磁盘已满，答案没有保存，请腾出空间！"}));
            QCOMPARE(w.currentRecord(), 1);
            QCOMPARE(counters(), untouched);

            dm->ADOCn1.execute("PRAGMA max_page_count = 1000000");
            QTest::keyClick(&w, Qt::Key_Return);
            QCOMPARE(w.currentRecord(), 2);
            QCOMPARE(texts().size(), 1);
            QCOMPARE(db("select A2 || A3 from tab_rz where A1 = '2026-12-08'").toString(), QString("11"));
        });
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestExamBadConditions test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_exam_bad_conditions.moc"
