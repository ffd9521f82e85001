#include "PracticeWindow.h"

#include "AnswerPages.h"
#include "DataModule.h"
#include "Error.h"
#include "Gauge.h"
#include "GlyphButton.h"
#include "Globals.h"
#include "Marking.h"
#include "NumberBoard.h"
#include "RichView.h"
#include "TFrmBj.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"
#include "TFrmJx.h"
#include "TfrmAnswFagui.h"
#include "TitleStrip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace practice {

namespace {

constexpr int kStemHeight = 150;
constexpr int kSplitterWidth = 6;

void notice(const QString &text, int picture)
{
    ShowMessageBox(QStringLiteral("提示"), text, 1, QStringLiteral("NO"), picture);
}

// Bank texts are set in 9 pt for a Windows bitmap font; the outline CJK fonts
// here need them larger to stay readable, so every size is scaled up alike.
void showQuestionText(richtext::RichView *view, const QVariant &value)
{
    constexpr double kScale = 1.25;
    view->setContent(value);
    QTextDocument *document = view->document();
    QVector<QPair<QPair<int, int>, double>> sized;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (const QTextFragment f = it.fragment(); f.isValid() && f.charFormat().fontPointSize() > 0)
                sized.append({{f.position(), f.position() + f.length()}, f.charFormat().fontPointSize()});
    for (const auto &[range, points] : std::as_const(sized)) {
        QTextCursor cursor(document);
        cursor.setPosition(range.first);
        cursor.setPosition(range.second, QTextCursor::KeepAnchor);
        QTextCharFormat larger;
        larger.setFontPointSize(points * kScale);
        cursor.mergeCharFormat(larger);
    }
    document->setModified(false);
}

// Long chapter hints get a smaller font, and are cut short with the whole text as tooltip.
void fitHint(QLabel *board, const QString &text)
{
    const QRect room = board->contentsRect().adjusted(2, 2, -2, -2);
    QFont font = board->font();
    const int flags = Qt::TextWordWrap | Qt::AlignCenter;
    for (int pixels = 14; pixels >= 11; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).boundingRect(room, flags, text).height() <= room.height())
            break;
    }
    board->setFont(font);
    board->setToolTip(text);
    QString shown = text;
    const QFontMetrics metrics(font);
    while (shown.size() > 1 && metrics.boundingRect(room, flags, shown + QStringLiteral("…")).height() > room.height())
        shown.chop(1);
    board->setText(shown == text ? text : shown + QStringLiteral("…"));
}

} // namespace

PracticeWindow::PracticeWindow(QWidget *parent) : QDialog(parent)
{
    if (!m_glyphs.load(AppDir))
        endProgramForMissingPictures();
    buildControls();
    applyLayout(false);
    connectHandlers();
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
        ShowMessageBox(QStringLiteral("错误"), e.message(), 1, QStringLiteral("NO"), 2);
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
    m_gauge.reset();
    epIndiGauge1->setValue(0);
    applyLayout(ScreenClass == QLatin1String("800"));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Caption->setText(windowTitle());
    openQuestionText(FirstQuestionId);
    if (const QString board = hintBoardText(); !board.isEmpty())
        fitHint(epLabel2, board);
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
    if (epEfTrBtn6->text() == QStringLiteral("返回")) {
        epEfTrBtn6->setText(QStringLiteral("答案"));
        Panel2->resize(0, Panel2->height());
        Panel2->hide();
    }
    epEfTrBtn1->setEnabled(m_pager.hasPreviousQuestion(record));
    epEfTrBtn2->setEnabled(m_pager.hasNextQuestion(record));
    markQuestion(Situation::Leave);

    CurrentRecord = record;
    questions().setRecNo(record);
    const QuestionView view = viewOfCurrent(questions());
    showQuestion(view);
    showBody(view);
    fcBG_th->setState(GroupPager::buttonIndexOf(record), view.state);

    m_gauge.reset();
    epIndiGauge1->setValue(0);
    Timer1->setInterval(view.tickInterval);
    Timer1->start();

    Label21->setText(view.notice);
    epEfTrBtn10->setText(view.voided ? QStringLiteral("取消作废") : QStringLiteral("题目作废"));
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
        const bool grouped = openQuestionText(view.id);
        const QVariant body = DataModule->cn1query_nr.isEmpty() ? QVariant()
                                                                 : DataModule->cn1query_nr.value(QStringLiteral("A15"));
        if (grouped) {
            if (Re2->height() == 0 || FlatSplitter1->sizes().value(1) == 0) {
                const int total = FlatSplitter1->height();
                FlatSplitter1->setHandleWidth(kSplitterWidth);
                FlatSplitter1->setSizes({qMax(0, total - kStemHeight - kSplitterWidth), kStemHeight});
            }
            const store::Query &stem = DataModule->Cn1Query2;
            showQuestionText(Re1, stem.isEmpty() ? QVariant() : stem.value(QStringLiteral("A15")));
            showQuestionText(Re2, body);
        } else {
            FlatSplitter1->setHandleWidth(0);
            FlatSplitter1->setSizes({FlatSplitter1->height(), 0});
            Re2->clear();
            showQuestionText(Re1, body);
        }
    } catch (const store::Error &) {
        ShowMessageBox(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, QStringLiteral("NO"), 2);
    }
}

void PracticeWindow::markQuestion(Situation situation)
{
    if (CurrentRecord <= 0)
        return;
    const int record = CurrentRecord;
    const MarkOutcome outcome = markAnswer(questions(), record, Notebook1->answer());
    if (!outcome.marked)
        return;
    const AnswerState state = outcome.emptyAnswer ? AnswerState::NotAnswered
                                                  : (outcome.right ? AnswerState::Right : AnswerState::Wrong);
    if (situation == Situation::Submit) {
        if (outcome.emptyAnswer) {
            notice(missingAnswerMessage(), 1);
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
    notice(QStringLiteral("到时间了"), 1);
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
    if (epEfTrBtn10->text() == QStringLiteral("题目作废")) {
        voidQuestion(questions());
        Label21->setText(voidedNotice());
        epEfTrBtn10->setText(QStringLiteral("取消作废"));
    } else {
        cancelVoid(questions());
        Label21->setText(unvoidedNotice());
        epEfTrBtn10->setText(QStringLiteral("题目作废"));
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
