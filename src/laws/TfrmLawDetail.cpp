#include "TfrmLawDetail.h"

#include "Bevel.h"
#include "DataModule.h"
#include "DbRichView.h"
#include "Globals.h"
#include "Look.h"
#include "PointCatalogue.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

TfrmLawDetail::TfrmLawDetail(QWidget *host, QPushButton *practiceButton) : m_practice(practiceButton)
{
    setObjectName(QStringLiteral("frmLawDetail"));
    m_Pdetail = new QWidget(host);
    m_Pdetail->setObjectName(QStringLiteral("m_Pdetail"));
    auto *fill = new QVBoxLayout(m_Pdetail);
    fill->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, m_Pdetail);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    fill->addWidget(Splitter1);

    m_LBmenu = new QListWidget(Splitter1);
    m_LBmenu->setObjectName(QStringLiteral("m_LBmenu"));
    m_LBmenu->setFont(ui::programFont(16));
    m_LBmenu->setCursor(Qt::PointingHandCursor);
    m_LBmenu->setWordWrap(true);
    m_LBmenu->setSpacing(2);

    Panel1 = new QWidget(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *column = new QVBoxLayout(Panel1);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    Re = new richtext::DbRichView(Panel1);
    Re->setObjectName(QStringLiteral("Re"));
    Re->setReadOnly(true);
    Re->setFont(ui::programFont(16));
    column->addWidget(Re, 1);
    auto *noteBar = new ui::Bevel(Panel1, ui::Bevel::Style::Raised);
    noteBar->setFixedHeight(28);
    auto *noteLine = new QVBoxLayout(noteBar);
    noteLine->setContentsMargins(8, 2, 8, 2);
    m_pNote = new QLabel(noteBar);
    m_pNote->setObjectName(QStringLiteral("m_pNote"));
    noteLine->addWidget(m_pNote);
    column->addWidget(noteBar);

    Splitter1->addWidget(m_LBmenu);
    Splitter1->addWidget(Panel1);
    m_LBmenu->setMinimumWidth(160);
    // The compact screen leaves the text more room than the design's 388-pixel list would.
    const int listWidth = ScreenClass == QLatin1String("800") ? 280 : 388;
    Splitter1->setSizes({listWidth, qMax(200, host->width() - listWidth - 3)});
    m_Pdetail->setGeometry(host->rect());
    m_Pdetail->show();
    connect(m_LBmenu, &QListWidget::currentRowChanged, this, [this] { m_lBmenuClick(); });
}

TfrmLawDetail::~TfrmLawDetail() { delete m_Pdetail; }

void TfrmLawDetail::fill()
{
    store::Query &points = DataModule->m_queryDetail;
    m_LBmenu->blockSignals(true);
    m_LBmenu->clear();
    for (points.first(); !points.eof(); points.next())
        m_LBmenu->addItem(laws::pointEntry(points.fieldByName(QStringLiteral("sn")).asString(),
                                           points.fieldByName(QStringLiteral("q")).asInteger()));
    if (m_LBmenu->count() > 0)
        m_LBmenu->setCurrentRow(0);
    m_LBmenu->blockSignals(false);
    bindText();
    points.first();
    showNote();
}

void TfrmLawDetail::m_lBmenuClick()
{
    if (m_LBmenu->currentRow() < 0) {
        if (m_LBmenu->count() == 0) {
            showNote();
            return;
        }
        m_LBmenu->blockSignals(true);
        m_LBmenu->setCurrentRow(0);
        m_LBmenu->blockSignals(false);
    }
    store::Query &points = DataModule->m_queryDetail;
    if (!points.isOpen())
        return;
    points.setRecNo(m_LBmenu->currentRow() + 1);
    showNote();
}

void TfrmLawDetail::select(int index)
{
    m_LBmenu->blockSignals(true);
    m_LBmenu->setCurrentRow(m_LBmenu->count() == 0 ? -1 : qBound(0, index, m_LBmenu->count() - 1));
    m_LBmenu->blockSignals(false);
    m_lBmenuClick();
}

int TfrmLawDetail::selectedIndex() const { return m_LBmenu->currentRow(); }

void TfrmLawDetail::unbindText() { Re->setDataSource(nullptr); }

void TfrmLawDetail::bindText()
{
    Re->setDataSource(&DataModule->m_query_DS);
    Re->setDataField(QStringLiteral("n"));
}

void TfrmLawDetail::showNote()
{
    const store::Query &points = DataModule->m_queryDetail;
    QListWidgetItem *entry = m_LBmenu->currentItem();
    laws::PointNote note;
    // Without points or a selection there is nothing to practise.
    if (!entry || !points.isOpen() || points.isEmpty())
        note = {QString(), false};
    else if (!entry->text().trimmed().contains(QLatin1Char('(')))
        note = laws::pointNoteWithoutQuestions();
    else
        note = laws::pointNote(points);
    m_pNote->setText(note.text);
    m_practice->setEnabled(note.practicable);
}
