#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

// Exam settings: the lowest score a marked paper needs to be kept and the
// mock-exam answer time in minutes (tab_plan.LeastMark, ExamTime in seconds).
class TFrmEset : public QDialog {
    Q_OBJECT
public:
    explicit TFrmEset(QWidget *parent = nullptr);

    QCheckBox *suiCheckBox1, *suiCheckBox2;
    QLineEdit *suiNumberEdit1, *suiNumberEdit2;
    QPushButton *suiButton1, *suiButton2;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void suiCheckBoxClick();
    void suiButton1Click();
    void suiNumberEdit1Change();
    void save();

    bool m_saved = false;
};
