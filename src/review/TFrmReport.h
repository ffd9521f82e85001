#pragma once

#include "Report.h"

#include <QDialog>

class QChartView;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

// 学习报告: the predicted score of a paper drawn today per subject with its
// range and pass chance, how that prediction moved day by day, the chapters
// and exam points where most marks are lost (each with a practice run), and
// how honest the model has been on the last answers.
class TFrmReport : public QDialog {
    Q_OBJECT
public:
    explicit TFrmReport(QWidget *parent = nullptr);

    const store::review::Report &report() const { return m_report; }

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QTabWidget *ReportTabs;
    QTableWidget *SubjectTable;
    QChartView *TrendChart;
    QTableWidget *ChapterTable;
    QTableWidget *PointTable;
    QLabel *HonestyLabel;
    QLabel *ModelLabel;
    QPushButton *CloseButton;

private:
    QWidget *buildScorePage();
    QWidget *buildWeakPage();
    QWidget *buildModelPage();
    void applyLayout(bool compact);
    void refresh();
    void fillSubjects();
    void fillTrend();
    void fillWeakSpots(QTableWidget *table, const QVector<store::review::WeakSpot> &spots, bool points);
    void fillModel();
    void practise(bool points, int row);

    store::review::Report m_report;
};
