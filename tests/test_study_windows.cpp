#include "BankTestCase.h"
#include "Clock.h"
#include "DailyPlan.h"
#include "Globals.h"
#include "Look.h"
#include "MessageRecorder.h"
#include "PlanLogic.h"
#include "Screens.h"
#include "StudyHistory.h"
#include "TFrmRz.h"
#include "TFrmplan.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

using namespace study;

// Drives the study plan and the study log on a fixture bank as a learner would.
class TestStudyWindows : public BankTestCase {
    Q_OBJECT

    const QDate today{2026, 12, 8};

    QString planField(const char *field) { return db(QStringLiteral("select %1 from tab_plan").arg(field)).toString(); }

    static QStringList messages()
    {
        QStringList texts;
        for (const MessageRecord &r : MessageRecorder::shown())
            texts << r.caption + QLatin1Char('|') + r.text;
        return texts;
    }

    // Sets the exam day in the window and saves it.
    static void saveExamDay(TFrmplan &w, const QDate &day)
    {
        QVERIFY(!w.editing());
        w.SpeedButton1->click();
        QVERIFY(w.editing() && w.DateEdit1->isEnabled());
        w.DateEdit1->setDate(day);
        w.SpeedButton1->click();
        QVERIFY(!w.editing());
    }

private slots:
    void initTestCase() { ui::applyLook(*qApp); }

    void init()
    {
        openFreshBank();
        MessageRecorder::clear();
        ScreenClass = QStringLiteral("1024");
    }
    void cleanup() { closeBank(); }

    void countdownTextsAndColours()
    {
        QCOMPARE(CountdownFor(7).colour, QColor(255, 0, 0));
        QCOMPARE(CountdownFor(8).colour, QColor(100, 203, 37)); // 2476900 read as blue·green·red
        QCOMPARE(CountdownFor(1500).number, QString("999"));
        QCOMPARE(CountdownFor(999).number, QString("999"));
        QCOMPARE(CountdownFor(1000).number, QString("999"));
        QCOMPARE(CountdownFor(0).headline, QString("祝考试成功！"));
        QVERIFY(!CountdownFor(0).numberShown);
        QCOMPARE(CountdownFor(-1).headline, QString("考试已结束！"));
        QVERIFY(!CountdownFor(-1).numberShown);
        QCOMPARE(CountdownFor(1).headline, QString("距离考试还有"));
        // Calendar days, also across the change to summer time.
        QCOMPARE(DaysUntil(QDate(2027, 3, 20), QDate(2027, 4, 2)), 13);
        QCOMPARE(DaysUntil(QDate(2027, 1, 1), QDate(2026, 12, 31)), -1);
    }

    void storedDatesAndEntriesAreChecked()
    {
        QCOMPARE(ParseStoredDate("2027-05-01"), QDate(2027, 5, 1));
        QCOMPARE(ParseStoredDate("2027-05-01 00:00:00"), QDate(2027, 5, 1));
        QCOMPARE(ParseStoredDate("2027/5/1"), QDate(2027, 5, 1));
        QVERIFY(!ParseStoredDate("").isValid());
        QVERIFY(!ParseStoredDate("5/1/2027").isValid());
        QVERIFY(!ParseStoredDate("2027-02-30").isValid());

        const QDate day(2027, 5, 1);
        QVERIFY(CheckPlan({0, "50", "60", day}).problem.isEmpty());
        QVERIFY(!CheckPlan({0, "", "60", day}).problem.isEmpty());
        QVERIFY(!CheckPlan({0, "0", "60", day}).problem.isEmpty());
        QVERIFY(!CheckPlan({1, "50", "", day}).problem.isEmpty());
        QVERIFY(!CheckPlan({0, "50", "60", QDate()}).problem.isEmpty());
        const CheckedPlan minutesOnly = CheckPlan({1, "", "45", day});
        QVERIFY(minutesOnly.problem.isEmpty());
        QCOMPARE(minutesOnly.questions, 0);
        QCOMPARE(minutesOnly.minutes, 45);
    }

    void examDaySevenAheadIsRedAndEightGreen()
    {
        TFrmplan w;
        w.show();
        QCOMPARE(w.Label1->text(), QString::number(today.daysTo(QDate(2027, 5, 1))));
        QVERIFY(!w.DateEdit1->isEnabled() && !w.SeSkinRadioGroup1->isEnabled());
        QVERIFY(w.suiNumberEdit1->isEnabled() && w.suiNumberEdit2->isEnabled());
        SaveScreen(w, "plan");

        saveExamDay(w, today.addDays(7));
        QCOMPARE(w.Label1->text(), QString("7"));
        QVERIFY(w.Label1->isVisible() && w.epLabel2->isVisible());
        QVERIFY(w.Label1->styleSheet().contains("#ff0000"));
        QCOMPARE(planField("ExamDate"), QString("2026-12-15"));

        saveExamDay(w, today.addDays(8));
        QCOMPARE(w.Label1->text(), QString("8"));
        QVERIFY(w.Label1->styleSheet().contains("#64cb25"));
        QCOMPARE(w.epLabel1->text(), QString("距离考试还有"));
        QCOMPARE(planField("ExamDate"), QString("2026-12-16"));

        saveExamDay(w, today);
        QCOMPARE(w.epLabel1->text(), QString("祝考试成功！"));
        QVERIFY(!w.Label1->isVisible() && !w.epLabel2->isVisible());
        QVERIFY(messages().isEmpty());
    }

    void openingShowsTheStoredDay()
    {
        bank->exec("update tab_plan set ExamDate = '2026-12-07'");
        {
            TFrmplan w;
            w.show();
            QCOMPARE(w.epLabel1->text(), QString("考试已结束！"));
            QVERIFY(!w.Label1->isVisible());
            QCOMPARE(w.DateEdit1->date(), QDate(2026, 12, 7));
        }
        bank->exec("update tab_plan set ExamDate = '2031-01-15'");
        TFrmplan w;
        w.show();
        QCOMPARE(w.Label1->text(), QString("999"));
    }

    void planByMinutesIsSavedAndReadByTheQuitCheck()
    {
        TFrmplan w;
        w.show();
        w.SpeedButton1->click();
        w.planByMinutes->click();
        QVERIFY(w.suiNumberEdit2->isEnabled() && !w.suiNumberEdit1->isEnabled());
        w.suiNumberEdit2->setText("45");
        SaveScreen(w, "plan-editing");
        w.SpeedButton1->click();
        QVERIFY(!w.editing());
        QVERIFY(w.suiNumberEdit2->isEnabled());
        QCOMPARE(planField("PlanMark"), QString("1"));
        QCOMPARE(planField("PlanTime"), QString("45"));
        QCOMPARE(planField("PlanAmount"), QString("50"));
        w.done(0);

        QCOMPARE(TodayAgainstPlan(), PlanProgress::Behind);
        bank->exec("insert into tab_rz (A1, A2, D1) values ('2026-12-08', 3, '00:45:10')");
        dm->Cn1Table_rz.close();
        QCOMPARE(TodayAgainstPlan(), PlanProgress::Met);
    }

    void aPlanThatCannotBeSavedStaysInEditing()
    {
        TFrmplan w;
        w.show();
        w.SpeedButton1->click();
        w.suiNumberEdit1->clear();
        MessageRecorder::queueAnswer(1);
        w.SpeedButton1->click();
        QCOMPARE(messages(), QStringList({"提示|请输入每天的作题数量（1～999道）！"}));
        QVERIFY(w.editing() && w.DateEdit1->isEnabled());
        QCOMPARE(planField("PlanAmount"), QString("50"));

        // 设定 and then 关闭 saves nothing.
        w.suiNumberEdit1->setText("80");
        w.SpeedButton2->click();
        QCOMPARE(planField("PlanAmount"), QString("50"));
        QVERIFY(!dm->Cn1Table_plan.isOpen());
    }

    void aBankWithoutAPlanRowGetsOne()
    {
        bank->exec("delete from tab_plan");
        QCOMPARE(TodayAgainstPlan(), PlanProgress::NoPlan);
        dm->Cn1Table_plan.close();
        TFrmplan w;
        w.show();
        QCOMPARE(w.epLabel1->text(), QString("请设定考试日期"));
        QVERIFY(!w.Label1->isVisible());
        QCOMPARE(w.DateEdit1->date(), today);
        w.suiNumberEdit1->setText("30");
        saveExamDay(w, today.addDays(100));
        QCOMPARE(db("select count(*) from tab_plan").toInt(), 1);
        QCOMPARE(planField("PlanAmount"), QString("30"));
        QCOMPARE(planField("LeastMark"), QString("60"));
        QCOMPARE(w.Label1->text(), QString("100"));
    }

    void logListsNewestFirstWithTotals()
    {
        bank->exec("insert into tab_rz (A1,A2,A3,A4,B1,B2,D1) values ('2026-12-06',120,30,'75.00',90,20,'01:00:00')");
        bank->exec("insert into tab_rz (A1,A2,A3,A4,B1,B2,D1) values ('2026-12-08',80,20,'75.00',60,15,'00:40:00')");
        bank->exec("insert into tab_rz (A1,A2,A3,A4,B1,B2,D1) values ('2026-12-07',0,0,'0',0,0,'00:05:00')");
        TFrmRz w;
        w.show();
        QCOMPARE(w.epLabel2->text(), QString("200"));
        QCOMPARE(w.epLabel3->text(), QString("50"));
        QCOMPARE(w.epLabel4->text(), QString("75.00"));
        QAbstractItemModel *rows = w.DBGrid1->model();
        QCOMPARE(rows->rowCount(), 3);
        QCOMPARE(rows->index(0, 0).data().toString(), QString("2026-12-08"));
        QCOMPARE(rows->index(2, 0).data().toString(), QString("2026-12-06"));
        QCOMPARE(rows->headerData(3, Qt::Horizontal).toString(), QString("做过道次"));
        QCOMPARE(rows->index(0, 5).data().toString(), QString("00:40:00"));
        QCOMPARE(rows->index(0, 5).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(w.DBGrid1->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(w.DBGrid1->selectionBehavior(), QAbstractItemView::SelectRows);
        w.SpeedButton3->click();
        QVERIFY(!dm->Cn1Table_rz.isOpen());
    }

    void emptyLogShowsZeros()
    {
        TFrmRz w;
        w.show();
        QCOMPARE(w.epLabel2->text(), QString("0"));
        QCOMPARE(w.epLabel3->text(), QString("0"));
        QCOMPARE(w.epLabel4->text(), QString("0"));
        QCOMPARE(w.DBGrid1->model()->rowCount(), 0);
    }

    void logLayoutFollowsTheScreen()
    {
        dm->ADOCn1.open();
        WriteStudyHistory(dm->ADOCn1, today);
        for (const QString &screen : {QStringLiteral("800"), QStringLiteral("1024")}) {
            ScreenClass = screen;
            TFrmRz w;
            w.show();
            const bool compact = screen == QLatin1String("800");
            QCOMPARE(w.size(), compact ? QSize(761, 482) : QSize(934, 611));
            QCOMPARE(w.Image1->isVisible(), compact);
            QCOMPARE(w.Image2->isVisible(), !compact);
            QCOMPARE(w.DBGrid1->columnWidth(0), compact ? 198 : 252);
            QCOMPARE(w.DBGrid1->columnWidth(1), compact ? 60 : 80);
            QVERIFY(w.DBGrid1->geometry().right() < w.width());
            QVERIFY(w.SpeedButton2->geometry().left() >= w.width()); // out of sight
            QVERIFY(!w.SpeedButton2->isEnabled());
            // Every column fits without a sideways scroll.
            int columns = 0;
            for (int c = 0; c < w.DBGrid1->model()->columnCount(); ++c)
                columns += w.DBGrid1->columnWidth(c);
            QVERIFY(columns < w.DBGrid1->viewport()->width());
            SaveScreen(w, "log");
        }
    }
};

QTEST_MAIN(TestStudyWindows)
#include "test_study_windows.moc"
