#include "BarPages.h"

#include "ChartLegend.h"
#include "RowNames.h"
#include "Look.h"
#include "Theme.h"

#include <QBarCategoryAxis>
#include <algorithm>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLineSeries>
#include <QValueAxis>

namespace chart {

namespace {
const QColor kDone(0x3f, 0x9a, 0x4a);
const QColor kWrong(0xd0, 0x3a, 0x2a);
const QColor kAccuracy(0xd0, 0x8a, 0x1c);
const QColor kTarget(0x2f, 0x6e, 0xa5);

const int kRowPitch = 22;     // pixels per chapter row before the chart scrolls
const int kAxesAndMargins = 70;

QFont labelFont(int pixels) { return ui::programFont(pixels); }

// Day numbers only, which fit under narrow columns; the axis title names the months. Within 30 days
// a day number comes twice only across February, and a trailing space keeps the second one distinct.
QStringList dayLabels(const QVector<DayStat> &days)
{
    QStringList labels;
    for (const DayStat &d : days) {
        QString label = QString::number(d.day.day());
        while (labels.contains(label))
            label += QLatin1Char(' ');
        labels << label;
    }
    return labels;
}

QString dayRange(const QVector<DayStat> &days)
{
    if (days.isEmpty())
        return QStringLiteral("日期");
    const QString format = QStringLiteral("M月d日");
    return QStringLiteral("日期（%1至%2）").arg(days.first().day.toString(format), days.last().day.toString(format));
}
} // namespace

QStringList BarPage::categories() const
{
    if (!m_categoryAxis)
        return {};
    QStringList list = m_categoryAxis->categories();
    if (m_horizontal)
        std::reverse(list.begin(), list.end());
    return list;
}

int BarPage::axisIndex(int row, int rows) const { return m_horizontal ? rows - 1 - row : row; }

void BarPage::attach(QAbstractBarSeries *series, const QStringList &categories, bool horizontal, qreal largest,
                     const QString &valueFormat)
{
    m_series = series;
    m_horizontal = horizontal;
    chart()->addSeries(series);
    m_categoryAxis = new QBarCategoryAxis;
    QStringList axisOrder = categories;
    if (horizontal)
        std::reverse(axisOrder.begin(), axisOrder.end());
    m_categoryAxis->append(axisOrder);
    m_categoryAxis->setLabelsFont(labelFont(horizontal ? 12 : 11));
    m_categoryAxis->setGridLineVisible(false);
    m_valueAxis = new QValueAxis;
    m_valueAxis->setRange(0, std::max<qreal>(largest * 1.12, 5));
    m_valueAxis->applyNiceNumbers();
    m_valueAxis->setLabelFormat(valueFormat);
    m_valueAxis->setLabelsFont(labelFont(11));
    m_valueAxis->setGridLineColor(theme::Border);
    if (horizontal) {
        m_categoryAxis->setLabelsVisible(false);
        auto *names = new RowNames(chart(), series, axisOrder, labelFont(12));
        QMargins margins = chart()->margins();
        margins.setLeft(margins.left() + names->width());
        chart()->setMargins(margins);
        setChartMinimumHeight(int(categories.size()) * kRowPitch + kAxesAndMargins);
        chart()->addAxis(m_categoryAxis, Qt::AlignLeft);
        chart()->addAxis(m_valueAxis, Qt::AlignBottom);
    } else {
        chart()->addAxis(m_categoryAxis, Qt::AlignBottom);
        chart()->addAxis(m_valueAxis, Qt::AlignLeft);
    }
    series->attachAxis(m_categoryAxis);
    series->attachAxis(m_valueAxis);
    m_depth = new BarDepth(chart(), series, horizontal);
    m_depth->setLabelFont(labelFont(horizontal ? 11 : 10));
    applyLabels();
    applyDepth();
}

void BarPage::applyLabels()
{
    if (m_depth)
        m_depth->setLabelsShown(labelsShown());
}

void BarPage::applyDepth()
{
    if (m_depth)
        m_depth->setDepthShown(depthShown());
}

FrequencyPage::FrequencyPage(QWidget *parent)
    : BarPage(QStringLiteral("DBChart1"), QStringLiteral("频 度 统 计 图"), parent)
{
}

void FrequencyPage::load(const QVector<ChapterStat> &chapters)
{
    auto *series = new QHorizontalBarSeries;
    series->setObjectName(QStringLiteral("Series1"));
    series->setBarWidth(0.84);
    m_done = new QBarSet(QStringLiteral("已做题次"));
    m_done->setObjectName(QStringLiteral("Series1"));
    m_wrong = new QBarSet(QStringLiteral("做错题次"));
    m_wrong->setObjectName(QStringLiteral("Series4"));
    m_done->setColor(kDone);
    m_wrong->setColor(kWrong);
    QStringList names;
    QVector<BarDepth::Bar> bars;
    int largest = 0;
    const int n = int(chapters.size());
    m_horizontal = true;
    for (int k = 0; k < n; ++k) {
        const ChapterStat &c = chapters.at(axisIndex(k, n));
        *m_done << c.answers;
        *m_wrong << c.wrong;
        largest = std::max({largest, c.answers, c.wrong});
        bars << BarDepth::Bar{k, 1, 2, qreal(c.answers), kDone, QString::number(c.answers)}
             << BarDepth::Bar{k, 0, 2, qreal(c.wrong), kWrong, QString::number(c.wrong)};
    }
    for (const ChapterStat &c : chapters)
        names << c.name;
    // Within a row the upper bar is the later set: times done above times wrong.
    series->append(m_wrong);
    series->append(m_done);
    attach(series, names, true, largest, QStringLiteral("%d"));
    depth()->setBars(bars);
    legend()->setEntries({{kDone, m_done->label()}, {kWrong, m_wrong->label()}});
    m_answers.clear();
    m_wrongs.clear();
    for (const ChapterStat &c : chapters) {
        m_answers << c.answers;
        m_wrongs << c.wrong;
    }
}

ProgressPage::ProgressPage(QWidget *parent)
    : BarPage(QStringLiteral("DBChart3"), QStringLiteral("进度统计图"), parent)
{
}

void ProgressPage::load(const QVector<ChapterStat> &chapters)
{
    // One stacked set per chapter, holding only that chapter's value, gives each bar its own colour.
    auto *series = new QHorizontalStackedBarSeries;
    series->setObjectName(QStringLiteral("Series3"));
    series->setBarWidth(0.7);
    QStringList names;
    QVector<BarDepth::Bar> bars;
    QVector<ChartLegend::Entry> entries;
    QVector<int> rows;
    for (int i = 0; i < chapters.size(); ++i)
        if (chapters.at(i).questions != 0)
            rows << i;
    m_values.clear();
    m_horizontal = true;
    const int n = int(rows.size());
    for (int k = 0; k < n; ++k) {
        const ChapterStat &c = chapters.at(rows.at(k));
        const QColor colour = ChapterColour(rows.at(k));
        const int percent = ProgressPercent(c.done, c.questions);
        const int at = axisIndex(k, n);
        auto *set = new QBarSet(c.name);
        for (int j = 0; j < n; ++j)
            *set << (j == at ? percent : 0);
        set->setColor(colour);
        series->append(set);
        names << c.name;
        m_values << percent;
        bars << BarDepth::Bar{at, 0, 1, qreal(percent), colour, QStringLiteral("%1%").arg(percent)};
        entries << ChartLegend::Entry{colour, c.name};
    }
    attach(series, names, true, 100, QStringLiteral("%d%"));
    valueAxis()->setRange(0, 100);
    valueAxis()->setTickCount(6);
    depth()->setBars(bars);
    legend()->setEntries(entries);
}

CurvePage::CurvePage(QWidget *parent)
    : BarPage(QStringLiteral("DBChart4"), QStringLiteral("学习曲线"), parent)
{
}

void CurvePage::load(const QVector<DayStat> &days, int dailyTarget)
{
    auto *series = new QBarSeries;
    series->setBarWidth(0.6);
    m_attempts = new QBarSet(QStringLiteral("做题道次"));
    m_attempts->setColor(theme::Accent);
    m_accuracy = new QLineSeries;
    m_accuracy->setName(QStringLiteral("正确率(%)"));
    m_accuracy->setPen(QPen(kAccuracy, 2.5));
    m_accuracy->setPointsVisible(true);
    m_accuracy->setPointLabelsFormat(QStringLiteral("@yPoint%"));
    m_accuracy->setPointLabelsFont(labelFont(10));
    m_accuracy->setPointLabelsColor(kAccuracy.darker(130));
    QVector<BarDepth::Bar> bars;
    int largest = dailyTarget;
    for (int i = 0; i < days.size(); ++i) {
        const DayStat &d = days.at(i);
        *m_attempts << d.attempts;
        largest = std::max(largest, d.attempts);
        bars << BarDepth::Bar{i, 0, 1, qreal(d.attempts), theme::Accent,
                              d.hasAttempts() ? QString::number(d.attempts) : QString()};
        if (d.hasAttempts())
            m_accuracy->append(i, qRound(d.accuracy()));
    }
    series->append(m_attempts);
    attach(series, dayLabels(days), false, largest, QStringLiteral("%d"));
    categoryAxis()->setTitleText(dayRange(days));
    valueAxis()->setTitleText(QStringLiteral("道次"));
    depth()->setBars(bars);

    auto *percentAxis = new QValueAxis;
    percentAxis->setRange(0, 100);
    percentAxis->setLabelFormat(QStringLiteral("%d%"));
    percentAxis->setLabelsFont(labelFont(11));
    percentAxis->setGridLineVisible(false);
    chart()->addSeries(m_accuracy);
    chart()->addAxis(percentAxis, Qt::AlignRight);
    m_accuracy->attachAxis(categoryAxis());
    m_accuracy->attachAxis(percentAxis);

    QVector<ChartLegend::Entry> entries{{theme::Accent, m_attempts->label()},
                                        {kAccuracy, m_accuracy->name(), true}};
    if (dailyTarget > 0 && !days.isEmpty()) {
        m_target = new QLineSeries;
        m_target->setName(QStringLiteral("每日计划（%1道）").arg(dailyTarget));
        m_target->setPen(QPen(kTarget, 2, Qt::DashLine));
        m_target->append(-0.5, dailyTarget);
        m_target->append(days.size() - 0.5, dailyTarget);
        chart()->addSeries(m_target);
        m_target->attachAxis(categoryAxis());
        m_target->attachAxis(valueAxis());
        entries << ChartLegend::Entry{kTarget, m_target->name(), true};
    }
    legend()->setEntries(entries);
    applyLabels();
}

void CurvePage::applyLabels()
{
    BarPage::applyLabels();
    if (m_accuracy)
        m_accuracy->setPointLabelsVisible(labelsShown());
}

} // namespace chart
