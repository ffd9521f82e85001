#pragma once

#include <QObject>

class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QWidget;
namespace richtext { class DbRichView; }

// The points of one section inside the exam-point browser: their titles with
// question counts on the left, the selected point's text on the right and
// its practice counters in the note bar. Works on DataModule->m_queryDetail;
// the browser's 练习 button follows the selected point.
class TfrmLawDetail : public QObject {
    Q_OBJECT
public:
    // The view's panel m_Pdetail is placed in `host`, filling it.
    TfrmLawDetail(QWidget *host, QPushButton *practiceButton);
    ~TfrmLawDetail() override;

    // Lists the points of m_queryDetail as it stands and selects the first.
    void fill();
    // Shows the selected entry's point; selects the first entry when none is.
    void m_lBmenuClick();
    // Selects entry `index` (kept in range) and shows its point.
    void select(int index);
    int selectedIndex() const;
    // The text view lets go of the point query while its filter changes.
    void unbindText();

    QWidget *m_Pdetail;
    QListWidget *m_LBmenu;
    QSplitter *Splitter1;
    QWidget *Panel1;
    richtext::DbRichView *Re;
    QLabel *m_pNote;

private:
    void bindText();
    void showNote();

    QPushButton *m_practice;
};
