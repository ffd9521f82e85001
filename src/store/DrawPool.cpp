#include "DrawPool.h"

#include "Connection.h"

#include <QHash>

namespace store {
namespace drawpool {

namespace {

// A row takes part when it would pass "Left(A10,2) = prefix and A13 = type and f1 <> 1".
QString member(const char *row)
{
    return QStringLiteral("(%1.f1 <> 1 and %1.A10 is not null and %1.A13 is not null)").arg(QLatin1String(row));
}

// Appends the row at the end of its pool.
QString addRow(const char *row)
{
    const QString r = QLatin1String(row);
    return QStringLiteral("insert into ql_draw_pool (prefix, type, pos, A1) select substr(%1.A10,1,2), %1.A13, "
                          "coalesce((select max(pos) + 1 from ql_draw_pool where prefix = substr(%1.A10,1,2) "
                          "and type = %1.A13), 0), %1.A1 where %2;")
        .arg(r, member(row));
}

// Takes the row out and moves the last entry of its pool into the gap, so places stay 0 … n−1.
QString removeRow(const char *row)
{
    const QString id = QStringLiteral("%1.A1").arg(QLatin1String(row));
    return QStringLiteral(
               "update ql_draw_pool set pos = -1 - pos where A1 = %1;"
               "update ql_draw_pool set pos = (select -1 - g.pos from ql_draw_pool g where g.A1 = %1) "
               " where (prefix, type) = (select prefix, type from ql_draw_pool where A1 = %1)"
               " and pos = (select max(m.pos) from ql_draw_pool m where (m.prefix, m.type) ="
               "            (select prefix, type from ql_draw_pool where A1 = %1))"
               " and pos > (select -1 - g.pos from ql_draw_pool g where g.A1 = %1);"
               "delete from ql_draw_pool where A1 = %1;")
        .arg(id);
}

} // namespace

void create(Connection &c)
{
    if (c.tableExists(QStringLiteral("ql_draw_pool")))
        return; // a bank whose version was set back keeps the pool its triggers kept
    c.execute(QStringLiteral("create table ql_draw_pool (prefix TEXT NOT NULL, type INTEGER NOT NULL,"
                             " pos INTEGER NOT NULL, A1 TEXT NOT NULL, primary key (prefix, type, pos)) without rowid"));
    c.execute(QStringLiteral("create unique index ix_draw_pool_question on ql_draw_pool (A1)"));
    c.execute(QStringLiteral("insert into ql_draw_pool (prefix, type, pos, A1) select substr(A10,1,2), A13,"
                             " row_number() over (partition by substr(A10,1,2), A13 order by A1) - 1, A1"
                             " from tab_answ a where %1")
                  .arg(member("a")));
    c.execute(QStringLiteral("create trigger ql_draw_pool_insert after insert on tab_answ begin %1 end")
                  .arg(addRow("new")));
    c.execute(QStringLiteral("create trigger ql_draw_pool_delete after delete on tab_answ begin %1 end")
                  .arg(removeRow("old")));
    c.execute(QStringLiteral("create trigger ql_draw_pool_update after update of A1, A10, A13, F1 on tab_answ"
                             " when old.A1 is not new.A1 or substr(old.A10,1,2) is not substr(new.A10,1,2)"
                             " or old.A13 is not new.A13 or %1 is not %2 begin %3 %4 end")
                  .arg(member("old"), member("new"), removeRow("old"), addRow("new")));
}

void remove(Connection &c)
{
    for (const char *trigger : {"ql_draw_pool_insert", "ql_draw_pool_delete", "ql_draw_pool_update"})
        c.execute(QStringLiteral("drop trigger if exists %1").arg(QLatin1String(trigger)));
    c.execute(QStringLiteral("drop table if exists ql_draw_pool"));
}

int size(Connection &c, const QString &prefix, int type)
{
    return c.scalar(QStringLiteral("select coalesce(max(pos) + 1, 0) from ql_draw_pool where prefix = :prefix"
                                   " and type = :type"),
                    {{QStringLiteral("prefix"), prefix}, {QStringLiteral("type"), type}})
        .toInt();
}

bool hasAny(Connection &c, const QString &prefix)
{
    return c.scalar(QStringLiteral("select exists (select 1 from ql_draw_pool where prefix = :prefix)"),
                    {{QStringLiteral("prefix"), prefix}})
        .toBool();
}

QStringList questionsAt(Connection &c, const QString &prefix, int type, const QVector<int> &places)
{
    QStringList ids;
    if (places.isEmpty())
        return ids;
    QStringList marks;
    QVariantList values{prefix, type};
    for (int place : places) {
        marks << QStringLiteral("?");
        values << place;
    }
    Statement s(c.handle(),
                QStringLiteral("select A1 from ql_draw_pool where prefix = ? and type = ? and pos in (%1)")
                    .arg(marks.join(QLatin1Char(','))),
                Params::byPosition(values));
    while (s.step())
        ids << s.value(0).toString();
    return ids;
}

QStringList disagreements(Connection &c)
{
    QStringList lines;
    if (!c.tableExists(QStringLiteral("ql_draw_pool")))
        return lines; // a bank of an older version, which gains the pool when it is opened
    Statement s(c.handle(),
                QStringLiteral("select 'missing from the draw pool: ' || A1 from tab_answ a where %1 and not exists"
                               " (select 1 from ql_draw_pool p where p.A1 = a.A1 and p.prefix = substr(a.A10,1,2)"
                               " and p.type = a.A13)"
                               " union all select 'in the draw pool but not drawable: ' || p.A1 from ql_draw_pool p"
                               " where not exists (select 1 from tab_answ a where a.A1 = p.A1 and %1"
                               " and p.prefix = substr(a.A10,1,2) and p.type = a.A13)"
                               " union all select 'draw pool ' || prefix || '/' || type || ' has gaps' from"
                               " ql_draw_pool group by prefix, type having max(pos) + 1 <> count(*)")
                    .arg(member("a")),
                {});
    while (s.step())
        lines << s.value(0).toString();
    return lines;
}

} // namespace drawpool

QVector<int> pickPlaces(int size, int count, std::mt19937 &generator)
{
    const int wanted = qBound(0, count, qMax(0, size));
    // A partial Fisher–Yates shuffle of 0 … size−1 that stores only the places it has moved.
    QHash<int, int> moved;
    QVector<int> picked;
    picked.reserve(wanted);
    for (int i = 0; i < wanted; ++i) {
        std::uniform_int_distribution<int> pick(i, size - 1);
        const int j = pick(generator);
        const int atJ = moved.value(j, j);
        moved.insert(j, moved.value(i, i));
        picked << atJ;
    }
    return picked;
}

} // namespace store
