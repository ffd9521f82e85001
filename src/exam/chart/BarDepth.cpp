#include "BarDepth.h"

#include <QAbstractBarSeries>
#include <QChart>
#include <QFontMetricsF>
#include <QPainter>

namespace chart {

namespace {
// Above the bars of Qt Charts, whose faces join them at their edges.
const qreal kAboveBars = 9;
const qreal kLabelGap = 3;
const qreal kLargestDepth = 8;
} // namespace

BarDepth::BarDepth(QChart *chart, QAbstractBarSeries *series, bool horizontal)
    : QGraphicsObject(chart), m_chart(chart), m_series(series), m_horizontal(horizontal)
{
    setZValue(kAboveBars);
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        prepareGeometryChange();
        update();
    });
}

void BarDepth::setBars(const QVector<Bar> &bars)
{
    prepareGeometryChange();
    m_bars = bars;
    update();
}

// The same place Qt Charts gives the bar: a category spans one unit, its bars share the bar width.
QRectF BarDepth::barRect(const Bar &bar) const
{
    const qreal width = m_series->barWidth();
    const qreal from = bar.category - width / 2 + bar.slot * width / bar.slotCount;
    const qreal to = from + width / bar.slotCount;
    const QPointF a = m_horizontal ? QPointF(0, from) : QPointF(from, 0);
    const QPointF b = m_horizontal ? QPointF(bar.value, to) : QPointF(to, bar.value);
    return QRectF(m_chart->mapToPosition(a, m_series), m_chart->mapToPosition(b, m_series)).normalized();
}

void BarDepth::setDepthShown(bool shown)
{
    m_depthShown = shown;
    update();
}

void BarDepth::setLabelsShown(bool shown)
{
    m_labelsShown = shown;
    update();
}

void BarDepth::setLabelFont(const QFont &font)
{
    m_font = font;
    update();
}

qreal BarDepth::depthFor(const QRectF &bar) const
{
    if (!m_depthShown)
        return 0;
    const qreal thickness = m_horizontal ? bar.height() : bar.width();
    return std::min(kLargestDepth, thickness * 0.6);
}

QVector<QPolygonF> BarDepth::faces() const
{
    QVector<QPolygonF> result;
    if (!m_depthShown)
        return result;
    for (const Bar &bar : m_bars) {
        if (bar.value <= 0)
            continue;
        const QRectF r = barRect(bar);
        const QPointF d(depthFor(r), -depthFor(r));
        // Bars grow right or up, so in both orientations the faces lie on the upper and the right edge.
        const QPolygonF top = QPolygonF() << r.topLeft() << r.topRight() << r.topRight() + d << r.topLeft() + d;
        const QPolygonF side = QPolygonF() << r.topRight() << r.bottomRight() << r.bottomRight() + d
                                           << r.topRight() + d;
        result << top << side;
    }
    return result;
}

QRectF BarDepth::boundingRect() const { return QRectF(QPointF(0, 0), m_chart->size()); }

void BarDepth::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QVector<QPolygonF> all = faces();
    int face = 0;
    painter->setRenderHint(QPainter::Antialiasing);
    for (const Bar &bar : std::as_const(m_bars)) {
        if (m_depthShown && bar.value > 0) {
            painter->setPen(QPen(bar.colour.darker(160), 0.6));
            painter->setBrush(bar.colour.lighter(125));
            painter->drawPolygon(all.at(face++));
            painter->setBrush(bar.colour.darker(140));
            painter->drawPolygon(all.at(face++));
        }
        if (m_labelsShown)
            paintLabel(painter, bar);
    }
}

// Right of a row's end, or above a column's top, clear of the depth faces.
void BarDepth::paintLabel(QPainter *painter, const Bar &bar) const
{
    const QRectF r = barRect(bar);
    const qreal depth = depthFor(r);
    const QFontMetricsF metrics(m_font);
    const qreal w = metrics.horizontalAdvance(bar.label);
    const qreal h = metrics.height();
    const QRectF box = m_horizontal ? QRectF(r.right() + depth + kLabelGap, r.center().y() - depth / 2 - h / 2, w, h)
                                    : QRectF(r.center().x() + depth / 2 - w / 2, r.top() - depth - h, w, h);
    painter->setFont(m_font);
    painter->setPen(QColor(0x2b, 0x2b, 0x2b));
    painter->drawText(box, Qt::AlignCenter, bar.label);
}

} // namespace chart
