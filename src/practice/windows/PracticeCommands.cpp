// The practice window's commands beyond moving and marking: the answer
// panel, the time limit, voiding, the explanation, note, exam-point and
// settings windows, the desktop, the keys and closing.
#include "PracticeWindow.h"

#include "AnswerPages.h"
#include "DataModule.h"
#include "Gauge.h"
#include "Globals.h"
#include "Marking.h"
#include "TFrmBj.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"
#include "TFrmJx.h"
#include "TfrmAnswFagui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>

namespace practice {

void PracticeWindow::notice(const QString &text)
{
    ShowMessageBox(QStringLiteral("提示"), text, 1, QStringLiteral("NO"), 1);
}

void PracticeWindow::epEfTrBtn6Click()
{
    const bool opening = epEfTrBtn6->text() == QStringLiteral("答案");
    if (opening) {
        const AnswerPanelText text = answerPanelText(Notebook1->currentIndex(), Notebook1->panelAnswer(),
                                                     questions().fieldByName(QStringLiteral("A2")).asString());
        Lb_answtip->setText(text.tip);
        Memo1->setPlainText(text.given);
        Memo2->setPlainText(text.correct);
    }
    slideAnswerPanel(opening);
}

void PracticeWindow::slideAnswerPanel(bool open)
{
    epEfTrBtn6->setText(open ? QStringLiteral("返回") : QStringLiteral("答案"));
    const int full = Panel1->width();
    Panel2->setGeometry(Panel1->x(), Panel1->y(), open ? 0 : Panel2->width(), Panel1->height());
    Panel2->show();
    Panel2->raise();
    for (int step = 20; open ? Panel2->width() < full : Panel2->width() > 0; step += 20) {
        Panel2->resize(open ? qMin(full, Panel2->width() + step) : qMax(0, Panel2->width() - step), Panel2->height());
        repaint();
    }
    if (!open)
        Panel2->hide();
}

void PracticeWindow::Timer1Timer()
{
    if (!m_gauge.tick()) {
        epIndiGauge1->setValue(m_gauge.value());
        return;
    }
    Timer1->stop();
    notice(QStringLiteral("到时间了"));
    if (questions().state() != store::Dataset::State::Browse) {
        // The notes window holds this question's row open; its close saves the mark with the note.
        questions().setValue(QStringLiteral("csbs"), QStringLiteral("Y"));
        return;
    }
    if (CurrentRecord > 0 && CurrentRecord <= questions().recordCount()) {
        questions().setRecNo(CurrentRecord);
        markTimeUp(questions());
    }
}

void PracticeWindow::epEfTrBtn4Click()
{
    TFrmJx explanation(this);
    explanation.bind(DataModule->cn1query_nr, DataModule->Cn1DS_nr, QStringLiteral("jx"));
    explanation.exec();
}

void PracticeWindow::epEfTrBtn5Click()
{
    if (CurrentRecord <= 0)
        return;
    questions().setRecNo(CurrentRecord);
    TFrmBj notes(this);
    notes.Label1->setText(QStringLiteral("lx"));
    notes.bind(DataModule->Cn1DS_tm, QStringLiteral("A14"));
    notes.exec();
    epEfTrBtn5->setText(NotesHaveContent ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void PracticeWindow::epEfTrBtn9Click()
{
    if (CurrentRecord <= 0)
        return;
    questions().setRecNo(CurrentRecord);
    TfrmAnswFagui points(this);
    if (points.LoadLinks(questions().fieldByName(QStringLiteral("A1")).asString()))
        points.exec();
    if (!isVisible())
        show();
}

void PracticeWindow::epEfTrBtn10Click()
{
    if (questions().isEmpty() || CurrentRecord <= 0)
        return;
    questions().setRecNo(CurrentRecord);
    if (epEfTrBtn10->text() == m_variant.voidCaption) {
        voidQuestion(questions());
        Label21->setText(voidedNotice());
        epEfTrBtn10->setText(QStringLiteral("取消作废"));
    } else {
        cancelVoid(questions());
        Label21->setText(unvoidedNotice());
        epEfTrBtn10->setText(m_variant.voidCaption);
    }
}

void PracticeWindow::epEfTrBtn7Click()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->showMinimized();
}

void PracticeWindow::epEfTrBtn8Click()
{
    SettingsVariant = 0;
    TFrmConfig settings(this);
    settings.exec();
}

bool PracticeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != this) {
        auto *key = static_cast<QKeyEvent *>(event);
        keyPressEvent(key);
        if (key->isAccepted())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PracticeWindow::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    event->ignore();
    if (!Notebook1->takesOptionKeys() || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return;
    if (key == Qt::Key_Backspace && epEfTrBtn1->isEnabled()) {
        epEfTrBtn1->click();
        event->accept();
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && epEfTrBtn2->isEnabled()) {
        epEfTrBtn2->click();
        event->accept();
    } else if (key >= Qt::Key_A && key <= Qt::Key_F) {
        if (Notebook1->pressOptionKey(key - Qt::Key_A))
            event->accept();
    }
}

void PracticeWindow::done(int result)
{
    closeSession();
    QDialog::done(result);
}

void PracticeWindow::closeSession()
{
    if (m_closed)
        return;
    m_closed = true;
    Timer1->stop();
    KZTimeCounter1->stop();
    const QString elapsed = clockText(KZTimeCounter1->elapsedSeconds());
    guarded([this] {
        if (CurrentRecord > 0)
            markQuestion(Situation::Quiet);
    });
    guarded([&elapsed] { endPracticeSession(elapsed); });
}

} // namespace practice
