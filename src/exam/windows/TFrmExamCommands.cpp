// The exam window's commands beyond answering and handing in: pause, the
// answer panel, the explanation, note, exam-point and settings windows,
// voiding a question and the Word document of the paper in review, and the keys.
#include "TFrmExam.h"

#include "AnswerPages.h"
#include "DataModule.h"
#include "Error.h"
#include "ExamRules.h"
#include "ExportPaperCommand.h"
#include "Globals.h"
#include "NumberBoard.h"
#include "PracticeSession.h"
#include "RunningText.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
// How soon a time-out follows the close of the child window that held it up.
constexpr int kChildPollMs = 100;
} // namespace

void TFrmExam::epEfTrBtn13Click()
{
    const QList<QWidget *> frozen{epEfTrBtn3, epEfTrBtn5, epEfTrBtn7, Notebook1, fcBG_th};
    if (!m_paused) {
        m_paused = true;
        m_previousWasEnabled = epEfTrBtn1->isEnabled();
        m_nextWasEnabled = epEfTrBtn2->isEnabled();
        epEfTrBtn13->setText(QStringLiteral("继续考试"));
        KZTimeCounter1->stop();
        for (QWidget *w : frozen)
            w->setEnabled(false);
        epEfTrBtn1->setEnabled(false);
        epEfTrBtn2->setEnabled(false);
        suiPanel1->setGeometry(Panel1->geometry());
        epRunPanel1->setGeometry(1, 1, Panel1->width() - 2, Panel1->height() - 2);
        suiPanel1->show();
        suiPanel1->raise();
        epRunPanel1->start();
    } else {
        m_paused = false;
        epEfTrBtn13->setText(QStringLiteral("暂停考试"));
        KZTimeCounter1->start();
        for (QWidget *w : frozen)
            w->setEnabled(true);
        epEfTrBtn1->setEnabled(m_previousWasEnabled);
        epEfTrBtn2->setEnabled(m_nextWasEnabled);
        epRunPanel1->stop();
        suiPanel1->hide();
    }
}

void TFrmExam::epEfTrBtn6Click()
{
    const bool opening = epEfTrBtn6->text() == QStringLiteral("答案");
    if (opening)
        practice::fillAnswerPanel(m_answerPanel, *Notebook1,
                                  paper().fieldByName(QStringLiteral("A2")).asString());
    practice::slideAnswerPanel(Panel2, Panel1, epEfTrBtn6, opening);
}

void TFrmExam::epEfTrBtn4Click() { practice::openExplanation(this, paper(), DataModule->Cn1DS_exam); }

void TFrmExam::epEfTrBtn5Click()
{
    if (CurrentRecord <= 0)
        return;
    paper().setRecNo(CurrentRecord);
    practice::openNotes(this, DataModule->Cn1DS_exam, QStringLiteral("ks"), epEfTrBtn5);
}

void TFrmExam::epEfTrBtn9Click()
{
    if (CurrentRecord <= 0)
        return;
    paper().setRecNo(CurrentRecord);
    practice::openRelatedPoints(this, paper().fieldByName(QStringLiteral("A1")).asString());
}

void TFrmExam::epEfTrBtn12Click()
{
    if (CurrentRecord <= 0)
        return;
    paper().setRecNo(CurrentRecord);
    try {
        if (epEfTrBtn12->text() == QStringLiteral("本题作废")) {
            exam::voidPaperQuestion(paper());
            Label1->setText(practice::voidedNotice());
            epEfTrBtn12->setText(QStringLiteral("取消作废"));
        } else {
            exam::cancelPaperQuestionVoid(paper());
            Label1->setText(practice::unvoidedNotice());
            epEfTrBtn12->setText(QStringLiteral("本题作废"));
        }
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.message(), 1, QStringLiteral("NO"), 2);
    }
}

void TFrmExam::epEfTrBtn8Click()
{
    SettingsVariant = 0;
    TFrmConfig settings(this);
    settings.exec();
}

void TFrmExam::ExportPaper()
{
    exam::ExportPaperToWord(this, DataModule->ADOCn1, m_table, epLabel2->text());
}

void TFrmExam::timeOutWhenChildCloses()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal != this) {
        QTimer::singleShot(kChildPollMs, this, &TFrmExam::timeOutWhenChildCloses);
        return;
    }
    timeOut();
}

bool TFrmExam::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched != this) {
        auto *key = static_cast<QKeyEvent *>(event);
        keyPressEvent(key);
        if (key->isAccepted())
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmExam::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        QDialog::keyPressEvent(event);
        return;
    }
    const bool moving = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Return ||
                        event->key() == Qt::Key_Enter;
    // In review the answers stand: the keys only move between questions.
    if (m_paused || (!Notebook1->isEnabled() && !moving)) {
        event->ignore();
        return;
    }
    practice::answerKey(event, *Notebook1, epEfTrBtn1, epEfTrBtn2);
}

void TFrmExam::answerNotSaved(const store::Error &error)
{
    if (error.condition() != store::Condition::ReadOnly) {
        const bool known = error.condition() != store::Condition::Other;
        ShowMessageBox(QStringLiteral("错误"), known ? error.learnerMessage() : QStringLiteral("发生错误！"), 1,
                       QStringLiteral("NO"), 2);
        return;
    }
    if (m_finishing)
        return;
    ShowMessageBox(QStringLiteral("错误"), error.learnerMessage(), 1, QStringLiteral("NO"), 2);
    finish();
}
