#include "AnsweringControls.h"

#include "AnswerCodes.h"
#include "AnswerPages.h"
#include "Buttons.h"
#include "DataModule.h"
#include "Globals.h"
#include "PracticeSession.h"
#include "QuestionText.h"
#include "RichView.h"
#include "TFrmBj.h"
#include "TFrmJx.h"
#include "TfrmAnswFagui.h"
#include "Theme.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

namespace practice {

namespace {

constexpr int kStemHeight = 150;
constexpr int kSplitterWidth = 6;

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QTextEdit *textView(QWidget *parent, const char *name)
{
    auto *t = new QTextEdit(parent);
    t->setObjectName(QLatin1String(name));
    t->setReadOnly(true);
    return t;
}

} // namespace

QuestionTextPanel buildQuestionTextPanel(QWidget *parent)
{
    QuestionTextPanel p;
    p.panel = new QWidget(parent);
    p.panel->setObjectName(QStringLiteral("Panel1"));
    auto *column = new QVBoxLayout(p.panel);
    column->setContentsMargins(0, 0, 0, 0);
    p.splitter = new QSplitter(Qt::Vertical, p.panel);
    p.splitter->setObjectName(QStringLiteral("FlatSplitter1"));
    p.splitter->setChildrenCollapsible(true);
    p.body = new richtext::RichView(p.splitter);
    p.body->setObjectName(QStringLiteral("Re1"));
    p.stem = new richtext::RichView(p.splitter);
    p.stem->setObjectName(QStringLiteral("Re2"));
    p.splitter->addWidget(p.body);
    p.splitter->addWidget(p.stem);
    column->addWidget(p.splitter);
    return p;
}

AnswerPanel buildAnswerPanel(QWidget *parent)
{
    AnswerPanel p;
    p.panel = new QWidget(parent);
    p.panel->setObjectName(QStringLiteral("Panel2"));
    p.panel->setAutoFillBackground(true);
    p.panel->setStyleSheet(QStringLiteral("QWidget#Panel2 { background: %1; border: 1px solid %2; }")
                               .arg(theme::Panel.name(), theme::Accent.name()));
    // The contents keep the full width while the panel slides, so nothing reflows.
    auto *contents = new QWidget(p.panel);
    contents->setObjectName(QStringLiteral("Panel2Contents"));
    auto *column = new QVBoxLayout(contents);
    column->setContentsMargins(24, 18, 24, 18);
    column->setSpacing(8);
    p.tip = label(contents, "Lb_answtip", QString());
    QFont tipFont = p.tip->font();
    tipFont.setPixelSize(tipFont.pixelSize() > 0 ? tipFont.pixelSize() + 6 : 20);
    tipFont.setBold(true);
    p.tip->setFont(tipFont);
    p.tip->setStyleSheet(QStringLiteral("color: %1;").arg(theme::StripBottom.name()));
    p.given = label(contents, "Label22", QStringLiteral("你的答案："));
    p.givenText = textView(contents, "Memo1");
    p.correct = label(contents, "Label23", QStringLiteral("正确答案："));
    p.correctText = textView(contents, "Memo2");
    for (QWidget *w : {static_cast<QWidget *>(p.tip), static_cast<QWidget *>(p.given),
                       static_cast<QWidget *>(p.givenText), static_cast<QWidget *>(p.correct),
                       static_cast<QWidget *>(p.correctText)})
        column->addWidget(w);
    p.panel->resize(0, 0);
    p.panel->hide();
    return p;
}

void placeAnswerPanel(QWidget *panel, const QWidget *area)
{
    panel->findChild<QWidget *>(QStringLiteral("Panel2Contents"))->resize(area->size());
    panel->setGeometry(area->x(), area->y(), panel->width() > 0 ? area->width() : 0, area->height());
}

void fillAnswerPanel(const AnswerPanel &panel, const AnswerPages &pages, const QString &key)
{
    const AnswerPanelText text = answerPanelText(pages.currentIndex(), pages.panelAnswer(), key);
    panel.tip->setText(text.tip);
    panel.givenText->setPlainText(text.given);
    panel.correctText->setPlainText(text.correct);
}

void slideAnswerPanel(QWidget *panel, const QWidget *area, QPushButton *toggle, bool open)
{
    toggle->setText(open ? QStringLiteral("返回") : QStringLiteral("答案"));
    const int full = area->width();
    panel->setGeometry(area->x(), area->y(), open ? 0 : panel->width(), area->height());
    panel->show();
    panel->raise();
    for (int step = 20; open ? panel->width() < full : panel->width() > 0; step += 20) {
        panel->resize(open ? qMin(full, panel->width() + step) : qMax(0, panel->width() - step), panel->height());
        panel->window()->repaint();
    }
    if (!open)
        panel->hide();
}

void closeAnswerPanel(QWidget *panel, QPushButton *toggle)
{
    if (toggle->text() != QStringLiteral("返回"))
        return;
    toggle->setText(QStringLiteral("答案"));
    panel->resize(0, panel->height());
    panel->hide();
}

bool showQuestionBody(richtext::RichView *re1, QSplitter *splitter, richtext::RichView *re2,
                      const QString &questionId)
{
    const bool grouped = openQuestionText(questionId);
    const store::Query &text = DataModule->cn1query_nr;
    const QVariant body = text.isEmpty() ? QVariant() : text.value(QStringLiteral("A15"));
    if (grouped) {
        if (re2->height() == 0 || splitter->sizes().value(1) == 0) {
            const int total = splitter->height();
            splitter->setHandleWidth(kSplitterWidth);
            splitter->setSizes({qMax(0, total - kStemHeight - kSplitterWidth), kStemHeight});
        }
        const store::Query &stem = DataModule->Cn1Query2;
        re1->setContent(stem.isEmpty() ? QVariant() : stem.value(QStringLiteral("A15")));
        re2->setContent(body);
    } else {
        splitter->setHandleWidth(0);
        splitter->setSizes({splitter->height(), 0});
        re2->clear();
        re1->setContent(body);
    }
    return !text.isEmpty();
}

void answerKey(QKeyEvent *event, AnswerPages &pages, QPushButton *previous, QPushButton *next)
{
    const int key = event->key();
    event->ignore();
    if (!pages.takesOptionKeys() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return;
    if (key == Qt::Key_Backspace && previous->isEnabled()) {
        previous->click();
        event->accept();
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && next->isEnabled()) {
        next->click();
        event->accept();
    } else if (key >= Qt::Key_A && key <= Qt::Key_F) {
        if (pages.pressOptionKey(key - Qt::Key_A))
            event->accept();
    }
}

QPushButton *commandButton(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new ui::FlatButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void openExplanation(QWidget *owner, store::Dataset &rows, store::DataSource &source)
{
    TFrmJx explanation(owner);
    explanation.bind(rows, source, QStringLiteral("jx"));
    explanation.exec();
}

void openNotes(QWidget *owner, store::DataSource &source, const QString &marker, QPushButton *notesButton)
{
    TFrmBj notes(owner);
    notes.Label1->setText(marker);
    notes.bind(source, QStringLiteral("A14"));
    notes.exec();
    notesButton->setText(NotesHaveContent ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void openRelatedPoints(QWidget *owner, const QString &questionId)
{
    TfrmAnswFagui points(owner);
    if (points.LoadLinks(questionId))
        points.exec();
}

void showDesktop()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->showMinimized();
}

} // namespace practice
