#include "TitleStrip.h"
#include "Theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace ui {

TitleStrip::TitleStrip(const QString &text, QWidget *parent) : QWidget(parent), caption(text)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TitleStrip::setText(const QString &text)
{
    caption = text;
    update();
}

void TitleStrip::setIcon(const QPixmap &newIcon)
{
    icon = newIcon;
    update();
}

void TitleStrip::setItalic(bool italic)
{
    QFont f = font();
    f.setItalic(italic);
    setFont(f);
}

QSize TitleStrip::sizeHint() const { return {200, qMax(25, fontMetrics().height() + 8)}; }

void TitleStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient fill(0, 0, 0, height());
    fill.setColorAt(0, theme::StripTop);
    fill.setColorAt(1, theme::StripBottom);
    p.fillRect(rect(), fill);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawLine(0, 0, width(), 0);

    int x = 6;
    if (!icon.isNull()) {
        const int side = height() - 6;
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(QRect(x, 3, side, side), icon);
        x += side + 6;
    }
    p.setPen(Qt::white);
    p.drawText(QRect(x, 0, width() - x - 6, height()), Qt::AlignVCenter | Qt::AlignLeft, caption);
}

void TitleStrip::mousePressEvent(QMouseEvent *event)
{
    QWindow *handle = window()->windowHandle();
    if (event->button() == Qt::LeftButton && handle && handle->startSystemMove())
        return event->accept();
    QWidget::mousePressEvent(event);
}

} // namespace ui
