#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
namespace ui {
class Bevel;
class TitleStrip;
} // namespace ui

// 题库升级: merges a local upgrade file (ours or a Jet .mdb) into the question bank once.
class Tfrmstxz : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmstxz(QWidget *parent = nullptr);

    static QString openDialogFilter();
    void ApplyUpgrade(const QString &path);

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    QLabel *Label1;
    QGroupBox *RadioGroup1;
    QRadioButton *RadioLocal; // the group's single item "本地升级"
    QLineEdit *Edit1;
    QToolButton *SpeedButton1;
    QPushButton *epFocusButton1;
    QPushButton *epFocusButton3;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FormCloseQuery();
    void RadioGroup1Click();
    void SpeedButton1Click();
    void epFocusButton1Click();
};
