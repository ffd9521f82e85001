#include "Gauge.h"
#include "Theme.h"

#include <QPainter>

namespace ui {

Gauge::Gauge(QWidget *parent, Qt::Orientation orientation) : QWidget(parent), direction(orientation) {}

void Gauge::setValue(int value)
{
    value = qBound(0, value, 100);
    if (value == current)
        return;
    current = value;
    update();
    emit valueChanged(current);
}

void Gauge::setWarnAbove(int level)
{
    warnLevel = level;
    update();
}

QSize Gauge::sizeHint() const { return direction == Qt::Horizontal ? QSize(160, 18) : QSize(18, 160); }

void Gauge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(theme::BevelDark, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(track, 3, 3);

    QRectF bar = track.adjusted(2, 2, -2, -2);
    if (direction == Qt::Horizontal)
        bar.setWidth(bar.width() * current / 100.0);
    else
        bar.setTop(bar.bottom() - bar.height() * current / 100.0); // fills upwards
    if (bar.isEmpty())
        return;
    const QColor colour = isWarning() ? theme::Wrong : theme::Accent;
    QLinearGradient fill(bar.topLeft(), direction == Qt::Horizontal ? bar.bottomLeft() : bar.topRight());
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(bar, 2, 2);
}

} // namespace ui
