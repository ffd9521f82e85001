#pragma once

#include <QString>

class QKeyEvent;
class QLabel;
class QPushButton;
class QSplitter;
class QTextEdit;
class QWidget;
namespace richtext { class RichView; }
namespace store {
class DataSource;
class Dataset;
} // namespace store

// Pieces every answering window (practice and exam) shares.
namespace practice {

class AnswerPages;

// Panel1: the question (Re1) above a grouped question's shared stem (Re2), split by FlatSplitter1.
struct QuestionTextPanel {
    QWidget *panel = nullptr;
    QSplitter *splitter = nullptr;
    richtext::RichView *body = nullptr;
    richtext::RichView *stem = nullptr;
};
QuestionTextPanel buildQuestionTextPanel(QWidget *parent);

// Panel2: the answer panel that slides over the question area.
struct AnswerPanel {
    QWidget *panel = nullptr;
    QLabel *tip = nullptr;     // Lb_answtip
    QLabel *given = nullptr;   // "你的答案："
    QTextEdit *givenText = nullptr;   // Memo1
    QLabel *correct = nullptr; // "正确答案："
    QTextEdit *correctText = nullptr; // Memo2
};
AnswerPanel buildAnswerPanel(QWidget *parent);
// Keeps the panel over the area, at full or zero width as it stands.
void placeAnswerPanel(QWidget *panel, const QWidget *area);
// Fills the panel from the page on display and the key.
void fillAnswerPanel(const AnswerPanel &panel, const AnswerPages &pages, const QString &key);
// Opens or closes the panel over the area in growing steps; the button reads "返回" while it is open.
void slideAnswerPanel(QWidget *panel, const QWidget *area, QPushButton *toggle, bool open);
// Closes it at once, when the question changes.
void closeAnswerPanel(QWidget *panel, QPushButton *toggle);

// Shows the question (or the shared stem and the question of a grouped one)
// in Re1 / Re2 and opens the lower view for a group. False when the bank has
// no text row for the question.
bool showQuestionBody(richtext::RichView *re1, QSplitter *splitter, richtext::RichView *re2,
                      const QString &questionId);

// Backspace, Enter and A … F on the option pages; accepts the event it used.
void answerKey(QKeyEvent *event, AnswerPages &pages, QPushButton *previous, QPushButton *next);

// "桌面": every visible window of the program minimised.
void showDesktop();

// The transparent command buttons of the answering windows.
QPushButton *commandButton(QWidget *parent, const QString &name, const QString &text);

// The question windows on the current row of the source: the explanation
// ("jx"), the note ("A14", saved on close; the button then reads "有内容" or
// "笔记") and the linked exam points (shown only when there are any).
void openExplanation(QWidget *owner, store::Dataset &rows, store::DataSource &source);
void openNotes(QWidget *owner, store::DataSource &source, const QString &marker, QPushButton *notesButton);
void openRelatedPoints(QWidget *owner, const QString &questionId);

} // namespace practice
