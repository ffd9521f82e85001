#include "Clock.h"
#include "DataModule.h"
#include "FixtureBank.h"
#include "Globals.h"
#include "Look.h"
#include "MainMenu.h"
#include "MemoryStates.h"
#include "MessageRecorder.h"
#include "ReviewRun.h"
#include "ReviewSettings.h"
#include "Screens.h"
#include "Startup.h"
#include "TFrmConfig.h"
#include "TFrmReport.h"
#include "TFrmStart.h"
#include "Tfrmchart.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include "NextModal.h"

#include <QtTest>

using namespace store::review;

namespace {

void click(QWidget *window, const char *name)
{
    auto *button = window->findChild<QAbstractButton *>(QString::fromUtf8(name));
    QVERIFY2(button, name);
    button->click();
}

} // namespace

// The review card, today's review run, the quit check, the learner report and
// the review target, driven through the program's own windows on the fixture bank.
class TestReviewWindows : public QObject {
    Q_OBJECT

    std::unique_ptr<FixtureBank> bank;
    Session session;

    QVariant db(const QString &sql) { return DataModule->ADOCn1.scalar(sql); }

    // A state answered `daysAgo` days before noon today.
    static void putState(const QString &id, double stability, double daysAgo, bool lastCorrect)
    {
        MemoryState s;
        s.stability = stability;
        s.difficulty = 5;
        s.lastReview = dayNumber(store::today()) + 0.5 - daysAgo;
        s.reviews = 2;
        s.lastCorrect = lastCorrect;
        saveState(DataModule->ADOCn1, id, s, 0.25);
    }

    QString cardText(const char *name)
    {
        return session.mainWindow->ShockwaveFlash1->findChild<QLabel *>(QString::fromUtf8(name))->text();
    }

private slots:
    void initTestCase() { ui::applyLook(*qApp); }

    void init()
    {
        MessageRecorder::clear();
        bank = std::make_unique<FixtureBank>();
        QVERIFY(bank->installPictures(QStringLiteral(QUILLET_PIC_DIR)));
        store::setToday(QDate(2026, 12, 8));
        session = StartQuillet(bank->folder());
        QVERIFY(session.running());
        putState("100102110001", 2, 10, true); // long overdue
        putState("100101110001", 2, 6, false); // wrong last time
        putState("100201110001", 40, 2, true); // not due
        session.mainWindow->show();
        session.mainWindow->FormShow();
    }
    void cleanup() { session = {}; }

    void theCardCountsTheReviewAndRunsIt()
    {
        QCOMPARE(cardText("reviewDue"), QString("待复习 2 题"));
        QCOMPARE(cardText("reviewExam"), QString("距离考试还有 144 天"));
        SaveScreen(*session.mainWindow, "menu-review-card");

        QStringList order;
        onNextModal([&](QWidget *modal) {
            auto *run = qobject_cast<TFrmReview *>(modal);
            QVERIFY(run);
            QCOMPARE(run->windowTitle(), QString("今日复习"));
            QCOMPARE(run->Lb_ts->text(), QString("2"));
            QVERIFY(run->epLabel2->text().startsWith("今日复习：2 道题"));
            order << DataModule->Cn1Query_tm.fieldByName("A1").asString();
            DataModule->Cn1Query_tm.setRecNo(2);
            order << DataModule->Cn1Query_tm.fieldByName("A1").asString();
            click(run, "fcBG_oneA");
            run->epEfTrBtn3->click();
            SaveScreen(*run, "review-run");
            run->epEfTrBtn99->click();
        });
        session.mainWindow->ShockwaveFlash1FSCommand("jrfx", QString());
        // Wrong last time first, though the other is closer to forgotten.
        QCOMPARE(order, QStringList({"100101110001", "100102110001"}));
        QCOMPARE(db("select question || ' ' || answer || ' ' || correct || ' ' || place || ' ' || (seconds >= 0)"
                    " from ql_answer_history")
                     .toString(),
                 QString("100101110001 A 1 review 1"));
        QCOMPARE(db("select E3 from tab_answ where A1 = '100101110001'").toInt(), 1); // counted like practice
        QCOMPARE(cardText("reviewDue"), QString("待复习 1 题"));
        QVERIFY(MessageRecorder::shown().isEmpty());
    }

    void nothingDueSaysSo()
    {
        DataModule->ADOCn1.execute("delete from ql_memory");
        session.mainWindow->FormShow();
        QCOMPARE(cardText("reviewDue"), QString("今天的复习已完成"));
        MessageRecorder::queueAnswer(1);
        session.mainWindow->ShockwaveFlash1FSCommand("jrfx", QString());
        QCOMPARE(captionsAndTexts(), QStringList({"提示|今天没有需要复习的题目！"}));
    }

    void quittingAsksAboutAnUnfinishedReview()
    {
        // The plan counts minutes and none are planned: met, but two questions are due.
        DataModule->ADOCn1.execute("update tab_plan set PlanMark = 1, PlanTime = 0");
        DataModule->Cn1Table_plan.close();
        MessageRecorder::queueAnswer(QMessageBox::Cancel);
        session.mainWindow->ShockwaveFlash1FSCommand("quit", QString());
        QCOMPARE(captionsAndTexts(), QStringList({"提示|今日复习还有 2 道题没做，要退出吗？"}));
        QVERIFY(session.mainWindow->isVisible());

        MessageRecorder::clear();
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        session.mainWindow->ShockwaveFlash1FSCommand("quit", QString());
        QCOMPARE(captionsAndTexts(),
                 QStringList({"提示|今日复习还有 2 道题没做，要退出吗？", "提示|恭喜完成今日学习计划！"}));
        QVERIFY(!session.mainWindow->isVisible());
    }

    void theReportShowsTheFiguresAndPractisesAWeakChapter()
    {
        QString practised;
        int asked = 0;
        onNextModal([&](QWidget *modal) {
            auto *report = qobject_cast<TFrmReport *>(modal);
            QVERIFY(report);
            const Report &r = report->report();
            QCOMPARE(report->SubjectTable->rowCount(), 5);
            QCOMPARE(report->SubjectTable->item(0, 2)->text(), QString::number(r.subjects[0].score, 'f', 1));
            QCOMPARE(report->SubjectTable->item(0, 1)->text(), QString("100.0"));
            QCOMPARE(report->ChapterTable->rowCount(), int(r.chapters.size()));
            QCOMPARE(report->ChapterTable->item(0, 0)->text(), r.chapters[0].code + " " + r.chapters[0].name);
            QVERIFY(report->HonestyLabel->text().contains("还没有作答记录"));
            QVERIFY(report->ModelLabel->text().contains("默认参数"));
            QCOMPARE(db("select count(*) from ql_prediction where day = '2026-12-08'").toInt(), 5);
            for (int page = 0; page < 3; ++page) {
                report->ReportTabs->setCurrentIndex(page);
                SaveScreen(*report, QString("report-%1").arg(page + 1));
            }
            report->ReportTabs->setCurrentIndex(1);
            const QStringList expected = r.chapters[0].questions;
            onNextModal([&, expected](QWidget *inner) {
                auto *run = qobject_cast<TFrmReview *>(inner);
                QVERIFY(run);
                practised = run->windowTitle();
                asked = run->Lb_ts->text().toInt();
                QCOMPARE(DataModule->Cn1Query_tm.fieldByName("A1").asString(), expected.first());
                run->epEfTrBtn99->click();
            });
            click(report, "PractiseChapter1");
            QVERIFY(report->isVisible()); // back after the run
            report->CloseButton->click();
        });
        session.mainWindow->ShockwaveFlash1FSCommand("xxbg", QString());
        QCOMPARE(practised, QString("薄弱章节练习"));
        QVERIFY(asked > 0);
        QVERIFY(!QApplication::overrideCursor());
    }

    void theChartOpensTheReport()
    {
        Tfrmchart chart;
        chart.show();
        QString opened;
        onNextModal([&](QWidget *modal) {
            opened = modal->objectName();
            static_cast<QDialog *>(modal)->done(0);
        });
        chart.ReportButton->click();
        QCOMPARE(opened, QString("FrmReport"));
    }

    void theTargetIsSetWithTheAnswerTimes()
    {
        onNextModal([&](QWidget *modal) {
            auto *config = qobject_cast<TFrmConfig *>(modal);
            QVERIFY(config);
            QVERIFY(config->ReviewTarget->isVisible());
            QCOMPARE(config->ReviewTarget->value(), 90);
            QCOMPARE(config->ReviewTarget->minimum(), 70);
            QCOMPARE(config->ReviewTarget->maximum(), 97);
            config->ReviewTarget->setValue(80);
            SaveScreen(*config, "settings-times-target");
            config->epFocusButton3->click();
        });
        session.mainWindow->ShockwaveFlash1FSCommand("sztime", QString());
        QCOMPARE(targetRetention(DataModule->ADOCn1), 0.80);
        // A lower target lets the wrong-last-time question wait longer: only one is due now.
        session.mainWindow->FormShow();
        QCOMPARE(cardText("reviewDue"), QString("待复习 1 题"));
    }
};

QTEST_MAIN(TestReviewWindows)
#include "test_review_windows.moc"
