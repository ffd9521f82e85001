#pragma once

#include "BarDepth.h"
#include "ChartData.h"
#include "ChartPage.h"

class QAbstractBarSeries;
class QBarCategoryAxis;
class QBarSet;
class QLineSeries;
class QValueAxis;

namespace chart {

// A page whose chart has one bar series, drawn with depth when asked.
class BarPage : public ChartPage {
    Q_OBJECT
public:
    using ChartPage::ChartPage;

    QAbstractBarSeries *series() const { return m_series; }
    // Category names as read: top to bottom for rows of bars, left to right for columns.
    QStringList categories() const;
    BarDepth *depth() const { return m_depth; }

protected:
    // Puts the series on the chart with a category axis and a value axis from 0 to at least `largest`.
    void attach(QAbstractBarSeries *series, const QStringList &categories, bool horizontal, qreal largest,
                const QString &valueFormat);
    void applyLabels() override;
    void applyDepth() override;
    QValueAxis *valueAxis() const { return m_valueAxis; }
    QBarCategoryAxis *categoryAxis() const { return m_categoryAxis; }
    // Rows of bars read top down while the axis counts from the bottom.
    int axisIndex(int row, int rows) const;
    bool m_horizontal = false;

private:
    QAbstractBarSeries *m_series = nullptr;
    QBarCategoryAxis *m_categoryAxis = nullptr;
    QValueAxis *m_valueAxis = nullptr;
    BarDepth *m_depth = nullptr;
};

// Answers and wrong answers per chapter, side by side.
class FrequencyPage : public BarPage {
    Q_OBJECT
public:
    explicit FrequencyPage(QWidget *parent = nullptr);
    void load(const QVector<ChapterStat> &chapters);
    QBarSet *doneSet() const { return m_done; }
    QBarSet *wrongSet() const { return m_wrong; }
    // Answers and wrong answers shown per chapter, in chapter order.
    QVector<int> answers() const { return m_answers; }
    QVector<int> wrongAnswers() const { return m_wrongs; }

private:
    QVector<int> m_answers;
    QVector<int> m_wrongs;
    QBarSet *m_done = nullptr;
    QBarSet *m_wrong = nullptr;
};

// Percent of each chapter's questions answered, in the chapter's colour.
class ProgressPage : public BarPage {
    Q_OBJECT
public:
    explicit ProgressPage(QWidget *parent = nullptr);
    void load(const QVector<ChapterStat> &chapters);
    // The progress shown per category, top to bottom.
    QVector<int> values() const { return m_values; }

private:
    QVector<int> m_values;
};

// Attempts per day as bars, accuracy as a line, the daily target as a dashed line.
class CurvePage : public BarPage {
    Q_OBJECT
public:
    explicit CurvePage(QWidget *parent = nullptr);
    void load(const QVector<DayStat> &days, int dailyTarget);
    QBarSet *attemptsSet() const { return m_attempts; }
    QLineSeries *accuracyLine() const { return m_accuracy; }
    QLineSeries *targetLine() const { return m_target; }

protected:
    void applyLabels() override;

private:
    QBarSet *m_attempts = nullptr;
    QLineSeries *m_accuracy = nullptr;
    QLineSeries *m_target = nullptr;
};

} // namespace chart
