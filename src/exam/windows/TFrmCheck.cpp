#include "TFrmCheck.h"

#include "Bevel.h"
#include "Buttons.h"
#include "DataModule.h"
#include "Error.h"
#include "ExamRules.h"
#include "Globals.h"
#include "MockExam.h"
#include "NumberPanel.h"
#include "Routines.h"
#include "SystemMessageBox.h"
#include "TFrmConfig.h"
#include "TFrmDlg.h"
#include "Theme.h"
#include "TitleStrip.h"
#include "WaitCursor.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>

namespace {

struct Metrics {
    QSize window;
    QRect grid;
    int firstColumn, otherColumns;
    int figuresX, panelsX;
    int figureTops[3];
    QPoint tip;
    QPoint review, remove, settings, close;
};

const Metrics kDesign{{935, 612}, {104, 126, 568, 360}, 388, 80, 744, 730, {160, 272, 384}, {72, 560},
                      {144, 512}, {240, 512}, {600, 512}, {694, 512}};
const Metrics kCompact{{760, 479}, {83, 100, 476, 284}, 310, 65, 600, 592, {120, 208, 296}, {57, 455},
                       {113, 421}, {188, 421}, {470, 415}, {544, 415}};

QString scoreOf(const store::Dataset &row)
{
    const store::Field score = row.fieldByName(QStringLiteral("A6"));
    return score.isNull() ? QString() : QString::number(score.asFloat(), 'g', 10);
}

} // namespace

TFrmCheck::TFrmCheck(QWidget *parent) : QDialog(parent), m_model(new QStandardItemModel(this))
{
    setObjectName(QStringLiteral("FrmCheck"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("查阅试卷"));
    Image1 = new ui::Bevel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Caption = new ui::TitleStrip(windowTitle(), this);
    Caption->setObjectName(QStringLiteral("Caption"));

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    DBGrid1->setWordWrap(true);
    DBGrid1->setTextElideMode(Qt::ElideNone);
    m_model->setHorizontalHeaderLabels({QStringLiteral("试卷名称"), QStringLiteral("成绩"), QStringLiteral("用时")});

    const QStringList captions{QStringLiteral("考试次数"), QStringLiteral("及格次数"), QStringLiteral("平均成绩")};
    QLabel **labels[] = {&Label1, &Label2, &Label3};
    ui::NumberPanel **panels[] = {&epNumPanel1, &epNumPanel2, &epNumPanel3};
    for (int i = 0; i < 3; ++i) {
        *labels[i] = new QLabel(captions.at(i), this);
        (*labels[i])->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        *panels[i] = new ui::NumberPanel(this, 3);
        (*panels[i])->setObjectName(QStringLiteral("epNumPanel%1").arg(i + 1));
    }
    ListTitle = new QLabel(QStringLiteral("模拟考试成绩（最新的在前）"), this);
    ListTitle->setObjectName(QStringLiteral("ListTitle"));
    ListTitle->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(theme::StripBottom.name()));
    FiguresFrame = new ui::Bevel(this, ui::Bevel::Style::Lowered);
    FiguresFrame->setObjectName(QStringLiteral("FiguresFrame"));
    FiguresFrame->lower();
    Image1->lower();
    FiguresTitle = new QLabel(QStringLiteral("成绩统计"), this);
    FiguresTitle->setAlignment(Qt::AlignCenter);
    FiguresTitle->setStyleSheet(ListTitle->styleSheet());
    Band = new QLabel(QStringLiteral("选中一份试卷，按“查阅”重看答卷和解析，也可以双击它。"), this);
    Band->setObjectName(QStringLiteral("Band"));
    Band->setProperty("role", QStringLiteral("band"));
    Band->setIndent(16);
    Lbtip = new QLabel(this);
    Lbtip->setObjectName(QStringLiteral("Lbtip"));
    Lbtip->setStyleSheet(QStringLiteral("color: %1;").arg(theme::Wrong.name()));

    auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    SpeedButton2 = button("SpeedButton2", QStringLiteral("查阅"));
    SpeedButton4 = button("SpeedButton4", QStringLiteral("删除"));
    SpeedButton1 = button("SpeedButton1", QStringLiteral("设置"));
    SpeedButton3 = button("SpeedButton3", QStringLiteral("关闭"));
    connect(SpeedButton2, &QPushButton::clicked, this, &TFrmCheck::SpeedButton2Click);
    connect(DBGrid1, &QTableView::doubleClicked, this, &TFrmCheck::SpeedButton2Click);
    connect(SpeedButton4, &QPushButton::clicked, this, &TFrmCheck::SpeedButton4Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFrmCheck::SpeedButton1Click);
    connect(SpeedButton3, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
}

void TFrmCheck::applyLayout(bool compact)
{
    const Metrics &m = compact ? kCompact : kDesign;
    setFixedSize(m.window);
    Image1->setGeometry(rect());
    Caption->setGeometry(0, 0, width(), 28);
    DBGrid1->setGeometry(m.grid);
    QLabel *labels[] = {Label1, Label2, Label3};
    ui::NumberPanel *panels[] = {epNumPanel1, epNumPanel2, epNumPanel3};
    for (int i = 0; i < 3; ++i) {
        labels[i]->setGeometry(m.panelsX, m.figureTops[i], 96, 22);
        labels[i]->setAlignment(Qt::AlignCenter);
        panels[i]->setGeometry(m.panelsX, m.figureTops[i] + 24, 96, 48);
    }
    const int gap = 10;
    FiguresFrame->setGeometry(m.panelsX - gap, m.figureTops[0] - gap - 24, 96 + 2 * gap,
                              m.figureTops[2] + 72 + 2 * gap - (m.figureTops[0] - 24));
    ListTitle->setGeometry(m.grid.x(), m.grid.y() - 28, m.grid.width(), 24);
    Band->setGeometry(1, 28, width() - 2, ListTitle->y() - 28 - 10);
    FiguresTitle->setGeometry(FiguresFrame->x(), FiguresFrame->y() + 4, FiguresFrame->width(), 20);
    Lbtip->setGeometry(m.tip.x(), m.tip.y(), width() - 2 * m.tip.x(), 24);
    for (auto [b, at] : {std::pair{SpeedButton2, m.review}, std::pair{SpeedButton4, m.remove},
                         std::pair{SpeedButton1, m.settings}, std::pair{SpeedButton3, m.close}})
        b->setGeometry(at.x(), at.y(), 72, 30);
    DBGrid1->setColumnWidth(0, m.firstColumn);
    DBGrid1->setColumnWidth(1, m.otherColumns);
    DBGrid1->setColumnWidth(2, m.otherColumns);
}

void TFrmCheck::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    applyLayout(ScreenClass == QLatin1String("800"));
    FormShow();
}

void TFrmCheck::FormShow()
{
    ui::WaitCursor hourglass;
    for (ui::NumberPanel *panel : {epNumPanel1, epNumPanel2, epNumPanel3})
        panel->setValue(0);
    Lbtip->setText(QStringLiteral("[提示]：成绩少于 ") + QString::number(exam::leastMarkSetting()) +
                   QStringLiteral(" 分的试卷，不被保留。"));
    fillList();
    const exam::ScoreFigures figures = exam::scoreFigures(exam::passMarkFor(PaperTotalMarks()));
    epNumPanel1->setValue(figures.exams);
    epNumPanel2->setValue(figures.passed);
    epNumPanel3->setValue(figures.average);
}

void TFrmCheck::fillList()
{
    store::Table &cj = DataModule->Cn1Table_cj;
    cj.close();
    cj.setTableName(QStringLiteral("tab_cj"));
    cj.setFilter(QString());
    cj.setSort(QStringLiteral("A3_1 DESC"));
    cj.open();
    m_model->removeRows(0, m_model->rowCount());
    for (cj.first(); !cj.eof(); cj.next()) {
        QList<QStandardItem *> row{new QStandardItem(cj.fieldByName(QStringLiteral("A3")).asString()),
                                   new QStandardItem(scoreOf(cj)),
                                   new QStandardItem(cj.fieldByName(QStringLiteral("D2")).asString())};
        row.at(0)->setToolTip(row.at(0)->text());
        row.at(1)->setTextAlignment(Qt::AlignCenter);
        row.at(2)->setTextAlignment(Qt::AlignCenter);
        m_model->appendRow(row);
    }
    // Whole names: two papers of one day differ only in their "[n]" at the end.
    DBGrid1->resizeRowsToContents();
    SpeedButton2->setEnabled(!cj.isEmpty());
    if (!cj.isEmpty())
        DBGrid1->selectRow(0);
}

bool TFrmCheck::moveToSelected()
{
    store::Table &cj = DataModule->Cn1Table_cj;
    const QModelIndex current = DBGrid1->currentIndex();
    if (!cj.isOpen() || cj.isEmpty() || !current.isValid())
        return false;
    cj.setRecNo(current.row() + 1);
    return true;
}

void TFrmCheck::SpeedButton2Click()
{
    if (!moveToSelected())
        return;
    store::Table &cj = DataModule->Cn1Table_cj;
    reviewPaper(cj.fieldByName(QStringLiteral("A1")).asString().trimmed(),
                cj.fieldByName(QStringLiteral("A3")).asString(), cj.fieldByName(QStringLiteral("A6")).asFloat(),
                cj.fieldByName(QStringLiteral("D2")).asString());
    FormShow();
}

void TFrmCheck::SpeedButton4Click()
{
    if (!moveToSelected())
        return;
    if (SystemMessageBox(QStringLiteral("提示"), QStringLiteral("即将删除试卷，要继续么？"), QMessageBox::Question,
                         QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    try {
        exam::deletePaper(DataModule->Cn1Table_cj.fieldByName(QStringLiteral("A1")).asString().trimmed());
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.message(), 1, QStringLiteral("NO"), 2);
    }
    // The figures wait for the next showing; the list shows what is left now.
    fillList();
}

void TFrmCheck::SpeedButton1Click()
{
    SettingsVariant = 0;
    TFrmConfig settings(this);
    settings.exec();
}

void TFrmCheck::done(int result)
{
    DataModule->Cn1Table_cj.setFilter(QString());
    DataModule->Cn1Table_cj.close();
    DataModule->Cn1Query1.close();
    QDialog::done(result);
}
