#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

namespace ui {

// Background pictures of the windows that have one instead of a frame: a warm
// panel inside a double bevel, an optional title band across the top, and
// lighter cards behind the given areas.
struct Backdrop {
    QSize size;
    QString title;     // drawn in the band; no band when empty
    int bandHeight = 0;
    QList<QRect> cards;
};
QPixmap paintBackdrop(const Backdrop &backdrop);

} // namespace ui
