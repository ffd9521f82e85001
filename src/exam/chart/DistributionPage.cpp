#include "DistributionPage.h"

#include "ChartLegend.h"
#include "Look.h"
#include "Theme.h"

#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPieSeries>
#include <QPieSlice>

namespace chart {

namespace {
const int kLayerCount = 10;
const qreal kPieSize = 0.6;
const qreal kDepthShare = 0.07;  // of the plot height
const qreal kSmallestLabelled = 0.03; // thinner slices would crowd their labels
const int kBottomLegendLift = 30;
const qreal kShortArm = 0.1;
const qreal kLongArm = 0.3;
const qreal kBelowFrom = 140; // degrees clockwise from twelve o'clock
const qreal kBelowTo = 220;
const int kTotalFromBottom = 56;
} // namespace

DistributionPage::DistributionPage(QWidget *parent)
    : ChartPage(QStringLiteral("DBChart2"), QStringLiteral("习题分布统计图"), parent)
{
    Label1 = new QLabel(QStringLiteral("习题总数:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("0"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont font = ui::programFont(15);
    font.setBold(true);
    for (QLabel *l : {Label1, Label2}) {
        l->setFont(font);
        l->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(theme::StripBottom.name()));
    }
    connect(chart(), &QChart::plotAreaChanged, this, [this] { positionLayers(); });
}

void DistributionPage::load(const QVector<ChapterStat> &chapters, int total)
{
    m_pie = new QPieSeries;
    m_pie->setObjectName(QStringLiteral("Series2"));
    m_pie->setName(QStringLiteral("习题分布"));
    m_pie->setPieSize(kPieSize);
    QVector<ChartLegend::Entry> entries;
    for (int i = 0; i < chapters.size(); ++i) {
        const QColor colour = ChapterColour(i);
        QPieSlice *slice = m_pie->append(chapters.at(i).name, chapters.at(i).questions);
        slice->setColor(colour);
        slice->setBorderColor(Qt::white);
        slice->setLabelFont(ui::programFont(11));
        slice->setLabelColor(theme::Text);
        entries << ChartLegend::Entry{colour, chapters.at(i).name};
        m_names << chapters.at(i).name;
    }
    chart()->addSeries(m_pie);
    legend()->setEntries(entries);
    Label2->setText(QString::number(total));
    Label2->adjustSize();
    applyDepth();
    applyLabels();
}

void DistributionPage::applyLabels()
{
    if (!m_pie)
        return;
    const QList<QPieSlice *> slices = m_pie->slices();
    bool lastArmShort = false;
    for (int i = 0; i < slices.size(); ++i) {
        QPieSlice *slice = slices.at(i);
        const bool shown = labelsShown() && slice->percentage() >= kSmallestLabelled;
        slice->setLabel(QStringLiteral("%1 %2%").arg(m_names.value(i)).arg(slice->percentage() * 100, 0, 'f', 1));
        slice->setLabelVisible(shown);
        if (!shown)
            continue;
        // Labels below the pie stand side by side; there arms of alternate length keep them apart.
        const qreal middle = slice->startAngle() + slice->angleSpan() / 2;
        const bool below = middle > kBelowFrom && middle < kBelowTo;
        lastArmShort = below ? !lastArmShort : true;
        slice->setLabelArmLengthFactor(lastArmShort ? kShortArm : kLongArm);
    }
}

void DistributionPage::applyDepth()
{
    if (!m_pie)
        return;
    for (QPieSeries *layer : std::as_const(m_layers)) {
        chart()->removeSeries(layer);
        delete layer;
    }
    m_layers.clear();
    chart()->removeSeries(m_pie);
    if (depthShown()) {
        for (int k = 0; k < kLayerCount; ++k) {
            auto *layer = new QPieSeries;
            layer->setPieSize(kPieSize);
            for (QPieSlice *slice : m_pie->slices()) {
                QPieSlice *copy = layer->append(QString(), slice->value());
                copy->setColor(slice->color().darker(k == 0 ? 190 : 150));
                copy->setBorderColor(copy->color());
            }
            m_layers << layer;
            chart()->addSeries(layer);
        }
    }
    chart()->addSeries(m_pie); // added last, so drawn on top of its layers
    positionLayers();
}

// The pie sits half its depth above the middle; the layers step down from it, the deepest first.
void DistributionPage::positionLayers()
{
    const qreal plotHeight = std::max<qreal>(chart()->plotArea().height(), 1);
    const qreal chartHeight = std::max<qreal>(chart()->size().height(), 1);
    const qreal depth = m_layers.isEmpty() ? 0 : kDepthShare * plotHeight / chartHeight;
    const qreal top = chart()->plotArea().center().y() / chartHeight - depth / 2;
    if (m_pie)
        m_pie->setVerticalPosition(top);
    for (int i = 0; i < m_layers.size(); ++i)
        m_layers.at(i)->setVerticalPosition(top + depth * (m_layers.size() - i) / m_layers.size());
}

int DistributionPage::totalTop() const { return height() - kTotalFromBottom; }

void DistributionPage::placeExtras(const QRect &legendBox)
{
    int top = totalTop();
    if (legendShown() && legendAlignment() == Qt::AlignBottom)
        top = std::min(totalTop() - kBottomLegendLift, legendBox.top() - Label1->sizeHint().height() - 4);
    const int left = legendShown() && legendAlignment() == Qt::AlignLeft ? legendBox.right() + 12 : 16;
    Label1->adjustSize();
    Label1->move(left, top);
    Label2->move(left + Label1->width() + 6, top);
    Label1->raise();
    Label2->raise();
}

} // namespace chart
