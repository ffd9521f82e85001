#include "Dataset.h"

#include "Error.h"

namespace store {

void Query::setParam(const QString &name, const QVariant &value)
{
    for (auto &p : m_params.named)
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = value;
            return;
        }
    m_params.named.append(qMakePair(name, value));
}

int Query::execSql()
{
    if (!connection())
        throw Error(QStringLiteral("查询没有连接"));
    return connection()->execute(m_sql, m_params);
}

QString Table::selectSql() const
{
    QString sql = QStringLiteral("select rowid as %1, * from %2").arg(kRowidColumn, quotedName(m_table));
    if (!m_index.trimmed().isEmpty()) {
        QStringList cols;
        for (const QString &c : m_index.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            cols << quotedName(c.trimmed());
        sql += QStringLiteral(" order by ") + cols.join(QLatin1Char(','));
    }
    return sql;
}

} // namespace store
