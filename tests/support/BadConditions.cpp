#include "BadConditions.h"

#include "Connection.h"
#include "Error.h"

#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QtTest>

void fillTheDisk(store::Connection &c)
{
    c.execute(QStringLiteral("PRAGMA max_page_count = %1").arg(c.scalar("PRAGMA page_count").toLongLong()));
    // Old study-log days fill the log's pages, so that today's row cannot slip into a gap.
    for (int day = 0; day < 100000; ++day) {
        try {
            c.execute(QStringLiteral("insert into tab_rz (A1, A2) values (?, 0)"),
                      store::Params::byPosition({QDate(1990, 1, 1).addDays(day)}));
        } catch (const store::Error &e) {
            QCOMPARE(e.condition(), store::Condition::DiskFull);
            return;
        }
    }
    QFAIL("the bank never filled up");
}

QByteArray fileHash(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
