#include "TFrmInPut.h"

#include "AuthoringLayout.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "QuestionFields.h"
#include "QuestionStore.h"
#include "RichEditBar.h"
#include "RichEditor.h"
#include "SystemMessageBox.h"
#include "TFrmConfig.h"
#include "TitleStrip.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>

using namespace authoring;

TFrmInPut::TFrmInPut(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmInPut"));
    setWindowTitle(QStringLiteral("试题录入"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    m_keys = new KeyFields(ComboBox1, SE_Num, Edit1, this);
    m_links = new PointLinks(BtnAddFg, ListBox1, ListBox2, 1,
                             QStringLiteral("试题对应考点最多为10条！\n如果要去掉考点，请选中要\n去掉的考点，再按键盘上的\n[Delete]键！"),
                             this);
    SE_Num->setValue(5);
    connect(SpeedButton4, &QPushButton::clicked, this, &TFrmInPut::SpeedButton4Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TFrmInPut::SpeedButton3Click);
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { showInstructions(this); });
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmInPut::SpeedButton1Click);
    connect(SpeedButton7, &QPushButton::clicked, this, &QDialog::accept);
}

void TFrmInPut::buildControls()
{
    Caption = new ui::TitleStrip(QStringLiteral("试题录入"), this);
    Caption->setObjectName(QStringLiteral("Caption"));
    Lb_cap = new QLabel(this);
    Lb_cap->setObjectName(QStringLiteral("Lb_cap"));
    Lb_cap->hide();

    EditorForm form(this);
    LbBody = form.label("LbBody", QStringLiteral("试题内容："));
    LbExplanation = form.label("LbExplanation", QStringLiteral("试题解析："));
    EditBar = new richtext::RichEditBar(this);
    Re1 = form.editor("Re1");
    Re2 = form.editor("Re2");
    EditBar->attach(Re1);
    EditBar->attach(Re2);

    Label3 = form.label("Label3", QStringLiteral("待选答案个数："));
    Label4 = form.label("Label4", QStringLiteral("试题答案："));
    Label5 = form.label("Label5", QStringLiteral("题    型："));
    Label6 = form.label("Label6", QStringLiteral("对应考点："));
    const EditorForm::KeyAndLinks side = form.keyAndLinks();
    SE_Num = side.options;
    Edit1 = side.key;
    ComboBox1 = side.types;
    BtnAddFg = side.addPoints;
    ListBox1 = side.shown;
    ListBox2 = side.codes;

    SpeedButton4 = form.button("SpeedButton4", QStringLiteral("保存"));
    SpeedButton3 = form.button("SpeedButton3", QStringLiteral("清除"));
    SpeedButton2 = form.button("SpeedButton2", QStringLiteral("使用说明"));
    SpeedButton1 = form.button("SpeedButton1", QStringLiteral("设置"));
    SpeedButton7 = form.button("SpeedButton7", QStringLiteral("关闭"));

    EditorLayout layout;
    layout.caption = Caption;
    layout.bar = EditBar;
    layout.editors = {{LbBody, Re1, 3}, {LbExplanation, Re2, 2}};
    layout.fields = {{Label3, SE_Num}, {Label4, Edit1}, {Label5, ComboBox1}, {Label6, BtnAddFg}};
    layout.links = ListBox1;
    layout.buttons = {SpeedButton4, SpeedButton3, SpeedButton2, SpeedButton1, SpeedButton7};
    LbSaved = form.label("LbSaved", QString());
    LbSaved->setProperty("role", QStringLiteral("saved"));
    layout.status = LbSaved;
    layout.install(this);
}

void TFrmInPut::setChapter(const QString &code, const QString &name)
{
    m_chapter = code;
    Lb_cap->setText(QStringLiteral("试题录入 [") + name + QLatin1Char(']'));
    Caption->setText(Lb_cap->text());
    m_keys->setTypes(typesOfSubject(DataModule->ADOCn1, subjectOfChapter(code)));
    m_keys->selectFirstType();
}

void TFrmInPut::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const bool compact = ScreenClass == QLatin1String("800");
    setFixedSize(compact ? QSize(762, 480) : QSize(931, 611));
    centreOnScreen(this);
    Re1->setFocus();
}

bool TFrmInPut::validate()
{
    const auto refuse = [](QWidget *field, const QString &text) {
        SystemMessageBox(QStringLiteral("提示"), text, QMessageBox::Information);
        field->setFocus();
        return false;
    };
    if (Re1->isBlank())
        return refuse(Re1, QStringLiteral("请填写试题内容！"));
    if (Edit1->text().trimmed().isEmpty())
        return refuse(Edit1, QStringLiteral("请填写试题答案！"));
    if (m_keys->currentType().code == 0)
        return refuse(ComboBox1, QStringLiteral("请选择题型！"));
    const CheckedKey key = checkKey(m_keys->currentType(), SE_Num->value(), Edit1->text());
    if (!key.ok())
        return refuse(Edit1, key.error);
    return true;
}

void TFrmInPut::SpeedButton4Click()
{
    if (!validate())
        return;
    QuestionContent content;
    content.type = m_keys->currentType().code;
    content.options = SE_Num->value();
    content.key = checkKey(m_keys->currentType(), content.options, Edit1->text()).key;
    content.body = QString::fromLatin1(Re1->rtf());
    if (!Re2->isBlank())
        content.explanation = QString::fromLatin1(Re2->rtf());
    content.points = m_links->codes();
    EntryResult saved;
    try {
        saved = addOwnQuestion(DataModule->ADOCn1, m_chapter, content);
        if (saved.sequenceExhausted) {
            SystemMessageBox(QStringLiteral("提示"), QStringLiteral("最多只能录入9999道题！"), QMessageBox::Warning);
            return;
        }
    } catch (const store::Error &) {
        SystemMessageBox(QStringLiteral("提示"), QStringLiteral("保存试题出现错误！"), QMessageBox::Information);
        return;
    }
    SpeedButton3Click();
    ++EnteredCount;
    LbSaved->setText(QStringLiteral("已保存，试题编号 %1").arg(saved.id));
}

void TFrmInPut::SpeedButton3Click()
{
    Re1->clear();
    Re2->clear();
    Edit1->clear();
    m_links->clear();
    m_keys->selectFirstType();
}

void TFrmInPut::SpeedButton1Click()
{
    SettingsVariant = 0;
    TFrmConfig settings(this);
    settings.exec();
}
