// Shows the exam-point picker, question entry and question edit on a real
// bank, with a long question, a picture and a pasted table, and saves pictures:
//   quillet_authoring_screens <program folder> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check. It saves one
// question and edits it, so give it a copy of the bank.
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "RichEditor.h"
#include "BankScreens.h"
#include "TFrmInPut.h"
#include "TFrmSelectFG.h"
#include "TfrmTedit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextCursor>

namespace {

screens::BankRun run;

void save(QWidget &widget, const QString &name) { run.save(widget, name); }

// A table as a word processor puts it on the clipboard.
const char kPastedTable[] =
    R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f13\fnil\fcharset134 \'cb\'ce\'cc\'e5;}})"
    R"(\pard\plain\f13\fs21\'b7\'d1\'d3\'c3\'b9\'b9\'b3\'c9\'c8\'e7\'cf\'c2\'b1\'ed\'a3\'ba\par)"
    R"(\trowd\cellx2400\cellx4800\cellx7200\pard\intbl{\b\'cf\'ee\'c4\'bf\cell \'bd\'f0\'b6\'ee\'a3\'a8\'cd\'f2\'d4\'aa\'a3\'a9\cell \'b1\'b8\'d7\'a2\cell}\row)"
    R"(\trowd\cellx2400\cellx4800\cellx7200\pard\intbl \'c8\'cb\'b9\'a4\'b7\'d1\cell 120\cell \'ba\'ac\'b9\'e6\'b7\'d1\cell\row)"
    R"(\trowd\cellx2400\cellx4800\cellx7200\pard\intbl \'b2\'c4\'c1\'cf\'b7\'d1\cell 480\cell \cell\row)"
    R"(\pard\par})";

QImage picture()
{
    QImage image(260, 120, QImage::Format_RGB32);
    image.fill(QColor(0xef, 0xe9, 0xdc));
    QPainter p(&image);
    p.setPen(QPen(QColor(0x23, 0x6a, 0x7c), 3));
    p.drawRect(20, 20, 220, 80);
    p.drawLine(20, 60, 240, 60);
    p.drawLine(130, 20, 130, 100);
    return image;
}

void fillLongQuestion(richtext::RichEditor &editor)
{
    QTextCursor cursor(editor.document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("某建设项目"), bold);
    cursor.insertText(QStringLiteral("建筑安装工程费用由人工费、材料费、施工机具使用费、企业管理费、利润、规费和税金组成。"
                                     "已知该项目的分部分项工程费、措施项目费和其他项目费如下表和附图所示，"
                                     "请根据《建设工程工程量清单计价规范》的规定，判断下列说法中正确的是哪一项？"),
                      QTextCharFormat());
    cursor.insertBlock();
    editor.setTextCursor(cursor);
    editor.insertPicture(picture());
    cursor = editor.textCursor();
    cursor.insertBlock();
    editor.setTextCursor(cursor);
    auto *table = new QMimeData;
    table->setData(QStringLiteral("text/rtf"), QByteArray(kPastedTable));
    QApplication::clipboard()->setMimeData(table);
    editor.paste();
    cursor = editor.textCursor();
    for (const char *option : {"A. 人工费中包括施工机械操作人员的工资", "B. 规费属于不可竞争费用",
                               "C. 利润按人工费的固定比例计取", "D. 税金不计入工程造价"}) {
        cursor.insertBlock();
        cursor.insertText(QString::fromUtf8(option));
    }
}

void picker()
{
    TFrmSelectFG window;
    window.setCaller(1, {});
    window.show();
    // The section with the most points shows how long titles wrap.
    const QString busiest = DataModule->ADOCn1
                                .scalar(QStringLiteral("select id from tab_rule group by id order by count(*) desc limit 1"))
                                .toString();
    const int row = window.ComboBox2->findText(busiest);
    window.ComboBox1->setCurrentIndex(row);
    emit window.ComboBox1->activated(row);
    for (int i = 0; i < window.CheckListBox1->count() && i < 2; ++i)
        window.CheckListBox1->item(i)->setCheckState(Qt::Checked);
    save(window, "picker");
    window.hide();
    TFrmSelectFG help;
    help.Notebook1->setCurrentIndex(TFrmSelectFG::InstructionsPage);
    help.show();
    save(help, "picker-help");
}

QString entry()
{
    const QString chapter =
        DataModule->ADOCn1.scalar(QStringLiteral("select C1 from tab_kmmc where length(C1) = 6 order by bh limit 1"))
            .toString();
    TFrmInPut window;
    window.setChapter(chapter, DataModule->ADOCn1.scalar(QStringLiteral("select C2 from tab_kmmc where C1 = ?"),
                                                         store::Params::byPosition({chapter}))
                                   .toString());
    window.show();
    fillLongQuestion(*window.Re1);
    window.Re2->setPlainText(QStringLiteral("规费和税金属于不可竞争费用，应按国家或省级、行业建设主管部门的规定计算。"));
    window.SE_Num->setValue(4);
    window.Edit1->setText(QStringLiteral("B"));
    const QString point = DataModule->ADOCn1.scalar(QStringLiteral("select ftid from tab_rule limit 1")).toString();
    window.ListBox2->addItem(point);
    window.ListBox1->addItem(QStringLiteral("中华人民共和国建筑法[第一条 立法目的]"));
    save(window, "entry");
    window.SpeedButton4->click();
    return DataModule->ADOCn1.scalar(QStringLiteral("select max(A1) from tab_answ where F1 = 2")).toString();
}

void openQuestion(const QString &id)
{
    DataModule->Cn1Query_tm.close();
    DataModule->Cn1Query_tm.setSql(QStringLiteral("select * from tab_answ where A1 = ?"));
    DataModule->Cn1Query_tm.setParams(store::Params::byPosition({id}));
    DataModule->Cn1Query_tm.open();
}

void edit(const QString &id)
{
    openQuestion(id);
    TfrmTedit window;
    window.show();
    save(window, "edit");
    window.Edit1->setText(QStringLiteral("C"));
    window.SpeedButton4->click();
}

// A question of a group shows the shared stem above its own text; left unsaved.
void editGrouped()
{
    openQuestion(DataModule->ADOCn1.scalar(QStringLiteral("select min(A1) from tab_answ where instr(A1, '-') > 0"))
                     .toString());
    TfrmTedit window;
    window.show();
    save(window, "edit-grouped");
    window.reject();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!run.start(app, argc, argv))
        return 1;
    picker();
    const QString id = entry();
    if (id.isEmpty())
        return 1;
    edit(id);
    editGrouped();
    return 0;
}
