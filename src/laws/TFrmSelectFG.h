#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
namespace store { class Query; }
namespace ui { class TitleStrip; }

// The exam-point picker "欢迎": page 0 ticks points of one catalogue section
// for the question being entered or edited, page 1 shows how to enter a
// question. It writes nothing; the caller stores the points it returns.
class TFrmSelectFG : public QDialog {
    Q_OBJECT
public:
    enum Page { PickPage = 0, InstructionsPage = 1 };

    explicit TFrmSelectFG(QWidget *parent = nullptr);
    ~TFrmSelectFG() override;

    // Tag 1: question entry, 2: question edit. The codes the caller already
    // lists are ticked when their section is chosen, and are not counted
    // again against the limit.
    void setCaller(int tag, const QStringList &linkedCodes);

    struct PickedPoint {
        QString ftid;
        QString title;
        QString section;
    };
    // The points ticked by the learner on the section shown, in list order.
    QList<PickedPoint> pickedPoints() const;

    QStackedWidget *Notebook1;
    ui::TitleStrip *PickCaption, *HelpCaption;
    QComboBox *ComboBox1, *ComboBox2;
    QListWidget *CheckListBox1, *CheckListBox2;
    QPushButton *epEfButton1, *epEfButton2, *epEfButton3;
    QPlainTextEdit *Memo1;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildPickPage();
    void buildInstructionsPage();
    void applyLayout();
    void load();
    void fillPoints(int row);
    void ComboBox1Change(int index);
    void CheckListBox1ClickCheck(int row);
    void epEfButton1Click();
    // Ticked points that are not linked yet: only these count against the limit.
    int newlyTickedCount() const;

    store::Query *m_query;
    int m_tag = 0;
    QStringList m_linked;
    bool m_loaded = false;
};
