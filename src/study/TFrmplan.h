#pragma once

#include <QDialog>

class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace study { struct Countdown; }

// The study plan: days left until the exam, the exam day and the daily
// target (questions or minutes). "设定" unlocks the fields, "保存" checks
// and stores them in the plan row.
class TFrmplan : public QDialog {
    Q_OBJECT
public:
    explicit TFrmplan(QWidget *parent = nullptr);

    QLabel *Image1;
    QLabel *epLabel1;
    QLabel *Label1;
    QLabel *epLabel2;
    QLabel *Label2;
    QDateEdit *DateEdit1;
    QGroupBox *SeSkinRadioGroup1;
    QRadioButton *planByQuestions;
    QRadioButton *planByMinutes;
    QLineEdit *suiNumberEdit1;
    QLineEdit *suiNumberEdit2;
    QPushButton *SpeedButton1;
    QPushButton *SpeedButton2;

    bool editing() const;
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void FormShow();
    void SpeedButton1Click();
    void SeSkinRadioGroup1Click();
    void showCountdown(const study::Countdown &countdown);
    void setEditing(bool on);
    int selectedMode() const;
    bool saveEntry();

    bool m_shown = false;
};
