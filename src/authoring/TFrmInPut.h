#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QComboBox;
namespace richtext {
class RichEditBar;
class RichEditor;
} // namespace richtext
namespace ui { class TitleStrip; }

namespace authoring {
class KeyFields;
class PointLinks;
} // namespace authoring

// "试题录入": the learner adds questions of his own to one chapter, one after
// another; the window stays open, cleared, after each save.
class TFrmInPut : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInPut(QWidget *parent = nullptr);

    // The chapter the questions go to (a six-character code) and its name.
    void setChapter(const QString &code, const QString &name);

    // Questions saved since the window was created.
    int EnteredCount = 0;

    ui::TitleStrip *Caption;
    QLabel *Lb_cap;
    QLabel *LbSaved; // the id of the question last saved
    QLabel *LbBody, *LbExplanation;
    richtext::RichEditBar *EditBar;
    richtext::RichEditor *Re1, *Re2;
    QLabel *Label3, *Label4, *Label5, *Label6;
    QSpinBox *SE_Num;
    QLineEdit *Edit1;
    QComboBox *ComboBox1;
    QPushButton *BtnAddFg;
    QListWidget *ListBox1, *ListBox2;
    QPushButton *SpeedButton4, *SpeedButton3, *SpeedButton2, *SpeedButton1, *SpeedButton7;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void SpeedButton4Click();
    void SpeedButton3Click();
    void SpeedButton1Click();
    bool validate();

    QString m_chapter;
    authoring::KeyFields *m_keys;
    authoring::PointLinks *m_links;
};
