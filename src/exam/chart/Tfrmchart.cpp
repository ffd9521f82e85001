#include "Tfrmchart.h"

#include "Backdrops.h"
#include "BarPages.h"
#include "ChartData.h"
#include "ChartOutput.h"
#include "Clock.h"
#include "DataModule.h"
#include "DistributionPage.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"
#include "TFrmReport.h"
#include "WaitCursor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
const QSize kCompactSize(790, 472);
const QSize kLargeSize(934, 600);
const char *const kTypeNames[] = {"习题分布", "频度统计", "进度统计", "学习曲线"};
const char *const kPositionNames[] = {"上方", "下方", "左侧", "右侧"};
const Qt::Alignment kPositions[] = {Qt::AlignTop, Qt::AlignBottom, Qt::AlignLeft, Qt::AlignRight};
// The notebook page of each chart type.
const int kPageOfType[] = {1, 0, 2, 3};

QPushButton *commandButton(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setMinimumHeight(28);
    return b;
}
} // namespace

Tfrmchart::Tfrmchart(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmchart"));
    setWindowTitle(QStringLiteral("成绩统计图"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    ui::WaitCursor hourglass;
    buildControls();
    applyLayout(ScreenClass == QLatin1String("800"));
    FormShow();
}

void Tfrmchart::buildControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    frequency = new chart::FrequencyPage(Notebook1);
    distribution = new chart::DistributionPage(Notebook1);
    progress = new chart::ProgressPage(Notebook1);
    curve = new chart::CurvePage(Notebook1);
    for (QWidget *page : {static_cast<QWidget *>(frequency), static_cast<QWidget *>(distribution),
                          static_cast<QWidget *>(progress), static_cast<QWidget *>(curve)})
        Notebook1->addWidget(page);

    epEfTrBtn1 = commandButton(this, "epEfTrBtn1", QStringLiteral("设置"));
    auto radioGroup = [this](const char *name, const QString &title, const char *const *items, int count,
                             QButtonGroup *&buttons) {
        auto *box = new QGroupBox(title, this);
        box->setObjectName(QLatin1String(name));
        // One choice a row: the column is too narrow for two whole captions side by side.
        auto *grid = new QVBoxLayout(box);
        grid->setContentsMargins(8, 6, 4, 6);
        grid->setSpacing(2);
        buttons = new QButtonGroup(box);
        for (int i = 0; i < count; ++i) {
            auto *radio = new QRadioButton(QString::fromUtf8(items[i]), box);
            radio->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i));
            buttons->addButton(radio, i);
            grid->addWidget(radio);
        }
        return box;
    };
    RadioGroup1 = radioGroup("RadioGroup1", QStringLiteral("统计图类型"), kTypeNames, 4, m_types);
    RadioGroup2 = radioGroup("RadioGroup2", QStringLiteral("图例位置"), kPositionNames, 4, m_positions);
    styleGroup = new QGroupBox(QStringLiteral("显示风格"), this);
    styleGroup->setObjectName(QStringLiteral("GroupBox1"));
    auto *styles = new QVBoxLayout(styleGroup);
    styles->setContentsMargins(8, 6, 4, 6);
    styles->setSpacing(2);
    auto check = [this, styles](const char *name, const QString &text) {
        auto *box = new QCheckBox(text, styleGroup);
        box->setObjectName(QLatin1String(name));
        box->setChecked(true);
        styles->addWidget(box);
        return box;
    };
    CheckBox1 = check("CheckBox1", QStringLiteral("立体显示"));
    CheckBox3 = check("CheckBox3", QStringLiteral("显示标签"));
    CheckBox2 = check("CheckBox2", QStringLiteral("显示图例"));
    epFocusButton3 = commandButton(this, "epFocusButton3", QStringLiteral("存为..."));
    epFocusButton1 = commandButton(this, "epFocusButton1", QStringLiteral("打印"));
    epFocusButton2 = commandButton(this, "epFocusButton2", QStringLiteral("关闭"));
    ReportButton = commandButton(this, "ReportButton", QStringLiteral("学习报告"));

    m_controls = new QWidget(this);
    auto *column = new QVBoxLayout(m_controls);
    column->setContentsMargins(0, 0, 0, 0);
    for (QWidget *w : {static_cast<QWidget *>(epEfTrBtn1), static_cast<QWidget *>(RadioGroup1),
                       static_cast<QWidget *>(RadioGroup2), static_cast<QWidget *>(styleGroup)})
        column->addWidget(w);
    column->addStretch(1);
    for (QPushButton *b : {ReportButton, epFocusButton3, epFocusButton1, epFocusButton2})
        column->addWidget(b);

    connect(m_types, &QButtonGroup::idClicked, this, &Tfrmchart::RadioGroup1Click);
    connect(m_positions, &QButtonGroup::idClicked, this, &Tfrmchart::RadioGroup2Click);
    connect(CheckBox1, &QCheckBox::clicked, this, &Tfrmchart::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::clicked, this, &Tfrmchart::CheckBox2Click);
    connect(CheckBox3, &QCheckBox::clicked, this, &Tfrmchart::CheckBox3Click);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &Tfrmchart::epEfTrBtn1Click);
    connect(epFocusButton3, &QPushButton::clicked, this, &Tfrmchart::epFocusButton3Click);
    connect(epFocusButton1, &QPushButton::clicked, this, &Tfrmchart::epFocusButton1Click);
    connect(epFocusButton2, &QPushButton::clicked, this, &QDialog::accept);
    connect(ReportButton, &QPushButton::clicked, this, &Tfrmchart::ReportButtonClick);
}

void Tfrmchart::ReportButtonClick()
{
    ui::WaitCursor hourglass;
    TFrmReport report(this);
    hourglass.restore();
    report.exec();
}

void Tfrmchart::applyLayout(bool compact)
{
    const QSize size = compact ? kCompactSize : kLargeSize;
    setFixedSize(size);
    const QRect chartArea = compact ? QRect(8, 8, 640, 456) : QRect(10, 10, 783, 559);
    const int column = compact ? 658 : 813;
    const int columnWidth = size.width() - column - 10;
    Image1->setGeometry(QRect(QPoint(0, 0), size));
    Image1->setPixmap(ui::paintBackdrop({size, QString(), 0, {chartArea.adjusted(-3, -3, 3, 3)}}));
    Notebook1->setGeometry(chartArea);

    m_controls->setGeometry(column, chartArea.top(), columnWidth, chartArea.height());
    static_cast<QBoxLayout *>(m_controls->layout())->setSpacing(compact ? 6 : 10);
}

void Tfrmchart::FormShow()
{
    const QVector<chart::ChapterStat> chapters = chart::ReadTopChapters(DataModule->ADOQ_kmmc);
    frequency->load(chapters);
    distribution->load(chapters, chart::TotalQuestions(DataModule->Cn1Query1));
    progress->load(chapters);
    curve->load(chart::ReadRecentDays(DataModule->Cn1Query1, store::today()),
                chart::DailyQuestionTarget(DataModule->Cn1Query1));
    Notebook1->setCurrentIndex(0);
    selectChartType(Frequency);
}

chart::ChartPage *Tfrmchart::shownPage() const { return static_cast<chart::ChartPage *>(Notebook1->currentWidget()); }

void Tfrmchart::selectChartType(ChartType type)
{
    m_types->button(type)->setChecked(true);
    RadioGroup1Click(type);
}

void Tfrmchart::selectLegendPosition(int index)
{
    m_positions->button(index)->setChecked(true);
    RadioGroup2Click(index);
}

// The reset acts on the chart shown before the switch; every other chart already has these settings.
void Tfrmchart::RadioGroup1Click(int item)
{
    shownPage()->resetOptions();
    resetDisplayControls();
    Notebook1->setCurrentIndex(kPageOfType[item]);
    if (item == Distribution)
        distribution->Label2->setText(QString::number(chart::TotalQuestions(DataModule->Cn1Query1)));
}

void Tfrmchart::resetDisplayControls()
{
    m_positions->button(0)->setChecked(true);
    for (QCheckBox *box : {CheckBox1, CheckBox2, CheckBox3})
        box->setChecked(true);
    RadioGroup2->setEnabled(true);
}

void Tfrmchart::RadioGroup2Click(int item) { shownPage()->setLegendAlignment(kPositions[item]); }

void Tfrmchart::CheckBox1Click() { shownPage()->setDepthShown(CheckBox1->isChecked()); }

void Tfrmchart::CheckBox2Click()
{
    shownPage()->setLegendShown(CheckBox2->isChecked());
    RadioGroup2->setEnabled(CheckBox2->isChecked());
}

void Tfrmchart::CheckBox3Click() { shownPage()->setLabelsShown(CheckBox3->isChecked()); }

void Tfrmchart::epFocusButton1Click()
{
    switch (chart::printPicture(shownPage()->picture())) {
    case chart::PrintResult::Printed:
        break;
    case chart::PrintResult::NoPrinter:
        ShowMessageBox(QStringLiteral("提示"), QStringLiteral("没有发现打印机！"), 1, QStringLiteral("NO"), 1);
        break;
    case chart::PrintResult::Failed:
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("打印时发生错误！"), 1, QStringLiteral("NO"), 2);
        break;
    }
}

void Tfrmchart::epFocusButton3Click()
{
    const QString chosen = ui::getSaveFileName(
        this, QStringLiteral("存为..."), QString(),
        QStringLiteral("Bitmaps图片 (*.bmp);;PNG图片 (*.png);;JPEG图片 (*.jpg *.jpeg)"));
    if (chosen.isEmpty())
        return;
    if (!chart::savePicture(shownPage()->picture(), chart::withPictureSuffix(chosen)))
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("无法保存文件！"), 1, QStringLiteral("NO"), 2);
}

void Tfrmchart::epEfTrBtn1Click()
{
    TFrmConfig settings(this);
    SettingsVariant = 0;
    settings.exec();
}

void Tfrmchart::done(int result)
{
    DataModule->ADOQ_kmmc.close();
    QDialog::done(result);
}
