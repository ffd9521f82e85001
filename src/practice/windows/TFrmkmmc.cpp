#include "TFrmkmmc.h"

#include "Buttons.h"
#include "ChapterGridModel.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "NumberPanel.h"
#include "SearchShortcut.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"
#include "TFrmImport.h"
#include "TFrmInPut.h"
#include "TFrmJx.h"
#include "TFrmLxxt.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QTableView>

using practice::PracticeMode;

namespace {

constexpr int kShownDigits = 5;

QPushButton *hotSpot(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new ui::FlatButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

bool screenIsExactly800Wide()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen && screen->geometry().width() == 800;
}

} // namespace

TFrmkmmc::TFrmkmmc(QWidget *parent) : QDialog(parent), m_model(new practice::ChapterGridModel(this))
{
    setObjectName(QStringLiteral("Frmkmmc"));
    setWindowTitle(QStringLiteral("科目名称"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    ui::addSearchShortcut(this, false);
    applyLayout(false);

    connect(SpeedButton1, &QPushButton::clicked, this,
            [this] { startPractice(PracticeMode::NewQuestions, SpeedButton1->text()); });
    connect(SpeedButton2, &QPushButton::clicked, this,
            [this] { startPractice(PracticeMode::RedoWrong, SpeedButton2->text()); });
    connect(SpeedButton3, &QPushButton::clicked, this,
            [this] { startPractice(PracticeMode::Review, SpeedButton3->text()); });
    connect(DBGrid1, &QTableView::doubleClicked, this,
            [this] { startPractice(PracticeMode::NewByDoubleClick, SpeedButton1->text()); });
    connect(SpeedButton4, &QPushButton::clicked, this, &TFrmkmmc::SpeedButton4Click);
    connect(SpeedButton5, &QPushButton::clicked, this, &TFrmkmmc::SpeedButton5Click);
    connect(SpeedButton6, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton7, &QPushButton::clicked, this, &TFrmkmmc::SpeedButton7Click);
    connect(epEfButton4, &QPushButton::clicked, this, &TFrmkmmc::epEfButton4Click);
    connect(DataModule, &TDM1::chapterExplanationAvailable, epEfButton4, &QWidget::setEnabled);
}

void TFrmkmmc::buildControls()
{
    Caption = new ui::TitleStrip(QStringLiteral("科目名称"), this);
    Caption->setObjectName(QStringLiteral("Caption"));

    const QStringList titles{QStringLiteral("总习题数"), QStringLiteral("已做题道次"), QStringLiteral("做错题道次"),
                             QStringLiteral("综合成绩")};
    for (const QString &title : titles) {
        auto *l = new QLabel(title, this);
        l->setAlignment(Qt::AlignCenter);
        m_totalTitles << l;
    }
    auto number = [this](const char *name) {
        auto *panel = new ui::NumberPanel(this, kShownDigits);
        panel->setObjectName(QLatin1String(name));
        panel->setValue(0);
        return panel;
    };
    epNum_all = number("epNum_all");
    epNum_ok = number("epNum_ok");
    epNum_Err = number("epNum_Err");
    Lb_fs = new QLabel(QStringLiteral("分数"), this);
    Lb_fs->setObjectName(QStringLiteral("Lb_fs"));
    Lb_fs->setAlignment(Qt::AlignCenter);
    Lb_fs->setStyleSheet(QStringLiteral("color: #b8412f; font-weight: bold; font-size: 22px;"));

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->setWordWrap(false);
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { gridRowChanged(current.row()); });

    SpeedButton1 = hotSpot(this, "SpeedButton1", QStringLiteral("练习新题"));
    SpeedButton2 = hotSpot(this, "SpeedButton2", QStringLiteral("错题重做"));
    SpeedButton3 = hotSpot(this, "SpeedButton3", QStringLiteral("习题重温"));
    epEfButton4 = hotSpot(this, "epEfButton4", QStringLiteral("本章导学"));
    epEfButton4->setEnabled(false);
    SpeedButton5 = hotSpot(this, "SpeedButton5", QStringLiteral("试题录入"));
    SpeedButton7 = hotSpot(this, "SpeedButton7", QStringLiteral("题库导入"));
    SpeedButton4 = hotSpot(this, "SpeedButton4", QStringLiteral("系统设置"));
    SpeedButton6 = hotSpot(this, "SpeedButton6", QStringLiteral("关闭"));
}

void TFrmkmmc::applyLayout(bool compact)
{
    const QSize size = compact ? QSize(761, 480) : QSize(935, 611);
    setFixedSize(size);
    Caption->setGeometry(0, 0, size.width(), compact ? 26 : 30);

    const QRect grid = compact ? QRect(25, 136, 596, 176) : QRect(30, 140, 740, 440);
    DBGrid1->setGeometry(grid);
    QFont gridFont = font();
    QFont titleFont = font();
    if (compact) {
        gridFont.setPointSize(11);
        titleFont.setPointSize(9);
    }
    DBGrid1->setFont(gridFont);
    DBGrid1->horizontalHeader()->setFont(titleFont);
    // Narrow compact columns keep their four-character titles whole.
    DBGrid1->horizontalHeader()->setStyleSheet(compact ? QStringLiteral("QHeaderView::section { padding: 0px; font-size: 11px; }")
                                                       : QString());

    // Totals: four columns of a title over its figure, above the grid.
    const int columnWidth = grid.width() / 4;
    const int titleTop = compact ? 40 : 46;
    const int figureTop = titleTop + 26;
    const int figureHeight = compact ? 40 : 48;
    QList<QWidget *> figures{epNum_all, epNum_ok, epNum_Err, Lb_fs};
    for (int i = 0; i < 4; ++i) {
        const int x = grid.x() + i * columnWidth;
        m_totalTitles.at(i)->setGeometry(x, titleTop, columnWidth, 24);
        figures.at(i)->setGeometry(x + 14, figureTop, columnWidth - 28, figureHeight);
    }

    const int buttonX = grid.right() + (compact ? 16 : 22);
    const int buttonWidth = size.width() - buttonX - (compact ? 16 : 22);
    const int buttonHeight = compact ? 32 : 38;
    const int gap = compact ? 8 : 12;
    int y = grid.y();
    for (QPushButton *b : {SpeedButton1, SpeedButton2, SpeedButton3, epEfButton4, SpeedButton5, SpeedButton7}) {
        b->setGeometry(buttonX, y, buttonWidth, buttonHeight);
        y += buttonHeight + gap;
    }
    // The compact grid is short: settings and close go below it.
    if (compact) {
        const int bottom = size.height() - buttonHeight - 16;
        SpeedButton6->setGeometry(buttonX, bottom, buttonWidth, buttonHeight);
        SpeedButton4->setGeometry(buttonX - buttonWidth - gap, bottom, buttonWidth, buttonHeight);
    } else {
        SpeedButton6->setGeometry(buttonX, grid.bottom() - buttonHeight + 1, buttonWidth, buttonHeight);
        SpeedButton4->setGeometry(buttonX, SpeedButton6->y() - buttonHeight - gap, buttonWidth, buttonHeight);
    }
}

void TFrmkmmc::setVisible(bool visible)
{
    // Hidden while a practice run shows: QDialog would end this window's modal loop.
    if (!visible && m_practising) {
        QWidget::setVisible(false);
        return;
    }
    QDialog::setVisible(visible);
}

void TFrmkmmc::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    SelectorOpen = true;
    FormShow();
}

void TFrmkmmc::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        SelectorOpen = false;
    QDialog::hideEvent(event);
}

void TFrmkmmc::FormShow()
{
    const ui::WaitCursor hourglass;
    store::Table &chapters = DataModule->Cn1Table_kmmc;
    // Reopened each time, so that the counters of a run just finished show.
    chapters.close();
    applyLayout(ScreenClass == QLatin1String("800"));
    if (PracticeSubject < 1 || PracticeSubject > 5)
        return;
    const bool exactly800 = screenIsExactly800Wide();
    // Before any run the grid opens on the subject the menu chose.
    practice::showChapterGrid(chapters, LastChapterCode.isEmpty() ? QString::number(PracticeSubject) : LastChapterCode);
    m_model->reload(chapters);
    DBGrid1->setColumnWidth(0, exactly800 ? 308 : 370);
    for (int column = 1; column < m_model->columnCount(); ++column)
        DBGrid1->setColumnWidth(column, exactly800 ? 50 : 65);
    showTotals();
    selectCurrentRow();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFrmkmmc::showTotals()
{
    const practice::ChapterTotals totals = practice::readChapterTotals(DataModule->Cn1Query1);
    epNum_all->setValue(totals.shownQuestions());
    epNum_ok->setValue(int(totals.attempts));
    epNum_Err->setValue(int(totals.wrongAttempts));
    if (const QString score = totals.compositeScore(); !score.isEmpty())
        Lb_fs->setText(score);
}

void TFrmkmmc::selectCurrentRow()
{
    const int row = DataModule->Cn1Table_kmmc.recNo() - 1;
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, 0);
    DBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DBGrid1->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void TFrmkmmc::gridRowChanged(int row)
{
    store::Table &chapters = DataModule->Cn1Table_kmmc;
    if (chapters.isOpen() && row >= 0 && row < chapters.recordCount())
        chapters.setRecNo(row + 1);
}

void TFrmkmmc::startPractice(PracticeMode mode, const QString &caption)
{
    store::Table &chapters = DataModule->Cn1Table_kmmc;
    if (!chapters.isOpen() || chapters.isEmpty())
        return;
    const QString code = chapters.fieldByName(QStringLiteral("C1")).asString();
    LastChapterCode = code;
    if (practice::isHeadingChapter(code)) {
        ShowMessageBox(QStringLiteral("提示"), practice::headingRefusalMessage(), 1, QStringLiteral("NO"), 0);
        return;
    }
    PracticeSql = practice::practiceSql(mode, code);
    try {
        runPractice(mode, caption);
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
    }
}

void TFrmkmmc::runPractice(PracticeMode mode, const QString &caption)
{
    // Whatever happens in the run, this window shows again, refreshed.
    const auto showAgain = qScopeGuard([this] {
        m_practising = false;
        show();
    });
    ui::WaitCursor hourglass;
    TFrmLxxt window;
    window.setWindowTitle(caption);
    if (!window.PrepareSession()) {
        hourglass.restore();
        const practice::EmptyResultMessage message = practice::emptyResultMessage(mode);
        ShowMessageBox(QStringLiteral("提示"), message.text, 1, QStringLiteral("NO"), message.picture);
        return;
    }
    m_practising = true;
    hide();
    hourglass.restore();
    window.exec();
}

void TFrmkmmc::epEfButton4Click()
{
    TFrmJx guidance(this);
    guidance.bind(DataModule->Cn1Table_kmmc, DataModule->Cn1DS_kmmc, QStringLiteral("jx"));
    guidance.exec();
}

void TFrmkmmc::SpeedButton4Click()
{
    SettingsVariant = 0;
    TFrmConfig settings(this);
    settings.exec();
}

void TFrmkmmc::SpeedButton5Click()
{
    store::Table &chapters = DataModule->Cn1Table_kmmc;
    if (!chapters.isOpen() || chapters.isEmpty())
        return;
    const QString code = chapters.fieldByName(QStringLiteral("C1")).asString();
    // A question belongs to a six-character chapter; headings only gather them.
    if (code.size() != 6) {
        ShowMessageBox(QStringLiteral("提示"), practice::headingRefusalMessage(), 1, QStringLiteral("NO"), 0);
        return;
    }
    TFrmInPut entry(this);
    entry.setChapter(code, chapters.fieldByName(QStringLiteral("C2")).asString());
    entry.exec();
    if (entry.EnteredCount > 0)
        reloadChapters(code);
}

void TFrmkmmc::SpeedButton7Click()
{
    store::Table &chapters = DataModule->Cn1Table_kmmc;
    const QString code =
        chapters.isOpen() && !chapters.isEmpty() ? chapters.fieldByName(QStringLiteral("C1")).asString() : QString();
    TFrmImport import(this, code);
    import.exec();
    if (import.ChangedCount > 0)
        reloadChapters(code);
}

void TFrmkmmc::reloadChapters(const QString &code)
{
    store::Table &chapters = DataModule->Cn1Table_kmmc;
    chapters.refresh();
    chapters.locate(QStringLiteral("C1"), code);
    m_model->reload(chapters);
    showTotals();
    selectCurrentRow();
}

void TFrmkmmc::done(int result)
{
    DataModule->Cn1Table_kmmc.close();
    DataModule->Cn1Query1.close();
    SelectorOpen = false;
    QDialog::done(result);
}
