#include "Bevel.h"
#include "Theme.h"

#include <QPainter>

namespace ui {

Bevel::Bevel(QWidget *parent, Style style) : QWidget(parent), bevelStyle(style) {}

void Bevel::setStyle(Style style)
{
    bevelStyle = style;
    update();
}

void Bevel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), theme::Panel);
    const bool raised = bevelStyle == Style::Raised;
    const QColor light = raised ? theme::BevelLight : theme::BevelDark;
    const QColor dark = raised ? theme::BevelDark : theme::BevelLight;
    for (int inset = 0; inset < 2; ++inset) {
        const QRect r = rect().adjusted(inset, inset, -1 - inset, -1 - inset);
        p.setPen(inset == 0 ? light : light.darker(104));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(inset == 0 ? dark : dark.lighter(115));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

} // namespace ui
