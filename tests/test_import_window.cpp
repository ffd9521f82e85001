#include "BankCheck.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "TFrmImport.h"
#include "TFrmImportUndo.h"
#include "TFrmkmmc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include "NextModal.h"

#include <QtTest>

namespace {

const QString kSection = QStringLiteral("100103");

// Four questions in the layout courses hand out; the second has no answer.
const char *const kDocument = "一、单项选择题\n"
                              "1．注册造价工程师的注册有效期为（  ）年。\n"
                              "A．2\nB．3\nC．4\nD．5\n"
                              "答案：C\n"
                              "解析：初始、延续注册有效期均为4年。\n"
                              "2．工程造价咨询企业乙级资质可承接工程造价（  ）万元以下的项目。\n"
                              "A．2000\nB．5000\nC．8000\nD．10000\n"
                              "二、多项选择题\n"
                              "3．造价工程师的执业范围包括（  ）。\n"
                              "A．项目经济评价\nB．工程结算\nC．施工组织设计\nD．造价纠纷鉴定\n"
                              "答案：ABD\n"
                              "三、判断题\n"
                              "4．变更注册后，注册有效期重新计算4年。\n"
                              "答案：错\n";

QStringList textsShown()
{
    QStringList texts;
    for (const MessageRecord &r : MessageRecorder::shown())
        texts << r.text;
    return texts;
}

} // namespace

// The import window on the demo bank, driven as the learner would.
class TestImportWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;
    QTemporaryDir files;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = files.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    int ownQuestions() { return dm->ADOCn1.scalar("select count(*) from tab_answ where A1 like 'US%'").toInt(); }
    QStringList violations()
    {
        dm.reset();
        const QStringList found = bank::checkBank(demo->bankFile()).violations;
        dm = std::make_unique<TDM1>(demo->folder());
        return found;
    }
    void choose(TFrmImport &w, const QString &path)
    {
        ui::FileDialogRecorder::queueAnswer(path);
        QTest::mouseClick(w.ChooseButton, Qt::LeftButton);
    }
    static int visibleRows(const QTreeWidget *list)
    {
        int n = 0;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            n += list->topLevelItem(i)->isHidden() ? 0 : 1;
        return n;
    }

private slots:
    void init()
    {
        QVERIFY(openFreshDemo(demo, dm));
        MessageRecorder::clear();
        ui::FileDialogRecorder::clear();
        ScreenClass = "1024";
    }
    void cleanup()
    {
        dm.reset();
        MessageRecorder::clear();
        ui::FileDialogRecorder::clear();
    }

    void previewCorrectImportAndUndo()
    {
        TFrmImport w(nullptr, kSection);
        w.show();
        QCOMPARE(w.size(), QSize(990, 700));
        QCOMPARE(w.SectionBox->currentData().toString(), kSection);
        QVERIFY(!w.ImportButton->isEnabled());
        choose(w, writeFile("第三节练习.txt", kDocument));
        QCOMPARE(ui::FileDialogRecorder::asked().size(), 1);
        QVERIFY(MessageRecorder::shown().isEmpty());
        QCOMPARE(w.QuestionList->topLevelItemCount(), 4);
        QCOMPARE(w.LbRecognized->text(), QStringLiteral("识别 4 题"));
        QCOMPARE(w.LbFlagged->text(), QStringLiteral("有问题 1 题"));
        QCOMPARE(w.LbDuplicates->text(), QStringLiteral("与题库重复 0 题"));
        QCOMPARE(w.LbToImport->text(), QStringLiteral("将导入 3 题"));

        // The flagged question alone, with its source beside it; the learner supplies its key.
        w.FlaggedOnly->setChecked(true);
        QCOMPARE(visibleRows(w.QuestionList), 1);
        QTreeWidgetItem *flagged = w.QuestionList->topLevelItem(1);
        QVERIFY(!flagged->isHidden());
        QCOMPARE(flagged->checkState(0), Qt::Unchecked);
        w.QuestionList->setCurrentItem(flagged);
        QVERIFY(w.SourceText->toPlainText().contains(QStringLiteral("乙级资质")));
        QVERIFY(w.Detail->toPlainText().contains(QStringLiteral("B．5000")));
        w.KeyEdit->setText("b");
        emit w.KeyEdit->editingFinished();
        QCOMPARE(flagged->checkState(0), Qt::Checked);
        QCOMPARE(w.LbToImport->text(), QStringLiteral("将导入 4 题"));
        w.FlaggedOnly->setChecked(false);
        QCOMPARE(visibleRows(w.QuestionList), 4);

        // The true/false question is left out.
        w.QuestionList->topLevelItem(3)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(w.LbToImport->text(), QStringLiteral("将导入 3 题"));

        MessageRecorder::queueAnswer(1);
        QTest::mouseClick(w.ImportButton, Qt::LeftButton);
        QCOMPARE(textsShown(), QStringList{QStringLiteral("已导入 3 道题到 [100103 第三节 造价工程师管理制度]。")});
        QCOMPARE(ownQuestions(), 3);
        QCOMPARE(w.ChangedCount, 3);
        QCOMPARE(dm->ADOCn1.scalar("select A2 from tab_answ where A1 like 'US%' and A13 = 11 order by A1 desc")
                     .toString(),
                 QStringLiteral("B"));
        // Read again: what was imported is now a duplicate.
        QCOMPARE(w.LbDuplicates->text(), QStringLiteral("与题库重复 3 题"));
        QCOMPARE(w.LbToImport->text(), QStringLiteral("将导入 0 题"));

        MessageRecorder::clear();
        onNextModal([](QWidget *modal) {
            auto *undo = qobject_cast<TFrmImportUndo *>(modal);
            QVERIFY(undo);
            QCOMPARE(undo->BatchList->topLevelItemCount(), 1);
            QCOMPARE(undo->BatchList->topLevelItem(0)->text(1), QStringLiteral("第三节练习.txt"));
            QCOMPARE(undo->BatchList->topLevelItem(0)->text(3), QStringLiteral("3"));
            MessageRecorder::queueAnswer(1);
            MessageRecorder::queueAnswer(1);
            QTest::mouseClick(undo->UndoButton, Qt::LeftButton);
            QCOMPARE(undo->BatchList->topLevelItemCount(), 0);
            undo->accept();
        });
        QTest::mouseClick(w.UndoButton, Qt::LeftButton);
        const QStringList texts = textsShown();
        QCOMPARE(texts.size(), 2);
        QVERIFY2(texts.first().startsWith(QStringLiteral("确定撤销")), qPrintable(texts.first()));
        QCOMPARE(texts.last(), QStringLiteral("已撤销导入，从题库中删除了 3 道题。"));
        QCOMPARE(ownQuestions(), 0);
        QCOMPARE(w.ChangedCount, 6);
        QCOMPARE(w.LbDuplicates->text(), QStringLiteral("与题库重复 0 题"));
        QCOMPARE(violations(), QStringList());
    }

    void undoOfAnsweredQuestionsAsksFirst()
    {
        TFrmImport w(nullptr, kSection);
        choose(w, writeFile("a.txt", kDocument));
        MessageRecorder::queueAnswer(1);
        QTest::mouseClick(w.ImportButton, Qt::LeftButton);
        QCOMPARE(ownQuestions(), 3);
        dm->ADOCn1.execute("update tab_answ set E2 = 'A', E3 = 1, E4 = -3 where A1 like 'US%' and A13 = 11");
        dm->ADOCn1.execute("update tab_kmmc set C4 = C4 + 1, D1 = D1 + 1, D2 = D2 + 1 where C1 in ('1','10','100','1001','10010','100103')");
        MessageRecorder::clear();
        TFrmImportUndo undo;
        QCOMPARE(undo.BatchList->topLevelItem(0)->text(4), QStringLiteral("1"));
        MessageRecorder::queueAnswer(2); // 取消
        QTest::mouseClick(undo.UndoButton, Qt::LeftButton);
        QCOMPARE(MessageRecorder::shown().size(), 1);
        QVERIFY(MessageRecorder::shown().first().text.contains(QStringLiteral("有 1 道已经做过")));
        QCOMPARE(ownQuestions(), 3);
        QCOMPARE(undo.RemovedCount, 0);
        MessageRecorder::queueAnswer(1);
        MessageRecorder::queueAnswer(1);
        QTest::mouseClick(undo.UndoButton, Qt::LeftButton);
        QCOMPARE(ownQuestions(), 0);
        QCOMPARE(violations(), QStringList());
    }

    void unreadableFileSaysSoAndKeepsThePreview()
    {
        TFrmImport w(nullptr, kSection);
        choose(w, writeFile("a.txt", kDocument));
        QCOMPARE(w.QuestionList->topLevelItemCount(), 4);
        MessageRecorder::queueAnswer(1);
        choose(w, writeFile("空文件.txt", QByteArray()));
        QCOMPARE(MessageRecorder::shown().size(), 1);
        QCOMPARE(MessageRecorder::shown().first().caption, QStringLiteral("错误"));
        QVERIFY(MessageRecorder::shown().first().text.startsWith(QStringLiteral("无法读取文件“空文件.txt”")));
        QCOMPARE(w.QuestionList->topLevelItemCount(), 4);
        ui::FileDialogRecorder::queueAnswer(QString()); // cancelled: nothing changes
        QTest::mouseClick(w.ChooseButton, Qt::LeftButton);
        QCOMPARE(w.QuestionList->topLevelItemCount(), 4);
        QCOMPARE(ownQuestions(), 0);
    }

    void compactScreenAndTheSelectorsButton()
    {
        ScreenClass = "800";
        {
            TFrmImport w;
            QCOMPARE(w.size(), QSize(790, 570));
            TFrmImportUndo undo;
            QCOMPARE(undo.size(), QSize(620, 360));
        }
        ScreenClass = "1024";
        PracticeSubject = 1;
        TFrmkmmc selector;
        selector.show();
        QVERIFY(DataModule->Cn1Table_kmmc.locate("C1", kSection));
        QString section;
        onNextModal([&](QWidget *modal) {
            auto *import = qobject_cast<TFrmImport *>(modal);
            QVERIFY(import);
            section = import->SectionBox->currentData().toString();
            import->reject();
        });
        QTest::mouseClick(selector.SpeedButton7, Qt::LeftButton);
        QCOMPARE(section, kSection);
    }
};

QTEST_MAIN(TestImportWindow)
#include "test_import_window.moc"
