#pragma once

#include <QAbstractTableModel>
#include <QVector>

namespace store {

class Dataset;

// Read-only grid rows from a dataset: chosen fields as text, under their
// titles. A snapshot taken by reload(); the dataset's cursor is left where it was.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        bool alignRight = false;
    };

    explicit GridModel(QVector<Column> columns, QObject *parent = nullptr);

    void reload(Dataset &rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVector<Column> m_columns;
    QVector<QStringList> m_rows;
};

} // namespace store
