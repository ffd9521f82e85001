#include "Dataset.h"

#include "Error.h"

#include <utility>

// Writing edited, appended and deleted rows back to the tables they came from.
namespace store {

QString Dataset::whereForRow(const QString &table, const QVector<QVariant> &row, Params &params) const
{
    const auto &cols = m_snap->columns;
    const QStringList key = m_connection->primaryKey(table);
    QStringList conditions;
    bool keyComplete = !key.isEmpty();
    for (const QString &k : key) {
        int found = -1;
        for (int i = 0; i < cols.size(); ++i)
            if (cols[i].table.compare(table, Qt::CaseInsensitive) == 0 &&
                cols[i].origin.compare(k, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0) {
            keyComplete = false;
            break;
        }
        conditions << quotedName(k) + QStringLiteral(" = ?");
        params.positional << row.at(found);
    }
    if (keyComplete)
        return conditions.join(QStringLiteral(" and "));
    conditions.clear();
    params.positional.clear();
    if (m_snap->rowidColumn >= 0) {
        params.positional << row.at(m_snap->rowidColumn);
        return QStringLiteral("rowid = ?");
    }
    // No key in the row: find it by every value it was read with.
    for (int i = 0; i < cols.size(); ++i) {
        if (cols[i].table.compare(table, Qt::CaseInsensitive) != 0 || cols[i].origin.isEmpty())
            continue;
        conditions << quotedName(cols[i].origin) + QStringLiteral(" IS ?");
        params.positional << row.at(i);
    }
    if (conditions.isEmpty())
        throw Error(QStringLiteral("无法确定要更新的记录（表 %1）").arg(table));
    return conditions.join(QStringLiteral(" and "));
}

void Dataset::writeUpdate()
{
    const int rowIndex = m_view.at(m_pos);
    QVector<QVariant> &row = m_snap->rows[rowIndex];
    QHash<QString, QList<int>> byTable;
    for (int c : std::as_const(m_changed)) {
        const Column &col = m_snap->columns.at(c);
        if (col.table.isEmpty() || col.origin.isEmpty())
            throw Error(QStringLiteral("字段 %1 不能修改").arg(col.name));
        byTable[col.table] << c;
    }
    for (auto it = byTable.constBegin(); it != byTable.constEnd(); ++it) {
        Params params;
        QStringList sets;
        for (int c : it.value()) {
            sets << quotedName(m_snap->columns.at(c).origin) + QStringLiteral(" = ?");
            params.positional << m_buffer.at(c);
        }
        Params whereParams;
        const QString where = whereForRow(it.key(), row, whereParams);
        params.positional << whereParams.positional;
        m_connection->execute(QStringLiteral("update %1 set %2 where %3")
                                  .arg(quotedName(it.key()), sets.join(QStringLiteral(", ")), where),
                              params);
    }
    row = m_buffer;
}

void Dataset::writeInsert()
{
    QString table = insertTable();
    if (table.isEmpty()) {
        for (const Column &c : std::as_const(m_snap->columns))
            if (!c.table.isEmpty()) {
                table = c.table;
                break;
            }
    }
    if (table.isEmpty())
        throw Error(QStringLiteral("无法确定追加记录的表"));
    QStringList names;
    QStringList marks;
    Params params;
    for (int c : std::as_const(m_changed)) {
        const Column &col = m_snap->columns.at(c);
        if (col.table.compare(table, Qt::CaseInsensitive) != 0 || col.origin.isEmpty())
            continue;
        names << quotedName(col.origin);
        marks << QStringLiteral("?");
        params.positional << m_buffer.at(c);
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("insert into %1 default values").arg(quotedName(table))
                            : QStringLiteral("insert into %1 (%2) values (%3)")
                                  .arg(quotedName(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    m_connection->execute(sql, params);
    const qint64 rowid = m_connection->lastInsertRowId();

    // Read back what the table made of the row (defaults, conversions).
    QVector<QVariant> row = m_buffer;
    QStringList origins;
    QList<int> targets;
    for (int i = 0; i < m_snap->columns.size(); ++i) {
        const Column &col = m_snap->columns.at(i);
        if (col.table.compare(table, Qt::CaseInsensitive) == 0 && !col.origin.isEmpty()) {
            origins << quotedName(col.origin);
            targets << i;
        }
    }
    if (m_snap->rowidColumn >= 0)
        row[m_snap->rowidColumn] = rowid;
    if (!origins.isEmpty()) {
        Statement st(m_connection->handle(),
                     QStringLiteral("select %1 from %2 where rowid = ?").arg(origins.join(QLatin1Char(',')), quotedName(table)),
                     Params::byPosition({rowid}));
        if (st.step())
            for (int k = 0; k < targets.size(); ++k)
                row[targets.at(k)] = st.value(k);
    }
    m_snap->rows << row;
    m_snap->deleted << false;
    m_view << int(m_snap->rows.size()) - 1;
    m_pos = int(m_view.size()) - 1;
    m_eof = m_bof = false;
}

void Dataset::remove()
{
    requireBrowse("删除记录");
    if (m_pos < 0 || m_pos >= m_view.size())
        throw Error(QStringLiteral("没有当前记录，不能删除"));
    const int rowIndex = m_view.at(m_pos);
    const QVector<QVariant> &row = m_snap->rows.at(rowIndex);
    QSet<QString> tables;
    for (const Column &c : std::as_const(m_snap->columns))
        if (!c.table.isEmpty())
            tables.insert(c.table);
    if (tables.size() != 1)
        throw Error(QStringLiteral("无法确定要删除记录的表"));
    const QString table = *tables.constBegin();
    Params params;
    const QString where = whereForRow(table, row, params);
    m_connection->execute(QStringLiteral("delete from %1 where %2").arg(quotedName(table), where), params);
    m_snap->deleted[rowIndex] = true;
    m_view.removeAt(m_pos);
    noteWritten(rowIndex, Written::Deleted);
    moveTo(m_pos);
    emit dataChanged();
}

void Dataset::rereadRow(int rowIndex)
{
    QVector<QVariant> &row = m_snap->rows[rowIndex];
    QSet<QString> tables;
    for (const Column &c : std::as_const(m_snap->columns))
        if (!c.table.isEmpty())
            tables.insert(c.table);
    for (const QString &table : std::as_const(tables)) {
        QStringList origins;
        QList<int> targets;
        for (int i = 0; i < m_snap->columns.size(); ++i)
            if (m_snap->columns.at(i).table == table && !m_snap->columns.at(i).origin.isEmpty()) {
                origins << quotedName(m_snap->columns.at(i).origin);
                targets << i;
            }
        Params params;
        const QString where = whereForRow(table, row, params);
        Statement st(m_connection->handle(),
                     QStringLiteral("select %1 from %2 where %3").arg(origins.join(QLatin1Char(',')), quotedName(table), where),
                     params);
        if (st.step())
            for (int k = 0; k < targets.size(); ++k)
                row[targets.at(k)] = st.value(k);
    }
}

// Puts back the rows this dataset wrote in a transaction that was rolled
// back; the other rows (and so the record numbers) stay as they are.
void Dataset::restoreAfterRollback()
{
    const TransactionWrites written = std::exchange(m_written, {});
    if (!isOpen() || written.isEmpty() || !m_connection->isOpen())
        return;
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    try {
        for (int r : written.updated)
            if (!written.inserted.contains(r))
                rereadRow(r);
        if (!written.inserted.isEmpty() || !written.deleted.isEmpty()) {
            for (int r : written.inserted)
                m_snap->deleted[r] = true;
            for (int r : written.deleted)
                if (!written.inserted.contains(r))
                    m_snap->deleted[r] = false;
            const int keep = recNo();
            rebuildView();
            moveTo(qMin(qMax(keep, 1), recordCount()) - 1);
        }
    } catch (const std::exception &) {
        // The rows stay as they were shown; the bank itself is intact.
    }
    emit dataChanged();
}

} // namespace store
