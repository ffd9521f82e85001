#pragma once

#include "RichView.h"

#include <QPointer>

namespace store {
class DataSource;
}

namespace richtext {

// A RichView bound to one field of a data source's dataset: it shows the
// field of the current row and follows every move and change. A closed or
// empty dataset, or a field the dataset lacks, shows nothing.
class DbRichView : public RichView
{
    Q_OBJECT

public:
    explicit DbRichView(QWidget *parent = nullptr);

    void setDataSource(store::DataSource *source);
    store::DataSource *dataSource() const;
    void setDataField(const QString &field);
    QString dataField() const { return field_; }

private:
    void refresh();

    QPointer<store::DataSource> source_;
    QString field_;
    QMetaObject::Connection changed_;
};

} // namespace richtext
