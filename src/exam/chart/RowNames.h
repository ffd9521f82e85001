#pragma once

#include <QFont>
#include <QGraphicsObject>
#include <QStringList>

class QAbstractSeries;
class QChart;

namespace chart {

// The names of the rows of a horizontal bar chart, drawn left of the plot.
// Qt Charts cuts long category names of a vertical axis down to "…" even
// where there is room; we write them whole, right-aligned against the axis.
class RowNames : public QGraphicsObject {
    Q_OBJECT
public:
    // names: bottom row first, as the category axis counts.
    RowNames(QChart *chart, QAbstractSeries *series, const QStringList &names, const QFont &font);

    // The room the names need left of the plot.
    int width() const { return m_width; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QChart *m_chart;
    QAbstractSeries *m_series;
    QStringList m_names;
    QFont m_font;
    int m_width = 0;
};

} // namespace chart
