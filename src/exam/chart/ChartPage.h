#pragma once

#include "ChartOutput.h"

#include <QWidget>

class QChart;
class QChartView;
class QLabel;
class QScrollArea;

namespace chart {

class ChartLegend;

// One page of the statistics window: the title, our legend and the chart,
// with the display options the window's controls set on the page shown.
class ChartPage : public QWidget {
    Q_OBJECT
public:
    ChartPage(const QString &chartName, const QString &title, QWidget *parent = nullptr);

    QChart *chart() const { return m_chart; }
    QChartView *view() const { return m_view; }
    ChartLegend *legend() const { return m_legend; }
    QLabel *title() const { return m_title; }

    void setLegendAlignment(Qt::Alignment alignment);
    Qt::Alignment legendAlignment() const { return m_alignment; }
    void setLegendShown(bool shown);
    bool legendShown() const { return m_legendShown; }
    void setLabelsShown(bool shown);
    bool labelsShown() const { return m_labels; }
    void setDepthShown(bool shown);
    bool depthShown() const { return m_depth; }
    // Legend on top and every display option on: how a page starts.
    void resetOptions();

    // The whole page for printing and saving, the chart at its full height
    // also when the page shows only part of it.
    Picture picture() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void relayout();
    // A chart with many rows scrolls rather than squeezing them below this height.
    void setChartMinimumHeight(int height);
    virtual void applyLabels() = 0;
    virtual void applyDepth() = 0;
    // Pages with controls of their own over the chart place them here.
    virtual void placeExtras(const QRect &legendBox) { Q_UNUSED(legendBox) }

private:
    QChart *m_chart;
    QChartView *m_view;
    QScrollArea *m_scroll;
    ChartLegend *m_legend;
    QLabel *m_title;
    Qt::Alignment m_alignment = Qt::AlignTop;
    bool m_legendShown = true;
    bool m_labels = true;
    bool m_depth = true;
};

} // namespace chart
