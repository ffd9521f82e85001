#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace chart {
class ChartPage;
class CurvePage;
class DistributionPage;
class FrequencyPage;
class ProgressPage;
} // namespace chart

// The statistics chart: per top-level chapter the answers and wrong answers,
// the spread of the questions and the progress, and the learning curve of the
// last days; printed or saved as a picture.
class Tfrmchart : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmchart(QWidget *parent = nullptr);

    // Chart types in the order RadioGroup1 lists them.
    enum ChartType { Distribution, Frequency, Progress, Curve };

    QLabel *Image1;
    QStackedWidget *Notebook1;
    chart::FrequencyPage *frequency;       // page 0, DBChart1
    chart::DistributionPage *distribution; // page 1, DBChart2
    chart::ProgressPage *progress;         // page 2, DBChart3
    chart::CurvePage *curve;               // page 3, DBChart4
    QPushButton *epEfTrBtn1;
    QGroupBox *RadioGroup1;
    QGroupBox *RadioGroup2;
    QGroupBox *styleGroup;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QPushButton *epFocusButton3;
    QPushButton *epFocusButton1;
    QPushButton *epFocusButton2;
    QPushButton *ReportButton; // opens 学习报告

    chart::ChartPage *shownPage() const;
    void selectChartType(ChartType type);
    void selectLegendPosition(int index); // 上方, 下方, 左侧, 右侧

    void done(int result) override;

private:
    void buildControls();
    void applyLayout(bool compact);
    void FormShow();
    void RadioGroup1Click(int item);
    void ReportButtonClick();
    void RadioGroup2Click(int item);
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void resetDisplayControls();
    void epFocusButton1Click();
    void epFocusButton3Click();
    void epEfTrBtn1Click();

    QWidget *m_controls;
    QButtonGroup *m_types;
    QButtonGroup *m_positions;
};
