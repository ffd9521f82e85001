#include "Backdrops.h"

#include "Look.h"
#include "Theme.h"

#include <QLinearGradient>
#include <QPainter>

namespace ui {

QPixmap paintBackdrop(const Backdrop &b)
{
    QPixmap picture(b.size);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient page(0, 0, 0, b.size.height());
    page.setColorAt(0, theme::Panel);
    page.setColorAt(1, theme::Page);
    p.fillRect(picture.rect(), page);

    if (b.bandHeight > 0) {
        QLinearGradient band(0, 0, 0, b.bandHeight);
        band.setColorAt(0, theme::StripTop);
        band.setColorAt(1, theme::StripBottom);
        p.fillRect(QRect(0, 0, b.size.width(), b.bandHeight), band);
        QFont font = programFont(b.bandHeight * 11 / 20);
        font.setBold(true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, b.bandHeight / 5.0);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRect(18, 0, b.size.width() - 36, b.bandHeight), Qt::AlignVCenter | Qt::AlignLeft, b.title);
    }

    for (const QRect &card : b.cards) {
        p.setPen(QPen(theme::Border, 1));
        p.setBrush(QColor(255, 255, 255, 190));
        p.drawRoundedRect(QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }

    // Double bevel round the whole picture, since the window has no frame.
    const QRectF edge = QRectF(picture.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(theme::BevelLight);
    p.drawLine(edge.topLeft() + QPointF(1, 1), edge.topRight() + QPointF(-1, 1));
    p.drawLine(edge.topLeft() + QPointF(1, 1), edge.bottomLeft() + QPointF(1, -1));
    p.setPen(theme::BevelDark);
    p.drawLine(edge.bottomLeft() + QPointF(1, -1), edge.bottomRight() + QPointF(-1, -1));
    p.drawLine(edge.topRight() + QPointF(-1, 1), edge.bottomRight() + QPointF(-1, -1));
    p.setPen(theme::StripBottom);
    p.drawRect(edge);
    return picture;
}

} // namespace ui
