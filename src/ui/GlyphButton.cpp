#include "GlyphButton.h"
#include "Theme.h"

#include <QPainter>

namespace ui {

GlyphButton::GlyphButton(const QString &text, QWidget *parent) : QAbstractButton(parent)
{
    setText(text);
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
}

void GlyphButton::setGlyphs(const QPixmap &newUp, const QPixmap &newDown)
{
    up = newUp;
    down = newDown;
    update();
}

void GlyphButton::setCaptionPlace(CaptionPlace place)
{
    captionPlace = place;
    updateGeometry();
    update();
}

QSize GlyphButton::sizeHint() const
{
    const QSize glyph = up.isNull() ? QSize(32, 24) : up.size();
    if (captionPlace == CaptionPlace::Over)
        return glyph;
    return {glyph.width() + 6 + fontMetrics().horizontalAdvance(text()) + 4, qMax(glyph.height(), fontMetrics().height())};
}

void GlyphButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap &glyph = (isChecked() || isDown()) ? down : up;
    QRect captionRect = rect();
    if (captionPlace == CaptionPlace::Over) {
        p.drawPixmap(rect(), glyph);
    } else {
        const QSize side = glyph.size().scaled(size(), Qt::KeepAspectRatio);
        p.drawPixmap(QRect(QPoint(0, (height() - side.height()) / 2), side), glyph);
        captionRect.setLeft(side.width() + 6);
    }
    if (!isEnabled())
        p.setPen(QColor(128, 128, 128));
    else if (underMouse())
        p.setPen(theme::Notice);
    else
        p.setPen(theme::Text);
    const int align = captionPlace == CaptionPlace::Over ? Qt::AlignCenter : (Qt::AlignVCenter | Qt::AlignLeft);
    p.drawText(captionRect, align, text());
}

} // namespace ui
