#include "PracticeWindow.h"

#include "AnswerPages.h"
#include "DataModule.h"
#include "Error.h"
#include "Gauge.h"
#include "GlyphButton.h"
#include "Globals.h"
#include "Marking.h"
#include "NumberBoard.h"
#include "QuestionText.h"
#include "SearchShortcut.h"
#include "RichView.h"
#include "TFrmDlg.h"
#include "TitleStrip.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>

namespace practice {

PracticeWindow::PracticeWindow(const PracticeVariant &variant, QWidget *parent) : QDialog(parent), m_variant(variant)
{
    setObjectName(variant.objectName);
    if (!m_glyphs.load(AppDir))
        endProgramForMissingPictures();
    buildControls();
    applyLayout(false);
    connectHandlers();
    ui::addSearchShortcut(this, true);
}

PracticeWindow::~PracticeWindow() = default;

store::Query &PracticeWindow::questions() const { return DataModule->Cn1Query_tm; }

void PracticeWindow::connectHandlers()
{
    connect(fcBG_tx, &TypeBoard::entryPicked, this, [this](int index) { guarded([=] { typePicked(index); }); });
    connect(fcBG_th, &NumberBoard::recordPicked, this, [this](int record) { guarded([=] { showRecord(record); }); });
    connect(FlatSpeedButton1, &QPushButton::clicked, this, [this] { guarded([this] { FlatSpeedButton1Click(); }); });
    connect(FlatSpeedButton2, &QPushButton::clicked, this, [this] { guarded([this] { FlatSpeedButton2Click(); }); });
    connect(epEfTrBtn1, &QPushButton::clicked, this,
            [this] { guarded([this] { stepTo(m_pager.previousQuestion(CurrentRecord)); }); });
    connect(epEfTrBtn2, &QPushButton::clicked, this,
            [this] { guarded([this] { stepTo(m_pager.nextQuestion(CurrentRecord)); }); });
    connect(epEfTrBtn3, &QPushButton::clicked, this, [this] { guarded([this] { markQuestion(Situation::Submit); }); });
    connect(epEfTrBtn6, &QPushButton::clicked, this, &PracticeWindow::epEfTrBtn6Click);
    connect(epEfTrBtn4, &QPushButton::clicked, this, [this] { guarded([this] { epEfTrBtn4Click(); }); });
    connect(epEfTrBtn5, &QPushButton::clicked, this, [this] { guarded([this] { epEfTrBtn5Click(); }); });
    connect(epEfTrBtn9, &QPushButton::clicked, this, [this] { guarded([this] { epEfTrBtn9Click(); }); });
    connect(epEfTrBtn10, &QPushButton::clicked, this, [this] { guarded([this] { epEfTrBtn10Click(); }); });
    connect(epEfTrBtn7, &QPushButton::clicked, this, &PracticeWindow::epEfTrBtn7Click);
    connect(epEfTrBtn8, &QPushButton::clicked, this, &PracticeWindow::epEfTrBtn8Click);
    connect(epEfTrBtn99, &QPushButton::clicked, this, &QDialog::accept);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    connect(KZTimeCounter1, &ui::RunningClock::ticked, epLabel1, &QLabel::setText);
    // Option keys reach the window also while one of its buttons has the focus.
    for (QAbstractButton *button : findChildren<QAbstractButton *>())
        button->installEventFilter(this);
}

void PracticeWindow::guarded(const std::function<void()> &command)
{
    try {
        command();
    } catch (const store::Error &e) {
        if (e.condition() != store::Condition::ReadOnly) {
            ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
            return;
        }
        if (m_writeRefused)
            return;
        m_writeRefused = true;
        ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
        // Answering on would only pretend to record.
        if (!m_closed)
            reject();
    }
}

bool PracticeWindow::PrepareSession()
{
    if (!prepareSession(m_types))
        return false;
    if (!m_typeGlyphs.load(AppDir))
        endProgramForMissingPictures();
    QStringList captions;
    for (const TypeEntry &entry : std::as_const(m_types))
        captions << entry.caption;
    fcBG_tx->setEntries(captions, m_typeGlyphs);
    for (int i = 0; i < m_types.size(); ++i) {
        fcBG_tx->entry(i)->setEnabled(m_types.at(i).enabled);
        fcBG_tx->entry(i)->installEventFilter(this);
    }
    return true;
}

void PracticeWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    guarded([this] { FormShow(); });
}

void PracticeWindow::FormShow()
{
    m_questionClock.start();
    m_gauge.reset();
    epIndiGauge1->setValue(0);
    applyLayout(ScreenClass == QLatin1String("800"));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Caption->setText(windowTitle().isEmpty() ? m_variant.caption : windowTitle());
    openQuestionText(FirstQuestionId);
    if (m_variant.boardShowsChapter)
        setBoardText(CurrentChapterCode);
    CurrentRecord = 0;
    if (fcBG_tx->count() > 0) {
        fcBG_tx->setPressed(0);
        typePicked(0);
    }
    KZTimeCounter1->reset();
    KZTimeCounter1->start();
    epLabel1->setText(KZTimeCounter1->text());
    epEfTrBtn9->setEnabled(false);
}

void PracticeWindow::setBoardText(const QString &text) { fitHint(epLabel2, text); }

void PracticeWindow::typePicked(int index)
{
    if (CurrentRecord > 0) {
        markQuestion(Situation::Quiet);
        CurrentRecord = 0;
    }
    const TypeEntry &entry = m_types.at(index);
    Notebook1->setTypeName(entry.tag == 0 ? QStringLiteral("主观") : entry.caption);
    const int count = applyTypeFilter(questions(), entry.tag);
    if (count == 0) {
        fcBG_tx->entry(index)->setEnabled(false);
        if (m_typeIndex >= 0 && m_typeIndex != index) {
            fcBG_tx->setPressed(m_typeIndex);
            typePicked(m_typeIndex);
        } else {
            fcBG_tx->setPressed(-1);
        }
        return;
    }
    m_typeIndex = index;
    m_pager.reset(count);
    openGroup();
}

void PracticeWindow::openGroup()
{
    Lb_zs->setText(QString::number(m_pager.groupCount()));
    Lb_ts->setText(QString::number(m_pager.total()));
    Lb_zb->setText(QString::number(m_pager.group()));
    FlatSpeedButton1->setEnabled(m_pager.hasPreviousGroup());
    FlatSpeedButton2->setEnabled(m_pager.hasNextGroup());
    store::Query &set = questions();
    fcBG_th->showGroup(m_pager, [&set](int record) {
        set.setRecNo(record);
        return answerState(set.fieldByName(QStringLiteral("E2_1")).asString(),
                           set.fieldByName(QStringLiteral("A2")).asString());
    });
    pressRecord(m_pager.first());
}

void PracticeWindow::pressRecord(int record)
{
    fcBG_th->setPressed(record - m_pager.first());
    showRecord(record);
}

void PracticeWindow::showRecord(int record)
{
    Label24->clear();
    closeAnswerPanel(Panel2, epEfTrBtn6);
    epEfTrBtn1->setEnabled(m_pager.hasPreviousQuestion(record));
    epEfTrBtn2->setEnabled(m_pager.hasNextQuestion(record));
    markQuestion(Situation::Leave);

    CurrentRecord = record;
    questions().setRecNo(record);
    const QuestionView view = viewOfCurrent(questions());
    showQuestion(view);
    showBody(view);
    fcBG_th->setState(GroupPager::buttonIndexOf(record), view.state);

    m_questionClock.start();
    m_gauge.reset();
    epIndiGauge1->setValue(0);
    Timer1->setInterval(view.tickInterval);
    Timer1->start();

    Label21->setText(view.notice);
    epEfTrBtn10->setText(view.voided ? QStringLiteral("取消作废") : m_variant.voidCaption);
    Label24->setText(view.editedNotice);
}

void PracticeWindow::refreshCurrentQuestion()
{
    if (CurrentRecord <= 0)
        return;
    questions().setRecNo(CurrentRecord);
    const QuestionView view = viewOfCurrent(questions());
    showQuestion(view);
    showBody(view);
    Label21->setText(view.notice);
    Label24->setText(view.editedNotice);
}

void PracticeWindow::showQuestion(const QuestionView &view)
{
    Label15->setText(QString::number(view.appearance));
    Label12->setText(QString::number(CurrentRecord - m_pager.first() + 1));
    if (const int page = answerPageFor(view.type); page >= 0)
        Notebook1->setCurrentIndex(page);
    Notebook1->offerOptions(view.optionCount);
    Notebook1->restore(view.runAnswer);
    epEfTrBtn6->setEnabled(view.keyEnabled);
    epEfTrBtn4->setEnabled(view.explanationEnabled);
    epEfTrBtn9->setEnabled(view.pointsEnabled);
    epEfTrBtn5->setText(view.hasNote ? QStringLiteral("有内容") : QStringLiteral("笔记"));
}

void PracticeWindow::showBody(const QuestionView &view)
{
    try {
        showQuestionBody(Re1, FlatSplitter1, Re2, view.id);
    } catch (const store::Error &) {
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, QStringLiteral("NO"), 2);
    }
}

void PracticeWindow::markQuestion(Situation situation)
{
    if (CurrentRecord <= 0)
        return;
    const int record = CurrentRecord;
    const int seconds = m_questionClock.isValid() ? int(m_questionClock.elapsed() / 1000) : -1;
    const MarkOutcome outcome = markAnswer(questions(), record, Notebook1->answer(), {m_variant.place, {}, seconds});
    if (!outcome.marked)
        return;
    const AnswerState state = outcome.emptyAnswer ? AnswerState::NotAnswered
                                                  : (outcome.right ? AnswerState::Right : AnswerState::Wrong);
    if (situation == Situation::Submit) {
        if (outcome.emptyAnswer) {
            notice(m_variant.missingAnswer);
            return;
        }
        epEfTrBtn4->setEnabled(outcome.hasExplanation);
        epEfTrBtn9->setEnabled(outcome.hasPoints);
        fcBG_th->setState(GroupPager::buttonIndexOf(record), state);
        epEfTrBtn6->setEnabled(outcome.keyShown);
    } else if (situation == Situation::Leave && m_pager.contains(record)) {
        fcBG_th->setState(record - m_pager.first(), state);
    }
}

void PracticeWindow::stepTo(const GroupPager::Step &step)
{
    switch (step.move) {
    case GroupPager::Move::None:
        return;
    case GroupPager::Move::ToRecord:
        pressRecord(step.record);
        return;
    case GroupPager::Move::ToPreviousGroup:
        FlatSpeedButton1Click();
        return;
    case GroupPager::Move::ToNextGroup:
        FlatSpeedButton2Click();
        return;
    }
}

void PracticeWindow::FlatSpeedButton1Click()
{
    m_pager.previousGroup();
    openGroup();
}

void PracticeWindow::FlatSpeedButton2Click()
{
    m_pager.nextGroup();
    openGroup();
}

} // namespace practice
