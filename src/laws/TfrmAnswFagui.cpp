#include "TfrmAnswFagui.h"

#include "DataModule.h"
#include "DataSource.h"
#include "DbRichView.h"
#include "Globals.h"
#include "Look.h"
#include "TitleStrip.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

TfrmAnswFagui::TfrmAnswFagui(QWidget *parent) : QDialog(parent), m_points(&DataModule->ADOCn1)
{
    setObjectName(QStringLiteral("frmAnswFagui"));
    setWindowTitle(QStringLiteral("相关考点"));
    DataSource1 = new store::DataSource(&m_points.points(), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    epLabel1 = new ui::TitleStrip(QStringLiteral("考点："), this);
    epLabel1->setObjectName(QStringLiteral("epLabel1"));
    epLabel1->setFixedHeight(33);
    layout->addWidget(epLabel1);

    m_listbox = new QListWidget(this);
    m_listbox->setObjectName(QStringLiteral("m_listbox"));
    m_listbox->hide();
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(5);
    ListBox1 = new QListWidget(Splitter1);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(ui::programFont(16));
    ListBox1->setWordWrap(true);
    ListBox1->setSpacing(3);
    Re = new richtext::DbRichView(Splitter1);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    Splitter1->setCollapsible(0, false);
    Splitter1->setCollapsible(1, false);
    layout->addWidget(Splitter1, 1);

    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(10, 6, 14, 6);
    bottom->addStretch();
    epEfTrBtn1 = new QPushButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setFixedSize(75, 25);
    bottom->addWidget(epEfTrBtn1);
    layout->addLayout(bottom);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &QDialog::close);
    connect(ListBox1, &QListWidget::currentRowChanged, this, &TfrmAnswFagui::ListBox1Click);
}

TfrmAnswFagui::~TfrmAnswFagui() = default;

bool TfrmAnswFagui::LoadLinks(const QString &questionId)
{
    m_listbox->clear();
    if (!m_points.loadLinks(questionId))
        return false;
    m_listbox->addItems(m_points.codes());
    return m_listbox->count() > 0;
}

void TfrmAnswFagui::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TfrmAnswFagui::FormShow()
{
    const bool compact = ScreenClass == QLatin1String("800");
    setFixedSize(compact ? QSize(657, 421) : QSize(917, 585));
    Splitter1->setSizes(compact ? QList<int>{185, 469} : QList<int>{401, 511});
    m_points.openPoints();
    Re->setDataSource(DataSource1);
    Re->setDataField(QStringLiteral("n"));
    ListBox1->blockSignals(true);
    ListBox1->clear();
    ListBox1->addItems(m_points.titles());
    ListBox1->blockSignals(false);
    epLabel1->setText(m_points.sectionName().isEmpty() ? QStringLiteral("考点：") : m_points.sectionName());
    if (ListBox1->count() > 0)
        ListBox1->setCurrentRow(0);
}

void TfrmAnswFagui::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    m_points.select(row);
    if (!m_points.sectionName().isEmpty())
        epLabel1->setText(m_points.sectionName());
}
