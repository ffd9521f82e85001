// The practice window's commands beyond moving and marking: the answer
// panel, the time limit, voiding, the explanation, note, exam-point and
// settings windows, the desktop, the keys and closing.
#include "PracticeWindow.h"

#include "AnswerPages.h"
#include "DataModule.h"
#include "Gauge.h"
#include "Globals.h"
#include "Marking.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"

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
    if (opening)
        fillAnswerPanel(m_answerPanel, *Notebook1, questions().fieldByName(QStringLiteral("A2")).asString());
    slideAnswerPanel(Panel2, Panel1, epEfTrBtn6, opening);
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

void PracticeWindow::epEfTrBtn4Click() { openExplanation(this, DataModule->cn1query_nr, DataModule->Cn1DS_nr); }

void PracticeWindow::epEfTrBtn5Click()
{
    if (CurrentRecord <= 0)
        return;
    questions().setRecNo(CurrentRecord);
    openNotes(this, DataModule->Cn1DS_tm, QStringLiteral("lx"), epEfTrBtn5);
}

void PracticeWindow::epEfTrBtn9Click()
{
    if (CurrentRecord <= 0)
        return;
    questions().setRecNo(CurrentRecord);
    openRelatedPoints(this, questions().fieldByName(QStringLiteral("A1")).asString());
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

void PracticeWindow::epEfTrBtn7Click() { showDesktop(); }

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
    if (event->key() == Qt::Key_Escape)
        return QDialog::keyPressEvent(event); // closes, as 关闭 does
    answerKey(event, *Notebook1, epEfTrBtn1, epEfTrBtn2);
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
