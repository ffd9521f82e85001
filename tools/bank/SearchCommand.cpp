#include "SearchCommand.h"

#include "Connection.h"
#include "DataModule.h"
#include "Schema.h"
#include "SearchIndex.h"
#include "Searcher.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <limits>

namespace bank {

namespace {

QString kindName(search::Kind kind) { return kind == search::Kind::Point ? QStringLiteral("point") : QStringLiteral("question"); }

} // namespace

void indexNewBank(const QString &bankFile)
{
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(bankFile));
    c.open();
    search::build(c);
}

int searchCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList rest = args;
    const bool json = rest.removeAll(QStringLiteral("--json")) > 0;
    if (rest.size() != 2) {
        err << "usage: quillet-bank search <bank file> <query> [--json]" << Qt::endl;
        return 2;
    }
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(rest[0]));
    c.open(false, [](store::Connection &bank) { return store::schema::isBank(bank); });
    if (!c.isReadOnly()) {
        store::schema::migrate(c);
        if (search::ensureBuilt(c))
            err << "built the search index of " << rest[0] << Qt::endl;
    } else if (!search::isBuilt(c)) {
        err << rest[0] << " cannot be written and has no search index" << Qt::endl;
        return 1;
    }
    search::Searcher searcher(c);
    QElapsedTimer timer;
    timer.start();
    const search::Results results = searcher.find(rest[1], {}, std::numeric_limits<int>::max());
    const qint64 micros = timer.nsecsElapsed() / 1000;
    if (!json) {
        for (const search::Hit &hit : results.hits)
            out << kindName(hit.kind) << ' ' << hit.ref << '\n';
        out.flush();
        return 0;
    }
    QJsonArray hits;
    for (const search::Hit &hit : results.hits)
        hits.append(QJsonObject{{QStringLiteral("kind"), kindName(hit.kind)}, {QStringLiteral("id"), hit.ref}});
    const QJsonObject doc{{QStringLiteral("query"), rest[1]},
                          {QStringLiteral("total"), results.total},
                          {QStringLiteral("milliseconds"), double(micros) / 1000.0},
                          {QStringLiteral("results"), hits}};
    out << QJsonDocument(doc).toJson(QJsonDocument::Indented);
    out.flush();
    return 0;
}

} // namespace bank
