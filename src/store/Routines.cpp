#include "Routines.h"

#include "Clock.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

std::function<void(int)> volumeSink;

void openIfClosed(store::Dataset &ds)
{
    if (!ds.isOpen())
        ds.open();
}

QString quotedList(const QStringList &ids)
{
    QStringList quoted;
    for (const QString &id : ids)
        quoted << store::quoted(id);
    return QLatin1Char('(') + quoted.join(QLatin1Char(',')) + QLatin1Char(')');
}

qint64 wholeNumber(const QString &part)
{
    bool ok = false;
    const qint64 n = part.trimmed().toLongLong(&ok);
    if (!ok)
        throw store::Error(QStringLiteral("'%1' is not a valid integer value").arg(part));
    return n;
}

} // namespace

void LogAnswer(int firstToday, int wrong, int previouslyWrong)
{
    store::Table &rz = DataModule->Cn1Table_rz;
    openIfClosed(rz);
    if (rz.locate(QStringLiteral("A1"), store::today())) {
        rz.edit();
        rz.setValue(QStringLiteral("A2"), rz.fieldByName(QStringLiteral("A2")).asInteger() + 1);
        if (wrong == 2)
            rz.setValue(QStringLiteral("A3"), rz.fieldByName(QStringLiteral("A3")).asInteger() + 1);
        const int b2 = rz.fieldByName(QStringLiteral("B2")).asInteger();
        if (firstToday == 2) {
            rz.setValue(QStringLiteral("B1"), rz.fieldByName(QStringLiteral("B1")).asInteger() + 1);
            if (wrong == 2)
                rz.setValue(QStringLiteral("B2"), b2 + 1);
        } else if (previouslyWrong == 1 && wrong == 2) {
            rz.setValue(QStringLiteral("B2"), b2 + 1);
        } else if (previouslyWrong == 2 && wrong == 1) {
            rz.setValue(QStringLiteral("B2"), b2 - 1);
        }
        rz.post();
        return;
    }
    rz.append();
    rz.setValue(QStringLiteral("A1"), store::today());
    rz.setValue(QStringLiteral("A2"), 1);
    rz.setValue(QStringLiteral("B1"), 1);
    if (wrong == 2) {
        rz.setValue(QStringLiteral("A3"), 1);
        rz.setValue(QStringLiteral("B2"), 1);
    }
    rz.post();
    rz.close();
}

void CountChapterAnswer(const QString &chapterCode, int firstEver, int wrong)
{
    store::Table &kmmc = DataModule->Cn1Table_kmmc;
    openIfClosed(kmmc);
    for (int length = chapterCode.size(); length >= 1; --length) {
        if (!kmmc.locate(QStringLiteral("C1"), chapterCode.left(length), false))
            continue;
        kmmc.edit();
        if (firstEver == 2)
            kmmc.setValue(QStringLiteral("C4"), kmmc.fieldByName(QStringLiteral("C4")).asInteger() + 1);
        kmmc.setValue(QStringLiteral("D1"), kmmc.fieldByName(QStringLiteral("D1")).asInteger() + 1);
        if (wrong == 2)
            kmmc.setValue(QStringLiteral("D2"), kmmc.fieldByName(QStringLiteral("D2")).asInteger() + 1);
        kmmc.post();
    }
}

void CountPointAnswer(const QString &pointList, const QString &itemList, const QString &groupList, int firstEver,
                      int wrong)
{
    store::Query &q = DataModule->ADOQuery3;
    auto run = [&q](const QString &sql) {
        q.close();
        q.setSql(sql);
        q.execSql();
    };
    auto countAll = [&](const QString &counter) {
        run(QStringLiteral("update tab_rule set %1=%1+1 where ftid in ").arg(counter) + pointList);
        run(QStringLiteral("update tab_fgmc set %1=%1+1 where id in ").arg(counter) + itemList);
        run(QStringLiteral("update tab_fgmc set %1=%1+1 where id in ").arg(counter) + groupList);
    };
    countAll(QStringLiteral("q2"));
    if (firstEver == 2)
        countAll(QStringLiteral("q1"));
    if (wrong == 2)
        countAll(QStringLiteral("q4"));
}

qint64 ParseHms(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    const int colons = qMin(int(parts.size()) - 1, 3);
    qint64 total = 0;
    if (colons >= 1)
        total += wholeNumber(parts.at(0)) * 3600;
    if (colons >= 2)
        total += wholeNumber(parts.at(1)) * 60;
    if (colons == 2)
        total += wholeNumber(parts.at(2).left(2));
    return total;
}

QString FormatHms(qint64 totalSeconds)
{
    const qint64 hours = totalSeconds / 3600;
    const qint64 minutes = (totalSeconds - hours * 3600) / 60;
    const qint64 seconds = totalSeconds % 60;
    auto two = [](qint64 v) { return (v < 10 ? QStringLiteral("0") : QString()) + QString::number(v); };
    return two(hours) + QLatin1Char(':') + two(minutes) + QLatin1Char(':') + two(seconds);
}

QString PercentText(qint64 total, qint64 wrong)
{
    if (total <= 0)
        return QStringLiteral("0");
    return QString::asprintf("%2.2f", double(total - wrong) / double(total) * 100.0);
}

void AddStudyTime(const QString &elapsed)
{
    store::Transaction t(DataModule->ADOCn1);
    store::Table &rz = DataModule->Cn1Table_rz;
    openIfClosed(rz);
    if (rz.locate(QStringLiteral("A1"), store::today())) {
        const QString a4 = PercentText(rz.fieldByName(QStringLiteral("A2")).asInteger(),
                                       rz.fieldByName(QStringLiteral("A3")).asInteger());
        const qint64 total = ParseHms(rz.fieldByName(QStringLiteral("D1")).asString()) + ParseHms(elapsed);
        rz.edit();
        rz.setValue(QStringLiteral("A4"), a4);
        rz.setValue(QStringLiteral("D1"), FormatHms(total));
        rz.post();
    }

    // Every chapter row, not only those after the current one: earlier rows would keep stale scores.
    store::Table &kmmc = DataModule->Cn1Table_kmmc;
    openIfClosed(kmmc);
    for (kmmc.first(); !kmmc.eof(); kmmc.next()) {
        const QString c6 = PercentText(kmmc.fieldByName(QStringLiteral("D1")).asInteger(),
                                       kmmc.fieldByName(QStringLiteral("D2")).asInteger());
        if (kmmc.fieldByName(QStringLiteral("C6")).asString() == c6)
            continue;
        kmmc.edit();
        kmmc.setValue(QStringLiteral("C6"), c6);
        kmmc.post();
    }
    t.commit();
}

int PaperTotalMarks()
{
    store::Table &tx = DataModule->Cn1Table_tx;
    openIfClosed(tx);
    int total = 0;
    for (int r = 1; r <= tx.recordCount(); ++r) {
        tx.setRecNo(r);
        total += tx.fieldByName(QStringLiteral("B2")).asInteger() * tx.fieldByName(QStringLiteral("B3")).asInteger();
    }
    return total;
}

bool FlashInstalled() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && QGuiApplication::primaryScreen(); }

int AnswerPageOfType(int typeCode)
{
    switch (typeCode) {
    case 11:
        return 0;
    case 14:
        return 1;
    case 65:
        return 4;
    default:
        return 99;
    }
}

void SetVolumeSink(std::function<void(int)> sink) { volumeSink = std::move(sink); }

void SetVolumeLevel(int level)
{
    VolumeLevel = qBound(1, level, 16);
    if (volumeSink)
        volumeSink(VolumeLevel);
}

void DropPaper(const QString &tableName)
{
    try {
        store::Connection &c = DataModule->ADOCn1;
        if (!c.tableNames().contains(tableName))
            return;
        c.execute(QStringLiteral("DROP TABLE ") + store::quotedName(tableName));
        store::Table &cj = DataModule->Cn1Table_cj;
        openIfClosed(cj);
        if (cj.locate(QStringLiteral("A1"), tableName))
            cj.remove();
    } catch (const std::exception &) {
        // A paper that cannot be dropped is left as it is; the caller carries on.
    }
}

void AllowZeroLength(const QString &tableName, const QString &connectionString)
{
    // SQLite keeps empty strings as they are; what remains is to fail like the
    // catalog did when the table or one of its text columns is missing.
    store::Connection own;
    store::Connection *c = &DataModule->ADOCn1;
    if (store::Connection::dataSourceOf(connectionString) != store::Connection::dataSourceOf(c->connectionString())) {
        own.setConnectionString(connectionString);
        own.open();
        c = &own;
    }
    if (!c->tableExists(tableName))
        throw store::Error(QStringLiteral("找不到表 %1").arg(tableName));
    const QStringList columns = c->columnNames(tableName);
    for (const char *name : {"A2", "A14", "E2", "E2_1", "csbs"})
        if (!columns.contains(QLatin1String(name), Qt::CaseInsensitive))
            throw store::Error(QStringLiteral("表 %1 中没有字段 %2").arg(tableName, QLatin1String(name)));
}

PointLists PointListsOf(const QStringList &pointIds)
{
    if (pointIds.isEmpty())
        return {};
    QStringList items;
    QStringList groups;
    for (const QString &id : pointIds) {
        items << id.left(6);
        groups << id.left(2);
    }
    return {quotedList(pointIds), quotedList(items), quotedList(groups)};
}

QStringList LinkedPoints(const store::Dataset &row)
{
    QStringList ids;
    for (int k = 3; k <= 12; ++k) {
        const QString id = row.fieldByName(QStringLiteral("K%1").arg(k)).asString().trimmed();
        if (id.isEmpty())
            break;
        ids << id;
    }
    return ids;
}
