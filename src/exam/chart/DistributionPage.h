#pragma once

#include "ChartData.h"
#include "ChartPage.h"

#include <QVector>

class QLabel;
class QPieSeries;

namespace chart {

// How the bank's questions are spread over the chapters, with the total below.
// Depth is drawn as darker copies of the pie stacked beneath it.
class DistributionPage : public ChartPage {
    Q_OBJECT
public:
    explicit DistributionPage(QWidget *parent = nullptr);

    void load(const QVector<ChapterStat> &chapters, int total);
    QPieSeries *series() const { return m_pie; }
    int depthLayers() const { return m_layers.size(); }

    QLabel *Label1; // "习题总数:"
    QLabel *Label2; // the total

    // Where the total sits unless the legend is below the chart: 400 on the design page.
    int totalTop() const;

protected:
    void applyLabels() override;
    void applyDepth() override;
    void placeExtras(const QRect &legendBox) override;

private:
    void positionLayers();

    QPieSeries *m_pie = nullptr;
    QVector<QPieSeries *> m_layers;
    QStringList m_names;
};

} // namespace chart
