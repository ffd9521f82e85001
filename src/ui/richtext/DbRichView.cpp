#include "DbRichView.h"

#include "DataSource.h"
#include "Dataset.h"
#include "Error.h"

namespace richtext {

DbRichView::DbRichView(QWidget *parent) : RichView(parent) {}

void DbRichView::setDataSource(store::DataSource *source)
{
    disconnect(changed_);
    source_ = source;
    if (source)
        changed_ = connect(source, &store::DataSource::dataChanged, this, &DbRichView::refresh);
    refresh();
}

store::DataSource *DbRichView::dataSource() const
{
    return source_;
}

void DbRichView::setDataField(const QString &field)
{
    field_ = field;
    refresh();
}

void DbRichView::refresh()
{
    const store::Dataset *dataset = source_ ? source_->dataSet() : nullptr;
    // Eof alone still has a current row: Next on the last row stays there.
    if (!dataset || field_.isEmpty() || !dataset->isOpen() || dataset->isEmpty()
        || !dataset->hasField(field_)) {
        clear();
        return;
    }
    try {
        setContent(dataset->value(field_));
    } catch (const store::Error &) {
        clear(); // no current row: a signal's handler must not throw
    }
}

} // namespace richtext
