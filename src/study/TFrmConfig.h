#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSpinBox;
namespace ui {
class Bevel;
class Switch;
class TitleStrip;
} // namespace ui

// The main window's music routine (file, play); the settings window acts through it.
extern std::function<void(const QString &file, bool play)> MainPlayMusic;

// Settings, two faces: background music (switch and tune list, acting at
// once) and answer time per question type of the current subject.
class TFrmConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfig(QWidget *parent = nullptr);

    // The answer-times face alone: music controls hidden, time controls moved up.
    void showTimesOnly();
    int rowCount() const { return m_count; }

    ui::TitleStrip *Caption;
    ui::Bevel *epBevel1;
    ui::Bevel *epBevel3;
    QLabel *Label1;
    ui::Switch *RxSwitch1;
    QLabel *Label5;
    QComboBox *FlatComboBox1;
    QLabel *Label4;
    QScrollArea *ScrollBox1;
    QPushButton *epFocusButton3;
    // The review's target retention in percent, on the answer-time face.
    QLabel *LabelTarget;
    QSpinBox *ReviewTarget;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FormCloseQuery();
    void RxSwitch1On();
    void RxSwitch1Off();
    void FlatComboBox1Change();
    void buildTimeRows();
    void saveTimes();
    void saveTarget();
    void setFaceHeight(int contentHeight);
    void layOutTimes(bool alone);

    int m_count = 0;
    bool m_timesOnly = false;
    bool m_closing = false;
};
