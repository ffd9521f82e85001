#include "TFrmBj.h"

#include "DataSource.h"
#include "Globals.h"
#include "TitleStrip.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmBj::TFrmBj(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmBj"));
    setWindowTitle(QStringLiteral("笔记"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(392, 353);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 6);
    layout->setSpacing(4);
    layout->addWidget(new ui::TitleStrip(QStringLiteral("笔记"), this));
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setPlaceholderText(QStringLiteral("在这里写下本题的笔记，关闭时自动保存。"));
    layout->addWidget(DBMemo1, 1);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    epEfTrBtn1 = new QPushButton(QStringLiteral("关  闭"), this);
    epEfTrBtn1->setObjectName(QStringLiteral("epEfTrBtn1"));
    epEfTrBtn1->setFixedWidth(90);
    layout->addWidget(epEfTrBtn1, 0, Qt::AlignRight);
    connect(epEfTrBtn1, &QPushButton::clicked, this, &QDialog::close);
}

void TFrmBj::bind(store::DataSource &source, const QString &field)
{
    m_source = &source;
    m_field = field;
    store::Dataset *ds = source.dataSet();
    ds->edit();
    DBMemo1->setPlainText(ds->fieldByName(field).asString());
    connect(DBMemo1, &QPlainTextEdit::textChanged, this, [this] {
        if (m_source && m_source->dataSet())
            m_source->dataSet()->setValue(m_field, DBMemo1->toPlainText());
    });
}

void TFrmBj::done(int result)
{
    if (m_source && m_source->dataSet()) {
        store::Dataset *ds = m_source->dataSet();
        ds->edit();
        ds->setValue(m_field, DBMemo1->toPlainText());
        ds->post();
    }
    NotesHaveContent = !DBMemo1->toPlainText().trimmed().isEmpty();
    QDialog::done(result);
}
