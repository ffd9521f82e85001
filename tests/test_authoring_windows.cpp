#include "AnswerPages.h"
#include "BankTestCase.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "NumberBoard.h"
#include "RichEditor.h"
#include "Screens.h"
#include "RtfText.h"
#include "TFrmInPut.h"
#include "TFrmLxxt.h"
#include "TFrmSelectFG.h"
#include "TFrmkmmc.h"
#include "TfrmTedit.h"
#include "WindowDriver.h"

#include "GlyphButton.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTextCursor>
#include <QtTest>
#include <functional>

// Question entry from the selector, practice of the new questions, edit from
// the practice window, and the exam-point picker behind both.
class TestAuthoringWindows : public BankTestCase {
    Q_OBJECT

    void installGlyphs()
    {
        const QDir source(QStringLiteral(QUILLET_PIC_DIR));
        QDir(bank->folder()).mkpath(QStringLiteral("pic"));
        for (const QString &file : source.entryList({QStringLiteral("*.bmp")}))
            QVERIFY(QFile::copy(source.filePath(file), bank->folder() + QStringLiteral("/pic/") + file));
    }

    static QImage picture()
    {
        QImage image(40, 24, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        QPainter(&image).fillRect(5, 5, 10, 10, Qt::yellow);
        return image;
    }

    static QString lastMessage()
    {
        const QList<MessageRecord> shown = MessageRecorder::shown();
        return shown.isEmpty() ? QString() : shown.last().text;
    }

    static void selectChapter(TFrmkmmc &selector, const QString &code)
    {
        QVERIFY(DataModule->Cn1Table_kmmc.locate(QStringLiteral("C1"), code));
        selector.DBGrid1->setCurrentIndex(selector.DBGrid1->model()->index(DataModule->Cn1Table_kmmc.recNo() - 1, 0));
    }

    QString field(const QString &id, const QString &name, const QString &table = "tab_answ")
    {
        return db(QStringLiteral("select %1 from %2 where A1 = '%3'").arg(name, table, id)).toString();
    }
    int q(const QString &table, const QString &key, const QString &id)
    {
        return db(QStringLiteral("select q from %1 where %2 = '%3'").arg(table, key, id)).toInt();
    }
    QString rowOf(const QString &id)
    {
        return db("select A2 || A2_1 || A13 || K3 || K4 || K5 || ecount || e.A15 || ifnull(e.jx, '-') from tab_answ a "
                  "join tab_exer e on e.A1 = a.A1 where a.A1 = '" + id + "'").toString();
    }

    // Two questions into chapter 100101: a single choice with bold text and a
    // picture linked to two points, then a multiple choice with an explanation.
    void enterTwoQuestions(TFrmInPut &w)
    {
        QCOMPARE(w.Lb_cap->text(), QString("试题录入 [第一节 工程造价的含义]"));
        QCOMPARE(w.ComboBox1->currentText(), QString("单项选择题"));
        QCOMPARE(w.SE_Num->value(), 5);
        QCOMPARE(w.SE_Num->maximum(), 6);

        MessageRecorder::queueAnswer(QMessageBox::Ok);
        w.SpeedButton4->click();
        QCOMPARE(lastMessage(), QString("请填写试题内容！"));

        // A self-assessed type fixes options and key; back to a choice type frees them.
        w.ComboBox1->setCurrentIndex(w.ComboBox1->findText("简答题"));
        QVERIFY(!w.SE_Num->isEnabled() && !w.Edit1->isEnabled());
        QCOMPARE(w.Edit1->text(), QString("1"));
        w.ComboBox1->setCurrentIndex(w.ComboBox1->findText("单项选择题"));
        QVERIFY(w.SE_Num->isEnabled() && w.Edit1->isEnabled() && w.Edit1->text().isEmpty());

        QTextCursor cursor(w.Re1->document());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText("工程造价的", bold);
        cursor.insertText("含义是什么？", QTextCharFormat());
        w.Re1->setTextCursor(cursor);
        w.Re1->insertPicture(picture());
        w.SE_Num->setValue(4);
        QTest::keyClicks(w.Edit1, "e");
        QCOMPARE(w.Edit1->text(), QString("E"));
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        w.SpeedButton4->click();
        QVERIFY(lastMessage().contains("超出了待选答案个数"));
        w.Edit1->setText("B");
        pickPoints(w.BtnAddFg, "第一章 总则", {"0100010001"});
        pickPoints(w.BtnAddFg, "第二章 建筑许可", {"0100020001"});
        pickPoints(w.BtnAddFg, "第一章 总则", {"0100010001"}); // already listed: kept once
        QCOMPARE(w.ListBox1->count(), 2);
        QCOMPARE(w.ListBox1->item(0)->text(), QString("第一章 总则[立法目的]"));
        w.SpeedButton4->click();
        QCOMPARE(w.EnteredCount, 1);
        QVERIFY(w.Re1->isBlank() && w.ListBox1->count() == 0 && w.ListBox2->count() == 0);
        // The form is clear again, and says what it saved.
        const QString savedId = db("select max(A1) from tab_answ where A1 like 'US%'").toString();
        QVERIFY(!savedId.isEmpty());
        QCOMPARE(w.LbSaved->text(), QString("已保存，试题编号 %1").arg(savedId));

        w.Re1->setPlainText("下列属于工程造价特点的有（ ）");
        w.Re2->setPlainText("大额性、个别性、动态性。约 €5 万 ‰");
        w.ComboBox1->setCurrentIndex(w.ComboBox1->findText("多项选择题"));
        w.Edit1->setText("DBA");
        w.SpeedButton4->click();
        QCOMPARE(w.EnteredCount, 2);
        w.SpeedButton7->click();
    }

    // Edits the single-choice question on display: type, key, links, no explanation.
    void editQuestion(TfrmTedit &e)
    {
        QCOMPARE(e.ComboBox1->currentText(), QString("单项选择题"));
        QCOMPARE(e.Edit1->text(), QString("B"));
        QCOMPARE(e.SE_Num->value(), 4);
        QCOMPARE(e.ListBox2->count(), 2);
        QVERIFY(!e.RxDBRichEdit3->isVisible());
        QVERIFY(e.RxDBRichEdit1->toHtml().contains("font-weight:700"));
        e.ComboBox1->setCurrentIndex(e.ComboBox1->findText("多项选择题"));
        QVERIFY(e.Edit1->text().isEmpty());
        e.Edit1->setText("EC");
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        e.SpeedButton4->click(); // four options: E is refused
        QVERIFY(lastMessage().contains("超出了待选答案个数"));
        QVERIFY(e.isVisible());
        e.SE_Num->setValue(5);
        e.ListBox1->setCurrentRow(0);
        QTest::keyClick(e.ListBox1, Qt::Key_Delete);
        QCOMPARE(e.ListBox2->item(0)->text(), QString("0100020001"));
        pickPoints(e.BtnAddFg, "第一章 工程质量", {"0200010001"});
        e.RxDBRichEdit2->clear();
        e.SpeedButton4->click();
    }

private slots:
    void init()
    {
        openFreshBank();
        installGlyphs();
        MessageRecorder::clear();
        PracticeSubject = 1;
        ScreenClass = QStringLiteral("1024");
        dm->ADOCn1.execute("insert into tab_tx1 (A1,B1,B2,B3,time) values (72,'简答题',0,0,5)");
        dm->ADOCn1.execute("insert into tab_fgmc (id,n,bh,q) values ('02','建设工程质量管理条例',4,0)");
        dm->ADOCn1.execute("insert into tab_fgmc (id,n,bh,q) values ('020001','第一章 工程质量',5,0)");
        for (int n = 1; n <= 4; ++n)
            dm->ADOCn1.execute(QStringLiteral("insert into tab_rule (id,ftid,sn,n,q) values "
                                              "('020001','020001000%1','质量责任%1  ','条文',0)").arg(n));
    }
    void cleanup() { closeBank(); }

    void enteredQuestionsArePractisedAndEdited()
    {
        TFrmkmmc selector;
        selector.show();
        selectChapter(selector, "10");
        MessageRecorder::queueAnswer(1);
        selector.SpeedButton5->click();
        QCOMPARE(lastMessage(), QString("请选择具体章节目录！"));

        const QStringList levels{"100101", "1001", "10", "1"};
        QMap<QString, int> counted;
        for (const QString &code : levels)
            counted[code] = db("select C3 from tab_kmmc where C1 = '" + code + "'").toInt();
        selectChapter(selector, "100101");
        onModal<TFrmInPut>([this](TFrmInPut &w) { enterTwoQuestions(w); });
        selector.SpeedButton5->click();
        QCOMPARE(MessageRecorder::shown().size(), 3);
        // The selector shows the chapter again with its new count.
        QCOMPARE(DataModule->Cn1Table_kmmc.fieldByName("C1").asString(), QString("100101"));
        QCOMPARE(DataModule->Cn1Table_kmmc.fieldByName("C3").asInteger(), counted["100101"] + 2);
        QCOMPARE(selector.DBGrid1->currentIndex().row(), DataModule->Cn1Table_kmmc.recNo() - 1);

        const QString single = "US100101114" "00001";
        const QString multiple = "US100101144" "00002"; // 清除 keeps the option count
        QCOMPARE(db("select group_concat(A1) from (select A1 from tab_answ where F1 = 2 order by A1)").toString(),
                 single + "," + multiple);
        QCOMPARE(field(multiple, "A2"), QString("ABD"));
        QCOMPARE(field(single, "K3") + "," + field(single, "K4"), QString("0100010001,0100020001"));
        QVERIFY(field(single, "A15", "tab_exer").contains("\\b"));
        QVERIFY(field(single, "A15", "tab_exer").contains("\\pngblip"));
        QVERIFY(db("select jx from tab_exer where A1 = '" + single + "'").isNull());
        QCOMPARE(rtf::toPlainText(field(multiple, "jx", "tab_exer")), QString("大额性、个别性、动态性。约 €5 万 ‰"));
        for (const QString &code : levels)
            QCOMPARE(db("select C3 from tab_kmmc where C1 = '" + code + "'").toInt(), counted[code] + 2);
        QCOMPARE(q("tab_rule", "ftid", "0100010001"), 2);
        QCOMPARE(q("tab_fgmc", "id", "01"), 3);

        // Practice: the added question says so; 修改本题 edits it in place.
        onModal<TFrmLxxt>([&](TFrmLxxt &w) {
            int record = 0;
            for (int i = 0; i < w.pager().size() && !record; ++i) {
                w.fcBG_th->button(i)->click();
                if (DataModule->Cn1Query_tm.fieldByName("A1").asString() == single)
                    record = w.currentRecord();
            }
            QVERIFY(record > 0);
            QCOMPARE(w.Label21->text(), QString("本题是您加入的题目！"));
            QVERIFY(w.epEfTrBtn11->isVisible());
            w.Notebook1->findChild<QAbstractButton *>("fcBG_oneB")->click();
            w.epEfTrBtn3->click();
            QCOMPARE(field(single, "E3") + field(single, "E2"), QString("1B"));
            QCOMPARE(q("tab_rule", "ftid", "0100010001"), 2); // q counts links, not answers

            const QString before = rowOf(single);
            onModal<TfrmTedit>([](TfrmTedit &e) {
                e.Edit1->setText("A");
                e.RxDBRichEdit1->setPlainText("改过又取消");
                e.SpeedButton3->click();
            });
            w.Timer1->stop(); // as when the answer time has run out: it stays out
            w.epEfTrBtn11->click();
            QCOMPARE(rowOf(single), before);
            QVERIFY(w.Label24->text().isEmpty());
            QVERIFY(!w.Timer1->isActive());
            w.Timer1->start();

            onModal<TfrmTedit>([this](TfrmTedit &e) { editQuestion(e); });
            w.epEfTrBtn11->click();
            QCOMPARE(w.Label24->text(), QString("本题被您修改过"));
            QVERIFY(w.Timer1->isActive());
            QCOMPARE(w.Notebook1->currentIndex(), 1); // the multiple-choice page now
            w.epEfTrBtn99->click();
        });
        selector.SpeedButton1->click();

        QCOMPARE(field(single, "A13") + field(single, "A2") + field(single, "A2_1") + field(single, "ecount"),
                 QString("14CE51"));
        QCOMPARE(field(single, "K3") + "," + field(single, "K4") + "," + field(single, "K5"),
                 QString("0100020001,0200010001,"));
        QVERIFY(db("select jx from tab_exer where A1 = '" + single + "'").isNull());
        QVERIFY(field(single, "A15", "tab_exer").contains("\\b"));
        QVERIFY(field(single, "A15", "tab_exer").contains("\\pngblip"));
        QCOMPARE(q("tab_rule", "ftid", "0100010001"), 1);
        QCOMPARE(q("tab_rule", "ftid", "0100020001"), 3);
        QCOMPARE(q("tab_rule", "ftid", "0200010001"), 1);
        QCOMPARE(q("tab_fgmc", "id", "010001"), 1);
        QCOMPARE(q("tab_fgmc", "id", "020001"), 1);
        QCOMPARE(q("tab_fgmc", "id", "02"), 1);
        QCOMPARE(q("tab_fgmc", "id", "01"), 3);
    }

    // K3 and K5 filled, K4 empty: the edit window lists both points, and saving
    // keeps both, packed into K3 and K4, with the point behind the gap counted.
    void editListsEveryLinkAndPacksThem()
    {
        dm->ADOCn1.execute("update tab_answ set K3 = '0100010001', K4 = '', K5 = '0100020001' "
                           "where A1 = '100101110002'");
        store::Query &question = DataModule->Cn1Query_tm;
        question.setSql("select * from tab_answ where A1 = '100101110002'");
        question.open();
        TfrmTedit e;
        QCOMPARE(e.ListBox2->count(), 2);
        QCOMPARE(e.ListBox2->item(1)->text(), QString("0100020001"));
        QCOMPARE(e.ListBox1->item(1)->text(), QString("第二章 建筑许可[施工许可]"));
        e.SpeedButton4->click();
        QCOMPARE(e.result(), int(QDialog::Accepted));
        QCOMPARE(field("100101110002", "K3") + "," + field("100101110002", "K4") + "," + field("100101110002", "K5"),
                 QString("0100010001,0100020001,"));
        QCOMPARE(q("tab_rule", "ftid", "0100020001"), 3);
        QCOMPARE(q("tab_fgmc", "id", "010002"), 3);
        QCOMPARE(q("tab_fgmc", "id", "01"), 3);
    }

    void thePickerCountsOnlyNewPoints()
    {
        TFrmSelectFG picker;
        picker.setCaller(1, {"0200010001", "0200010002", "0200010003"});
        LinkedPointCount = 3;
        picker.show();
        QCOMPARE(picker.windowTitle(), QString("欢迎"));
        QCOMPARE(picker.ComboBox1->count(), 5);
        QCOMPARE(picker.CheckListBox1->count(), 0); // the first entry is a group: no points of its own

        MessageRecorder::queueAnswer(QMessageBox::Ok);
        picker.epEfButton1->click();
        QCOMPARE(lastMessage(), QString("请选择对应考点，退出请按关闭按钮！"));
        QVERIFY(picker.isVisible());

        picker.ComboBox1->setCurrentIndex(4);
        emit picker.ComboBox1->activated(4);
        QCOMPARE(picker.CheckListBox1->count(), 4);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(picker.CheckListBox1->item(i)->checkState(), Qt::Checked);
            QCOMPARE(picker.CheckListBox2->item(i)->checkState(), Qt::Unchecked);
        }
        picker.CheckListBox1->item(3)->setCheckState(Qt::Checked);
        LinkedPointCount = 6;
        picker.epEfButton1->click(); // 6 linked + 1 new = 7
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(picker.pickedPoints().size(), 1);
        QCOMPARE(picker.pickedPoints().first().ftid, QString("0200010004"));
        QCOMPARE(picker.pickedPoints().first().section, QString("第一章 工程质量"));

        TFrmSelectFG full;
        full.setCaller(2, {});
        LinkedPointCount = 5;
        full.show();
        full.ComboBox1->setCurrentIndex(4);
        emit full.ComboBox1->activated(4);
        for (int i = 0; i < 3; ++i)
            full.CheckListBox1->item(i)->setCheckState(Qt::Checked);
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        full.epEfButton1->click();
        QCOMPARE(lastMessage(), QString("对应考点最多不能超过7条，已有考点5条！"));
        QVERIFY(full.isVisible());
        full.CheckListBox1->item(2)->setCheckState(Qt::Unchecked);
        full.epEfButton1->click();
        QCOMPARE(full.result(), int(QDialog::Accepted));
        QCOMPARE(full.pickedPoints().size(), 2);
    }

    void screens()
    {
        for (const QString &screen : {QStringLiteral("1024"), QStringLiteral("800")}) {
            ScreenClass = screen;
            TFrmSelectFG picker;
            picker.show();
            picker.ComboBox1->setCurrentIndex(1);
            emit picker.ComboBox1->activated(1);
            SaveScreen(picker, "picker");
            TFrmSelectFG help;
            help.Notebook1->setCurrentIndex(TFrmSelectFG::InstructionsPage);
            help.show();
            QVERIFY(help.Memo1->toPlainText().startsWith("使用方法如下："));
            SaveScreen(help, "picker-help");
            TFrmInPut entry;
            entry.setChapter("100101", "第一节 工程造价的含义");
            entry.show();
            QCOMPARE(entry.size(), screen == "800" ? QSize(762, 480) : QSize(931, 611));
            SaveScreen(entry, "entry");
        }
    }
};

QTEST_MAIN(TestAuthoringWindows)
#include "test_authoring_windows.moc"
