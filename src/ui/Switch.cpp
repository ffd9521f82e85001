#include "Switch.h"
#include "Theme.h"

#include <QPainter>

namespace ui {

Switch::Switch(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this](bool on) {
        if (on)
            emit switchedOn();
        else
            emit switchedOff();
    });
}

QSize Switch::sizeHint() const { return {60, 26}; }

void Switch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = track.height() / 2;
    const bool on = isChecked();
    QColor fill = on ? theme::Accent : QColor(0xc8, 0xbe, 0xa9);
    if (!isEnabled())
        fill = fill.lighter(130);
    p.setPen(QPen(fill.darker(120), 1));
    p.setBrush(fill);
    p.drawRoundedRect(track, radius, radius);

    const qreal knobSide = track.height() - 4;
    const qreal knobX = on ? track.right() - 2 - knobSide : track.left() + 2;
    const QRectF knob(knobX, track.top() + 2, knobSide, knobSide);
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(Qt::white);
    p.drawEllipse(knob);

    QRectF label = track;
    if (on)
        label.setRight(knob.left());
    else
        label.setLeft(knob.right());
    p.setPen(Qt::white);
    p.drawText(label, Qt::AlignCenter, on ? tr("开") : tr("关"));
}

} // namespace ui
