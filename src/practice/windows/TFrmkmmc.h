#pragma once

#include "SelectorLogic.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
namespace ui {
class NumberPanel;
class TitleStrip;
} // namespace ui
namespace practice { class ChapterGridModel; }

// The chapter selector "科目名称": the chapter tree with its counters, the
// totals and the composite score, and the three practice modes.
class TFrmkmmc : public QDialog {
    Q_OBJECT
public:
    explicit TFrmkmmc(QWidget *parent = nullptr);

    void setVisible(bool visible) override;
    void done(int result) override;

    QString LastChapterCode;

    ui::TitleStrip *Caption;
    QTableView *DBGrid1;
    ui::NumberPanel *epNum_all;
    ui::NumberPanel *epNum_ok;
    ui::NumberPanel *epNum_Err;
    QLabel *Lb_fs;
    QPushButton *SpeedButton1;
    QPushButton *SpeedButton2;
    QPushButton *SpeedButton3;
    QPushButton *SpeedButton4;
    QPushButton *SpeedButton5;
    QPushButton *SpeedButton6;
    QPushButton *SpeedButton7;
    QPushButton *epEfButton4;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildControls();
    void applyLayout(bool compact);
    void FormShow();
    void showTotals();
    void selectCurrentRow();
    void gridRowChanged(int row);
    // One handler for the three modes and the grid's double-click.
    void startPractice(practice::PracticeMode mode, const QString &caption);
    void runPractice(practice::PracticeMode mode, const QString &caption);
    void epEfButton4Click(); // the chapter's guidance text
    void SpeedButton4Click();
    void SpeedButton5Click(); // question entry for the selected chapter
    void SpeedButton7Click(); // import of a question file, into the selected section
    void reloadChapters(const QString &code);

    practice::ChapterGridModel *m_model;
    QList<QLabel *> m_totalTitles;
    bool m_practising = false;
};
