#include "ChartPage.h"

#include "ChartLegend.h"
#include "Look.h"
#include "Theme.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>

namespace chart {

namespace {
const int kTitleHeight = 30;
const int kMargin = 4;
const double kLargestLegendShare = 0.4; // of the width, for a legend beside the chart
} // namespace

ChartPage::ChartPage(const QString &chartName, const QString &title, QWidget *parent)
    : QWidget(parent), m_chart(new QChart)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    m_title = new QLabel(title, this);
    m_title->setObjectName(QStringLiteral("title"));
    m_title->setAlignment(Qt::AlignCenter);
    QFont titleFont = ui::programFont(17);
    titleFont.setBold(true);
    m_title->setFont(titleFont);
    m_title->setStyleSheet(QStringLiteral("color: %1;").arg(theme::StripBottom.name()));

    m_legend = new ChartLegend(this);
    m_chart->legend()->hide();
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setBackgroundRoundness(0);
    m_chart->layout()->setContentsMargins(0, 0, 0, 0);
    m_chart->setMargins(QMargins(6, 4, 14, 6));
    m_chart->setFont(ui::programFont(12));
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view = new QChartView(m_chart);
    m_view->setObjectName(chartName);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidget(m_view);
}

void ChartPage::setChartMinimumHeight(int height) { m_view->setMinimumHeight(height); }

Picture ChartPage::picture() const
{
    auto *page = const_cast<ChartPage *>(this);
    const QRect shown = m_scroll->geometry();
    const int hidden = std::max(0, m_view->height() - m_scroll->viewport()->height());
    auto paint = [page, shown, hidden](QPainter &p) {
        const QRect all = page->rect();
        if (hidden == 0) {
            page->render(&p, QPoint(), QRegion(), QWidget::DrawChildren);
            return;
        }
        // Around the chart the page as it is, but what lies below moves down by the rows scrolled out of sight.
        const QRect above(0, 0, all.width(), shown.top());
        const QRect left(0, shown.top(), shown.left(), shown.height());
        const QRect right(shown.right() + 1, shown.top(), all.width() - shown.right() - 1, shown.height());
        const QRect below(0, shown.bottom() + 1, all.width(), all.height() - shown.bottom() - 1);
        for (const QRect &part : {above, left, right})
            if (!part.isEmpty())
                page->render(&p, part.topLeft(), QRegion(part), QWidget::DrawChildren);
        if (!below.isEmpty())
            page->render(&p, below.topLeft() + QPoint(0, hidden), QRegion(below), QWidget::DrawChildren);
        static_cast<QWidget *>(page->m_view)->render(&p, shown.topLeft(), QRegion(), QWidget::DrawChildren);
    };
    return {QSize(width(), height() + hidden), paint};
}

void ChartPage::setLegendAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    m_legend->setBeside(alignment == Qt::AlignLeft || alignment == Qt::AlignRight);
    relayout();
}

void ChartPage::setLegendShown(bool shown)
{
    m_legendShown = shown;
    relayout();
}

void ChartPage::setLabelsShown(bool shown)
{
    m_labels = shown;
    applyLabels();
}

void ChartPage::setDepthShown(bool shown)
{
    m_depth = shown;
    applyDepth();
}

void ChartPage::resetOptions()
{
    setLegendAlignment(Qt::AlignTop);
    setLegendShown(true);
    setLabelsShown(true);
    setDepthShown(true);
}

void ChartPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void ChartPage::relayout()
{
    m_title->setGeometry(0, kMargin, width(), kTitleHeight);
    QRect area(0, kMargin + kTitleHeight, width(), height() - kMargin - kTitleHeight);
    QRect legendBox;
    m_legend->setVisible(m_legendShown);
    if (m_legendShown) {
        const QRect inner = area.adjusted(kMargin, 0, -kMargin, -kMargin);
        m_legend->fitTo(inner.height());
        if (m_legend->beside()) {
            const int w = std::min(m_legend->widthForColumns(inner.height()), int(inner.width() * kLargestLegendShare));
            legendBox = QRect(m_alignment == Qt::AlignLeft ? inner.left() : inner.right() - w + 1, inner.top(), w,
                              inner.height());
            if (m_alignment == Qt::AlignLeft)
                area.setLeft(legendBox.right() + 1);
            else
                area.setRight(legendBox.left() - 1);
        } else {
            const int h = m_legend->heightForRows(inner.width());
            legendBox = QRect(inner.left(), m_alignment == Qt::AlignBottom ? inner.bottom() - h + 1 : inner.top(),
                              inner.width(), h);
            if (m_alignment == Qt::AlignBottom)
                area.setBottom(legendBox.top() - 1);
            else
                area.setTop(legendBox.bottom() + 1);
        }
        m_legend->setGeometry(legendBox);
    }
    m_scroll->setGeometry(area);
    placeExtras(legendBox);
}

} // namespace chart
