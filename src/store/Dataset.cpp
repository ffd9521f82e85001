#include "Dataset.h"

#include "Error.h"

#include <algorithm>

namespace store {

namespace {
bool isNumber(const QVariant &v)
{
    const int t = v.userType();
    return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double || t == QMetaType::UInt ||
           t == QMetaType::ULongLong;
}
} // namespace

// A clone reads the same snapshot; refreshing it runs the original's statement.
class Dataset::CloneView : public Dataset {
public:
    CloneView(Connection *c, QString sql, Params params, QString table, QObject *parent)
        : Dataset(c, parent), m_sql(std::move(sql)), m_params(std::move(params)), m_table(std::move(table))
    {
    }

protected:
    QString selectSql() const override { return m_sql; }
    Params selectParams() const override { return m_params; }
    QString insertTable() const override { return m_table; }

private:
    QString m_sql;
    Params m_params;
    QString m_table;
};

Dataset::Dataset(Connection *connection, QObject *parent) : QObject(parent) { setConnection(connection); }

Dataset::~Dataset() = default;

void Dataset::setConnection(Connection *c)
{
    if (m_connection)
        disconnect(m_connection, nullptr, this, nullptr);
    m_connection = c;
    if (!c)
        return;
    connect(c, &Connection::rolledBack, this, &Dataset::restoreAfterRollback);
    connect(c, &Connection::committed, this, [this] { m_written = {}; });
}

void Dataset::fetch()
{
    if (!m_connection)
        throw Error(QStringLiteral("数据集没有连接"));
    auto snap = std::make_shared<Snapshot>();
    Statement st(m_connection->handle(), selectSql(), selectParams());
    const int n = st.columnCount();
    for (int i = 0; i < n; ++i) {
        Column c{st.columnName(i), st.originTable(i), st.originColumn(i)};
        if (c.name == kRowidColumn) {
            snap->rowidColumn = i;
        } else if (!snap->byName.contains(c.name.toLower())) {
            snap->byName.insert(c.name.toLower(), i);
        }
        snap->columns << c;
    }
    while (st.step()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = st.value(i);
        snap->rows << row;
    }
    snap->deleted.fill(false, snap->rows.size());
    m_snap = snap;
}

void Dataset::open()
{
    if (isOpen())
        return;
    fetch();
    m_state = State::Browse;
    m_written = {};
    rebuildView();
    first();
    emit opened();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_snap.reset();
    m_view.clear();
    m_pos = -1;
    m_eof = m_bof = true;
    m_buffer.clear();
    m_changed.clear();
    emit closed();
}

void Dataset::refresh()
{
    requireOpen();
    const int keep = recNo();
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    fetch();
    m_written = {};
    rebuildView();
    moveTo(qMin(qMax(keep, 1), recordCount()) - 1);
    emit dataChanged();
}

void Dataset::requireOpen() const
{
    if (!isOpen())
        throw Error(QStringLiteral("不能对关闭的数据集进行此操作"));
}

void Dataset::requireBrowse(const char *operation) const
{
    requireOpen();
    if (m_state != State::Browse)
        throw Error(QStringLiteral("数据集正在编辑，不能%1").arg(QString::fromUtf8(operation)));
}

void Dataset::rebuildView()
{
    QVector<int> view;
    const Snapshot &s = *m_snap;
    for (int r = 0; r < s.rows.size(); ++r) {
        if (s.deleted.at(r))
            continue;
        if (m_filtered && !m_filter.isEmpty()) {
            const auto &row = s.rows.at(r);
            const bool keep = m_filter.matches([&](const QString &field) {
                const auto it = s.byName.constFind(field.toLower());
                if (it == s.byName.constEnd())
                    throw Error(QStringLiteral("过滤条件中的字段 %1 不存在").arg(field));
                return row.at(*it);
            });
            if (!keep)
                continue;
        }
        view << r;
    }
    const QStringList keys = m_sortText.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (keys.isEmpty()) {
        m_view = view;
        return;
    }
    QVector<QPair<int, bool>> order; // column, descending
    for (const QString &k : keys) {
        const QStringList words = k.simplified().split(QLatin1Char(' '));
        order << qMakePair(columnIndex(words.value(0)),
                           words.value(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0);
    }
    std::stable_sort(view.begin(), view.end(), [&](int a, int b) {
        for (const auto &o : order) {
            const QVariant &x = s.rows.at(a).at(o.first);
            const QVariant &y = s.rows.at(b).at(o.first);
            int c = 0;
            if (x.isNull() || y.isNull())
                c = x.isNull() == y.isNull() ? 0 : (x.isNull() ? -1 : 1);
            else
                c = compareValues(x, y);
            if (c != 0)
                return o.second ? c > 0 : c < 0;
        }
        return false;
    });
    m_view = view;
}

int Dataset::recordCount() const { return isOpen() ? int(m_view.size()) : 0; }

int Dataset::recNo() const
{
    if (m_state == State::Insert)
        return 0;
    return isOpen() && m_pos >= 0 && m_pos < m_view.size() ? m_pos + 1 : 0;
}

void Dataset::moveTo(int pos)
{
    if (m_view.isEmpty()) {
        m_pos = -1;
        m_eof = m_bof = true;
    } else {
        m_pos = qBound(0, pos, int(m_view.size()) - 1);
        m_eof = m_bof = false;
    }
    emit scrolled();
}

void Dataset::setRecNo(int n)
{
    requireBrowse("移动记录");
    moveTo(n - 1);
}

void Dataset::first()
{
    requireBrowse("移动记录");
    moveTo(0);
    m_bof = true;
}

void Dataset::last()
{
    requireBrowse("移动记录");
    moveTo(int(m_view.size()) - 1);
    m_eof = true;
}

void Dataset::next()
{
    requireBrowse("移动记录");
    if (m_pos + 1 < m_view.size()) {
        moveTo(m_pos + 1);
    } else {
        m_eof = true;
    }
}

void Dataset::prior()
{
    requireBrowse("移动记录");
    if (m_pos > 0) {
        moveTo(m_pos - 1);
    } else {
        m_bof = true;
    }
}

bool Dataset::eof() const { return !isOpen() || m_view.isEmpty() || m_eof; }
bool Dataset::bof() const { return !isOpen() || m_view.isEmpty() || m_bof; }

QStringList Dataset::fieldNames() const
{
    requireOpen();
    QStringList names;
    for (int i = 0; i < m_snap->columns.size(); ++i)
        if (i != m_snap->rowidColumn)
            names << m_snap->columns.at(i).name;
    return names;
}

bool Dataset::hasField(const QString &name) const { return isOpen() && m_snap->byName.contains(name.toLower()); }

int Dataset::columnIndex(const QString &name) const
{
    requireOpen();
    const auto it = m_snap->byName.constFind(name.toLower());
    if (it == m_snap->byName.constEnd())
        throw Error(QStringLiteral("字段 %1 不存在").arg(name));
    return *it;
}

QVariant Dataset::cell(int column) const
{
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer.at(column);
    if (m_pos < 0 || m_pos >= m_view.size())
        throw Error(QStringLiteral("没有当前记录"));
    return m_snap->rows.at(m_view.at(m_pos)).at(column);
}

void Dataset::setCell(int column, const QVariant &v)
{
    if (m_state != State::Edit && m_state != State::Insert)
        throw Error(QStringLiteral("数据集不在编辑状态"));
    m_buffer[column] = v;
    m_changed.insert(column);
    emit dataChanged();
}

QVariant Dataset::value(const QString &field) const { return cell(columnIndex(field)); }

Field Dataset::fieldByName(const QString &field) const { return Field(this, columnIndex(field)); }

void Dataset::setValue(const QString &field, const QVariant &v) { setCell(columnIndex(field), v); }

void Dataset::edit()
{
    requireOpen();
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_pos < 0 || m_pos >= m_view.size())
        throw Error(QStringLiteral("没有当前记录，不能编辑"));
    m_buffer = m_snap->rows.at(m_view.at(m_pos));
    m_changed.clear();
    m_state = State::Edit;
}

void Dataset::append()
{
    requireBrowse("追加记录");
    m_buffer = QVector<QVariant>(m_snap->columns.size());
    m_changed.clear();
    m_state = State::Insert;
    emit dataChanged();
}

void Dataset::cancel()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    emit dataChanged();
}

void Dataset::post()
{
    if (m_state == State::Edit) {
        writeUpdate();
        noteWritten(m_view.at(m_pos), Written::Updated);
    } else if (m_state == State::Insert) {
        writeInsert();
        noteWritten(int(m_snap->rows.size()) - 1, Written::Inserted);
    } else {
        return;
    }
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    emit dataChanged();
}

void Dataset::noteWritten(int rowIndex, Written kind)
{
    if (!m_connection || !m_connection->inTransaction())
        return;
    switch (kind) {
    case Written::Updated:
        m_written.updated.insert(rowIndex);
        break;
    case Written::Inserted:
        m_written.inserted.insert(rowIndex);
        break;
    case Written::Deleted:
        m_written.deleted.insert(rowIndex);
        break;
    }
}

void Dataset::applyView(const QString &filterText, bool filtered, const QString &sortText)
{
    const FilterExpr parsed = FilterExpr::parse(filterText);
    if (isOpen())
        requireBrowse("过滤或排序");
    const QString oldFilterText = m_filterText;
    const FilterExpr oldFilter = m_filter;
    const bool oldFiltered = m_filtered;
    const QString oldSort = m_sortText;
    m_filterText = filterText;
    m_filter = parsed;
    m_filtered = filtered;
    m_sortText = sortText;
    if (!isOpen())
        return;
    try {
        rebuildView();
    } catch (...) {
        m_filterText = oldFilterText;
        m_filter = oldFilter;
        m_filtered = oldFiltered;
        m_sortText = oldSort;
        throw;
    }
    moveTo(0);
    m_bof = true;
}

void Dataset::setFilter(const QString &text) { applyView(text, m_filtered, m_sortText); }

void Dataset::setFiltered(bool on)
{
    if (m_filtered != on)
        applyView(m_filterText, on, m_sortText);
}

void Dataset::setSort(const QString &text) { applyView(m_filterText, m_filtered, text); }

bool Dataset::locate(const QString &field, const QVariant &value, bool caseInsensitive, bool partialKey)
{
    requireBrowse("查找");
    const int column = columnIndex(field);
    const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const QString wanted = convert::toText(value);
    const bool wantedIsNumber = isNumber(value);
    const bool wantedIsNull = value.isNull();
    for (int p = 0; p < m_view.size(); ++p) {
        const QVariant &v = m_snap->rows.at(m_view.at(p)).at(column);
        // Text compared in place: markings locate chapter rows in a table of thousands.
        const QString *text = v.userType() == QMetaType::QString ? static_cast<const QString *>(v.constData()) : nullptr;
        const bool isNull = v.isNull();
        if (isNull != wantedIsNull)
            continue;
        bool hit = false;
        if (isNull)
            hit = true;
        else if (text && (partialKey || !wantedIsNumber))
            hit = partialKey ? text->startsWith(wanted, cs) : text->compare(wanted, cs) == 0;
        else if (partialKey)
            hit = convert::toText(v).startsWith(wanted, cs);
        else if (isNumber(v) || wantedIsNumber)
            hit = compareValues(v, value) == 0;
        else
            hit = convert::toText(v).compare(wanted, cs) == 0;
        if (hit) {
            moveTo(p);
            return true;
        }
    }
    return false;
}

std::unique_ptr<Dataset> Dataset::clone(QObject *parent) const
{
    requireOpen();
    auto copy = std::make_unique<CloneView>(m_connection, selectSql(), selectParams(), insertTable(), parent);
    copy->m_snap = m_snap;
    copy->m_state = State::Browse;
    copy->rebuildView();
    copy->moveTo(0);
    copy->m_bof = true;
    return copy;
}

} // namespace store
