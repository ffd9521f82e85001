#include "NumberPanel.h"
#include "Theme.h"

#include <QPainter>

namespace ui {
namespace {

// Segments a b c d e f g as bits 0..6 for 0-9.
const int DigitSegments[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};
const int MinusSegments = 0x40;

int segmentsOf(QChar c)
{
    if (c.isDigit())
        return DigitSegments[c.digitValue()];
    return c == '-' ? MinusSegments : 0;
}

void paintCell(QPainter &p, const QRectF &cell, int segments, bool dot)
{
    const qreal w = cell.width();
    const qreal t = qMax(2.0, w * 0.14); // segment thickness
    const qreal x0 = cell.left() + t, x1 = cell.right() - t - w * 0.12;
    const qreal y0 = cell.top() + t / 2, ym = cell.center().y(), y1 = cell.bottom() - t / 2;
    const QLineF lines[7] = {
        {x0 + t / 2, y0, x1 - t / 2, y0}, {x1, y0 + t / 2, x1, ym - t / 2},
        {x1, ym + t / 2, x1, y1 - t / 2}, {x0 + t / 2, y1, x1 - t / 2, y1},
        {x0, ym + t / 2, x0, y1 - t / 2}, {x0, y0 + t / 2, x0, ym - t / 2},
        {x0 + t / 2, ym, x1 - t / 2, ym},
    };
    for (int s = 0; s < 7; ++s) {
        p.setPen(QPen((segments >> s) & 1 ? theme::LedOn : theme::LedOff, t, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(lines[s]);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(dot ? theme::LedOn : theme::LedOff);
    p.drawEllipse(QPointF(cell.right() - w * 0.06, y1), t * 0.55, t * 0.55);
}

} // namespace

NumberPanel::NumberPanel(QWidget *parent, int digits) : QWidget(parent), cellCount(qMax(1, digits))
{
    setValue(0);
}

void NumberPanel::setText(const QString &text)
{
    shown = text;
    update();
}

void NumberPanel::setValue(int value) { setText(QString::number(value)); }

QSize NumberPanel::sizeHint() const { return {cellCount * 22 + 12, 40}; }

void NumberPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(theme::BevelDark, 1));
    p.setBrush(theme::LedBack);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    // A '.' belongs to the cell before it, so it takes no cell of its own.
    QVector<QPair<int, bool>> cells;
    for (QChar c : shown) {
        if (c == '.' && !cells.isEmpty())
            cells.last().second = true;
        else
            cells.append({segmentsOf(c), false});
    }
    while (cells.size() > cellCount)
        cells.removeFirst();

    const QRectF inner = QRectF(rect()).adjusted(6, 6, -6, -6);
    const qreal cellWidth = inner.width() / cellCount;
    const int blanks = cellCount - cells.size();
    for (int i = 0; i < cellCount; ++i) {
        const QRectF cell(inner.left() + i * cellWidth, inner.top(), cellWidth, inner.height());
        if (i < blanks)
            paintCell(p, cell, 0, false);
        else
            paintCell(p, cell, cells[i - blanks].first, cells[i - blanks].second);
    }
}

} // namespace ui
