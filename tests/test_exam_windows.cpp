#include "AnswerPages.h"
#include "BankWriter.h"
#include "Clock.h"
#include "Content.h"
#include "DataModule.h"
#include "DocxReadBack.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "GlyphButton.h"
#include "MessageRecorder.h"
#include "MockExam.h"
#include "NumberBoard.h"
#include "NumberPanel.h"
#include "RichView.h"
#include "Screens.h"
#include "ShellOpener.h"
#include "TFrmBj.h"
#include "TFrmCheck.h"
#include "TFrmDlg.h"
#include "TFrmEset.h"
#include "TFrmExam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

// Drives the exam window, exam settings and the paper review on the demo
// bank, as a learner would: by the controls' names, the keys and the boxes.
class TestExamWindows : public QObject {
    Q_OBJECT

    QTemporaryDir m_template;
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TDM1> dm;

    QVariant db(const QString &sql) { return dm->ADOCn1.scalar(sql); }
    int count(const QString &sql) { return db(sql).toInt(); }

    static QString lastMessage()
    {
        const QList<MessageRecord> shown = MessageRecorder::shown();
        return shown.isEmpty() ? QString() : shown.last().text;
    }

    // Calls `act` once a window of type T is the active modal one (the wait
    // window lets events run before the exam window is up).
    template <typename T>
    static void whenModal(const std::function<void(T &)> &act, int triesLeft = 250)
    {
        QTimer::singleShot(20, [act, triesLeft] {
            if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget()))
                act(*window);
            else if (triesLeft > 0)
                whenModal<T>(act, triesLeft - 1);
        });
    }

    // Runs `drive` on the exam window that `open` shows; the window must be gone afterwards.
    static void whileSitting(const std::function<void()> &open, const std::function<void(TFrmExam &)> &drive)
    {
        bool driven = false;
        whenModal<TFrmExam>([&](TFrmExam &window) {
            driven = true;
            drive(window);
            if (window.isVisible()) {
                MessageRecorder::queueAnswer(2); // an exam still running is voided
                window.epEfTrBtn7->click();
            }
        });
        open();
        QVERIFY(driven);
        QVERIFY(!QApplication::activeModalWidget());
    }

    static void key(TFrmExam &w, Qt::Key k) { QTest::keyClick(&w, k); }

    // Answers record by record from the current one: the key for `right`, a wrong letter otherwise.
    void answerRecords(TFrmExam &w, int records, const std::function<bool(int)> &right)
    {
        store::Query &paper = dm->Cn1Query_exam;
        for (int i = 0; i < records; ++i) {
            const int record = w.currentRecord();
            paper.setRecNo(record);
            const QString answer = paper.fieldByName("A2").asString();
            if (right(record)) {
                for (QChar letter : answer)
                    key(w, Qt::Key(Qt::Key_A + (letter.unicode() - 'A')));
            } else {
                key(w, answer.startsWith('A') ? Qt::Key_B : Qt::Key_A);
            }
            key(w, Qt::Key_Return);
        }
    }

    QString paperTable() { return db("select A1 from tab_cj order by A3_1 desc").toString(); }

private slots:
    void initTestCase()
    {
        bank::buildBank(bank::readContent(QStringLiteral(QUILLET_CONTENT_DIR)), m_template.filePath("Vellumar.mdb"),
                        true, QDate(2026, 12, 8));
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QDir folder(m_folder->path());
        folder.mkpath("data");
        folder.mkpath("pic");
        QVERIFY(QFile::copy(m_template.filePath("Vellumar.mdb"), folder.filePath("data/Vellumar.mdb")));
        const QDir pictures(QStringLiteral(QUILLET_PIC_DIR));
        for (const QString &file : pictures.entryList({"*.bmp"}))
            QVERIFY(QFile::copy(pictures.filePath(file), folder.filePath("pic/" + file)));
        AppDir = m_folder->path() + "/";
        dm = std::make_unique<TDM1>(m_folder->path());
        QVERIFY(dm->connected);
        store::setToday(QDate(2026, 12, 8));
        ScreenClass = qEnvironmentVariable("QUILLET_SCREEN_CLASS", "1024");
        CurrentSubject = 1;
        MessageRecorder::clear();
    }

    void cleanup()
    {
        dm.reset();
        m_folder.reset();
    }

    // Clicking the pressed option releases it; at hand-in the question counts as
    // unanswered, while the attempt made before stays in the bank's counters.
    void aReleasedAnswerIsUnansweredAtHandIn()
    {
        QString firstId;
        int firstE3 = 0;
        whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
            store::Query &paper = dm->Cn1Query_exam;
            paper.setRecNo(1);
            firstId = paper.fieldByName("A1").asString();
            firstE3 = count("select E3 from tab_answ where A1 = '" + firstId + "'");
            auto *a = w.findChild<QAbstractButton *>("fcBG_oneA");
            a->click();
            key(w, Qt::Key_Return);
            key(w, Qt::Key_B);
            key(w, Qt::Key_Return);
            key(w, Qt::Key_Backspace);
            key(w, Qt::Key_Backspace);
            QCOMPARE(w.currentRecord(), 1);
            QVERIFY(a->isChecked());
            a->click();
            QVERIFY(!a->isChecked() && w.Notebook1->answer().isEmpty());
            MessageRecorder::queueAnswer(3);
            w.epEfTrBtn3->click();
            QCOMPARE(lastMessage(), QString("你还有79道题未做，确定要交卷吗？"));
            QCOMPARE(count("select count(*) from " + paperTable() + " where E2_1 = 'A'"), 0);
        });
        QCOMPARE(count("select E3 from tab_answ where A1 = '" + firstId + "'"), firstE3 + 1);
    }

    void sitMarkAndReviewAPaper()
    {
        const int chapterBefore = count("select sum(D1) from tab_kmmc where length(C1) = 1 and C1 = '1'");
        int rightSingles = 0;
        int rightMultiples = 0;
        int answered = 0;
        QString firstId;
        int firstE3 = 0;
        whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
            QCOMPARE(w.mode(), QString("new"));
            QCOMPARE(w.windowTitle(), QString("正在答卷"));
            QVERIFY(w.epLabel2->text().startsWith("2026年12月08日造价工程师·工程造价管理基础理论与相关法规[1]"));
            store::Query &paper = dm->Cn1Query_exam;
            QCOMPARE(paper.recordCount(), 80);
            QCOMPARE(w.Label7->text(), QString("单项选择题 每题1分 共60分"));
            QVERIFY(!w.epEfTrBtn6->isEnabled() && !w.epEfTrBtn4->isEnabled() && !w.epEfTrBtn12->isEnabled());
            QVERIFY(!w.fcBG_th->button(80)->isEnabled());
            paper.setRecNo(1);
            firstId = paper.fieldByName("A1").asString();
            firstE3 = count("select E3 from tab_answ where A1 = '" + firstId + "'");

            // Question 1: A, then B, then A again, each on a visit of its own.
            w.findChild<QAbstractButton *>("fcBG_oneA")->click();
            key(w, Qt::Key_Return);
            QCOMPARE(w.currentRecord(), 2);
            QCOMPARE(w.fcBG_th->button(0)->upGlyph().toImage(), QPixmap(AppDir + "pic/vaskover.bmp").toImage());
            for (Qt::Key letter : {Qt::Key_B, Qt::Key_A}) {
                key(w, Qt::Key_Backspace);
                QCOMPARE(w.currentRecord(), 1);
                key(w, letter);
                key(w, Qt::Key_Return);
            }
            QCOMPARE(count("select E3 from tab_answ where A1 = '" + firstId + "'"), firstE3 + 3);
            paper.setRecNo(1);
            const bool firstRight = paper.fieldByName("A2").asString() == "A";
            // Questions 2 … 10 alternately right and wrong.
            answerRecords(w, 9, [](int record) { return record % 2 == 0; });
            rightSingles = (firstRight ? 1 : 0) + 5;
            SaveScreen(w, "exam-answering");
            w.epEfTrBtn11->click(); // 桌面, then back: the exam goes on where it was
            w.showNormal();
            QApplication::processEvents();
            QVERIFY(w.isVisible() && w.KZTimeCounter1->isRunning());
            QCOMPARE(w.currentRecord(), 11);

            w.epEfTrBtn13->click();
            QVERIFY(w.isPaused() && w.suiPanel1->isVisible());
            QVERIFY(!w.epEfTrBtn3->isEnabled() && !w.fcBG_th->isEnabled() && !w.Notebook1->isEnabled());
            QVERIFY(!w.KZTimeCounter1->isRunning());
            QCOMPARE(w.epEfTrBtn13->text(), QString("继续考试"));
            SaveScreen(w, "exam-paused");
            const int shownBefore = int(MessageRecorder::shown().size());
            key(w, Qt::Key_Escape); // 交卷 and 关闭 are grey while paused
            w.close();
            key(w, Qt::Key_A);
            QVERIFY(w.isVisible() && w.isPaused() && w.Notebook1->answer().isEmpty());
            QCOMPARE(int(MessageRecorder::shown().size()), shownBefore);
            w.epEfTrBtn13->click();
            QVERIFY(!w.isPaused() && !w.suiPanel1->isVisible() && w.KZTimeCounter1->isRunning());
            QVERIFY(w.epEfTrBtn1->isEnabled() && w.epEfTrBtn3->isEnabled());

            // Multiple choice from question 61: two right, one with a missing option.
            w.fcBG_th->button(60)->click();
            QCOMPARE(w.Notebook1->currentIndex(), 1);
            answerRecords(w, 3, [](int record) { return record != 63; });
            rightMultiples = 2;
            answered = 10 + 3;

            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            QCOMPARE(lastMessage(), QString("你还有%1道题未做，确定要交卷吗？").arg(80 - answered));
            QStringList offered = MessageRecorder::shown().last().buttons;
            offered.sort();
            QCOMPARE(offered, QStringList({"作废", "取消", "确定"}));
            QCOMPARE(w.mode(), QString("old"));
            QCOMPARE(w.windowTitle(), QString("查阅试卷"));
            const double score = rightSingles * 1 + rightMultiples * 2;
            QCOMPARE(db("select A6 from tab_cj").toDouble(), score);
            QCOMPARE(db("select D2 from tab_cj").toString(), w.epLb_time2->text());
            QCOMPARE(w.Lb_zfs->text(), QString("得分：%1 分").arg(score));
            QVERIFY(w.dropOnClose()); // far below the lowest score kept
            QCOMPARE(w.fcBG_th->button(0)->upGlyph().toImage(),
                     QPixmap(AppDir + (firstRight ? "pic/vaskyes.bmp" : "pic/vaskno.bmp")).toImage());
            QCOMPARE(w.fcBG_th->button(2)->upGlyph().toImage(), QPixmap(AppDir + "pic/vaskno.bmp").toImage());
            QCOMPARE(w.fcBG_th->button(3)->upGlyph().toImage(), QPixmap(AppDir + "pic/vaskyes.bmp").toImage());
            QCOMPARE(w.fcBG_th->button(10)->upGlyph().toImage(), QPixmap(AppDir + "pic/vaskup.bmp").toImage());
            QVERIFY(!w.Notebook1->isEnabled() && !w.epEfTrBtn3->isEnabled() && w.epEfTrBtn12->isEnabled());

            // The answer panel of question 4 (answered right).
            w.fcBG_th->button(3)->click();
            w.epEfTrBtn6->click();
            QCOMPARE(w.epEfTrBtn6->text(), QString("返回"));
            QCOMPARE(w.Panel2->width(), w.Panel1->width());
            QCOMPARE(w.Lb_answtip->text(), QString("恭喜你，做对了！"));
            SaveScreen(w, "exam-review-answer");
            w.fcBG_th->button(4)->click();
            QCOMPARE(w.epEfTrBtn6->text(), QString("答案"));
            w.epEfTrBtn12->click();
            QCOMPARE(w.Label1->text(), QString("本题已被您作废！"));
            paper.setRecNo(5);
            QCOMPARE(count("select F1 from tab_answ where A1 = '" + paper.fieldByName("A1").asString() + "'"), 1);
            w.epEfTrBtn12->click();
            QCOMPARE(w.Label1->text(), QString("本题曾被作废，现已被您取消！"));
            // In review the keys move between questions but leave the answers alone.
            key(w, Qt::Key_B);
            key(w, Qt::Key_Return);
            QCOMPARE(w.currentRecord(), 6);
            key(w, Qt::Key_Backspace);
            QCOMPARE(w.Notebook1->answer(), paper.fieldByName("E2_1").asString());
            w.epEfTrBtn7->click();
            QVERIFY(!w.isVisible());
        });
        // Counted as in practice: every attempt in the day's log and the subject's chapters.
        QCOMPARE(count("select A2 from tab_rz where A1 = '2026-12-08'"), answered + 2);
        QCOMPARE(count("select sum(D1) from tab_kmmc where C1 = '1'"), chapterBefore + answered + 2);
        // Below the lowest score kept: gone when its review closed.
        QCOMPARE(count("select count(*) from tab_cj"), 0);
        QCOMPARE(count("select count(*) from sqlite_master where name = 'tab_exam1'"), 0);
    }

    void voidingAPaperCountsItsTimeWhenMostWasDone()
    {
        for (int done : {31, 30}) {
            const int before = count("select count(*) from tab_cj");
            QString studyBefore;
            whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
                answerRecords(w, done, [](int) { return true; });
                studyBefore = db("select ifnull(D1, '') from tab_rz where A1 = '2026-12-08'").toString();
                QTest::qWait(1100);
                MessageRecorder::queueAnswer(2);
                w.epEfTrBtn3->click();
                QCOMPARE(lastMessage(), QString("你还有%1道题未做，确定要交卷吗？").arg(80 - done));
            });
            QCOMPARE(count("select count(*) from tab_cj"), before);
            const QString studyAfter = db("select D1 from tab_rz where A1 = '2026-12-08'").toString();
            if (done == 31)
                QVERIFY2(studyAfter != studyBefore, qPrintable(studyAfter));
            else
                QCOMPARE(studyAfter, studyBefore);
        }
    }

    void escapeAndClosingAskBeforeLeaving()
    {
        whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
            key(w, Qt::Key_A);
            MessageRecorder::queueAnswer(3);
            key(w, Qt::Key_Escape);
            QCOMPARE(lastMessage(), QString("你还有79道题未做，确定要交卷吗？"));
            QVERIFY(w.isVisible() && w.KZTimeCounter1->isRunning());
            TFrmDlg &box = TFrmDlg::instance();
            box.prepare("提示", lastMessage(), 2, "Exam", 0);
            box.show();
            SaveScreen(box, "exam-handin-question");
            box.hide();
            MessageRecorder::queueAnswer(3);
            w.close();
            QVERIFY(w.isVisible());
            MessageRecorder::queueAnswer(2);
            w.close();
            QVERIFY(!w.isVisible());
        });
        QCOMPARE(count("select count(*) from tab_cj"), 0);
    }

    void aFailedMarkingLeavesTheExamToHandInAgain()
    {
        whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
            answerRecords(w, 2, [](int) { return true; });
            dm->ADOCn1.execute("create trigger full_disk before update on tab_cj "
                               "begin select raise(abort, 'disk full'); end");
            MessageRecorder::queueAnswer(1);
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            QCOMPARE(lastMessage(), QString("发生错误！"));
            QVERIFY(w.isVisible() && w.mode() == "new" && !w.KZTimeCounter1->isRunning());
            QVERIFY(db("select A6 from tab_cj").isNull());
            dm->ADOCn1.execute("drop trigger full_disk");
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            QCOMPARE(w.mode(), QString("old"));
            QCOMPARE(db("select A6 from tab_cj").toDouble(), 2.0);
        });
    }

    void anUntouchedPaperGoesWithoutAQuestion()
    {
        CurrentSubject = 2;
        whileSitting([] { mnks(2); }, [&](TFrmExam &w) {
            QCOMPARE(dm->Cn1Query_exam.recordCount(), 96);
            w.epEfTrBtn3->click();
            QVERIFY(!w.isVisible());
        });
        QVERIFY(MessageRecorder::shown().isEmpty());
        QCOMPARE(count("select count(*) from tab_cj"), 0);
    }

    void aCaseAnalysisPaperScoredBySelfAssessment()
    {
        whileSitting([] { mnks(5); }, [&](TFrmExam &w) {
            QCOMPARE(dm->Cn1Query_exam.recordCount(), 7);
            QCOMPARE(w.Notebook1->currentIndex(), 4);
            for (int record = 1; record <= 7; ++record) {
                w.Notebook1->FlatComboBox1->setCurrentIndex(record == 7 ? 0 : 1); // 会, but the last 不会
                if (record < 7)
                    w.epEfTrBtn2->click();
            }
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            QCOMPARE(lastMessage(), QString("恭喜你已经做完试卷，确定要交卷吗？"));
            QCOMPARE(w.Lb_zfs->text(), QString("得分：120 分"));
            QVERIFY(!w.epEfTrBtn6->isEnabled()); // the key of a case is never shown
            w.epEfTrBtn7->click();
        });
        QCOMPARE(db("select A6 from tab_cj").toDouble(), 120.0); // kept: 60 is the lowest
    }

    void timeRunsOutOnALateTickAndAfterTheNoteCloses()
    {
        dm->ADOCn1.execute("update tab_plan set ExamTime = 7200");
        whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
            key(w, Qt::Key_A);
            emit w.KZTimeCounter1->ticked("1:59:59");
            QCOMPARE(w.mode(), QString("new"));
            // The note is open when the clock passes the limit; the time-out waits for it.
            whenModal<TFrmBj>([&w](TFrmBj &notes) {
                notes.DBMemo1->setPlainText("按现值计算");
                emit w.KZTimeCounter1->ticked("2:00:01");
                QCOMPARE(w.mode(), QString("new"));
                notes.accept();
            });
            MessageRecorder::queueAnswer(QMessageBox::Ok);
            w.epEfTrBtn5->click();
            QTRY_COMPARE(w.mode(), QString("old"));
            QCOMPARE(lastMessage(), QString("很遗憾，考试时间到了！"));
            QCOMPARE(db("select A14 from " + paperTable() + " where A14 <> ''").toString(), QString("按现值计算"));
            QCOMPARE(dm->Cn1Query_exam.fieldByName("E2_1").asString().isEmpty(), false);
        });
    }

    void reviewingKeptPapersAndTheirFigures()
    {
        CurrentSubject = 2;
        dm->Cn1Table_tx.setTableName("tab_tx2");
        dm->ADOCn1.execute("update tab_plan set LeastMark = 0");
        // A marked paper to review, and rows for the figures (full marks 120: pass mark 72).
        whileSitting([] { mnks(2); }, [&](TFrmExam &w) {
            answerRecords(w, 3, [](int) { return true; });
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            QCOMPARE(w.mode(), QString("old"));
            QVERIFY(!w.dropOnClose());
            w.epEfTrBtn7->click();
        });
        dm->ADOCn1.execute("insert into tab_cj (A1, A3, A3_1, A6, D2) values "
                           "('tab_exam7', '旧试卷甲', 7, 72, '1:10:00'), ('tab_exam8', '旧试卷乙', 8, 85.5, '1:20:00'), "
                           "('tab_exam9', '未判的试卷', 9, null, '')");
        TFrmCheck check;
        bool reviewed = false;
        whenModal<TFrmCheck>([&](TFrmCheck &) {
            QCOMPARE(check.epNumPanel1->text(), QString("4"));
            QCOMPARE(check.epNumPanel2->text(), QString("2")); // 72 passes, 3 does not
            // (3 + 72 + 85.5) / 3 = 53.5, an exact half: to the even 54.
            QCOMPARE(check.epNumPanel3->text(), QString("54"));
            QVERIFY(check.Lbtip->text().contains("成绩少于 0 分"));
            QCOMPARE(check.DBGrid1->model()->index(0, 0).data().toString(), QString("未判的试卷"));
            SaveScreen(check, "paper-review");

            // A row whose paper table is gone cannot be opened, but stays in the list.
            check.DBGrid1->selectRow(0);
            MessageRecorder::queueAnswer(1);
            check.SpeedButton2->click();
            QCOMPARE(lastMessage(), QString("无法打开试卷！"));
            QVERIFY(check.isVisible());
            MessageRecorder::queueAnswer(QMessageBox::Ok);
            check.SpeedButton4->click();
            QCOMPARE(check.DBGrid1->model()->rowCount(), 3);

            // The marked paper, newest of the real ones, in review.
            const int row = check.DBGrid1->model()->rowCount() - 1;
            check.DBGrid1->selectRow(row);
            whenModal<TFrmExam>([&](TFrmExam &w) {
                reviewed = true;
                QCOMPARE(w.mode(), QString("old"));
                QCOMPARE(w.Lb_zfs->text(), QString("得分：3 分"));
                SaveScreen(w, "exam-review");
                w.epEfTrBtn7->click();
            });
            check.SpeedButton2->click();
            check.SpeedButton3->click();
        });
        check.exec();
        QVERIFY(reviewed);
        QCOMPARE(count("select count(*) from tab_cj"), 3);
    }

    void examSettings()
    {
        dm->ADOCn1.execute("update tab_plan set ExamTime = 7200, LeastMark = 60");
        TFrmEset settings;
        whenModal<TFrmEset>([&](TFrmEset &) {
            QCOMPARE(settings.suiNumberEdit2->text(), QString("120"));
            QCOMPARE(settings.suiNumberEdit1->text(), QString("60"));
            settings.suiButton1->click(); // nothing ticked: nothing changes
            QCOMPARE(settings.suiNumberEdit1->text(), QString("60"));
            settings.suiCheckBox1->click();
            settings.suiButton1->click();
            QCOMPARE(settings.suiNumberEdit1->text(), QString("50")); // full marks 100
            settings.suiCheckBox1->click();
            QVERIFY(!settings.suiButton1->isEnabled());
            MessageRecorder::queueAnswer(QMessageBox::Ok);
            settings.suiNumberEdit1->setText("101");
            QCOMPARE(lastMessage(), QString("最低分数不能超过总分数！"));
            QCOMPARE(settings.suiNumberEdit1->text(), QString("100"));
            settings.suiNumberEdit1->clear();
            QCOMPARE(settings.suiNumberEdit1->text(), QString("0"));
            settings.suiNumberEdit1->setText("70");
            settings.suiNumberEdit2->setText("90");
            SaveScreen(settings, "exam-settings");
            settings.suiButton2->click();
        });
        settings.exec();
        QCOMPARE(db("select ExamTime || '/' || LeastMark from tab_plan").toString(), QString("5400/70"));

        TFrmEset broken;
        whenModal<TFrmEset>([&](TFrmEset &) {
            broken.suiNumberEdit2->clear();
            MessageRecorder::queueAnswer(QMessageBox::Ok);
            broken.suiButton2->click();
        });
        broken.exec();
        QCOMPARE(lastMessage(), QString("保存设置失败！"));
        QCOMPARE(db("select ExamTime from tab_plan").toInt(), 5400);
    }

    void reviewedPaperBecomesAWordDocument()
    {
        const QString path = m_folder->filePath("paper.docx");
        QStringList opened;
        ui::setPageOpener([&](const QString &file) {
            opened << file;
            return true;
        });
        whileSitting([] { mnks(1); }, [&](TFrmExam &w) {
            QVERIFY(!w.epEfTrBtn10->isEnabled());
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click(); // handed in untouched: all 80 wrong
            QCOMPARE(w.mode(), QString("old"));
            QVERIFY(w.epEfTrBtn10->isEnabled());
            w.fcBG_th->button(6)->click();
            const QString shown = w.Re1->toPlainText();
            ui::FileDialogRecorder::clear();
            ui::FileDialogRecorder::queueAnswer(path);
            w.epEfTrBtn10->click();
            QVERIFY(ui::FileDialogRecorder::asked().value(0).dir.endsWith(w.epLabel2->text() + ".docx"));
            // The question on display stays where it was.
            QCOMPARE(w.currentRecord(), 7);
            QCOMPARE(dm->Cn1Query_exam.recNo(), 7);
            QCOMPARE(w.Re1->toPlainText(), shown);
            w.epEfTrBtn7->click();
        });
        ui::setPageOpener({});
        QCOMPARE(opened, QStringList{path});
        const QJsonObject document = readDocx(path);
        QVERIFY(document.value("problems").toArray().isEmpty());
        const QStringList texts = paragraphTexts(document);
        QList<int> numbers;
        for (const QString &text : texts.filter(QRegularExpression("^\\d+、")))
            numbers << text.section(QStringLiteral("、"), 0, 0).toInt();
        QCOMPARE(numbers.size(), 80);
        for (int i = 0; i < numbers.size(); ++i)
            QCOMPARE(numbers.at(i), i + 1);
        QCOMPARE(texts.filter(QRegularExpression("^第\\d+题$")).size(), 80);
        QCOMPARE(texts.value(3), QString("一、单项选择题[共60题，每题1分，总计60分]"));
        QVERIFY(texts.contains("二、多项选择题[共20题，每题2分，总计40分]"));
    }
};

QTEST_MAIN(TestExamWindows)
#include "test_exam_windows.moc"
