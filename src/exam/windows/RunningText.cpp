#include "RunningText.h"

#include "Theme.h"

#include <QPainter>

namespace exam {

namespace {
constexpr int kStepMs = 40;
constexpr int kLineGap = 14;
} // namespace

RunningText::RunningText(const QStringList &lines, QWidget *parent) : QWidget(parent), m_lines(lines)
{
    setObjectName(QStringLiteral("epRunPanel1"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, theme::Panel);
    setPalette(p);
    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        ++m_offset;
        update();
    });
}

void RunningText::start()
{
    // The first lines are in view at once, then the text moves up.
    m_offset = height() / 3;
    m_timer.start();
}

void RunningText::stop() { m_timer.stop(); }

void RunningText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(qMax(13, height() / 22));
    painter.setFont(font);
    const int lineHeight = painter.fontMetrics().height() + kLineGap;
    const int block = lineHeight * int(m_lines.size());
    // The text enters at the bottom and leaves at the top, then comes round again.
    const int cycle = height() + block;
    const int top = height() - (cycle > 0 ? m_offset % cycle : 0);
    for (int i = 0; i < m_lines.size(); ++i) {
        painter.setPen(i == 0 ? theme::StripBottom : theme::Text);
        QFont lineFont = font;
        lineFont.setBold(i == 0);
        painter.setFont(lineFont);
        painter.drawText(QRect(0, top + i * lineHeight, width(), lineHeight), Qt::AlignCenter, m_lines.at(i));
    }
}

} // namespace exam
