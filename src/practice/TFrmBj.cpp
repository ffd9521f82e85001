#include "TFrmBj.h"

#include "DataSource.h"
#include "Globals.h"
#include "QuestionDialogFrame.h"
#include "SearchIndex.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TFrmBj::TFrmBj(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmBj"));
    DBMemo1 = new QPlainTextEdit(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBMemo1->setPlaceholderText(QStringLiteral("在这里写下本题的笔记，关闭时自动保存。"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->hide();
    epEfTrBtn1 = FrameQuestionDialog(*this, QStringLiteral("笔记"), QSize(392, 353), DBMemo1, QStringLiteral("关  闭"));
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
        // The note is searchable: its index row changes with it or not at all.
        store::Transaction transaction(*ds->connection());
        ds->edit();
        ds->setValue(m_field, DBMemo1->toPlainText());
        ds->post();
        if (ds->hasField(QStringLiteral("A1")))
            search::reindexQuestions(*ds->connection(), {ds->fieldByName(QStringLiteral("A1")).asString()});
        transaction.commit();
    }
    NotesHaveContent = !DBMemo1->toPlainText().trimmed().isEmpty();
    QDialog::done(result);
}
