#pragma once

#include "RelatedPoints.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QSplitter;
namespace richtext {
class DbRichView;
}
namespace store {
class DataSource;
}
namespace ui {
class TitleStrip;
}

// The exam points a question is linked to: titles on the left, the selected
// point's text on the right, its catalogue section on top.
class TfrmAnswFagui : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAnswFagui(QWidget *parent = nullptr);
    ~TfrmAnswFagui() override;

    // Reads the question's links; false (and nothing to show) when it has none.
    bool LoadLinks(const QString &questionId);

    QListWidget *m_listbox; // hidden: the linked codes in K3 … K12 order
    QListWidget *ListBox1;
    QSplitter *Splitter1;
    richtext::DbRichView *Re;
    ui::TitleStrip *epLabel1;
    QPushButton *epEfTrBtn1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void ListBox1Click();

    practice::RelatedPoints m_points;
    store::DataSource *DataSource1;
};
