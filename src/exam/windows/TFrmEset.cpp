#include "TFrmEset.h"

#include "Bevel.h"
#include "Buttons.h"
#include "DataModule.h"
#include "Error.h"
#include "Routines.h"
#include "SystemMessageBox.h"
#include "TitleStrip.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace {

constexpr int kStrip = 26;
const QString kDefaultMinutes = QStringLiteral("120");

QLineEdit *numberEdit(QWidget *parent, const char *name, const QString &hint)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(3);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), edit));
    edit->setToolTip(hint);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

TFrmEset::TFrmEset(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmEset"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("考试设置"));
    setFixedSize(360, 159);
    auto *face = new ui::Bevel(this);
    face->setGeometry(rect());
    auto *strip = new ui::TitleStrip(windowTitle(), this);
    strip->setGeometry(0, 0, width(), kStrip);

    suiCheckBox1 = new QCheckBox(QStringLiteral("保留试卷最低分数"), this);
    suiCheckBox1->setObjectName(QStringLiteral("suiCheckBox1"));
    suiNumberEdit1 = numberEdit(this, "suiNumberEdit1", QStringLiteral("与试卷总分数相关"));
    suiCheckBox2 = new QCheckBox(QStringLiteral("模拟考试答题时间"), this);
    suiCheckBox2->setObjectName(QStringLiteral("suiCheckBox2"));
    suiNumberEdit2 = numberEdit(this, "suiNumberEdit2", QStringLiteral("（单位：分钟）"));
    auto *unit1 = new QLabel(QStringLiteral("分"), this);
    auto *unit2 = new QLabel(QStringLiteral("分钟"), this);
    suiButton1 = new ui::ShapeButton(QStringLiteral("默认"), this);
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiButton1->setToolTip(QStringLiteral("先选择要恢复默认值的项"));
    suiButton2 = new ui::ShapeButton(QStringLiteral("关闭"), this);
    suiButton2->setObjectName(QStringLiteral("suiButton2"));
    suiButton2->setToolTip(QStringLiteral("保存后退出本界面"));
    for (QPushButton *b : {suiButton1, suiButton2})
        b->setAutoDefault(false);

    suiCheckBox1->setGeometry(36, 44, 170, 26);
    suiNumberEdit1->setGeometry(212, 44, 64, 26);
    unit1->setGeometry(282, 44, 40, 26);
    suiCheckBox2->setGeometry(36, 80, 170, 26);
    suiNumberEdit2->setGeometry(212, 80, 64, 26);
    unit2->setGeometry(282, 80, 50, 26);
    suiButton1->setGeometry(92, 119, 80, 28);
    suiButton2->setGeometry(188, 119, 80, 28);

    connect(suiCheckBox1, &QCheckBox::clicked, this, &TFrmEset::suiCheckBoxClick);
    connect(suiCheckBox2, &QCheckBox::clicked, this, &TFrmEset::suiCheckBoxClick);
    connect(suiButton1, &QPushButton::clicked, this, &TFrmEset::suiButton1Click);
    connect(suiButton2, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(suiNumberEdit1, &QLineEdit::textChanged, this, &TFrmEset::suiNumberEdit1Change);
}

void TFrmEset::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TFrmEset::FormShow()
{
    store::Table &plan = DataModule->Cn1Table_plan;
    if (!plan.isOpen())
        plan.open();
    plan.first();
    suiNumberEdit1->setText(plan.fieldByName(QStringLiteral("LeastMark")).asString());
    suiNumberEdit2->setText(QString::number(plan.fieldByName(QStringLiteral("ExamTime")).asInteger() / 60));
}

void TFrmEset::suiCheckBoxClick() { suiButton1->setEnabled(suiCheckBox1->isChecked() || suiCheckBox2->isChecked()); }

void TFrmEset::suiButton1Click()
{
    if (suiCheckBox1->isChecked())
        suiNumberEdit1->setText(QString::number(PaperTotalMarks() / 2));
    if (suiCheckBox2->isChecked())
        suiNumberEdit2->setText(kDefaultMinutes);
}

void TFrmEset::suiNumberEdit1Change()
{
    if (suiNumberEdit1->text().isEmpty()) {
        suiNumberEdit1->setText(QStringLiteral("0"));
        return;
    }
    const int total = PaperTotalMarks();
    if (suiNumberEdit1->text().toInt() > total) {
        SystemMessageBox(QStringLiteral("提示"), QStringLiteral("最低分数不能超过总分数！"), QMessageBox::Information);
        suiNumberEdit1->setText(QString::number(total));
        suiNumberEdit1->setFocus();
    }
}

void TFrmEset::save()
{
    store::Table &plan = DataModule->Cn1Table_plan;
    bool minutesRead = false;
    const int minutes = suiNumberEdit2->text().toInt(&minutesRead);
    try {
        if (!minutesRead)
            throw store::Error(QStringLiteral("answer time is not a number"));
        if (!plan.isOpen())
            plan.open();
        plan.first();
        plan.edit();
        plan.setValue(QStringLiteral("LeastMark"), suiNumberEdit1->text().toInt());
        plan.setValue(QStringLiteral("ExamTime"), minutes * 60);
        plan.post();
    } catch (const store::Error &) {
        plan.cancel();
        SystemMessageBox(QStringLiteral("警告"), QStringLiteral("保存设置失败！"), QMessageBox::Critical);
    }
}

void TFrmEset::done(int result)
{
    if (!m_saved) {
        m_saved = true;
        save();
        DataModule->Cn1Table_plan.close();
    }
    QDialog::done(result);
}
