#include "TFrmExam.h"

#include "AnswerPages.h"
#include "DataModule.h"
#include "Error.h"
#include "ExamRules.h"
#include "Globals.h"
#include "GlyphButton.h"
#include "Marking.h"
#include "NumberBoard.h"
#include "PaperBuilder.h"
#include "PracticeSession.h"
#include "Routines.h"
#include "RunningText.h"
#include "SystemMessageBox.h"
#include "TFrmDlg.h"
#include "TFrmProgress.h"
#include "TitleStrip.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>

namespace {

void errorBox(const QString &text) { ShowMessageBox(QStringLiteral("错误"), text, 1, QStringLiteral("NO"), 2); }

QString field(const store::Dataset &row, const char *name) { return row.fieldByName(QLatin1String(name)).asString(); }

} // namespace

TFrmExam::TFrmExam(QWidget *parent) : QDialog(parent)
{
    if (!m_glyphs.load(AppDir))
        practice::endProgramForMissingPictures();
    buildControls();
    applyLayout(false);
    connectHandlers();
}

TFrmExam::~TFrmExam() { closePaper(); }

store::Query &TFrmExam::paper() const { return DataModule->Cn1Query_exam; }

void TFrmExam::connectHandlers()
{
    connect(fcBG_th, &practice::NumberBoard::recordPicked, this, &TFrmExam::showRecord);
    connect(epEfTrBtn1, &QPushButton::clicked, this, [this] {
        fcBG_th->setPressed(CurrentRecord - 2);
        showRecord(CurrentRecord - 1);
    });
    connect(epEfTrBtn2, &QPushButton::clicked, this, [this] {
        fcBG_th->setPressed(CurrentRecord);
        showRecord(CurrentRecord + 1);
    });
    connect(epEfTrBtn3, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn3Click);
    connect(epEfTrBtn7, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn3Click);
    connect(epEfTrBtn13, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn13Click);
    connect(epEfTrBtn6, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn6Click);
    connect(epEfTrBtn4, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn4Click);
    connect(epEfTrBtn5, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn5Click);
    connect(epEfTrBtn9, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn9Click);
    connect(epEfTrBtn12, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn12Click);
    connect(epEfTrBtn8, &QPushButton::clicked, this, &TFrmExam::epEfTrBtn8Click);
    connect(epEfTrBtn10, &QPushButton::clicked, this, &TFrmExam::ExportPaper);
    connect(epEfTrBtn11, &QPushButton::clicked, this, [] { practice::showDesktop(); });
    connect(KZTimeCounter1, &ui::RunningClock::ticked, this, &TFrmExam::clockTicked);
    // Option keys reach the window also while one of its buttons has the focus.
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        button->installEventFilter(this);
}

void TFrmExam::InitPaper(const QString &tableName, const QString &title, const QString &mode, double score,
                         const QString &timeText)
{
    m_table = tableName;
    m_title = title;
    m_mode = mode;
    m_score = score;
    m_timeText = timeText;
}

bool TFrmExam::OpenPaper()
{
    try {
        ProgressScope progress(isNew() ? QStringLiteral("正在出卷...") : QStringLiteral("正在提取试卷..."));
        if (!exam::isPaperTableName(m_table) || !DataModule->ADOCn1.tableExists(m_table))
            throw store::Error(QStringLiteral("no paper table"));
        if (isNew())
            DataModule->ADOCn1.execute(QStringLiteral("Update ") + m_table + QStringLiteral(" set E2_1= ''"));
        store::Query &p = paper();
        p.close();
        p.setFilter(QString());
        p.setSql(QStringLiteral("select * from ") + m_table + QStringLiteral(" order by A13,A1"));
        p.open();
        if (p.isEmpty())
            throw store::Error(QStringLiteral("empty paper"));

        m_typeCaptions.clear();
        store::Query tx(&DataModule->ADOCn1);
        tx.setSql(QStringLiteral("select * from tab_tx") + QString::number(CurrentSubject));
        tx.open();
        for (tx.first(); !tx.eof(); tx.next()) {
            const int b2 = tx.fieldByName(QStringLiteral("B2")).asInteger();
            const double b3 = tx.fieldByName(QStringLiteral("B3")).asFloat();
            m_typeCaptions.insert(tx.fieldByName(QStringLiteral("A1")).asInteger(),
                                  field(tx, "B1") + QStringLiteral(" 每题") + QString::number(b3) +
                                      QStringLiteral("分 共") + QString::number(b3 * b2) + QStringLiteral("分"));
        }
    } catch (const store::Error &) {
        errorBox(QStringLiteral("无法打开试卷！"));
        return false;
    }
    return true;
}

// Marking lays the window out for review itself; coming back from 桌面 changes nothing.
void TFrmExam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    applyLayout(ScreenClass == QLatin1String("800"));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(ScreenClass == QLatin1String("800") ? QPoint(24, 76)
                                                  : screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TFrmExam::FormShow()
{
    epLabel2->setText(m_title);
    epLabel2->setToolTip(m_title);
    applyMode();
    Panel2->resize(0, Panel2->height());
    Panel2->hide();
    CurrentRecord = 0;
    refreshAnswerSheet();
    KZTimeCounter1->stop();
    KZTimeCounter1->reset();
    if (isNew())
        KZTimeCounter1->start();
}

void TFrmExam::applyMode()
{
    const bool reviewing = !isNew();
    setWindowTitle(reviewing ? QStringLiteral("查阅试卷") : QStringLiteral("正在答卷"));
    findChild<ui::TitleStrip *>(QStringLiteral("Caption"))->setText(windowTitle());
    epEfTrBtn3->setEnabled(!reviewing);
    for (QPushButton *b : {epEfTrBtn4, epEfTrBtn6, epEfTrBtn9, epEfTrBtn10})
        b->setEnabled(reviewing);
    epEfTrBtn5->setEnabled(true);
    epEfTrBtn13->setVisible(!reviewing);
    Notebook1->setEnabled(!reviewing);
    Notebook_Time->setCurrentIndex(reviewing ? 1 : 0);
    if (reviewing) {
        epLb_time2->setText(m_timeText);
        Lb_zfs->setText(exam::scoreText(m_score));
    } else {
        epLb_time1->setText(QStringLiteral("0:00:00"));
    }
}

void TFrmExam::refreshAnswerSheet()
{
    store::Query &p = paper();
    const bool reviewing = !isNew();
    fcBG_th->showRecords(p.recordCount(), [&p, reviewing](int record) {
        if (!reviewing)
            return practice::AnswerState::NotAnswered;
        p.setRecNo(record);
        // Left blank scores nothing like a wrong answer, but the sheet tells the two apart.
        return practice::answerState(field(p, "E2_1"), field(p, "A2"));
    });
    if (p.recordCount() > 0) {
        fcBG_th->setPressed(0);
        showRecord(1);
    }
}

void TFrmExam::showRecord(int record)
{
    store::Query &p = paper();
    if (record < 1 || record > p.recordCount())
        return;
    practice::closeAnswerPanel(Panel2, epEfTrBtn6);
    if (isNew() && CurrentRecord > 0) {
        try {
            RecordAnswer(CurrentRecord, false);
        } catch (const store::Error &e) {
            answerNotSaved(e);
            fcBG_th->setPressed(CurrentRecord - 1);
            return;
        }
    }
    Label5->setText(QString::number(record));
    epEfTrBtn1->setEnabled(record >= 2);
    epEfTrBtn2->setEnabled(record < p.recordCount());

    CurrentRecord = record;
    p.setRecNo(record);
    if (const int page = practice::answerPageFor(p.fieldByName(QStringLiteral("A13")).asInteger()); page >= 0)
        Notebook1->setCurrentIndex(page);
    showAnswerState();
    showQuestionText();
    Label1->clear();
    epEfTrBtn12->setText(QStringLiteral("本题作废"));
    epEfTrBtn12->setEnabled(!isNew());
    if (!isNew()) {
        const int flag = p.fieldByName(QStringLiteral("F1")).asInteger();
        if (flag == 1) {
            Label1->setText(practice::voidedNotice());
            epEfTrBtn12->setText(QStringLiteral("取消作废"));
        } else if (flag == 2) {
            Label1->setText(QStringLiteral("本题是您加入的题目！"));
        }
    }
}

void TFrmExam::showAnswerState()
{
    const store::Query &p = paper();
    const int type = p.fieldByName(QStringLiteral("A13")).asInteger();
    Label7->setText(m_typeCaptions.value(type));
    if (!isNew()) {
        epEfTrBtn6->setEnabled(!practice::isSubjectiveType(type));
        epEfTrBtn4->setEnabled(!p.fieldByName(QStringLiteral("jx")).isNull());
        epEfTrBtn9->setEnabled(!field(p, "K3").trimmed().isEmpty());
    }
    epEfTrBtn5->setText(field(p, "A14").trimmed().isEmpty() ? QStringLiteral("笔记") : QStringLiteral("有内容"));
    Notebook1->offerOptions(p.fieldByName(QStringLiteral("A2_1")).asInteger());
    Notebook1->restore(field(p, "E2_1"));
}

void TFrmExam::showQuestionText()
{
    try {
        if (!practice::showQuestionBody(Re1, FlatSplitter1, Re2, field(paper(), "A1")))
            errorBox(QStringLiteral("找不到该试题！"));
    } catch (const store::Error &) {
        errorBox(QStringLiteral("无法打开试题！"));
    }
}

void TFrmExam::RecordAnswer(int record, bool quiet)
{
    const practice::MarkOutcome outcome = practice::markPaperAnswer(
        paper(), record, Notebook1->answer(), {store::review::AnswerPlace::Exam, m_table, -1});
    if (outcome.marked && !quiet)
        fcBG_th->setState(record - 1, outcome.emptyAnswer ? practice::AnswerState::NotAnswered
                                                          : practice::AnswerState::Answered);
}

void TFrmExam::clockTicked(const QString &text)
{
    epLb_time1->setText(text);
    if (!isNew() || !exam::timeIsUp(ParseHms(text), exam::examTimeSetting()))
        return;
    KZTimeCounter1->stop();
    timeOutWhenChildCloses();
}

void TFrmExam::timeOut()
{
    KZTimeCounter1->stop();
    try {
        RecordAnswer(CurrentRecord, true);
    } catch (const store::Error &e) {
        answerNotSaved(e);
        if (m_finishing)
            return;
    }
    SystemMessageBox(QStringLiteral("提示"), QStringLiteral("很遗憾，考试时间到了！"), QMessageBox::Information);
    try {
        if (exam::unansweredCount(m_table) < exam::kAnswerSheetSize) {
            MarkPaper();
            return;
        }
        DropPaper(m_table);
        finish();
    } catch (const store::Error &) {
        errorBox(QStringLiteral("发生错误！"));
    }
}

void TFrmExam::epEfTrBtn3Click()
{
    if (!isNew()) {
        if (DropOnClose)
            DropPaper(m_table);
        finish();
        return;
    }
    KZTimeCounter1->stop();
    int unanswered = 0;
    try {
        RecordAnswer(CurrentRecord, true);
        unanswered = exam::unansweredCount(m_table);
    } catch (const store::Error &e) {
        answerNotSaved(e);
        return;
    }
    if (unanswered >= exam::kAnswerSheetSize) {
        DropPaper(m_table);
        finish();
        return;
    }
    const QString question = unanswered == 0 ? QStringLiteral("恭喜你已经做完试卷，确定要交卷吗？")
                                             : QStringLiteral("你还有%1道题未做，确定要交卷吗？").arg(unanswered);
    switch (ShowMessageBox(QStringLiteral("提示"), question, 2, QStringLiteral("Exam"), 0)) {
    case 1:
        MarkPaper();
        break;
    case 2:
        try {
            exam::voidPaper(m_table, unanswered, KZTimeCounter1->text());
        } catch (const store::Error &) {
            errorBox(QStringLiteral("发生错误！"));
            return;
        }
        finish();
        break;
    default:
        KZTimeCounter1->start();
        break;
    }
}

void TFrmExam::MarkPaper()
{
    const QString timeText = KZTimeCounter1->text();
    try {
        ProgressScope progress(QStringLiteral("正在判卷..."));
        const exam::MarkedPaper marked = exam::markPaper(m_table, CurrentSubject, timeText);
        m_score = marked.score;
        DropOnClose = marked.dropOnClose;
    } catch (const store::Error &e) {
        // Still answering, clock stopped: 交卷 can be tried again.
        answerNotSaved(e);
        return;
    }
    m_mode = QStringLiteral("old");
    m_timeText = timeText;
    if (!OpenPaper()) {
        finish();
        return;
    }
    FormShow();
}

// While paused, 交卷 and 关闭 are grey, and so is leaving by Escape or the window manager.
void TFrmExam::reject()
{
    if (!m_paused)
        epEfTrBtn3Click();
}

void TFrmExam::closeEvent(QCloseEvent *event)
{
    if (m_finishing) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    if (!m_paused)
        epEfTrBtn3Click();
}

void TFrmExam::finish()
{
    m_finishing = true;
    closePaper();
    QDialog::done(QDialog::Accepted);
}

void TFrmExam::closePaper()
{
    if (m_closed)
        return;
    m_closed = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    KZTimeCounter1->stop();
    epRunPanel1->stop();
    for (store::Dataset *ds : std::initializer_list<store::Dataset *>{
             &DataModule->Cn1Query1, &DataModule->Cn1Query2, &DataModule->Cn1Query_tm, &DataModule->Cn1Table_cj,
             &DataModule->Cn1Table_tx, &DataModule->Cn1Query_exam, &DataModule->Cn1Table_fgmc})
        ds->close();
    QApplication::restoreOverrideCursor();
}
