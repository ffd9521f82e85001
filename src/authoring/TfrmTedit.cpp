#include "TfrmTedit.h"

#include "AuthoringLayout.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "PracticeSession.h"
#include "QuestionFields.h"
#include "QuestionStore.h"
#include "RichEditBar.h"
#include "RichEditor.h"
#include "SystemMessageBox.h"
#include "TitleStrip.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

using namespace authoring;

TfrmTedit::TfrmTedit(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTedit"));
    setWindowTitle(QStringLiteral("试题修改"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    m_keys = new KeyFields(ComboBox1, SE_Num, Edit1, this);
    m_links = new PointLinks(
        BtnAddFg, ListBox1, ListBox2, 2,
        QStringLiteral("试题对应知识点最多为10条！\n如果要去掉知识点，请选中要\n去掉的知识点，再按键盘上的\n[Delete]键！"), this);
    connect(SpeedButton4, &QPushButton::clicked, this, &TfrmTedit::SpeedButton4Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { showInstructions(this); });
    loadQuestion();
}

void TfrmTedit::buildControls()
{
    Caption = new ui::TitleStrip(QStringLiteral("试题修改"), this);
    Caption->setObjectName(QStringLiteral("Caption"));
    EditorForm form(this);
    RxLabel7 = form.label("RxLabel7", QStringLiteral("共用题干："));
    RxLabel5 = form.label("RxLabel5", QStringLiteral("试题内容："));
    RxLabel6 = form.label("RxLabel6", QStringLiteral("试题解析："));
    EditBar = new richtext::RichEditBar(this);
    RxDBRichEdit3 = form.editor("RxDBRichEdit3");
    RxDBRichEdit1 = form.editor("RxDBRichEdit1");
    RxDBRichEdit2 = form.editor("RxDBRichEdit2");
    EditBar->attach(RxDBRichEdit1);
    EditBar->attach(RxDBRichEdit2);
    EditBar->attach(RxDBRichEdit3);

    RxLabel1 = form.label("RxLabel1", QStringLiteral("备选个数："));
    RxLabel2 = form.label("RxLabel2", QStringLiteral("答　　案："));
    RxLabel3 = form.label("RxLabel3", QStringLiteral("题　　型："));
    RxLabel4 = form.label("RxLabel4", QStringLiteral("对应考点："));
    const EditorForm::KeyAndLinks side = form.keyAndLinks();
    SE_Num = side.options;
    Edit1 = side.key;
    ComboBox1 = side.types;
    BtnAddFg = side.addPoints;
    ListBox1 = side.shown;
    ListBox2 = side.codes;
    SpeedButton4 = form.button("SpeedButton4", QStringLiteral("保存"));
    SpeedButton3 = form.button("SpeedButton3", QStringLiteral("取消"));
    SpeedButton2 = form.button("SpeedButton2", QStringLiteral("使用说明"));

    EditorLayout layout;
    layout.caption = Caption;
    layout.bar = EditBar;
    layout.editors = {{RxLabel7, RxDBRichEdit3, 2}, {RxLabel5, RxDBRichEdit1, 3}, {RxLabel6, RxDBRichEdit2, 2}};
    layout.fields = {{RxLabel1, SE_Num}, {RxLabel2, Edit1}, {RxLabel3, ComboBox1}, {RxLabel4, BtnAddFg}};
    layout.links = ListBox1;
    layout.buttons = {SpeedButton4, SpeedButton3, SpeedButton2};
    layout.install(this);
}

// Reads the practice window's current question; the handlers stay quiet meanwhile.
void TfrmTedit::loadQuestion()
{
    const store::Query &question = DataModule->Cn1Query_tm;
    const QString id = question.fieldByName(QStringLiteral("A1")).asString();
    m_grouped = practice::openQuestionText(id);
    const store::Query &text = DataModule->cn1query_nr;
    if (!text.isEmpty()) {
        RxDBRichEdit1->setContent(text.value(QStringLiteral("A15")));
        RxDBRichEdit2->setContent(text.value(QStringLiteral("jx")));
    }
    const store::Query &stem = DataModule->Cn1Query2;
    m_grouped = m_grouped && !stem.isEmpty();
    if (m_grouped)
        RxDBRichEdit3->setContent(stem.value(QStringLiteral("A15")));
    RxLabel7->setVisible(m_grouped);
    RxDBRichEdit3->setVisible(m_grouped);

    const QString chapter = question.fieldByName(QStringLiteral("A10")).asString();
    m_keys->setTypes(typesOfSubject(DataModule->ADOCn1, subjectOfChapter(chapter)));
    m_keys->show(question.fieldByName(QStringLiteral("A13")).asInteger(),
                 question.fieldByName(QStringLiteral("A2_1")).asInteger(),
                 question.fieldByName(QStringLiteral("A2")).asString());
    loadLinks(filledLinks(question));
}

void TfrmTedit::loadLinks(const QStringList &codes)
{
    store::Connection &c = DataModule->ADOCn1;
    for (const QString &code : codes) {
        store::Statement point(c.handle(),
                               QStringLiteral("select trim(r.sn), ifnull(f.n, '') from tab_rule r left join tab_fgmc f "
                                              "on f.id = r.id where r.ftid = ?"),
                               store::Params::byPosition({code}));
        const QString text = point.step() ? point.value(1).toString() + QLatin1Char('[') + point.value(0).toString()
                                                + QLatin1Char(']')
                                          : code;
        m_links->append(code, text);
    }
}

void TfrmTedit::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const bool compact = ScreenClass == QLatin1String("800");
    setFixedSize(compact ? QSize(762, 470) : QSize(931, 500));
    centreOnScreen(this);
    RxDBRichEdit1->setFocus();
}

void TfrmTedit::SpeedButton4Click()
{
    const auto refuse = [](QWidget *field, const QString &text) {
        SystemMessageBox(QStringLiteral("提示"), text, QMessageBox::Information);
        field->setFocus();
    };
    const QuestionType type = m_keys->currentType();
    if (RxDBRichEdit1->isBlank())
        return refuse(RxDBRichEdit1, QStringLiteral("请填写试题内容！"));
    if (type.code == 0)
        return refuse(ComboBox1, QStringLiteral("请选择题型！"));
    const CheckedKey key = checkKey(type, SE_Num->value(), Edit1->text());
    if (!key.ok())
        return refuse(Edit1, key.error);
    QuestionContent content;
    content.type = type.code;
    content.options = SE_Num->value();
    content.key = key.key;
    content.body = QString::fromLatin1(RxDBRichEdit1->rtf());
    if (!RxDBRichEdit2->isBlank())
        content.explanation = QString::fromLatin1(RxDBRichEdit2->rtf());
    content.points = m_links->codes();
    try {
        saveEdit(DataModule->Cn1Query_tm, DataModule->cn1query_nr, m_grouped ? &DataModule->Cn1Query2 : nullptr,
                 content, QString::fromLatin1(RxDBRichEdit3->rtf()));
    } catch (const store::Error &) {
        SystemMessageBox(QStringLiteral("提示"), QStringLiteral("保存试题出现错误！"), QMessageBox::Information);
        return;
    }
    accept();
}
