#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
namespace richtext {
class RichEditBar;
class RichEditor;
} // namespace richtext
namespace ui { class TitleStrip; }

namespace authoring {
class KeyFields;
class PointLinks;
} // namespace authoring

// "试题修改": edits the question on display in chapter practice (the current
// row of the data module's question set) in place. Nothing is written
// before "保存"; "取消" leaves the question as it was.
class TfrmTedit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTedit(QWidget *parent = nullptr);

    ui::TitleStrip *Caption;
    richtext::RichEditBar *EditBar;
    QLabel *RxLabel5, *RxLabel6, *RxLabel7;
    richtext::RichEditor *RxDBRichEdit1, *RxDBRichEdit2, *RxDBRichEdit3;
    QLabel *RxLabel1, *RxLabel2, *RxLabel3, *RxLabel4;
    QSpinBox *SE_Num;
    QLineEdit *Edit1;
    QComboBox *ComboBox1;
    QPushButton *BtnAddFg;
    QListWidget *ListBox1, *ListBox2;
    QPushButton *SpeedButton4, *SpeedButton3, *SpeedButton2;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void loadQuestion();
    void loadLinks(const QStringList &codes);
    void SpeedButton4Click();

    authoring::KeyFields *m_keys;
    authoring::PointLinks *m_links;
    bool m_grouped = false;
};
