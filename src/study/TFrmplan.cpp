#include "TFrmplan.h"

#include "Backdrops.h"
#include "Clock.h"
#include "DataModule.h"
#include "Look.h"
#include "PlanLogic.h"
#include "TFrmDlg.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace {
const QSize kWindowSize(460, 250);
const int kMaxDigits = 3;
const int kDefaultLeastMark = 60;
const int kDefaultExamSeconds = 150 * 60;

QLineEdit *numberEdit(QWidget *parent, const char *name, int x, int y)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(kMaxDigits);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), edit));
    edit->setAlignment(Qt::AlignCenter);
    edit->setGeometry(x, y, 56, 24);
    return edit;
}

QLabel *plainLabel(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

store::Table &planTable()
{
    store::Table &plan = DataModule->Cn1Table_plan;
    if (plan.isOpen())
        plan.refresh();
    else
        plan.open();
    plan.first();
    return plan;
}
} // namespace

TFrmplan::TFrmplan(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Frmplan"));
    setWindowTitle(QStringLiteral("学习计划"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(kWindowSize);
    buildControls();
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmplan::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(planByQuestions, &QRadioButton::clicked, this, &TFrmplan::SeSkinRadioGroup1Click);
    connect(planByMinutes, &QRadioButton::clicked, this, &TFrmplan::SeSkinRadioGroup1Click);
}

void TFrmplan::buildControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(QRect(QPoint(0, 0), kWindowSize));
    Image1->setPixmap(ui::paintBackdrop({kWindowSize, QString(), 0, {QRect(12, 10, 436, 88)}}));

    epLabel1 = new QLabel(QStringLiteral("距离考试还有"), this);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    epLabel1->setFont(ui::programFont(22));
    epLabel1->setStyleSheet(QStringLiteral("color: #164b5a; font-weight: bold;"));
    epLabel1->setGeometry(40, 34, 300, 30);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont big = ui::programFont(47);
    big.setBold(true);
    big.setItalic(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(169, 16, 85, 61);

    epLabel2 = new QLabel(QStringLiteral("天"), this);
    epLabel2->setObjectName(QStringLiteral("epLabel2"));
    epLabel2->setFont(epLabel1->font());
    epLabel2->setStyleSheet(epLabel1->styleSheet());
    epLabel2->setGeometry(266, 34, 40, 30);

    Label2 = plainLabel(this, QStringLiteral("考试日："), 286, 72);
    Label2->setObjectName(QStringLiteral("Label2"));
    DateEdit1 = new QDateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    DateEdit1->setCalendarPopup(true);
    // The calendar's own size leaves out the style's cell padding: room for the last week too.
    QCalendarWidget *calendar = DateEdit1->calendarWidget();
    calendar->setMinimumHeight(calendar->sizeHint().height() * 8 / 7);
    DateEdit1->setGeometry(344, 68, 108, 26);
    DateEdit1->setToolTip(QStringLiteral("点击右侧按钮-->"));
    DateEdit1->setEnabled(false);

    SeSkinRadioGroup1 = new QGroupBox(QStringLiteral("学习计划"), this);
    SeSkinRadioGroup1->setObjectName(QStringLiteral("SeSkinRadioGroup1"));
    SeSkinRadioGroup1->setGeometry(20, 100, 420, 88);
    SeSkinRadioGroup1->setEnabled(false);
    planByQuestions = new QRadioButton(QStringLiteral("按作题数量制定学习计划"), SeSkinRadioGroup1);
    planByQuestions->setObjectName(QStringLiteral("SeSkinRadioGroup1_0"));
    planByQuestions->setGeometry(14, 24, 220, 24);
    planByMinutes = new QRadioButton(QStringLiteral("按作题时间制定学习计划"), SeSkinRadioGroup1);
    planByMinutes->setObjectName(QStringLiteral("SeSkinRadioGroup1_1"));
    planByMinutes->setGeometry(14, 56, 220, 24);
    auto *modes = new QButtonGroup(this);
    modes->addButton(planByQuestions, 0);
    modes->addButton(planByMinutes, 1);
    for (int row = 0; row < 2; ++row) {
        plainLabel(this, QStringLiteral("每天"), 262, 125 + row * 32);
        plainLabel(this, row == 0 ? QStringLiteral("道题") : QStringLiteral("分钟"), 366, 125 + row * 32);
    }
    suiNumberEdit1 = numberEdit(this, "suiNumberEdit1", 303, 121);
    suiNumberEdit2 = numberEdit(this, "suiNumberEdit2", 303, 153);

    SpeedButton1 = new QPushButton(QStringLiteral("设定"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(290, 205, 70, 28);
    SpeedButton2 = new QPushButton(QStringLiteral("关闭"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(367, 205, 70, 28);
    for (QPushButton *b : {SpeedButton1, SpeedButton2})
        b->setAutoDefault(false);
}

void TFrmplan::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrmplan::FormShow()
{
    store::Table &plan = planTable();
    QDate examDay;
    int mark = 0;
    if (!plan.isEmpty()) {
        suiNumberEdit1->setText(QString::number(plan.fieldByName(QStringLiteral("PlanAmount")).asInteger()));
        suiNumberEdit2->setText(QString::number(plan.fieldByName(QStringLiteral("PlanTime")).asInteger()));
        examDay = study::ParseStoredDate(plan.fieldByName(QStringLiteral("ExamDate")).asString());
        mark = plan.fieldByName(QStringLiteral("PlanMark")).asInteger();
    }
    DateEdit1->setDate(examDay.isValid() ? examDay : store::today());
    (mark == 1 ? planByMinutes : planByQuestions)->setChecked(true);
    showCountdown(examDay.isValid() ? study::CountdownFor(study::DaysUntil(store::today(), examDay))
                                    : study::CountdownUnset());
}

void TFrmplan::showCountdown(const study::Countdown &countdown)
{
    epLabel1->setText(countdown.headline);
    Label1->setText(countdown.number);
    Label1->setVisible(countdown.numberShown);
    epLabel2->setVisible(countdown.numberShown);
    if (countdown.numberShown)
        Label1->setStyleSheet(QStringLiteral("color: %1;").arg(countdown.colour.name()));
}

int TFrmplan::selectedMode() const { return planByMinutes->isChecked() ? 1 : 0; }

bool TFrmplan::editing() const { return SpeedButton1->text() == QStringLiteral("保存"); }

void TFrmplan::SeSkinRadioGroup1Click()
{
    const bool byQuestions = selectedMode() == 0;
    QLineEdit *chosen = byQuestions ? suiNumberEdit1 : suiNumberEdit2;
    chosen->setEnabled(true);
    chosen->setFocus();
    (byQuestions ? suiNumberEdit2 : suiNumberEdit1)->setEnabled(false);
}

void TFrmplan::setEditing(bool on)
{
    SpeedButton1->setText(on ? QStringLiteral("保存") : QStringLiteral("设定"));
    DateEdit1->setEnabled(on);
    SeSkinRadioGroup1->setEnabled(on);
    (selectedMode() == 0 ? suiNumberEdit1 : suiNumberEdit2)->setEnabled(true);
}

void TFrmplan::SpeedButton1Click()
{
    if (!editing()) {
        setEditing(true);
        return;
    }
    if (saveEntry())
        setEditing(false);
}

// Checks the entry first: a plan that cannot be stored says why and stays open for editing.
bool TFrmplan::saveEntry()
{
    const study::PlanEntry entry{selectedMode(), suiNumberEdit1->text(), suiNumberEdit2->text(), DateEdit1->date()};
    const study::CheckedPlan checked = study::CheckPlan(entry);
    if (!checked.problem.isEmpty()) {
        ShowMessageBox(QStringLiteral("提示"), checked.problem, 1, QStringLiteral("NO"), 1);
        return false;
    }
    store::Table &plan = planTable();
    try {
        if (plan.isEmpty()) {
            // A bank without its plan row gets one, with the usual exam settings.
            plan.append();
            plan.setValue(QStringLiteral("LeastMark"), kDefaultLeastMark);
            plan.setValue(QStringLiteral("ExamTime"), kDefaultExamSeconds);
        } else {
            plan.edit();
        }
        plan.setValue(QStringLiteral("PlanAmount"), checked.questions);
        plan.setValue(QStringLiteral("PlanTime"), checked.minutes);
        plan.setValue(QStringLiteral("ExamDate"), entry.examDay);
        plan.setValue(QStringLiteral("PlanMark"), entry.mark);
        plan.post();
    } catch (const std::exception &) {
        plan.cancel();
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("无法保存学习计划！"), 1, QStringLiteral("NO"), 2);
        return false;
    }
    suiNumberEdit1->setText(QString::number(checked.questions));
    suiNumberEdit2->setText(QString::number(checked.minutes));
    showCountdown(study::CountdownFor(study::DaysUntil(store::today(), entry.examDay)));
    return true;
}

void TFrmplan::done(int result)
{
    DataModule->Cn1Table_plan.close();
    QDialog::done(result);
}
