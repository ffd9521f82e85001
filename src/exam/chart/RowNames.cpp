#include "RowNames.h"

#include "Theme.h"

#include <QChart>
#include <QFontMetrics>
#include <QPainter>

namespace chart {

namespace {
const int kGap = 8;
}

RowNames::RowNames(QChart *chart, QAbstractSeries *series, const QStringList &names, const QFont &font)
    : QGraphicsObject(chart), m_chart(chart), m_series(series), m_names(names), m_font(font)
{
    const QFontMetrics metrics(font);
    for (const QString &name : names)
        m_width = std::max(m_width, metrics.horizontalAdvance(name) + kGap);
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        prepareGeometryChange();
        update();
    });
}

QRectF RowNames::boundingRect() const { return QRectF(QPointF(0, 0), m_chart->size()); }

void RowNames::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const QRectF plot = m_chart->plotArea();
    const QFontMetrics metrics(m_font);
    painter->setFont(m_font);
    painter->setPen(theme::Text);
    const int room = int(plot.left()) - kGap;
    for (int row = 0; row < m_names.size(); ++row) {
        const qreal y = m_chart->mapToPosition(QPointF(0, row), m_series).y();
        const QRectF box(0, y - metrics.height(), std::max(room, 0), 2 * metrics.height());
        painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                          metrics.elidedText(m_names.at(row), Qt::ElideRight, std::max(room, 0)));
    }
}

} // namespace chart
