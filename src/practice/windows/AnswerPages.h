#pragma once

#include <QStackedWidget>
#include <QVector>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;

namespace practice {

// The page a question is answered on. Beyond the pages of single choice,
// multiple choice and case analysis, true/false questions take the true/false
// page and the other subjective types the self-assessment page, so that their
// answers can match their keys ("A"/"B", "1"/"0"); any other type keeps the
// page on display (-1).
int answerPageFor(int typeCode);

// Notebook1: the six answer pages of a practice window, in the page order of
// AnswerPage. Turns the pressed controls into answer text and back.
class AnswerPages : public QStackedWidget {
    Q_OBJECT
public:
    explicit AnswerPages(QWidget *parent = nullptr);

    // Offers the first `count` of A … F on the option pages; the rest are hidden and released.
    void offerOptions(int count);
    int optionCount() const { return m_offered; }

    // The answer the page on display yields.
    QString answer() const;
    // The learner's answer as the answer panel compares it: empty on the fill-in and self-assessment pages.
    QString panelAnswer() const;
    // Shows an answer given earlier in the run on the page on display.
    void restore(const QString &runAnswer);

    // Keys A … F: press the option (single choice) or toggle it (multiple choice).
    // False when the page on display takes no option keys or the option is not offered.
    bool pressOptionKey(int index);
    bool takesOptionKeys() const;

    // Smaller option buttons, closer together, so that A … F fit a narrow page.
    void setCompact(bool compact);

    // Label8 of the self-assessment page: the type name's first two characters, one above the other.
    void setTypeName(const QString &name);

    QWidget *fcBG_one;
    QWidget *fcBG_many;
    QLineEdit *FlatEdit1;
    QWidget *fcBG_yn;
    QComboBox *FlatComboBox1;
    QLabel *Label8;
    QWidget *fcBG_pw;

private:
    struct OptionBoard {
        QWidget *board = nullptr;
        QButtonGroup *group = nullptr;
        QVector<QAbstractButton *> buttons;
    };
    QWidget *addPage(const QString &name, const QString &sideText, const QString &hint, QLabel **sideLabel = nullptr);
    OptionBoard addOptionBoard(QWidget *page, const QString &objectName, const QStringList &captions, bool oneAnswer);
    const OptionBoard &optionBoardOnDisplay() const;
    QVector<bool> pressed(const OptionBoard &board) const;
    static void release(const OptionBoard &board);
    static void press(const OptionBoard &board, const QVector<bool> &which);

    OptionBoard m_one;
    OptionBoard m_many;
    OptionBoard m_yn;
    OptionBoard m_pw;
    int m_offered = 0;
};

} // namespace practice
