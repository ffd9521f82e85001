#include "BankTestCase.h"
#include "DbRichView.h"
#include "Gauge.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "Screens.h"
#include "TFrmRuleLxxt.h"
#include "TfrmLawDetail.h"
#include "TfrmLawsFaGui.h"
#include "TitleStrip.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <functional>

// Drives the exam-point browser and exam-point practice by their control names.
class TestLawsWindows : public BankTestCase {
    Q_OBJECT

    void installGlyphs() { QVERIFY(bank->installPictures(QStringLiteral(QUILLET_PIC_DIR))); }

    // Section 010003 averages two questions per point; 第三条(一) is its key point. 010004 has no
    // questions at all, 010005 no points.
    void addSections()
    {
        for (const char *sql : {
                 "insert into tab_fgmc (id,n,bh,q) values ('010003','第三章 建筑工程发包与承包',4,6)",
                 "insert into tab_fgmc (id,n,bh) values ('010004','第八章 附则',5)",
                 "insert into tab_fgmc (id,n,bh) values ('010005','第七章 法律责任',6)",
                 "insert into tab_rule (id,ftid,sn,n,q) values ('010003','0100030001','第三条(一)  ','第二十四条 提倡总承包',3)",
                 "insert into tab_rule (id,ftid,sn,n,q) values ('010003','0100030002','罚则  ','第六十五条',0)",
                 "insert into tab_rule (id,ftid,sn,n,q) values ('010003','0100030003','第五条  ','第二十九条 分包',1)",
                 "insert into tab_rule (id,ftid,sn,n,q) values ('010004','0100040001','施行日期  ','第八十五条',0)",
             })
            bank->exec(QString::fromUtf8(sql));
        bank->addQuestion("100201110002", "100201", 11, "A", {"0100030001", "0100030003"});
        bank->addQuestion("100201110003", "100201", 11, "B", {"0100030001"});
        bank->addQuestion("US0000000001", "100201", 11, "C", {"0100030001"});
        bank->exec("update tab_answ set F1=2 where A1='US0000000001'");
    }

    static QString lastMessage()
    {
        const QList<MessageRecord> shown = MessageRecorder::shown();
        return shown.isEmpty() ? QString() : shown.last().text;
    }

    static QStringList entries(TfrmLawsFaGui &browser)
    {
        QStringList texts;
        auto *list = browser.findChild<QListWidget *>("m_LBmenu");
        for (int i = 0; list && i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }

    static QString noteOf(TfrmLawsFaGui &browser) { return browser.findChild<QLabel *>("m_pNote")->text(); }

    static void click(QWidget &window, const char *name)
    {
        auto *button = window.findChild<QAbstractButton *>(QString::fromUtf8(name));
        QVERIFY2(button, name);
        QVERIFY2(button->isEnabled(), name);
        button->click();
    }

    static void openSection(TfrmLawsFaGui &browser, const QString &name)
    {
        browser.findChild<QLineEdit *>("m_editFind")->setText(name);
        click(browser, "m_btnFind");
        click(browser, "m_btnSelect");
    }

    QString bankRow(const QString &sql) { return db(sql).toString(); }

    // Runs `drive` on the practice window that 练习 opens; `drive` closes it.
    static bool whilePractising(TfrmLawsFaGui &browser, const std::function<void(TFrmRuleLxxt &)> &drive)
    {
        bool driven = false;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<TFrmRuleLxxt *>(QApplication::activeModalWidget());
            if (!window)
                return;
            driven = true;
            drive(*window);
        });
        click(browser, "m_btnQuestion");
        return driven;
    }

    static QString currentKey() { return DataModule->Cn1Query_tm.fieldByName("A2").asString(); }
    static QString currentId() { return DataModule->Cn1Query_tm.fieldByName("A1").asString(); }

private slots:
    void init()
    {
        openFreshBank();
        installGlyphs();
        addSections();
        MessageRecorder::clear();
        ScreenClass = QStringLiteral("1024");
        TypeCodes.clear();
        TypeTimes.clear();
    }
    void cleanup() { closeBank(); }

    void browsingTheCatalogueAndItsSections()
    {
        TfrmLawsFaGui browser;
        browser.show();
        QCOMPARE(browser.size(), QSize(900, 599));
        auto *grid = browser.findChild<QTableWidget *>("m_grid");
        QCOMPARE(grid->rowCount(), 6);
        QCOMPARE(browser.rowIds(), QStringList({"01", "010001", "010002", "010003", "010004", "010005"}));
        QCOMPARE(grid->item(3, 1)->text(), QString("        6"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text(), QString(" 已做题数"));
        QCOMPARE(grid->horizontalHeader()->height(), 36);
        QCOMPARE(grid->rowHeight(0), 30);

        // Search: blank text finds nothing; the scan always starts at the first row.
        grid->setCurrentCell(2, 0);
        browser.findChild<QLineEdit *>("m_editFind")->setText("   ");
        click(browser, "m_btnFind");
        QCOMPARE(grid->currentRow(), 2);
        browser.findChild<QLineEdit *>("m_editFind")->setText("章");
        QTest::keyClick(browser.findChild<QLineEdit *>("m_editFind"), Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 1);
        click(browser, "m_btnFind");
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->toolTip(), QString("第一章 总则"));

        grid->setCurrentCell(0, 0);
        MessageRecorder::queueAnswer(1);
        click(browser, "m_btnSelect");
        QCOMPARE(lastMessage(), QString("请选择具体章节!"));
        QCOMPARE(MessageRecorder::shown().last().layout, 3);
        QVERIFY(!browser.inSectionMode());

        // A section without questions has no key points, and nothing to practise.
        openSection(browser, "附则");
        QCOMPARE(browser.m_Ltiltle->text(), QString("第八章 附则"));
        QCOMPARE(entries(browser), QStringList({"施行日期"}));
        QCOMPARE(noteOf(browser), QString("虽然针对该内容的习题没有，您仍要仔细阅读！"));
        QVERIFY(!browser.m_btnQuestion->isEnabled());
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        click(browser, "m_btnMost");
        QCOMPARE(lastMessage(), QString("此考点暂无重点内容！"));
        QCOMPARE(browser.m_btnMost->text(), QString("重点(&M)"));
        QCOMPARE(entries(browser), QStringList({"施行日期"}));
        click(browser, "m_btnBack");
        QCOMPARE(browser.m_Ltiltle->text(), QString("考 点 目 录"));
        QCOMPARE(grid->currentRow(), 4);
        QVERIFY(grid->isVisible() && !browser.m_btnBack->isVisible() && !browser.m_btnMost->isEnabled());

        MessageRecorder::queueAnswer(QMessageBox::Ok);
        openSection(browser, "法律责任");
        QCOMPARE(lastMessage(), QString("找不到考点!"));
        QVERIFY(browser.inSectionMode() && entries(browser).isEmpty());
        QVERIFY(!browser.m_btnQuestion->isEnabled());
        click(browser, "m_btnBack");

        // 重点 narrows to the points at or above the section's average, and back.
        openSection(browser, "发包与承包");
        QCOMPARE(browser.keyPointThreshold(), 2);
        QCOMPARE(entries(browser), QStringList({"第三条(一)(3)", "罚则", "第五条(1)"}));
        QCOMPARE(noteOf(browser), QString("相关题数：3题  已做题数：0题  已做道次：0次  做错道次：0次"));
        QVERIFY(browser.m_btnQuestion->isEnabled());
        auto *list = browser.findChild<QListWidget *>("m_LBmenu");
        list->setCurrentRow(1);
        QVERIFY(!browser.m_btnQuestion->isEnabled());
        list->setCurrentRow(2);
        QCOMPARE(browser.detail()->Re->toPlainText(), QString("第二十九条 分包"));
        click(browser, "m_btnMost");
        QCOMPARE(browser.m_btnMost->text(), QString("全部(&A)"));
        QCOMPARE(entries(browser), QStringList({"第三条(一)(3)"}));
        QCOMPARE(browser.detail()->Re->toPlainText(), QString("第二十四条 提倡总承包"));
        SaveScreen(browser, "laws-key-points");
        click(browser, "m_btnMost");
        QCOMPARE(browser.m_btnMost->text(), QString("重点(&M)"));
        QCOMPARE(entries(browser).size(), 3);
        click(browser, "m_btnExit");
        QVERIFY(!browser.isVisible());
    }

    void practisingAPointCountsLikeChapterPractice()
    {
        TfrmLawsFaGui browser;
        browser.show();
        openSection(browser, "发包与承包");
        click(browser, "m_btnMost");
        QCOMPARE(entries(browser).first(), QString("第三条(一)(3)"));

        const bool driven = whilePractising(browser, [&](TFrmRuleLxxt &w) {
            QVERIFY(!browser.isVisible());
            QCOMPARE(w.objectName(), QString("FrmRuleLxxt"));
            QCOMPARE(w.size(), QSize(905, 585));
            QCOMPARE(w.epLabel2->text(), QString("第三条(一)"));
            QCOMPARE(w.findChild<QLabel *>("Label3", Qt::FindDirectChildrenOnly)->text(), QString("1"));
            QCOMPARE(w.findChild<QLabel *>("Label5", Qt::FindDirectChildrenOnly)->text(), QString("3"));
            QCOMPARE(w.findChild<QLabel *>("Label8", Qt::FindDirectChildrenOnly)->text(), QString("1"));
            QCOMPARE(w.epIndiGauge1->orientation(), Qt::Vertical);
            QVERIFY(w.findChild<QPushButton *>("epEfTrBtn4")->isHidden());
            QVERIFY(w.findChild<QPushButton *>("epEfTrBtnwin"));
            QCOMPARE(w.findChild<QPushButton *>("epEfTrBtn10")->text(), QString("本题作废"));

            MessageRecorder::queueAnswer(1);
            click(w, "epEfTrBtn3");
            QCOMPARE(lastMessage(), QString("题还没做呢！"));
            QCOMPARE(currentId(), QString("100201110002"));
            click(w, QString("fcBG_one" + currentKey()).toUtf8().constData());
            click(w, "epEfTrBtn2");
            QCOMPARE(currentId(), QString("100201110003"));
            click(w, "fcBG_oneA");
            click(w, "epEfTrBtn3");
            click(w, "epEfTrBtn10");
            QCOMPARE(w.Label21->text(), QString("本题已被您作废！"));
            QCOMPARE(w.findChild<QPushButton *>("epEfTrBtn10")->text(), QString("取消作废"));
            SaveScreen(w, "laws-point-practice");
            click(w, "epEfTrBtn7");
        });
        QVERIFY(driven);
        QVERIFY(browser.isVisible());

        QCOMPARE(bankRow("select E2||E3||E4||E1 from tab_answ where A1='100201110002'"), QString("A102026-12-08"));
        QCOMPARE(bankRow("select F1||E2||E3||E4 from tab_answ where A1='100201110003'"), QString("1A1-3"));
        QCOMPARE(bankRow("select E3 from tab_answ where A1='US0000000001'"), QString("0"));
        QCOMPARE(bankRow("select group_concat(ftid||':'||q1||q2||q4, ' ') from tab_rule where id='010003'"),
                 QString("0100030001:221 0100030002:000 0100030003:110"));
        QCOMPARE(bankRow("select group_concat(id||':'||q1||q2||q4, ' ') from tab_fgmc where q2>0"),
                 QString("01:221 010003:221"));
        for (const char *chapter : {"100201", "1002", "10", "1"})
            QCOMPARE(bankRow(QStringLiteral("select C4||'/'||D1||'/'||D2 from tab_kmmc where C1='%1'").arg(chapter)),
                     QString("2/2/1"));
        QCOMPARE(bankRow("select A2||'/'||A3 from tab_rz where A1='2026-12-08'"), QString("2/1"));

        // Back in the section: the same point, its counters fresh; then the catalogue's.
        QCOMPARE(browser.detail()->selectedIndex(), 0);
        QCOMPARE(browser.m_btnMost->text(), QString("全部(&A)"));
        QCOMPARE(noteOf(browser), QString("相关题数：3题  已做题数：2题  已做道次：2次  做错道次：1次"));
        click(browser, "m_btnBack");
        auto *grid = browser.findChild<QTableWidget *>("m_grid");
        QCOMPARE(grid->currentRow(), 3);
        QCOMPARE(grid->item(3, 2)->text() + grid->item(3, 3)->text() + grid->item(3, 4)->text(),
                 QString("        2        2        1"));
        QCOMPARE(grid->item(0, 4)->text(), QString("        1"));
    }

    // The question links two points of one section: releasing its answer before
    // leaving clears the run's answer; the section counted the attempt once.
    void aPressedOptionIsReleasedInPointPractice()
    {
        TfrmLawsFaGui browser;
        browser.show();
        openSection(browser, "发包与承包");
        click(browser, "m_btnMost");
        const bool driven = whilePractising(browser, [&](TFrmRuleLxxt &w) {
            QCOMPARE(currentId(), QString("100201110002"));
            auto *a = w.findChild<QAbstractButton *>("fcBG_oneA");
            a->click();
            click(w, "epEfTrBtn3");
            a->click();
            QVERIFY(!a->isChecked());
            click(w, "epEfTrBtn2");
            click(w, "epEfTrBtn7");
        });
        QVERIFY(driven);
        QCOMPARE(bankRow("select E2_1||'/'||E2||E3 from tab_answ where A1='100201110002'"), QString("/A1"));
        QCOMPARE(bankRow("select group_concat(id||':'||q1||q2||q4, ' ') from tab_fgmc where q2>0"),
                 QString("01:110 010003:110"));
    }

    void emptyAndFailedPracticeSetsAreTold()
    {
        bank->exec("update tab_answ set E2_1='B'");
        bank->exec("update tab_rule set q=4 where ftid='0100020001'");
        bank->exec("update tab_answ set K3='', K4='' where K3='0100020001' or K4='0100020001'");
        TfrmLawsFaGui browser;
        browser.show();
        openSection(browser, "建筑许可");
        MessageRecorder::queueAnswer(1);
        click(browser, "m_btnQuestion");
        QCOMPARE(lastMessage(), QString("恭喜你，习题已做完！"));
        QCOMPARE(bankRow("select count(*) from tab_answ where E2_1<>''"), QString("0"));
        QVERIFY(browser.isVisible());
        QVERIFY(!QApplication::overrideCursor());

        dm->ADOCn1.execute("alter table tab_answ rename to tab_answ_gone");
        MessageRecorder::queueAnswer(1);
        click(browser, "m_btnQuestion");
        QCOMPARE(MessageRecorder::shown().last().caption, QString("错误"));
        QVERIFY(lastMessage() != QString("恭喜你，习题已做完！"));
        QVERIFY(browser.isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    void theCompactLayouts()
    {
        ScreenClass = QStringLiteral("800");
        TfrmLawsFaGui browser;
        browser.show();
        QCOMPARE(browser.size(), QSize(760, 504));
        auto *grid = browser.findChild<QTableWidget *>("m_grid");
        QCOMPARE(grid->horizontalHeader()->height(), 30);
        QVERIFY(grid->horizontalHeaderItem(0)->text().startsWith(QString(19, ' ') + "考"));
        SaveScreen(browser, "laws-catalogue");
        openSection(browser, "发包与承包");
        SaveScreen(browser, "laws-section");
        const bool driven = whilePractising(browser, [&](TFrmRuleLxxt &w) {
            QCOMPARE(w.size(), QSize(774, 489));
            const QRect gauge = w.epIndiGauge1->geometry();
            QVERIFY(gauge.height() > gauge.width());
            QVERIFY(w.rect().contains(w.findChild<QPushButton *>("epEfTrBtn7")->geometry()));
            click(w, "epEfTrBtn7");
        });
        QVERIFY(driven);
    }
};

QTEST_MAIN(TestLawsWindows)
#include "test_laws_windows.moc"
