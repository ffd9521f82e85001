#include "LinkCounts.h"

#include "Connection.h"

#include <QSet>

namespace store {

namespace {

QString quotedIn(const QSet<QString> &ids)
{
    QStringList quotedIds;
    for (const QString &id : ids)
        quotedIds << quoted(id);
    quotedIds.sort();
    return QLatin1Char('(') + quotedIds.join(QLatin1Char(',')) + QLatin1Char(')');
}

} // namespace

QString linkPairsSql(const QString &schema)
{
    QStringList selects;
    QStringList filled;
    for (int k = 3; k <= 12; ++k) {
        filled << QStringLiteral("trim(ifnull(K%1, '')) <> ''").arg(k);
        selects << QStringLiteral("select A1 as a1, trim(K%1) as p from %2.tab_answ where %3")
                       .arg(k)
                       .arg(schema, filled.join(QStringLiteral(" and ")));
    }
    return selects.join(QStringLiteral(" union ")); // union: a point named twice by one question is one link
}

QString pointLinkCountsSql(const QString &schema)
{
    return QStringLiteral("select p as id, count(*) as n from (%1) group by p").arg(linkPairsSql(schema));
}

QString entryLinkCountsSql(const QString &schema)
{
    const QString pairs = linkPairsSql(schema);
    return QStringLiteral("select substr(p, 1, 6) as id, count(distinct a1) as n from (%1) group by 1 union all "
                          "select substr(p, 1, 2), count(distinct a1) from (%1) group by 1")
        .arg(pairs);
}

void recountLinks(Connection &c, const QStringList &points, const QString &schema)
{
    QString pointScope = QStringLiteral("1");
    QString entryScope = QStringLiteral("1");
    if (!points.isEmpty()) {
        QSet<QString> pointSet;
        QSet<QString> entries;
        for (const QString &point : points) {
            pointSet << point.trimmed();
            entries << point.trimmed().left(6) << point.trimmed().left(2);
        }
        pointScope = QStringLiteral("tab_rule.ftid in ") + quotedIn(pointSet);
        entryScope = QStringLiteral("tab_fgmc.id in ") + quotedIn(entries);
    }
    c.execute(QStringLiteral("update %1.tab_rule set q = 0 where %2").arg(schema, pointScope));
    c.execute(QStringLiteral("update %1.tab_rule set q = c.n from (%2) as c where c.id = tab_rule.ftid and %3")
                  .arg(schema, pointLinkCountsSql(schema), pointScope));
    c.execute(QStringLiteral("update %1.tab_fgmc set q = 0 where %2").arg(schema, entryScope));
    c.execute(QStringLiteral("update %1.tab_fgmc set q = c.n from (%2) as c where c.id = tab_fgmc.id and %3")
                  .arg(schema, entryLinkCountsSql(schema), entryScope));
}

} // namespace store
