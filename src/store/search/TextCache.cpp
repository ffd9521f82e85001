#include "TextCache.h"

#include "Connection.h"

#include <algorithm>

namespace search {

QString folded(const QString &text) { return text.toCaseFolded(); }

void TextCache::clear()
{
    m_text.clear();
    m_rows.clear();
    m_loaded = false;
}

void TextCache::load(store::Connection &c)
{
    clear();
    qint64 totals[Columns] = {};
    store::Statement st(c.handle(), QStringLiteral("select id, title, body, stem, jx, note from ql_search_text order by id"),
                        {});
    while (st.step()) {
        Row row;
        row.id = st.value(0).toLongLong();
        for (int column = 0; column < Columns; ++column) {
            row.start[column] = int(m_text.size());
            const QString text = st.value(column + 1).toString();
            m_text += folded(text);
            m_text += QChar(0);
            totals[column] += text.size();
        }
        row.start[Columns] = int(m_text.size());
        m_rows << row;
    }
    for (int column = 0; column < Columns; ++column)
        m_average[column] = m_rows.isEmpty() ? 1.0 : std::max(1.0, double(totals[column]) / m_rows.size());
    m_loaded = true;
}

int TextCache::rowOf(qint64 id) const
{
    const auto it = std::lower_bound(m_rows.begin(), m_rows.end(), id, [](const Row &r, qint64 v) { return r.id < v; });
    return it != m_rows.end() && it->id == id ? int(it - m_rows.begin()) : -1;
}

int TextCache::rowAt(int position) const
{
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), position,
                                     [](int p, const Row &r) { return p < r.start[0]; });
    return int(it - m_rows.begin()) - 1;
}

QVector<int> TextCache::rowsContaining(const QString &foldedTerm) const
{
    QVector<int> rows;
    if (foldedTerm.isEmpty())
        return rows;
    qsizetype at = 0;
    while ((at = m_text.indexOf(foldedTerm, at)) >= 0) {
        const int row = rowAt(int(at));
        rows << row;
        at = m_rows.at(row).start[Columns];
    }
    return rows;
}

bool TextCache::rowContains(int row, const QString &foldedTerm) const
{
    const Row &r = m_rows.at(row);
    return QStringView(m_text).sliced(r.start[0], r.start[Columns] - r.start[0]).indexOf(foldedTerm) >= 0;
}

void TextCache::countIn(int row, const QString &foldedTerm, int counts[Columns]) const
{
    const Row &r = m_rows.at(row);
    for (int column = 0; column < Columns; ++column) {
        const QStringView text = QStringView(m_text).sliced(r.start[column], r.start[column + 1] - r.start[column] - 1);
        counts[column] = foldedTerm.isEmpty() ? 0 : int(text.count(foldedTerm));
    }
}

int TextCache::columnLength(int row, int column) const
{
    const Row &r = m_rows.at(row);
    return r.start[column + 1] - r.start[column] - 1;
}

} // namespace search
