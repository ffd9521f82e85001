#include "BankCheck.h"
#include "Clock.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "Globals.h"
#include "GlyphButton.h"
#include "MessageRecorder.h"
#include "MockExam.h"
#include "NumberBoard.h"
#include "PointCatalogue.h"
#include "RichEditor.h"
#include "TFrmExam.h"
#include "TFrmInPut.h"
#include "TFrmLxxt.h"
#include "TFrmRuleLxxt.h"
#include "TFrmSelectFG.h"
#include "TFrmkmmc.h"
#include "TfrmTedit.h"
#include "WindowDriver.h"
#include "UpgradeMerge.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <functional>
#include <memory>

// One ordinary day on the demo bank through the windows a learner uses:
// question entry, chapter practice with a changed answer and an edit, a
// marked mock exam, exam-point practice, an upgrade. Afterwards the bank
// tool's check finds nothing wrong, and the figures a learner sees for a
// section count each question once.
class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;

    int count(const QString &sql) { return dm->ADOCn1.scalar(sql).toInt(); }
    QString text(const QString &sql) { return dm->ADOCn1.scalar(sql).toString(); }

    static void selectChapter(TFrmkmmc &selector, const QString &code)
    {
        QVERIFY(DataModule->Cn1Table_kmmc.locate(QStringLiteral("C1"), code));
        selector.DBGrid1->setCurrentIndex(selector.DBGrid1->model()->index(DataModule->Cn1Table_kmmc.recNo() - 1, 0));
    }

    static void press(QWidget &window, const QString &option)
    {
        auto *button = window.findChild<QAbstractButton *>(option);
        QVERIFY2(button, qPrintable(option));
        button->click();
    }

    // Two questions of the learner: one linking two points of one item, one linking a point of another law.
    void enterTwoQuestions(TFrmkmmc &selector)
    {
        onModal<TFrmInPut>([](TFrmInPut &w) {
            w.Re1->setPlainText("施工许可证由谁申领？");
            w.Edit1->setText("A");
            pickPoints(w.BtnAddFg, "第二章 建筑许可", {"0100020001", "0100020002"});
            QCOMPARE(w.ListBox2->count(), 2);
            w.SpeedButton4->click();
            w.Re1->setPlainText("注册造价工程师享有哪项权利？");
            w.Edit1->setText("B");
            pickPoints(w.BtnAddFg, "第三章 执业", {"1200030002"});
            w.SpeedButton4->click();
            QCOMPARE(w.EnteredCount, 2);
            w.SpeedButton7->click();
        });
        selector.SpeedButton5->click();
    }

    // Question 1 answered A, then changed to B; then edited to link one more point of its item.
    void practiseAndEdit(TFrmkmmc &selector)
    {
        onModal<TFrmLxxt>([this](TFrmLxxt &w) {
            const QString id = DataModule->Cn1Query_tm.fieldByName("A1").asString();
            press(w, "fcBG_oneA");
            w.epEfTrBtn3->click();
            press(w, "fcBG_oneB");
            w.epEfTrBtn3->click();
            QCOMPARE(count("select E3 from tab_answ where A1 = '" + id + "'"), 2);
            onModal<TfrmTedit>([](TfrmTedit &e) {
                pickPoints(e.BtnAddFg, "第二章 建筑许可", {"0100020003"});
                e.SpeedButton4->click();
            });
            w.epEfTrBtn11->click();
            QVERIFY(text("select K3 || K4 || K5 || K6 from tab_answ where A1 = '" + id + "'").contains("0100020003"));
            w.epEfTrBtn2->click();
            press(w, "fcBG_oneC");
            w.epEfTrBtn99->click();
        });
        selector.SpeedButton1->click();
    }

    void sitAMarkedMockExam()
    {
        bool marked = false;
        onModal<TFrmExam>([&](TFrmExam &w) {
            for (int i = 0; i < 12; ++i) {
                QTest::keyClick(&w, i % 3 ? Qt::Key_A : Qt::Key_B);
                QTest::keyClick(&w, Qt::Key_Return);
            }
            MessageRecorder::queueAnswer(1);
            w.epEfTrBtn3->click();
            marked = w.mode() == QLatin1String("old");
            w.epEfTrBtn7->click();
        });
        mnks(1);
        QVERIFY(marked);
    }

    // Every question of point 1200030002: the learner's own and a delivered one
    // that links 1200030004 of the same item as well.
    void practiseAPoint()
    {
        PracticeSql = laws::pointPracticeSql("1200030002");
        TFrmRuleLxxt window;
        QVERIFY(window.PrepareSession());
        QTimer::singleShot(0, [&window] {
            for (int i = 0; i < window.pager().size(); ++i) {
                window.fcBG_th->button(i)->click();
                QTest::keyClick(&window, Qt::Key_A); // single or multiple choice alike
            }
            window.findChild<QAbstractButton *>("epEfTrBtn7")->click();
        });
        window.exec();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(openFreshDemo(demo, dm));
        const QDir pictures(QStringLiteral(QUILLET_PIC_DIR));
        QDir(demo->folder()).mkpath("pic");
        for (const QString &file : pictures.entryList({"*.bmp"}))
            QVERIFY(QFile::copy(pictures.filePath(file), demo->folder() + "/pic/" + file));
        ScreenClass = QStringLiteral("1024");
        PracticeSubject = 1;
        CurrentSubject = 1;
        MessageRecorder::clear();
    }
    void cleanupTestCase() { dm.reset(); }

    void anOrdinaryDayLeavesNoViolation()
    {
        {
            TFrmkmmc selector;
            selector.show();
            selectChapter(selector, "100101");
            enterTwoQuestions(selector);
            QCOMPARE(count("select count(*) from tab_answ where F1 = 2"), 2);
            practiseAndEdit(selector);
        }
        sitAMarkedMockExam();
        const QString links0002 = "'1200030002' in (K3, K4, K5, K6)";
        const QString linksBoth = links0002 + " and '1200030004' in (K3, K4, K5, K6)";
        QVERIFY(count("select count(*) from tab_answ where " + linksBoth) >= 1);
        const auto attempts = [this](const QString &where) {
            return count("select ifnull(sum(E3), 0) from tab_answ where " + where);
        };
        const int attemptsBefore = attempts(links0002);
        const int bothBefore = attempts(linksBoth);
        const int itemBefore = count("select q2 from tab_fgmc where id = '120003'");
        const int pointBefore = count("select q2 from tab_rule where ftid = '1200030004'");
        practiseAPoint();
        const int counted = attempts(links0002) - attemptsBefore;
        QVERIFY(counted >= 2);
        // Each answer once on its item, however many of the item's points the question links.
        QCOMPARE(count("select q2 from tab_fgmc where id = '120003'"), itemBefore + counted);
        QCOMPARE(count("select q2 from tab_rule where ftid = '1200030002'"), attempts(links0002));
        QCOMPARE(count("select q2 from tab_rule where ftid = '1200030004'"),
                 pointBefore + attempts(linksBoth) - bothBefore);

        QString reason;
        QCOMPARE(upgrade::applyUpgrade(dm->ADOCn1, dm->ADOCn2, demo->upgradeFile(), demo->backupFolder(), &reason),
                 upgrade::UpgradeResult::Applied);
        // The upgrade's question linking 0100019901 and 0100010001 counts once in item 010001.
        QCOMPARE(count("select q from tab_fgmc where id = '010001'"),
                 count("select count(*) from tab_answ where substr(K3, 1, 6) = '010001' or "
                       "substr(K4, 1, 6) = '010001' or substr(K5, 1, 6) = '010001' or substr(K6, 1, 6) = '010001'"));

        dm.reset();
        const bank::CheckReport report = bank::checkBank(demo->bankFile());
        QVERIFY2(report.violations.isEmpty(), qPrintable(report.violations.join('\n')));
    }
};

QTEST_MAIN(TestSession)
#include "test_session.moc"
