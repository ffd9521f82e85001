#include "TfrmLawsFaGui.h"

#include "Buttons.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "Look.h"
#include "PointCatalogue.h"
#include "SystemMessageBox.h"
#include "TFrmDlg.h"
#include "TFrmRuleLxxt.h"
#include "TfrmLawDetail.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kTitleHeight = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 22;

bool compactScreen() { return ScreenClass == QLatin1String("800"); }

QPushButton *barButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

void notice(const QString &text) { SystemMessageBox(QStringLiteral("提示"), text, QMessageBox::Information); }

} // namespace

TfrmLawsFaGui::TfrmLawsFaGui(QWidget *parent) : QDialog(parent), ADOQuery1(&DataModule->ADOCn1)
{
    setObjectName(QStringLiteral("frmLawsFaGui"));
    setWindowTitle(QStringLiteral("考点目录"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildControls();
    RunReportingErrors([this] {
        setUpGrid();
        loadCatalogue();
    });
}

TfrmLawsFaGui::~TfrmLawsFaGui() = default;

void TfrmLawsFaGui::buildControls()
{
    m_Ltiltle = new ui::TitleStrip(QStringLiteral("考点目录"), this);
    m_Ltiltle->setObjectName(QStringLiteral("m_Ltiltle"));

    m_pMuLu = new QWidget(this);
    m_pMuLu->setObjectName(QStringLiteral("m_pMuLu"));
    auto *body = new QVBoxLayout(m_pMuLu);
    body->setContentsMargins(0, 0, 0, 0);
    m_grid = new QTableWidget(0, 5, m_pMuLu);
    m_grid->setObjectName(QStringLiteral("m_grid"));
    m_grid->setFont(ui::programFont(16));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setAlternatingRowColors(true);
    m_grid->setWordWrap(false);
    m_grid->setTextElideMode(Qt::ElideRight);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setFont(ui::programFont(14));
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    body->addWidget(m_grid);

    m_editFind = new QLineEdit(this);
    m_editFind->setObjectName(QStringLiteral("m_editFind"));
    m_btnFind = barButton(this, "m_btnFind", QStringLiteral("检索(&F)"));
    m_btnSelect = barButton(this, "m_btnSelect", QStringLiteral("选定(&S)"));
    m_btnMost = barButton(this, "m_btnMost", QStringLiteral("重点(&M)"));
    m_btnQuestion = barButton(this, "m_btnQuestion", QStringLiteral("练习(&P)"));
    m_btnBack = barButton(this, "m_btnBack", QStringLiteral("返回(&B)"));
    m_btnExit = barButton(this, "m_btnExit", QStringLiteral("退出(&E)"));
    setKeyToggle(false);
    m_btnMost->setEnabled(false);
    m_btnQuestion->setEnabled(false);
    m_btnBack->hide();

    connect(m_btnFind, &QPushButton::clicked, this, [this] { m_btnFindClick(); });
    connect(m_editFind, &QLineEdit::returnPressed, this, [this] { m_btnFindClick(); });
    connect(m_btnSelect, &QPushButton::clicked, this, [this] { RunReportingErrors([this] { m_btnSelectClick(); }); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, [this] { RunReportingErrors([this] { m_btnSelectClick(); }); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) { m_gridSelectCell(row); });
    connect(m_btnMost, &QPushButton::clicked, this, [this] { RunReportingErrors([this] { m_btnMostClick(); }); });
    connect(m_btnQuestion, &QPushButton::clicked, this, [this] { RunReportingErrors([this] { m_btnQuestionClick(); }); });
    connect(m_btnBack, &QPushButton::clicked, this, [this] { RunReportingErrors([this] { m_btnBackClick(); }); });
    connect(m_btnExit, &QPushButton::clicked, this, [this] { m_btnExitClick(); });
}

void TfrmLawsFaGui::setUpGrid()
{
    const bool compact = compactScreen();
    m_grid->setHorizontalHeaderLabels({compact ? QStringLiteral("                   考 点 名 称")
                                               : QStringLiteral("                             考 点 名 称"),
                                       QStringLiteral("  题  数"), QStringLiteral(" 已做题数"),
                                       QStringLiteral(" 已做道次"), QStringLiteral(" 做错道次")});
    QHeaderView *header = m_grid->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignCenter);
    m_grid->horizontalHeaderItem(0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The name column takes what the counters leave; its design width is its least.
    header->setMinimumSectionSize(60);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column <= 4; ++column) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        m_grid->setColumnWidth(column, 80);
    }
    header->setFixedHeight(36);
    for (int row = 0; row < m_grid->rowCount(); ++row)
        m_grid->setRowHeight(row, 36);
}

void TfrmLawsFaGui::loadCatalogue()
{
    const QVector<laws::CatalogueRow> rows = laws::readCatalogue(DataModule->m_query);
    DataModule->m_query.close();
    m_rowIds.clear();
    m_grid->setRowCount(0);
    if (rows.isEmpty())
        return;
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const laws::CatalogueRow &row = rows.at(r);
        m_grid->setRowHeight(r, 22);
        m_grid->setItem(r, 0, new QTableWidgetItem(row.name));
        const int counters[] = {row.q, row.q1, row.q2, row.q4};
        for (int c = 0; c < 4; ++c) {
            auto *cell = new QTableWidgetItem(laws::counterCell(counters[c]));
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(r, c + 1, cell);
        }
        m_rowIds << row.id;
    }
}

void TfrmLawsFaGui::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    applyLayout();
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmLawsFaGui::applyLayout()
{
    const bool compact = compactScreen();
    setFixedSize(compact ? QSize(760, 504) : QSize(900, 599));
    m_Ltiltle->setGeometry(0, 0, width(), kTitleHeight);
    const int barTop = height() - kButtonHeight - 12;
    m_pMuLu->setGeometry(8, kTitleHeight + 8, width() - 16, barTop - kTitleHeight - 18);
    m_grid->horizontalHeader()->setFixedHeight(compact ? 30 : 36);
    for (int row = 0; row < m_grid->rowCount(); ++row)
        m_grid->setRowHeight(row, 30);

    m_editFind->setGeometry(8, barTop, 180, kButtonHeight);
    const std::pair<QPushButton *, int> buttons[] = {{m_btnFind, 218},   {m_btnSelect, 316}, {m_btnMost, 400},
                                                     {m_btnQuestion, 484}, {m_btnBack, 568},  {m_btnExit, 652}};
    for (const auto &[button, left] : buttons)
        button->setGeometry(left, barTop, kButtonWidth, kButtonHeight);
}

void TfrmLawsFaGui::switchMode(Mode mode)
{
    const bool section = mode == Mode::Section;
    m_editFind->setVisible(!section);
    m_btnFind->setVisible(!section);
    m_btnSelect->setVisible(!section);
    m_btnMost->setEnabled(section);
    // 练习 follows the selected point once the section's points are listed.
    m_btnQuestion->setEnabled(false);
    m_btnBack->setVisible(section);
    m_grid->setVisible(!section);
    if (section) {
        const int row = m_grid->currentRow();
        m_Ltiltle->setText(row >= 0 ? m_grid->item(row, 0)->text().trimmed() : QString());
        m_detail = std::make_unique<TfrmLawDetail>(m_pMuLu, m_btnQuestion);
        m_pMuLu->layout()->addWidget(m_detail->m_Pdetail);
    } else {
        m_Ltiltle->setText(QStringLiteral("考 点 目 录"));
    }
}

void TfrmLawsFaGui::setKeyToggle(bool on)
{
    m_btnMost->setProperty("Tag", on ? 1 : 0);
    m_btnMost->setText(on ? QStringLiteral("全部(&A)") : QStringLiteral("重点(&M)"));
}

void TfrmLawsFaGui::m_btnFindClick()
{
    QStringList names;
    for (int row = 0; row < m_grid->rowCount(); ++row)
        names << m_grid->item(row, 0)->text();
    const int found = laws::findRow(names, m_editFind->text());
    if (found >= 0)
        m_grid->setCurrentCell(found, 0);
}

void TfrmLawsFaGui::m_gridSelectCell(int row)
{
    if (row < 0 || row >= m_grid->rowCount())
        return;
    m_grid->setToolTip(m_grid->item(row, 0)->text());
}

void TfrmLawsFaGui::m_btnSelectClick()
{
    const int row = m_grid->currentRow();
    if (inSectionMode() || row < 0 || row >= m_rowIds.size())
        return;
    const QString id = m_rowIds.at(row).trimmed();
    if (laws::isGroupId(id)) {
        ShowMessageBox(QStringLiteral("提示"), QStringLiteral("请选择具体章节!"), 3, QStringLiteral("NO"), 1);
        return;
    }
    try {
        m_threshold = laws::keyPointThreshold(m_grid->item(row, 1)->text(), laws::sectionPointCount(ADOQuery1, id));
    } catch (const store::Error &) {
        m_threshold = 1;
    }
    switchMode(Mode::Section);
    store::Query &points = DataModule->m_queryDetail;
    points.close();
    points.setFilter(QString());
    points.setSql(laws::sectionPointsSql(id));
    points.open();
    points.first();
    if (points.isEmpty()) {
        notice(QStringLiteral("找不到考点!"));
        return;
    }
    m_detail->fill();
}

void TfrmLawsFaGui::m_btnMostClick()
{
    store::Query &points = DataModule->m_queryDetail;
    if (!m_detail || !points.isOpen()) {
        notice(QStringLiteral("此考点暂无重点内容！"));
        return;
    }
    m_detail->unbindText();
    const bool showingKeyPoints = m_btnMost->property("Tag").toInt() == 1;
    points.setFilter(showingKeyPoints ? QString() : laws::keyPointFilter(m_threshold));
    points.setFiltered(true);
    if (!points.isEmpty()) {
        m_detail->fill();
        setKeyToggle(!showingKeyPoints);
        return;
    }
    points.setFilter(QString());
    m_detail->fill();
    notice(QStringLiteral("此考点暂无重点内容！"));
    setKeyToggle(false);
}

void TfrmLawsFaGui::m_btnQuestionClick()
{
    store::Query &points = DataModule->m_queryDetail;
    const int entry = m_detail ? m_detail->selectedIndex() : -1;
    if (entry < 0 || !points.isOpen() || entry >= points.recordCount())
        return;
    // The point behind the entry itself: titles need not be unique, and may hold "(".
    points.setRecNo(entry + 1);
    const QString code = points.fieldByName(QStringLiteral("ftid")).asString();
    // An empty code would select every question with an empty link field.
    if (code.isEmpty())
        return;
    const QString title = laws::pointEntry(points.fieldByName(QStringLiteral("sn")).asString(), 0);
    practise(code, title);
}

void TfrmLawsFaGui::practise(const QString &pointCode, const QString &title)
{
    const int entry = m_detail->selectedIndex();
    const auto showAgain = qScopeGuard([this, entry] {
        m_practising = false;
        RunReportingErrors([this, entry] { refreshSection(entry); });
        show();
    });
    ui::WaitCursor hourglass;
    PracticeSql = laws::pointPracticeSql(pointCode);
    TFrmRuleLxxt window;
    if (!window.PrepareSession()) {
        hourglass.restore();
        ShowMessageBox(QStringLiteral("提示"), QStringLiteral("恭喜你，习题已做完！"), 1, QStringLiteral("NO"), 0);
        return;
    }
    m_practising = true;
    hide();
    window.setBoardText(title);
    hourglass.restore();
    window.exec();
}

void TfrmLawsFaGui::refreshSection(int entry)
{
    store::Query &points = DataModule->m_queryDetail;
    if (!m_detail || !points.isOpen())
        return;
    // Practice moved the point counters; the list and note bar show them fresh.
    m_detail->unbindText();
    points.refresh();
    m_detail->fill();
    m_detail->select(entry);
}

void TfrmLawsFaGui::setVisible(bool visible)
{
    // Hidden while a practice run shows: QDialog would end this window's modal loop.
    if (!visible && m_practising) {
        QWidget::setVisible(false);
        return;
    }
    QDialog::setVisible(visible);
}

void TfrmLawsFaGui::m_btnBackClick()
{
    const int row = m_grid->currentRow();
    switchMode(Mode::Catalogue);
    setUpGrid();
    loadCatalogue();
    applyLayout();
    if (row >= 0 && row < m_grid->rowCount())
        m_grid->setCurrentCell(row, 0);
    setKeyToggle(false);
    m_detail.reset();
}

void TfrmLawsFaGui::m_btnExitClick()
{
    m_rowIds.clear();
    accept();
}
