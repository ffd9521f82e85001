#pragma once

#include <QColor>
#include <QGraphicsObject>
#include <QPolygonF>
#include <QVector>

class QAbstractBarSeries;
class QChart;

namespace chart {

// Qt Charts draws flat bars only; this draws the top and side faces that give
// each bar of a series a visible depth. It sits between the grid and the bars.
class BarDepth : public QGraphicsObject {
    Q_OBJECT
public:
    struct Bar {
        int category = 0;
        int slot = 0;      // place of the bar within its category
        int slotCount = 1; // bars side by side in a category
        qreal value = 0;
        QColor colour;
    };

    BarDepth(QChart *chart, QAbstractBarSeries *series, bool horizontal);

    void setBars(const QVector<Bar> &bars);
    // The faces of every bar of non-zero value, in chart coordinates: top then side.
    QVector<QPolygonF> faces() const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QRectF barRect(const Bar &bar) const;
    qreal depthFor(const QRectF &bar) const;

    QChart *m_chart;
    QAbstractBarSeries *m_series;
    bool m_horizontal;
    QVector<Bar> m_bars;
};

} // namespace chart
