#include "UpgradeMerge.h"

#include "Backups.h"
#include "Connection.h"
#include "DataModule.h"
#include "Error.h"
#include "JetImport.h"
#include "JetReader.h"
#include "LinkCounts.h"
#include "SearchIndex.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QTemporaryDir>

namespace upgrade {

namespace {

const QByteArray kSqliteMagic("SQLite format 3\0", 16);

bool looksLikeSqliteFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == kSqliteMagic;
}

// Content rows the bank may already hold (a chapter, a law, an exam point) keep
// the bank's row with its counters; every other row must be new.
QString existingKeyOf(const QString &table)
{
    if (table == QLatin1String("tab_kmmc"))
        return QStringLiteral("C1");
    if (table == QLatin1String("tab_fgmc"))
        return QStringLiteral("id");
    if (table == QLatin1String("tab_rule"))
        return QStringLiteral("ftid");
    return QString();
}

class Merger {
public:
    Merger(store::Connection &bank, store::Connection &file) : m_bank(bank), m_file(file) {}

    // Refuses a file whose merged tables lack a column of the bank or carry triggers or views.
    QString refusal()
    {
        if (m_file.scalar(QStringLiteral("select count(*) from sqlite_master where type in ('trigger','view')"))
                .toInt() > 0)
            return QStringLiteral("the upgrade file holds triggers or views");
        for (const QString &table : mergedTables()) {
            if (!m_file.tableExists(table)) {
                if (table == QLatin1String("tab_title"))
                    continue;
                return QStringLiteral("the upgrade file has no table %1").arg(table);
            }
            const QStringList have = m_file.columnNames(table);
            for (const QString &column : m_bank.columnNames(table))
                if (!have.contains(column, Qt::CaseInsensitive))
                    return QStringLiteral("%1 of the upgrade file has no column %2").arg(table, column);
        }
        return QString();
    }

    void merge(const UpgradeIdentity &identity)
    {
        const qint64 lastChapter = lastRowId(QStringLiteral("tab_kmmc"));
        for (const QString &table : mergedTables())
            if (table != QLatin1String("tab_title") || m_file.tableExists(table))
                insertRows(table);
        const QVariant stemless = m_bank.scalar(QStringLiteral(
            "select a.A1 from upgrade.tab_answ a where instr(a.A1, '-') > 0 and "
            "substr(a.A1, 1, 16) not in (select A1 from main.tab_title)"));
        if (!stemless.isNull())
            throw store::Error(QStringLiteral("grouped question %1 has no shared stem").arg(stemless.toString()));
        recount(lastChapter);
        search::reindexQuestions(m_bank, column(QStringLiteral("select A1 from upgrade.tab_answ")));
        search::reindexPoints(m_bank, column(QStringLiteral("select ftid from upgrade.tab_rule")));
        m_bank.execute(QStringLiteral("insert into main.tab_sj (sjbs, cpbs) values (:sjbs, :cpbs)"),
                       {{QStringLiteral("sjbs"), identity.sjbs}, {QStringLiteral("cpbs"), identity.cpbs}});
    }

private:
    QStringList column(const QString &sql)
    {
        QStringList values;
        store::Statement st(m_bank.handle(), sql, {});
        while (st.step())
            values << st.value(0).toString();
        return values;
    }

    qint64 lastRowId(const QString &table)
    {
        return m_bank.scalar(QStringLiteral("select ifnull(max(rowid), 0) from main.%1").arg(table)).toLongLong();
    }

    void insertRows(const QString &table)
    {
        QStringList columns;
        for (const QString &c : m_bank.columnNames(table))
            columns << store::quotedName(c);
        const QString list = columns.join(QLatin1Char(','));
        QString sql = QStringLiteral("insert into main.%1 (%2) select %2 from upgrade.%1").arg(table, list);
        const QString key = existingKeyOf(table);
        if (!key.isEmpty())
            sql += QStringLiteral(" where %1 not in (select %1 from main.%2 where %1 is not null)").arg(key, table);
        m_bank.execute(sql);
    }

    // Question counts of the chapters above the new questions, and the link
    // counts of every point, item and group (recounted whole, so that counts a
    // bank carried from before are mended too).
    void recount(qint64 lastChapter)
    {
        m_bank.execute(QStringLiteral(
                           "update main.tab_kmmc set C3 = (select count(*) from main.tab_answ a "
                           "where substr(a.A10, 1, length(tab_kmmc.C1)) = tab_kmmc.C1) "
                           "where C1 <> 'xx' and (rowid > ? or exists (select 1 from upgrade.tab_answ u "
                           "where substr(u.A10, 1, length(tab_kmmc.C1)) = tab_kmmc.C1))"),
                       store::Params::byPosition({lastChapter}));
        store::recountLinks(m_bank);
    }

    store::Connection &m_bank;
    store::Connection &m_file;
};

// Attached read-only, the upgrade file is neither written nor switched to the bank's write-ahead log.
QString readOnlyUri(const QString &path)
{
    return QStringLiteral("file:") + QString::fromLatin1(QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/")) +
           QStringLiteral("?mode=ro");
}

// tab_sj of the bank has a row with this identifier.
bool bankHolds(store::Connection &bank, const QString &field, const QString &value)
{
    return bank.scalar(QStringLiteral("select count(*) from tab_sj where %1=:%1").arg(field), {{field, value}}).toInt() > 0;
}

void setReason(QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
}

} // namespace

QStringList mergedTables()
{
    return {QStringLiteral("tab_kmmc"), QStringLiteral("tab_exer"), QStringLiteral("tab_answ"),
            QStringLiteral("tab_rule"), QStringLiteral("tab_fgmc"), QStringLiteral("tab_title")};
}

void openUpgradeFile(store::Connection &file, const QString &path, const QString &convertedCopy)
{
    file.close();
    QString source = path;
    if (looksLikeJetFile(path)) {
        copyJetToSqlite(path, convertedCopy);
        source = convertedCopy;
    } else if (!looksLikeSqliteFile(path)) {
        throw store::Error(QStringLiteral("不是数据库文件：%1").arg(path));
    }
    file.setConnectionString(TDM1::connectionStringFor(source));
    file.openReadOnly();
    const QString check = file.scalar(QStringLiteral("PRAGMA quick_check")).toString();
    if (check != QLatin1String("ok")) {
        file.close();
        throw store::Error(QStringLiteral("升级文件已损坏：%1").arg(check));
    }
}

UpgradeIdentity identityOf(store::Connection &file)
{
    try {
        store::Statement st(file.handle(), QStringLiteral("select sjbs, cpbs from tab_sj limit 1"), {});
        if (!st.step())
            return {};
        return {st.value(0).toString().trimmed(), st.value(1).toString().trimmed()};
    } catch (const store::Error &) {
        return {}; // no tab_sj, or one without the identifier columns
    }
}

UpgradeResult mergeUpgrade(store::Connection &bank, store::Connection &file, const UpgradeIdentity &identity,
                           QString *reason)
{
    Merger merger(bank, file);
    try {
        const QString refused = merger.refusal();
        if (!refused.isEmpty()) {
            setReason(reason, refused);
            return UpgradeResult::Failed;
        }
        bank.execute(QStringLiteral("ATTACH DATABASE ? AS upgrade"),
                     store::Params::byPosition({readOnlyUri(store::Connection::dataSourceOf(file.connectionString()))}));
    } catch (const store::Error &e) {
        setReason(reason, e.message());
        return UpgradeResult::Failed;
    }
    UpgradeResult result = UpgradeResult::Failed;
    try {
        store::Transaction t(bank);
        merger.merge(identity);
        t.commit();
        result = UpgradeResult::Applied;
    } catch (const store::Error &e) {
        setReason(reason, e.message());
    }
    try {
        bank.execute(QStringLiteral("DETACH DATABASE upgrade"));
    } catch (const store::Error &) {
        // The merge is decided; a file still attached goes with the connection.
    }
    return result;
}

UpgradeResult applyUpgrade(store::Connection &bank, store::Connection &file, const QString &path,
                           const QString &backupFolder, QString *reason)
{
    const QTemporaryDir scratch;
    const QString convertedCopy = scratch.filePath(QStringLiteral("upgrade.sqlite"));
    try {
        openUpgradeFile(file, path, convertedCopy);
    } catch (const store::Error &e) {
        setReason(reason, e.message());
        return UpgradeResult::CannotOpen;
    }
    try {
        const UpgradeIdentity identity = identityOf(file);
        if (identity.sjbs.isEmpty() || identity.cpbs.isEmpty() || !bankHolds(bank, QStringLiteral("cpbs"), identity.cpbs))
            return UpgradeResult::ForeignProduct;
        if (bankHolds(bank, QStringLiteral("sjbs"), identity.sjbs))
            return UpgradeResult::AlreadyApplied;
        backup::makeBackup(bank, backupFolder, backup::Kind::BeforeUpgrade);
        return mergeUpgrade(bank, file, identity, reason);
    } catch (const store::Error &e) {
        setReason(reason, e.message());
        return UpgradeResult::Failed;
    }
}

} // namespace upgrade
