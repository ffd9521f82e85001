#include "DataModule.h"
#include "DbRichView.h"
#include "BankTestCase.h"
#include "Globals.h"
#include "Look.h"
#include "Screens.h"
#include "TFrmBj.h"
#include "TFrmJx.h"
#include "TfrmAnswFagui.h"
#include "TitleStrip.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TestPracticeDialogs : public BankTestCase {
    Q_OBJECT

    void openQuestion(const QString &id)
    {
        dm->Cn1Query_tm.close();
        dm->Cn1Query_tm.setSql("select * from tab_answ order by A1");
        dm->Cn1Query_tm.open();
        QVERIFY(dm->Cn1Query_tm.locate("A1", id));
    }

    QString writeNote(const QString &text)
    {
        TFrmBj notes;
        notes.Label1->setText("lx");
        notes.bind(dm->Cn1DS_tm, "A14");
        notes.show();
        notes.DBMemo1->setPlainText(text);
        SaveScreen(notes, "notes");
        notes.epEfTrBtn1->click();
        return bank->scalar("select A14 from tab_answ where A1 = '100101110002'").toString();
    }

private slots:
    void initTestCase() { ui::applyLook(*qApp); }
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void notesAreSavedOnCloseAndFlagged()
    {
        openQuestion("100101110002");
        QCOMPARE(writeNote("注意单位换算"), QString("注意单位换算"));
        QVERIFY(NotesHaveContent);
        QCOMPARE(writeNote("   "), QString("   ")); // saved as typed
        QVERIFY(!NotesHaveContent);
        QCOMPARE(writeNote(""), QString(""));
        QVERIFY(!NotesHaveContent);
        QCOMPARE(dm->Cn1Query_tm.state(), store::Dataset::State::Browse);
        QCOMPARE(dm->Cn1Query_tm.fieldByName("A1").asString(), QString("100101110002"));
    }

    void notesShowTheStoredNote()
    {
        bank->exec("update tab_answ set A14 = '0123' where A1 = '100101110001'");
        openQuestion("100101110001");
        TFrmBj notes;
        notes.bind(dm->Cn1DS_tm, "A14");
        QCOMPARE(notes.DBMemo1->toPlainText(), QString("0123"));
        notes.close();
    }

    void explanationShowsTheFieldOrNothing()
    {
        dm->cn1query_nr.setSql("select * from tab_exer where A1 = '100101110001'");
        dm->cn1query_nr.open();
        TFrmJx jx;
        jx.bind(dm->cn1query_nr, dm->Cn1DS_nr, "jx");
        QCOMPARE(jx.Re->toPlainText(), QString("解析 100101110001"));
        jx.show();
        SaveScreen(jx, "explanation");
        QVERIFY(jx.Re->isReadOnly());
        TFrmJx missing;
        missing.bind(dm->cn1query_nr, dm->Cn1DS_nr, "nosuch");
        QVERIFY(missing.Re->toPlainText().isEmpty());
    }

    void relatedPointsListEveryLinkAndTheirOwnSection()
    {
        bank->exec("insert into tab_rule (id, ftid, sn, n) values ('010001', '0100010002', '施工许可    ', '另一条')");
        bank->exec("update tab_answ set K3 = '0100020001', K4 = '', K5 = '0100010002', K6 = '0199999999' "
                   "where A1 = '100101110002'");
        TfrmAnswFagui w;
        QVERIFY(w.LoadLinks("100101110002"));
        QCOMPARE(w.m_listbox->count(), 3);
        w.show();
        QCOMPARE(w.ListBox1->count(), 2); // the unknown code is silently missing
        SaveScreen(w, "related-points");
        for (int row = 0; row < 2; ++row) {
            w.ListBox1->setCurrentRow(row);
            const bool isItem2 = w.Re->toPlainText() == "第七条";
            QVERIFY(isItem2 || w.Re->toPlainText() == "另一条");
            QCOMPARE(w.epLabel1->text(), isItem2 ? QString("第二章 建筑许可") : QString("第一章 总则"));
        }
        w.close();

        TfrmAnswFagui none;
        QVERIFY(!none.LoadLinks("100101110002x"));
        QVERIFY(!none.LoadLinks("100201110001"));
    }

    void relatedPointsUseTheCompactLayoutOn800()
    {
        ScreenClass = "800";
        TfrmAnswFagui w;
        QVERIFY(w.LoadLinks("100101110001"));
        w.show();
        QCOMPARE(w.size(), QSize(657, 421));
        SaveScreen(w, "related-points");
        ScreenClass = "1024";
        w.close();
    }
};

QTEST_MAIN(TestPracticeDialogs)
#include "test_practice_dialogs.moc"
