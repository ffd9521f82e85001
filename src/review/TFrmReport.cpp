#include "TFrmReport.h"

#include "AnswerHistory.h"
#include "Bevel.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "ReviewRun.h"
#include "TFrmDlg.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

const QSize kDesignSize(900, 640);
const QSize kCompactSize(780, 560);
const int kCaptionHeight = 25;

QString marks(double value) { return QString::number(value, 'f', 1); }
QString percent(double share) { return QString::number(share * 100, 'f', 1) + QStringLiteral("%"); }

QTableWidget *makeTable(const QString &name, const QStringList &headers, QWidget *parent)
{
    auto *table = new QTableWidget(0, int(headers.size()), parent);
    table->setObjectName(name);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    return table;
}

QTableWidgetItem *cell(const QString &text, Qt::Alignment align = Qt::AlignRight | Qt::AlignVCenter)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    return item;
}

} // namespace

TFrmReport::TFrmReport(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmReport"));
    setWindowTitle(QStringLiteral("学习报告"));
    Caption = new ui::TitleStrip(QStringLiteral("学习报告"), this);
    epBevel1 = new ui::Bevel(this);
    auto *layout = new QVBoxLayout(epBevel1);
    ReportTabs = new QTabWidget(epBevel1);
    ReportTabs->setObjectName(QStringLiteral("ReportTabs"));
    ReportTabs->addTab(buildScorePage(), QStringLiteral("预测成绩"));
    ReportTabs->addTab(buildWeakPage(), QStringLiteral("失分最多"));
    ReportTabs->addTab(buildModelPage(), QStringLiteral("模型"));
    layout->addWidget(ReportTabs, 1);
    CloseButton = new QPushButton(QStringLiteral("关闭"), epBevel1);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setFixedSize(80, 28);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(CloseButton, 0, Qt::AlignRight);
    applyLayout(ScreenClass == QLatin1String("800"));
    refresh();
}

QWidget *TFrmReport::buildScorePage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    SubjectTable = makeTable(QStringLiteral("SubjectTable"),
                             {QStringLiteral("科目"), QStringLiteral("满分"), QStringLiteral("预测得分"),
                              QStringLiteral("80% 区间"), QStringLiteral("及格把握"), QStringLiteral("已做 / 题数")},
                             page);
    layout->addWidget(SubjectTable);
    auto *note = new QLabel(QStringLiteral("按今天抽一份模拟试卷估计：每种题型的题数 × 分值 × 该题型题目的平均答对把握；"
                                           "及格线为满分的 60%。"),
                            page);
    note->setObjectName(QStringLiteral("ScoreNote"));
    note->setWordWrap(true);
    layout->addWidget(note);
    TrendChart = new QChartView(new QChart, page);
    TrendChart->setObjectName(QStringLiteral("TrendChart"));
    TrendChart->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(TrendChart, 1);
    return page;
}

QWidget *TFrmReport::buildWeakPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    const QStringList tail{QStringLiteral("试卷分值"), QStringLiteral("掌握度"), QStringLiteral("失分"),
                           QStringLiteral("题数"), QString()};
    ChapterTable = makeTable(QStringLiteral("ChapterTable"), QStringList{QStringLiteral("失分最多的章节")} + tail, page);
    PointTable = makeTable(QStringLiteral("PointTable"), QStringList{QStringLiteral("失分最多的考点")} + tail, page);
    layout->addWidget(ChapterTable, 1);
    layout->addWidget(PointTable, 1);
    return page;
}

QWidget *TFrmReport::buildModelPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    HonestyLabel = new QLabel(page);
    HonestyLabel->setObjectName(QStringLiteral("HonestyLabel"));
    HonestyLabel->setWordWrap(true);
    ModelLabel = new QLabel(page);
    ModelLabel->setObjectName(QStringLiteral("ModelLabel"));
    ModelLabel->setWordWrap(true);
    ModelLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(HonestyLabel);
    layout->addWidget(ModelLabel);
    layout->addStretch(1);
    return page;
}

void TFrmReport::applyLayout(bool compact)
{
    const QSize size = compact ? kCompactSize : kDesignSize;
    setFixedSize(size);
    Caption->setGeometry(0, 0, size.width(), kCaptionHeight);
    epBevel1->setGeometry(0, kCaptionHeight, size.width(), size.height() - kCaptionHeight);
}

void TFrmReport::refresh()
{
    ui::WaitCursor hourglass;
    store::Connection &c = DataModule->ADOCn1;
    const QDateTime now = store::review::now();
    try {
        store::review::fitIfStale(c, now);
    } catch (const store::Error &) {
        // A bank that cannot be written keeps its parameters; the report still shows.
    }
    m_report = store::review::buildReport(c, now);
    try {
        store::review::storePredictions(c, m_report);
    } catch (const store::Error &) {
        // Today's point of the line is missing on a read-only bank; the rest stands.
    }
    fillSubjects();
    fillTrend();
    fillWeakSpots(ChapterTable, m_report.chapters, false);
    fillWeakSpots(PointTable, m_report.points, true);
    fillModel();
}

void TFrmReport::fillSubjects()
{
    SubjectTable->setRowCount(int(m_report.subjects.size()));
    int row = 0;
    for (const store::review::SubjectPrediction &p : m_report.subjects) {
        SubjectTable->setItem(row, 0, cell(p.name.isEmpty() ? QStringLiteral("科目%1").arg(p.subject) : p.name,
                                           Qt::AlignLeft | Qt::AlignVCenter));
        SubjectTable->setItem(row, 1, cell(marks(p.fullMarks)));
        SubjectTable->setItem(row, 2, cell(marks(p.score)));
        SubjectTable->setItem(row, 3, cell(marks(p.low) + QStringLiteral(" – ") + marks(p.high)));
        SubjectTable->setItem(row, 4, cell(percent(p.passChance)));
        SubjectTable->setItem(row, 5, cell(QStringLiteral("%1 / %2").arg(p.answered).arg(p.questions)));
        ++row;
    }
}

void TFrmReport::fillTrend()
{
    QChart *chart = TrendChart->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes())
        chart->removeAxis(axis);
    chart->setTitle(QStringLiteral("预测得分率的变化（占满分）"));
    auto *days = new QDateTimeAxis;
    days->setFormat(QStringLiteral("MM-dd"));
    auto *share = new QValueAxis;
    share->setRange(0, 100);
    share->setLabelFormat(QStringLiteral("%d%"));
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(share, Qt::AlignLeft);
    QDate first, last;
    for (const store::review::SubjectPrediction &p : m_report.subjects) {
        auto *line = new QLineSeries;
        line->setName(p.name.isEmpty() ? QStringLiteral("科目%1").arg(p.subject) : p.name);
        for (const store::review::PredictionPoint &t : m_report.trend) {
            if (t.subject != p.subject || t.fullMarks <= 0)
                continue;
            line->append(double(t.day.startOfDay().toMSecsSinceEpoch()), t.score / t.fullMarks * 100);
            first = first.isValid() ? qMin(first, t.day) : t.day;
            last = last.isValid() ? qMax(last, t.day) : t.day;
        }
        line->setPointsVisible(line->count() < 40);
        chart->addSeries(line);
        line->attachAxis(days);
        line->attachAxis(share);
    }
    if (first.isValid())
        days->setRange(first.addDays(-1).startOfDay(), last.addDays(1).startOfDay());
    days->setTickCount(qBound(2, int(first.daysTo(last)) + 3, 8));
    chart->legend()->setAlignment(Qt::AlignBottom);
}

void TFrmReport::fillWeakSpots(QTableWidget *table, const QVector<store::review::WeakSpot> &spots, bool points)
{
    table->setRowCount(int(spots.size()));
    for (int row = 0; row < spots.size(); ++row) {
        const store::review::WeakSpot &s = spots.at(row);
        table->setItem(row, 0, cell(s.name == s.code ? s.code : s.code + QStringLiteral(" ") + s.name,
                                    Qt::AlignLeft | Qt::AlignVCenter));
        table->setItem(row, 1, cell(marks(s.weight)));
        table->setItem(row, 2, cell(percent(s.mastery)));
        table->setItem(row, 3, cell(marks(s.lost())));
        table->setItem(row, 4, cell(QString::number(s.questions.size())));
        auto *button = new QPushButton(QStringLiteral("练习"), table);
        button->setObjectName(QStringLiteral("%1%2").arg(points ? QStringLiteral("PractisePoint")
                                                                : QStringLiteral("PractiseChapter"))
                                  .arg(row + 1));
        connect(button, &QPushButton::clicked, this, [this, points, row] { practise(points, row); });
        table->setCellWidget(row, 5, button);
    }
}

void TFrmReport::fillModel()
{
    const store::review::Honesty &h = m_report.honesty;
    if (h.answers == 0)
        HonestyLabel->setText(QStringLiteral("还没有作答记录：做题之后，这里比较模型的预计与实际的答对率。"));
    else
        HonestyLabel->setText(QStringLiteral("模型的诚实度：最近 %1 次作答，模型预计平均答对 %2，实际答对 %3。")
                                  .arg(h.answers)
                                  .arg(percent(h.meanPredicted), percent(h.shareRight)));
    QStringList weights;
    for (double w : m_report.parameters.w)
        weights << QString::number(w, 'f', 4);
    const store::review::FitRecord &fit = m_report.fit;
    const QString fitted =
        fit.fittedAt.isValid()
            ? QStringLiteral("参数于 %1 按您的 %2 次作答拟合（对数损失 %3 → %4）。")
                  .arg(fit.fittedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                  .arg(fit.answers)
                  .arg(fit.logLossBefore, 0, 'f', 4)
                  .arg(fit.logLossAfter, 0, 'f', 4)
            : QStringLiteral("作答满 1000 次后按您自己的记录拟合参数；目前使用默认参数（已有 %1 次作答）。")
                  .arg(m_report.historyAnswers);
    ModelLabel->setText(QStringLiteral("%1\n复习目标记忆率：%2（可在“答题时间”设置中修改）。\n参数：%3")
                            .arg(fitted, percent(m_report.target), weights.join(QStringLiteral("  "))));
}

void TFrmReport::practise(bool points, int row)
{
    const QVector<store::review::WeakSpot> &spots = points ? m_report.points : m_report.chapters;
    if (row < 0 || row >= spots.size())
        return;
    const store::review::WeakSpot spot = spots.at(row);
    const QString caption = points ? QStringLiteral("薄弱考点练习") : QStringLiteral("薄弱章节练习");
    const QString board = QStringLiteral("%1：%2（掌握度 %3，按把握从低到高排列）")
                              .arg(points ? QStringLiteral("考点") : QStringLiteral("章节"), spot.name,
                                   percent(spot.mastery));
    try {
        review::practise(spot.questions, caption, board,
                         points ? store::review::AnswerPlace::PointPractice : store::review::AnswerPlace::Practice, this);
        refresh();
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
    }
}
