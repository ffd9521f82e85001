#include "TFrmRz.h"

#include "Backdrops.h"
#include "DataModule.h"
#include "Globals.h"
#include "GridModel.h"
#include "Look.h"
#include "LogTotals.h"
#include "TFrmConfig.h"
#include "Theme.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {
const QSize kCompactSize(761, 482);
const QSize kLargeSize(934, 611);
const int kCompactBand = 36;
const int kLargeBand = 42;
const QRect kCompactCard(626, 92, 124, 262);
const QRect kLargeCard(802, 140, 124, 262);

// The grid's columns with their design widths.
struct LogColumn {
    const char *field;
    const char *title;
    int width;
    bool alignRight;
};
const LogColumn kColumns[] = {{"A1", "日期", 113, false},  {"B1", "做过题数", 60, false},
                              {"B2", "做错题数", 60, false}, {"A2", "做过道次", 60, false},
                              {"A3", "做错道次", 60, false}, {"D1", "总用时", 80, true},
                              {"A4", "平均成绩", 71, true}};

QVector<store::GridModel::Column> gridColumns()
{
    QVector<store::GridModel::Column> columns;
    for (const LogColumn &c : kColumns)
        columns.push_back({QLatin1String(c.field), QString::fromUtf8(c.title), c.alignRight});
    return columns;
}

QFont songti(int pixels)
{
    QFont font = ui::programFont(pixels);
    font.setFamilies({QStringLiteral("AR PL UMing CN"), QStringLiteral("WenQuanYi Micro Hei")});
    return font;
}

bool compactScreen() { return ScreenClass == QLatin1String("800"); }
} // namespace

TFrmRz::TFrmRz(QWidget *parent) : QDialog(parent), m_model(new store::GridModel(gridColumns(), this))
{
    setObjectName(QStringLiteral("FrmRz"));
    setWindowTitle(QStringLiteral("日志"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmRz::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

void TFrmRz::buildControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ui::paintBackdrop({kCompactSize, QStringLiteral("学习日志"), kCompactBand, {kCompactCard}}));
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(ui::paintBackdrop({QSize(936, 611), QStringLiteral("学习日志"), kLargeBand, {kLargeCard}}));

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DBGrid1->setAlternatingRowColors(true);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->setWordWrap(false);
    DBGrid1->setFont(songti(16));
    DBGrid1->horizontalHeader()->setFont(songti(14));
    DBGrid1->verticalHeader()->setDefaultSectionSize(26);

    auto title = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(ui::programFont(13));
        l->setStyleSheet(QStringLiteral("color: #164b5a;"));
        return l;
    };
    Label1 = title("Label1", QStringLiteral("已做习题\n（道次）"));
    Label2 = title("Label2", QStringLiteral("做错习题\n（道次）"));
    Label3 = title("Label3", QStringLiteral("综合成绩"));
    auto figure = [this](const char *name) {
        auto *l = new QLabel(QStringLiteral("99999"), this);
        l->setObjectName(QLatin1String(name));
        l->setAlignment(Qt::AlignCenter);
        QFont font = ui::programFont(26);
        font.setBold(true);
        l->setFont(font);
        l->setStyleSheet(QStringLiteral("color: %1;").arg(theme::Maroon.name()));
        return l;
    };
    epLabel2 = figure("epLabel2");
    epLabel3 = figure("epLabel3");
    epLabel4 = figure("epLabel4");

    SpeedButton1 = new QPushButton(QStringLiteral("设置"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton3 = new QPushButton(QStringLiteral("关闭"), this);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton2 = new QPushButton(QStringLiteral("关闭"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setEnabled(false);
    for (QPushButton *b : {SpeedButton1, SpeedButton2, SpeedButton3})
        b->setAutoDefault(false);
    applyCompactLayout();
}

void TFrmRz::FormCreate()
{
    store::Table &log = DataModule->Cn1Table_rz;
    if (log.isOpen())
        log.refresh();
    else
        log.open();
    log.setSort(QStringLiteral("A1 DESC"));
    m_model->reload(log);
    for (int c = 0; c < int(std::size(kColumns)); ++c)
        DBGrid1->setColumnWidth(c, compactScreen() ? kColumns[c].width : (c == 0 ? 192 : 80));

    const study::LogTotals totals = study::ReadLogTotals(DataModule->Cn1Query1);
    epLabel2->setText(QString::number(totals.attempts));
    epLabel3->setText(QString::number(totals.wrong));
    epLabel4->setText(totals.score);
}

void TFrmRz::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TFrmRz::FormShow()
{
    // The compact grid's 60-pixel columns keep their four-character titles whole in a smaller type.
    const bool compact = compactScreen();
    DBGrid1->horizontalHeader()->setFont(songti(compact ? 12 : 14));
    DBGrid1->horizontalHeader()->setStyleSheet(compact ? QStringLiteral("QHeaderView::section { padding: 4px 1px; }")
                                                       : QString());
    if (compact) {
        applyCompactLayout();
        DBGrid1->setColumnWidth(0, 198);
    } else {
        applyLargeLayout();
        DBGrid1->setColumnWidth(0, 252);
    }
}

void TFrmRz::applyCompactLayout()
{
    Image1->show();
    Image2->hide();
    setFixedSize(kCompactSize);
    Image1->setGeometry(QRect(QPoint(0, 0), kCompactSize));
    DBGrid1->setGeometry(14, kCompactBand + 10, 606, 384);
    const int left = kCompactCard.x() + 4;
    const int width = kCompactCard.width() - 8;
    Label1->setGeometry(left, 104, width, 36);
    epLabel2->setGeometry(left, 140, width, 38);
    Label2->setGeometry(left, 190, width, 36);
    epLabel3->setGeometry(left, 226, width, 38);
    Label3->setGeometry(left, 280, width, 20);
    epLabel4->setGeometry(left, 302, width, 38);
    SpeedButton1->setGeometry(446, 440, 82, 32);
    SpeedButton3->setGeometry(536, 440, 82, 32);
    SpeedButton2->setGeometry(790, 420, 64, 62);
}

void TFrmRz::applyLargeLayout()
{
    Image2->show();
    Image1->hide();
    setFixedSize(kLargeSize);
    Image1->setGeometry(-1, 0, 762, 482);
    Image2->setGeometry(0, 0, 936, 611);
    // Titles keep their design tops; they are as wide as the totals card so two lines fit.
    const int left = kLargeCard.x() + 4;
    const int width = kLargeCard.width() - 8;
    Label1->setGeometry(left, 157 - 6, width, 40);
    Label2->setGeometry(left, 243 - 6, width, 40);
    Label3->setGeometry(left, 326, width, 20);
    epLabel2->setGeometry(812, 195, 95, 34);
    epLabel3->setGeometry(812, 276, 95, 34);
    epLabel4->setGeometry(812, 346, 95, 34);
    SpeedButton1->setGeometry(585, 541, 85, 36);
    SpeedButton2->setGeometry(968, 521, 64, 62);
    SpeedButton3->setGeometry(676, 541, 85, 36);
    DBGrid1->setGeometry(20, 53, 773, 474);
}

void TFrmRz::SpeedButton1Click()
{
    auto *settings = new TFrmConfig(this);
    SettingsVariant = 0;
    settings->exec();
}

void TFrmRz::done(int result)
{
    DataModule->Cn1Table_rz.close();
    QDialog::done(result);
}
