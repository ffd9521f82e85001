#include "ChartLegend.h"

#include "Look.h"
#include "Theme.h"

#include <QPainter>

namespace chart {

namespace {
const int kSwatch = 12;
const int kGap = 6;
const int kSpacing = 18;
const int kPadding = 6;
const int kUsualText = 12;
const int kSmallestText = 9;
} // namespace

ChartLegend::ChartLegend(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("legend"));
    setFont(legendFont(kUsualText));
}

// A legend lists up to thirty chapters beside the chart: a face with tighter
// lines than the program's own keeps them in one readable column.
QFont ChartLegend::legendFont(int pixels)
{
    QFont font = ui::programFont(pixels);
    font.setFamilies(QStringList{"WenQuanYi Micro Hei"} + font.families());
    return font;
}

void ChartLegend::fitTo(int height)
{
    int pixels = kUsualText;
    // Beside the chart, the largest size whose rows all fit one column.
    if (m_beside && !m_entries.isEmpty())
        while (pixels > kSmallestText
               && rowHeightOf(legendFont(pixels)) * int(m_entries.size()) > height - 2 * kPadding)
            --pixels;
    if (font().pixelSize() != pixels)
        setFont(legendFont(pixels));
}

void ChartLegend::setEntries(const QVector<Entry> &entries)
{
    m_entries = entries;
    update();
}

QStringList ChartLegend::texts() const
{
    QStringList list;
    for (const Entry &e : m_entries)
        list << e.text;
    return list;
}

void ChartLegend::setBeside(bool beside)
{
    m_beside = beside;
    update();
}

int ChartLegend::rowHeightOf(const QFont &font) { return QFontMetrics(font).height() + font.pixelSize() / 4; }

int ChartLegend::rowHeight() const { return rowHeightOf(font()); }

int ChartLegend::entryWidth(int index) const
{
    return kSwatch + kGap + fontMetrics().horizontalAdvance(m_entries.at(index).text);
}

// Rows: entries left to right, a new row when the next one does not fit.
// Columns: entries top to bottom, a new column when the next one does not fit.
QVector<ChartLegend::Placed> ChartLegend::layOut(const QSize &area) const
{
    QVector<Placed> placed;
    const int h = rowHeight();
    int x = kPadding;
    int y = kPadding;
    int columnWidth = 0;
    for (int i = 0; i < m_entries.size(); ++i) {
        const int w = entryWidth(i);
        if (m_beside) {
            if (y + h > area.height() - kPadding && y > kPadding) {
                x += columnWidth + kSpacing;
                y = kPadding;
                columnWidth = 0;
            }
            placed.push_back({QRect(x, y, w, h), i});
            columnWidth = std::max(columnWidth, w);
            y += h;
        } else {
            if (x + w > area.width() - kPadding && x > kPadding) {
                x = kPadding;
                y += h;
            }
            placed.push_back({QRect(x, y, w, h), i});
            x += w + kSpacing;
        }
    }
    return placed;
}

int ChartLegend::heightForRows(int width) const
{
    if (m_entries.isEmpty())
        return 0;
    const QVector<Placed> placed = layOut(QSize(width, 0));
    return placed.last().box.bottom() + 1 + kPadding;
}

int ChartLegend::widthForColumns(int height) const
{
    if (m_entries.isEmpty())
        return 0;
    int right = 0;
    for (const Placed &p : layOut(QSize(0, height)))
        right = std::max(right, p.box.right() + 1);
    return right + kPadding;
}

void ChartLegend::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (const Placed &placed : layOut(size())) {
        const Entry &e = m_entries.at(placed.entry);
        const QRect &box = placed.box;
        const int middle = box.center().y();
        if (e.line) {
            p.setPen(QPen(e.colour, 3));
            p.drawLine(box.left(), middle, box.left() + kSwatch, middle);
        } else {
            p.setPen(QPen(e.colour.darker(130), 1));
            p.setBrush(e.colour);
            p.drawRect(QRectF(box.left() + 0.5, middle - kSwatch / 2 + 0.5, kSwatch - 1, kSwatch - 1));
        }
        p.setPen(theme::Text);
        p.drawText(box.adjusted(kSwatch + kGap, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, e.text);
    }
}

} // namespace chart
