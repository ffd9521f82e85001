#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;
namespace ui {
class Bevel;
class NumberPanel;
class TitleStrip;
} // namespace ui

// 查阅试卷: every kept paper, newest first, with its score and time, the
// figures of the score history, and review or delete of the chosen paper.
class TFrmCheck : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCheck(QWidget *parent = nullptr);

    ui::TitleStrip *Caption;
    ui::Bevel *Image1;
    QTableView *DBGrid1;
    QLabel *Label1, *Label2, *Label3;
    ui::NumberPanel *epNumPanel1, *epNumPanel2, *epNumPanel3;
    QLabel *Lbtip;
    QLabel *ListTitle, *FiguresTitle;
    ui::Bevel *FiguresFrame;
    QLabel *Band; // below the caption: what the window is for
    QPushButton *SpeedButton2, *SpeedButton4, *SpeedButton1, *SpeedButton3;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyLayout(bool compact);
    void FormShow();
    void fillList();
    bool moveToSelected();
    void SpeedButton2Click();
    void SpeedButton4Click();
    void SpeedButton1Click();

    QStandardItemModel *m_model;
};
