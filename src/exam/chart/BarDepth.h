#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsObject>
#include <QPolygonF>
#include <QVector>

class QAbstractBarSeries;
class QChart;

namespace chart {

// Qt Charts draws flat bars only; this draws the top and side faces that give
// each bar of a series a visible depth, and the bars' value labels beyond
// those faces (Qt's own labels would sit under them).
class BarDepth : public QGraphicsObject {
    Q_OBJECT
public:
    struct Bar {
        int category = 0;
        int slot = 0;      // place of the bar within its category
        int slotCount = 1; // bars side by side in a category
        qreal value = 0;
        QColor colour;
        QString label;
    };

    BarDepth(QChart *chart, QAbstractBarSeries *series, bool horizontal);

    void setBars(const QVector<Bar> &bars);
    void setDepthShown(bool shown);
    bool depthShown() const { return m_depthShown; }
    void setLabelsShown(bool shown);
    bool labelsShown() const { return m_labelsShown; }
    void setLabelFont(const QFont &font);
    // The faces of every bar of non-zero value, in chart coordinates: top then side.
    QVector<QPolygonF> faces() const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QRectF barRect(const Bar &bar) const;
    qreal depthFor(const QRectF &bar) const;
    void paintLabel(QPainter *painter, const Bar &bar) const;

    QChart *m_chart;
    QAbstractBarSeries *m_series;
    bool m_horizontal;
    QVector<Bar> m_bars;
    bool m_depthShown = true;
    bool m_labelsShown = true;
    QFont m_font;
};

} // namespace chart
