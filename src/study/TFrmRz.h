#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
namespace store { class GridModel; }

// The study log: one row per day, newest first, and the totals over all days.
class TFrmRz : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRz(QWidget *parent = nullptr);

    QLabel *Image1;
    QLabel *Image2;
    QTableView *DBGrid1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *epLabel2;
    QLabel *epLabel3;
    QLabel *epLabel4;
    QPushButton *SpeedButton1;
    QPushButton *SpeedButton2;
    QPushButton *SpeedButton3;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void FormCreate();
    void FormShow();
    void SpeedButton1Click();
    void applyCompactLayout();
    void applyLargeLayout();

    store::GridModel *m_model;
};
