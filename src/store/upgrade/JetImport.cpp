#include "JetImport.h"

#include "Connection.h"
#include "DataModule.h"
#include "JetReader.h"

#include <QFile>

namespace upgrade {

void copyJetToSqlite(const QString &jetFile, const QString &sqliteFile)
{
    const JetReader jet(jetFile);
    QFile::remove(sqliteFile);
    store::Connection out;
    out.setConnectionString(TDM1::connectionStringFor(sqliteFile));
    out.open(true);
    store::Transaction t(out);
    for (const QString &table : jet.tableNames()) {
        const QVector<JetColumn> columns = jet.columns(table);
        QStringList definitions;
        QStringList marks;
        for (const JetColumn &c : columns) {
            definitions << store::quotedName(c.name) + QLatin1Char(' ') + c.sqliteType;
            marks << QStringLiteral("?");
        }
        out.execute(QStringLiteral("CREATE TABLE %1 (%2)").arg(store::quotedName(table), definitions.join(',')));
        const QString insert =
            QStringLiteral("insert into %1 values (%2)").arg(store::quotedName(table), marks.join(QLatin1Char(',')));
        jet.readRows(table, [&](const QVariantList &row) { out.execute(insert, store::Params::byPosition(row)); });
    }
    t.commit();
    // Read later by a read-only connection, which cannot open a write-ahead log.
    out.execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

} // namespace upgrade
