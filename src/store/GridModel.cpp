#include "GridModel.h"

#include "Dataset.h"

namespace store {

GridModel::GridModel(QVector<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{
}

void GridModel::reload(Dataset &rows)
{
    beginResetModel();
    m_rows.clear();
    const int at = rows.recNo();
    for (rows.first(); !rows.eof(); rows.next()) {
        QStringList row;
        for (const Column &c : std::as_const(m_columns))
            row << rows.fieldByName(c.field).asString();
        m_rows << row;
    }
    if (at > 0)
        rows.setRecNo(at);
    endResetModel();
}

int GridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int GridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).at(index.column());
    if (role == Qt::TextAlignmentRole && m_columns.at(index.column()).alignRight)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns.at(section).title;
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

} // namespace store
