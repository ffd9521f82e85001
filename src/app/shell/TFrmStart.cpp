#include "TFrmStart.h"

#include "DailyPlan.h"
#include "DataModule.h"
#include "Globals.h"
#include "Hourglass.h"
#include "MockExam.h"
#include "MainMenu.h"
#include "OpenSearch.h"
#include "ReviewRun.h"
#include "ReviewSummary.h"
#include "Routines.h"
#include "ShellOpener.h"
#include "SystemMessageBox.h"
#include "TFrmAbout.h"
#include "TFrmBackup.h"
#include "TFrmConfig.h"
#include "TFrmCheck.h"
#include "TFrmDlg.h"
#include "TFrmEset.h"
#include "TFrmImport.h"
#include "TFrmReport.h"
#include "TFrmRz.h"
#include "TFrmplan.h"
#include "Tfrmchart.h"
#include "TFrmkmmc.h"
#include "TfrmLawsFaGui.h"
#include "Tfrmstxz.h"
#include "backgroundmusic.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScopeGuard>
#include <QScreen>
#include <QVBoxLayout>

TFrmStart *FrmStart = nullptr;

namespace {
// The level the music starts at; the learner has no volume control of ours.
const int kStartVolumeLevel = 12;
} // namespace

QString ScreenClassFor(const QSize &screen)
{
    return screen.width() == 800 || screen.height() == 600 ? QStringLiteral("800") : QStringLiteral("1024");
}

bool SmallFontsInUse(double logicalDpi) { return qRound(logicalDpi) == 96; }

void LoadTypeTimes(int subject)
{
    store::Query &q = DataModule->Cn1Query1;
    q.close();
    q.setSql(QStringLiteral("select * from tab_tx") + QString::number(subject));
    q.open();
    if (q.recordCount() < 1)
        return;
    QVector<int> times;
    QVector<int> codes;
    for (q.first(); !q.eof(); q.next()) {
        times << int(q.fieldByName(QStringLiteral("time")).asFloat() * 600);
        codes << q.fieldByName(QStringLiteral("A1")).asInteger();
    }
    TypeTimes = times;
    TypeCodes = codes;
}

TFrmStart::TFrmStart(QWidget *parent) : QWidget(parent)
{
    FrmStart = this;
    setObjectName(QStringLiteral("FrmStart"));
    setWindowTitle(QStringLiteral("Quillet"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_StyledBackground);
    ShockwaveFlash1 = new MainMenu(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ShockwaveFlash1);
    connect(ShockwaveFlash1, &MainMenu::FSCommand, this, &TFrmStart::ShockwaveFlash1FSCommand);
    SetVolumeSink([this](int level) { MidiMediaPlayer.setVolumeLevel(level); });
    MainPlayMusic = [this](const QString &file, bool play) { PlayMusic(file, play); };
    buildCommandTable();
    ShockwaveFlash1->setAvailableCommands(commandNames());
    search::installSearchShortcut();
    FormCreate();
}

TFrmStart::~TFrmStart()
{
    SetVolumeSink({});
    MainPlayMusic = {};
    if (FrmStart == this)
        FrmStart = nullptr;
}

void TFrmStart::FormCreate()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!SmallFontsInUse(screen->logicalDotsPerInchX())) {
        SystemMessageBox(QStringLiteral("提示"), QStringLiteral("推荐您在小字体下使用本软件，请在设置后重新运行！"),
                         QMessageBox::Warning);
        return;
    }
    ScreenClass = ScreenClassFor(screen->size());
    resize(ScreenClass == QLatin1String("800") ? QSize(800, 600) : QSize(1024, 768));
    m_created = true;
}

void TFrmStart::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TFrmStart::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    FormShow();
}

void TFrmStart::FormShow()
{
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    MusicOn = true;
    SetVolumeLevel(kStartVolumeLevel);
    if (CurrentSubject == 0)
        CurrentSubject = 1;
    LoadTypeTimes(CurrentSubject);
    refreshReviewCard();
}

void TFrmStart::refreshReviewCard()
{
    try {
        const review::ReviewSummary summary = review::reviewSummary();
        ShockwaveFlash1->setReviewSummary(summary.due, summary.examSet, summary.daysToExam);
    } catch (const std::exception &) {
        // The card keeps its last figures; the menu works without them.
    }
}

bool TFrmStart::FormCloseQuery()
{
    for (auto close : {std::function<void()>([] { DataModule->ADOCn1.close(); }),
                       std::function<void()>([] { DataModule->Cn1Table_plan.close(); }),
                       std::function<void()>([] { DataModule->Cn1Table_rz.close(); })}) {
        try {
            close();
        } catch (const std::exception &) {
            // Closing never stops the program from ending.
        }
    }
    return true;
}

void TFrmStart::closeEvent(QCloseEvent *event)
{
    MidiMediaPlayer.stop();
    FormCloseQuery();
    event->accept();
}

void TFrmStart::PlayMusic(const QString &file, bool play)
{
    const MusicResult result = playMusic(MidiMediaPlayer, file, play);
    if (result != MusicResult::Done)
        ShowMessageBox(QStringLiteral("提示"), musicResultMessage(result), 1, QStringLiteral("NO"), 1);
}

void TFrmStart::openPage(const QString &relativePath)
{
    if (!ui::openLocalPage(AppDir + relativePath))
        ShowMessageBox(QStringLiteral("提示"), QStringLiteral("无法打开页面：%1").arg(AppDir + relativePath), 1,
                       QStringLiteral("NO"), 1);
}

void TFrmStart::buildCommandTable()
{
    auto settings = [](int variant, bool timesOnly) {
        TFrmConfig window;
        SettingsVariant = variant;
        if (timesOnly)
            window.showTimesOnly();
        window.exec();
    };
    auto practice = [](int subject) {
        PracticeSubject = subject;
        RunHourglass<TFrmkmmc>();
    };
    m_commands = {
        {QStringLiteral("ksdg"), [] { RunHourglass<TfrmLawsFaGui>(); }},
        {QStringLiteral("zsd"), [] { RunHourglass<TfrmLawsFaGui>(); }},
        {QStringLiteral("ss"), [] { search::openSearchWindow(); }},
        {QStringLiteral("lx"), [practice] { practice(1); }},
        {QStringLiteral("lx2"), [practice] { practice(2); }},
        {QStringLiteral("lx3"), [practice] { practice(3); }},
        {QStringLiteral("lx4"), [practice] { practice(4); }},
        {QStringLiteral("lx5"), [practice] { practice(5); }},
        {QStringLiteral("mnks"), [] { mnks(1); }},
        {QStringLiteral("mnks2"), [] { mnks(2); }},
        {QStringLiteral("mnks3"), [] { mnks(3); }},
        {QStringLiteral("mnks4"), [] { mnks(4); }},
        {QStringLiteral("mnks5"), [] { mnks(5); }},
        {QStringLiteral("szks"), [] { RunHourglass<TFrmEset>(); }},
        {QStringLiteral("cj"), [] { RunHourglass<TFrmCheck>(); }},
        {QStringLiteral("szjh"), [] { RunHourglass<TFrmplan>(); }},
        {QStringLiteral("rz"), [] { RunHourglass<TFrmRz>({}, true); }},
        {QStringLiteral("tj"), [] { RunHourglass<Tfrmchart>(); }},
        {QStringLiteral("music"), [settings] { settings(0, false); }},
        {QStringLiteral("sztime"), [settings] { settings(1, true); }},
        {QStringLiteral("fg"), [this] { openPage(QStringLiteral("htm/法规汇编.htm")); }},
        {QStringLiteral("help"), [this] { openPage(QStringLiteral("htm/help/index.htm")); }},
        {QStringLiteral("lxfs"), [this] { openPage(QStringLiteral("htm/发行站及专业书店联系方式.htm")); }},
        {QStringLiteral("about"), [] {
             TFrmAbout about;
             about.exec();
         }},
        {QStringLiteral("dr"), [] { RunHourglass<TFrmImport>(); }},
        {QStringLiteral("sj"), [] { RunHourglass<Tfrmstxz>(); }},
        {QStringLiteral("bf"), [] { RunHourglass<TFrmBackup>(); }},
        {QStringLiteral("quit"), [this] { quitAfterPlanCheck(); }},
        {QStringLiteral("jrfx"), [this] { review::runTodaysReview(this); }},
        {QStringLiteral("xxbg"), [] { RunHourglass<TFrmReport>(); }},
    };
}

QStringList TFrmStart::commandNames() const
{
    QStringList names;
    for (const Command &c : m_commands)
        names << c.name;
    return names;
}

void TFrmStart::ShockwaveFlash1FSCommand(const QString &command, const QString &args)
{
    Q_UNUSED(args)
    for (const Command &c : std::as_const(m_commands))
        if (c.name == command) {
            // Whatever the command did, the review card shows fresh figures afterwards.
            const auto refresh = qScopeGuard([this] { refreshReviewCard(); });
            c.action();
            return;
        }
}

void TFrmStart::quitAfterPlanCheck()
{
    const QString caption = QStringLiteral("提示");
    switch (TodayAgainstPlan()) {
    case PlanProgress::NotChecked:
        return;
    case PlanProgress::NoPlan:
        if (!leaveReviewUnfinished())
            return;
        break;
    case PlanProgress::Behind:
        if (SystemMessageBox(caption, QStringLiteral("还未完成今日学习计划，要退出吗？"), QMessageBox::Question,
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
        break;
    case PlanProgress::Met:
        if (!leaveReviewUnfinished())
            return;
        SystemMessageBox(caption, QStringLiteral("恭喜完成今日学习计划！"), QMessageBox::Information);
        break;
    case PlanProgress::Exceeded:
        if (!leaveReviewUnfinished())
            return;
        SystemMessageBox(caption, QStringLiteral("超额完成学习计划，要注意休息呦！"), QMessageBox::Information);
        break;
    }
    close();
}

bool TFrmStart::leaveReviewUnfinished()
{
    const int left = review::questionsStillDue();
    return left <= 0 || SystemMessageBox(QStringLiteral("提示"),
                                         QStringLiteral("今日复习还有 %1 道题没做，要退出吗？").arg(left),
                                         QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
