#include "AnswerPages.h"
#include "BankTestCase.h"
#include "DbRichView.h"
#include "Gauge.h"
#include "Globals.h"
#include "GlyphButton.h"
#include "MessageRecorder.h"
#include "NumberBoard.h"
#include "NumberPanel.h"
#include "SelectorLogic.h"
#include "TFrmBj.h"
#include "TFrmJx.h"
#include "TFrmLxxt.h"
#include "TFrmkmmc.h"
#include "TfrmAnswFagui.h"

using practice::practiceSql;

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QtTest>
#include <functional>

// Drives the chapter selector and the practice window as a learner would.
class TestPracticeWindows : public BankTestCase {
    Q_OBJECT

    void installGlyphs() { QVERIFY(bank->installPictures(QStringLiteral(QUILLET_PIC_DIR))); }

    // Chapter 100101 holds 22 single-choice questions (key A, C, then B …) and one multiple-choice (ABD).
    void addSingleChoiceQuestions()
    {
        for (int n = 3; n <= 22; ++n)
            bank->addQuestion(QStringLiteral("1001011100%1").arg(n, 2, 10, QLatin1Char('0')), QStringLiteral("100101"),
                              11, QStringLiteral("B"));
    }

    static void selectChapter(TFrmkmmc &selector, const QString &code)
    {
        QVERIFY(DataModule->Cn1Table_kmmc.locate(QStringLiteral("C1"), code));
        const int row = DataModule->Cn1Table_kmmc.recNo() - 1;
        selector.DBGrid1->setCurrentIndex(selector.DBGrid1->model()->index(row, 0));
    }

    static QString lastMessage()
    {
        const QList<MessageRecord> shown = MessageRecorder::shown();
        return shown.isEmpty() ? QString() : shown.last().text;
    }

    // Runs `drive` on the practice window that the click opens, then closes it with "关闭".
    static void whilePractising(const std::function<void()> &open, const std::function<void(TFrmLxxt &)> &drive)
    {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<TFrmLxxt *>(QApplication::activeModalWidget());
            if (!window)
                return;
            driven = true;
            drive(*window);
            window->epEfTrBtn99->click();
        });
        open();
        QVERIFY(driven);
    }

    // Looks at the modal dialog the next click opens, then closes it.
    static void onNextDialog(const std::function<void(QDialog &)> &look)
    {
        QTimer::singleShot(0, [look] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                look(*dialog);
                dialog->accept();
            }
        });
    }

    QString answerOf(const QString &id, const char *field)
    {
        return db(QStringLiteral("select %1 from tab_answ where A1 = '%2'").arg(QLatin1String(field), id)).toString();
    }

    static void clickNamed(QWidget &window, const char *name)
    {
        auto *button = window.findChild<QAbstractButton *>(QString::fromUtf8(name));
        QVERIFY2(button, name);
        button->click();
    }

    void answerAndMove(TFrmLxxt &w, TFrmkmmc &selector)
    {
        QVERIFY(!selector.isVisible());
        QVERIFY(!SelectorOpen);
        QCOMPARE(w.Lb_zs->text(), QString("2"));
        QCOMPARE(w.Lb_ts->text(), QString("23"));
        QCOMPARE(w.epLabel2->text(), QString("第一节提示"));
        QCOMPARE(w.Notebook1->currentIndex(), 0);
        QVERIFY(!w.epEfTrBtn1->isEnabled() && !w.epEfTrBtn6->isEnabled());

        // Question 1 (key A) right; its explanation, a note and its exam points; then on to question 2.
        clickNamed(w, "fcBG_oneA");
        w.epEfTrBtn3->click();
        QVERIFY(w.epEfTrBtn4->isEnabled() && w.epEfTrBtn9->isEnabled());
        QString explanation;
        onNextDialog([&](QDialog &d) {
            if (auto *jx = qobject_cast<TFrmJx *>(&d))
                explanation = jx->Re->toPlainText();
        });
        w.epEfTrBtn4->click();
        QCOMPARE(explanation, QString("解析 100101110001"));
        onNextDialog([](QDialog &d) {
            if (auto *notes = qobject_cast<TFrmBj *>(&d))
                notes->DBMemo1->setPlainText("先办施工许可");
        });
        w.epEfTrBtn5->click();
        QCOMPARE(w.epEfTrBtn5->text(), QString("有内容"));
        QCOMPARE(answerOf("100101110001", "A14"), QString("先办施工许可"));
        int linkedPoints = 0;
        onNextDialog([&](QDialog &d) {
            if (auto *points = qobject_cast<TfrmAnswFagui *>(&d))
                linkedPoints = points->ListBox1->count();
        });
        w.epEfTrBtn9->click();
        QCOMPARE(linkedPoints, 2);
        w.epEfTrBtn2->click();
        QCOMPARE(w.currentRecord(), 2);
        QCOMPARE(w.fcBG_th->button(0)->upGlyph().toImage(), QPixmap(AppDir + "pic/vaskyes.bmp").toImage());

        // Question 2 (key C): B typed while a command button has the focus, then changed to C and submitted.
        w.epEfTrBtn3->setFocus();
        QTest::keyClick(w.epEfTrBtn3, Qt::Key_B);
        QVERIFY(w.Notebook1->findChild<QAbstractButton *>("fcBG_oneB")->isChecked());
        w.epEfTrBtn3->click();
        QCOMPARE(answerOf("100101110002", "E4"), QString("-3"));
        clickNamed(w, "fcBG_oneC");
        w.epEfTrBtn3->click();
        QCOMPARE(answerOf("100101110002", "E3"), QString("2"));
        QVERIFY(w.epEfTrBtn6->isEnabled() && w.epEfTrBtn4->isEnabled());
        w.epEfTrBtn6->click();
        QCOMPARE(w.epEfTrBtn6->text(), QString("返回"));
        QCOMPARE(w.Panel2->width(), w.Panel1->width());
        QCOMPARE(w.Lb_answtip->text(), QString("恭喜你，做对了！"));
        QCOMPARE(w.Memo2->toPlainText(), QString("C"));
        w.epEfTrBtn6->click();
        QCOMPARE(w.Panel2->width(), 0);

        // The multiple-choice question answered wrongly, marked when the type list goes back to 任意.
        w.fcBG_tx->entry(2)->click();
        QCOMPARE(w.Lb_ts->text(), QString("1"));
        QCOMPARE(w.Notebook1->currentIndex(), 1);
        clickNamed(w, "fcBG_manyA");
        QTest::keyClick(&w, Qt::Key_B);
        w.fcBG_tx->entry(0)->click();
        QCOMPARE(answerOf("100101140001", "E2"), QString("AB"));
        QCOMPARE(w.currentRecord(), 1);
        QVERIFY(w.Notebook1->findChild<QAbstractButton *>("fcBG_oneA")->isChecked()); // the run's answer restored

        // Across the group boundary, submit without an answer, void, and back with Backspace.
        w.fcBG_th->button(19)->click();
        QCOMPARE(w.currentRecord(), 20);
        w.epEfTrBtn2->click();
        QCOMPARE(w.Lb_zb->text(), QString("2"));
        QCOMPARE(w.currentRecord(), 21);
        QCOMPARE(w.Label12->text(), QString("1"));
        QVERIFY(!w.FlatSpeedButton2->isEnabled() && w.FlatSpeedButton1->isEnabled());
        QVERIFY(w.fcBG_th->button(2)->isEnabled() && !w.fcBG_th->button(3)->isEnabled());
        MessageRecorder::queueAnswer(1);
        w.epEfTrBtn3->click();
        QCOMPARE(lastMessage(), QString("请先做出答案！"));
        w.epEfTrBtn10->click();
        QCOMPARE(w.Label21->text(), QString("本题已被您作废！"));
        QCOMPARE(w.epEfTrBtn10->text(), QString("取消作废"));
        QTest::keyClick(&w, Qt::Key_Backspace);
        QCOMPARE(w.Lb_zb->text(), QString("1"));
        QCOMPARE(w.currentRecord(), 1);
    }

private slots:
    void init()
    {
        openFreshBank();
        installGlyphs();
        MessageRecorder::clear();
        PracticeSubject = 1;
        ScreenClass = QStringLiteral("1024");
        TypeCodes.clear();
        TypeTimes.clear();
    }
    void cleanup() { closeBank(); }

    // Clicking the pressed option releases it. Leaving the question then clears
    // the run's answer; the attempt made before stays counted, and a new
    // answer counts as a changed one.
    void aPressedOptionIsReleasedByClickingIt()
    {
        TFrmkmmc selector;
        selector.show();
        selectChapter(selector, "100101");
        whilePractising([&] { selector.SpeedButton1->click(); }, [&](TFrmLxxt &w) {
            auto *a = w.Notebook1->findChild<QAbstractButton *>("fcBG_oneA");
            auto *b = w.Notebook1->findChild<QAbstractButton *>("fcBG_oneB");
            a->click();
            w.epEfTrBtn3->click();
            QCOMPARE(answerOf("100101110001", "E3"), QString("1"));
            a->click();
            QVERIFY(!a->isChecked() && !b->isChecked());
            QCOMPARE(w.Notebook1->answer(), QString());
            w.epEfTrBtn2->click();
            QCOMPARE(answerOf("100101110001", "E2_1"), QString());
            QCOMPARE(answerOf("100101110001", "E2") + answerOf("100101110001", "E3"), QString("A1"));
            w.epEfTrBtn1->click();
            QCOMPARE(w.currentRecord(), 1);
            QVERIFY(!a->isChecked());
            b->click();
            a->click(); // another option moves the press
            QVERIFY(a->isChecked() && !b->isChecked());
            w.epEfTrBtn3->click();
            QCOMPARE(answerOf("100101110001", "E2_1") + answerOf("100101110001", "E3"), QString("A2"));
        });
        QCOMPARE(db("select D1 from tab_kmmc where C1 = '100101'").toInt(), 2);
    }

    void aPracticeRunCountsEveryAnswer()
    {
        addSingleChoiceQuestions();
        TFrmkmmc selector;
        selector.show();
        QVERIFY(SelectorOpen);
        QCOMPARE(selector.Lb_fs->text(), QString("分数"));

        selectChapter(selector, "10");
        MessageRecorder::queueAnswer(1);
        selector.SpeedButton1->click();
        QCOMPARE(lastMessage(), QString("请选择具体章节目录！"));

        selectChapter(selector, "100101");
        MessageRecorder::queueAnswer(1);
        selector.SpeedButton2->click();
        QCOMPARE(lastMessage(), QString("本章节下没有错题！"));

        whilePractising([&] { selector.SpeedButton1->click(); }, [&](TFrmLxxt &w) { answerAndMove(w, selector); });
        QVERIFY(selector.isVisible());
        QCOMPARE(selector.LastChapterCode, QString("100101"));
        QCOMPARE(DataModule->Cn1Table_kmmc.fieldByName("C1").asString(), QString("100101"));
        QCOMPARE(selector.epNum_ok->text(), QString("4"));
        QCOMPARE(selector.epNum_Err->text(), QString("2"));
        QCOMPARE(selector.Lb_fs->text(), QString("50.00"));

        QCOMPARE(answerOf("100101110001", "E2") + answerOf("100101110001", "E3") + answerOf("100101110001", "E4"),
                 QString("A10"));
        QCOMPARE(answerOf("100101110002", "E2") + "/" + answerOf("100101110002", "E4"), QString("C/-2"));
        QCOMPARE(answerOf("100101140001", "E4"), QString("-3"));
        QCOMPARE(answerOf("100101110001", "E1"), QString("2026-12-08"));
        QCOMPARE(answerOf("100101110021", "F1") + answerOf("100101110021", "E2"), QString("1zero"));
        for (const char *chapter : {"100101", "1001", "10", "1"})
            QCOMPARE(db(QStringLiteral("select C4||'/'||D1||'/'||D2 from tab_kmmc where C1='%1'").arg(chapter)).toString(),
                     QString("3/4/2"));
        QCOMPARE(db("select C6 from tab_kmmc where C1='100101'").toString(), QString("50.00"));
        QCOMPARE(db("select A2||'/'||A3||'/'||B1||'/'||B2||'/'||A4 from tab_rz where A1='2026-12-08'").toString(),
                 QString("4/2/3/1/50.00"));
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$")
                    .match(db("select D1 from tab_rz where A1='2026-12-08'").toString())
                    .hasMatch());
        QCOMPARE(db("select group_concat(q1||q2||q4) from tab_rule").toString(), QString("110,110"));
        QCOMPARE(db("select group_concat(id||':'||q1||q2||q4) from tab_fgmc order by id").toString(),
                 QString("01:110,010001:110,010002:110"));
    }

    void theSelectorFollowsTheChapter()
    {
        bank->exec("insert into tab_kmmc (bh,C1,C1_1,C2) values (20,'3','科目三提示','建设工程技术与计量')");
        PracticeSubject = 3;
        {
            TFrmkmmc subjectThree;
            subjectThree.show();
            QCOMPARE(dm->Cn1Table_kmmc.fieldByName("C1").asString(), QString("3"));
            QCOMPARE(subjectThree.DBGrid1->currentIndex().row(), dm->Cn1Table_kmmc.recNo() - 1);
            subjectThree.SpeedButton6->click();
        }
        PracticeSubject = 1;

        TFrmkmmc selector;
        selector.show();
        selectChapter(selector, "1001");
        QVERIFY(selector.epEfButton4->isEnabled());
        QString guidance;
        onNextDialog([&](QDialog &d) {
            if (auto *jx = qobject_cast<TFrmJx *>(&d))
                guidance = jx->Re->toPlainText();
        });
        selector.epEfButton4->click();
        QCOMPARE(guidance, QString("本章导学"));

        selectChapter(selector, "100102");
        QVERIFY(!selector.epEfButton4->isEnabled());
        MessageRecorder::queueAnswer(1);
        selector.SpeedButton3->click();
        QCOMPARE(lastMessage(), QString("本章节习题还未曾做过！"));

        QString caption;
        whilePractising([&] { emit selector.DBGrid1->doubleClicked(selector.DBGrid1->currentIndex()); },
                        [&](TFrmLxxt &w) {
                            caption = w.windowTitle();
                            QCOMPARE(w.Lb_ts->text(), QString("1"));
                        });
        QCOMPARE(caption, QString("练习新题"));
        QCOMPARE(selector.LastChapterCode, QString("100102"));
        selector.SpeedButton6->click();
        QVERIFY(!SelectorOpen);
        QVERIFY(!dm->Cn1Table_kmmc.isOpen());
    }

    // A run of one single-choice question whose answer time is up in a tenth of a second.
    static void runOneQuestionAgainstTheClock()
    {
        TypeCodes = {11};
        TypeTimes = {1};
        PracticeSql = QStringLiteral("select * from tab_answ where A1 = '100101110001'");
        MessageRecorder::queueAnswer(1);
    }

    void theGaugeRunsOutAndMarksTheQuestion()
    {
        runOneQuestionAgainstTheClock();
        TFrmLxxt window;
        QVERIFY(window.PrepareSession());
        window.show();
        QTRY_COMPARE(lastMessage(), QString("到时间了"));
        QCOMPARE(window.epIndiGauge1->value(), 100);
        QCOMPARE(answerOf("100101110001", "csbs"), QString("Y"));
        window.epEfTrBtn99->click();
    }

    void timeRunsOutWhileTheNoteIsOpen()
    {
        runOneQuestionAgainstTheClock();
        TFrmLxxt window;
        QVERIFY(window.PrepareSession());
        window.show();
        bool noted = false;
        QTimer::singleShot(0, [&] {
            auto *notes = qobject_cast<TFrmBj *>(QApplication::activeModalWidget());
            if (!notes)
                return;
            QTRY_COMPARE(lastMessage(), QString("到时间了"));
            notes->DBMemo1->setPlainText("先看定义");
            notes->epEfTrBtn1->click();
            noted = true;
        });
        window.epEfTrBtn5->click();
        QVERIFY(noted);
        QCOMPARE(MessageRecorder::shown().size(), 1); // no error on top of the notice
        QCOMPARE(answerOf("100101110001", "csbs") + answerOf("100101110001", "A14"), QString("Y先看定义"));
        window.epEfTrBtn99->click();
    }

    void trueFalseAndSubjectiveQuestionsCanBeAnsweredRight()
    {
        bank->addQuestion("100102410001", "100102", 41, "B", {}, 2);
        bank->addQuestion("100102720001", "100102", 72, "1", {}, 0);
        PracticeSql = practiceSql(practice::PracticeMode::NewQuestions, "100102");
        TFrmLxxt window;
        QVERIFY(window.PrepareSession());
        window.show();
        QCOMPARE(window.Notebook1->currentIndex(), 0);
        QTest::keyClick(&window, Qt::Key_Return); // 下一题
        QCOMPARE(window.currentRecord(), 2);
        QCOMPARE(window.Notebook1->currentIndex(), 3);
        QTest::keyClick(&window, Qt::Key_Backspace); // the true/false page takes no keys
        QCOMPARE(window.currentRecord(), 2);
        clickNamed(window, "fcBG_yn错");
        window.epEfTrBtn2->click();
        QCOMPARE(window.Notebook1->currentIndex(), 4);
        window.Notebook1->FlatComboBox1->setCurrentIndex(1);
        window.epEfTrBtn3->click();
        QVERIFY(!window.epEfTrBtn6->isEnabled()); // no key display for subjective types
        QCOMPARE(answerOf("100102410001", "E2") + answerOf("100102410001", "E4"), QString("B0"));
        QCOMPARE(answerOf("100102720001", "E2") + answerOf("100102720001", "E4"), QString("10"));

        QString settingsWindow;
        onNextDialog([&](QDialog &d) { settingsWindow = d.metaObject()->className(); });
        window.epEfTrBtn8->click();
        QCOMPARE(settingsWindow, QString("TFrmConfig"));
        QCOMPARE(SettingsVariant, 0);
        window.epEfTrBtn7->click();
        QVERIFY(window.isMinimized());
        window.showNormal();
        window.epEfTrBtn99->click();
    }

    void aLargeChapterStaysQuick()
    {
        bank->exec("with recursive n(i) as (select 0 union all select i + 1 from n where i < 1999) "
                   "insert into tab_answ (A1,A2,A2_1,K3,A10,A13,A14,E2,E2_1,E3,E4,F1,xx,csbs,ecount) "
                   "select printf('L%05d', i),'A',4,'0100010001','100201',11,'','','',0,0,0,0,'',0 from n");
        PracticeSql = practiceSql(practice::PracticeMode::NewQuestions, "1002");
        QElapsedTimer clock;
        clock.start();
        TFrmLxxt window;
        QVERIFY(window.PrepareSession());
        window.show();
        QCOMPARE(window.Lb_ts->text(), QString("2001"));
        for (int i = 0; i < 40; ++i) {
            clickNamed(window, "fcBG_oneA");
            window.epEfTrBtn2->click();
        }
        window.FlatSpeedButton2->click();
        window.epEfTrBtn99->click();
        QCOMPARE(db("select count(*) from tab_answ where E2_1 = 'A'").toInt(), 40);
        // Far below what a learner would notice; the bound leaves room for a busy machine.
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    void compactLayoutsFitTheirWindows()
    {
        ScreenClass = QStringLiteral("800");
        TFrmkmmc selector;
        selector.show();
        QCOMPARE(selector.size(), QSize(761, 480));
        QCOMPARE(selector.DBGrid1->geometry(), QRect(25, 136, 596, 176));
        selector.hide();

        PracticeSql = QStringLiteral("select * from tab_answ");
        TFrmLxxt window;
        QVERIFY(window.PrepareSession());
        window.show();
        QCOMPARE(window.size(), QSize(780, 490));
        for (QWidget *child : window.findChildren<QWidget *>())
            if (child->parentWidget() == &window && child->isVisible())
                QVERIFY2(window.rect().contains(child->geometry()), qPrintable(child->objectName()));
        window.epEfTrBtn99->click();
    }
};

QTEST_MAIN(TestPracticeWindows)
#include "test_practice_windows.moc"
