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
#include <QVector>
#include <QFileInfo>
#include <QUrl>
#include <QTemporaryDir>

#include <algorithm>

namespace upgrade {

namespace {

const QByteArray kSqliteMagic("SQLite format 3\0", 16);

bool looksLikeSqliteFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == kSqliteMagic;
}

// Content rows the bank may already hold (a chapter, a law, an exam point, the
// shared stem of a group) keep the bank's row with its counters; questions
// must be new.
QString existingKeyOf(const QString &table)
{
    if (table == QLatin1String("tab_kmmc"))
        return QStringLiteral("C1");
    if (table == QLatin1String("tab_fgmc"))
        return QStringLiteral("id");
    if (table == QLatin1String("tab_rule"))
        return QStringLiteral("ftid");
    if (table == QLatin1String("tab_title"))
        return QStringLiteral("A1");
    return QString();
}

// Codes form a tree by prefix, so in code order a parent comes before its
// children and a subtree before the next sibling: the order the listings want.
struct SortedRow {
    qint64 rowid = 0;
    QString code;
};

// Where a new row belongs: after the row whose code comes just before its own.
void placeByCode(QVector<SortedRow> &ordered, const SortedRow &row)
{
    int after = -1;
    for (int i = 0; i < ordered.size(); ++i) {
        const QString &code = ordered.at(i).code;
        if (code < row.code && (after < 0 || code > ordered.at(after).code))
            after = i;
    }
    ordered.insert(after + 1, row);
}

class Merger {
public:
    Merger(store::Connection &bank, store::Connection &file) : m_bank(bank), m_file(file) {}

    // Refuses a file whose merged tables lack a column of the bank or carry triggers or views.
    QString refusal()
    {
        if (m_file.scalar(QStringLiteral("select count(*) from sqlite_master where type in ('trigger','view')"))
                .toInt() > 0)
            return QStringLiteral("升级文件含有触发器或视图");
        for (const QString &table : mergedTables()) {
            if (!m_file.tableExists(table)) {
                if (table == QLatin1String("tab_title"))
                    continue;
                return QStringLiteral("升级文件缺少表 %1").arg(table);
            }
            const QStringList have = m_file.columnNames(table);
            for (const QString &column : m_bank.columnNames(table))
                if (!have.contains(column, Qt::CaseInsensitive))
                    return QStringLiteral("升级文件的表 %1 缺少列 %2").arg(table, column);
        }
        return QString();
    }

    void merge(const UpgradeIdentity &identity)
    {
        const qint64 lastChapter = lastRowId(QStringLiteral("tab_kmmc"));
        const qint64 lastEntry = lastRowId(QStringLiteral("tab_fgmc"));
        for (const QString &table : {QStringLiteral("tab_answ"), QStringLiteral("tab_exer")}) {
            const QVariant taken = m_bank.scalar(
                QStringLiteral("select A1 from upgrade.%1 where A1 in (select A1 from main.%1) limit 1").arg(table));
            if (!taken.isNull())
                throw store::Error(QStringLiteral("题号 %1 已在题库中").arg(taken.toString()));
        }
        for (const QString &table : mergedTables())
            if (table != QLatin1String("tab_title") || m_file.tableExists(table))
                insertRows(table);
        const QVariant stemless = m_bank.scalar(QStringLiteral(
            "select a.A1 from upgrade.tab_answ a where instr(a.A1, '-') > 0 and "
            "substr(a.A1, 1, 16) not in (select A1 from main.tab_title)"));
        if (!stemless.isNull())
            throw store::Error(QStringLiteral("分组题 %1 缺少共用题干").arg(stemless.toString()));
        placeNewRows(QStringLiteral("tab_kmmc"), QStringLiteral("C1"), lastChapter);
        placeNewRows(QStringLiteral("tab_fgmc"), QStringLiteral("id"), lastEntry);
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

    // New rows come with the sort keys of the file they were made for; they
    // get keys that list them where their codes belong among the bank's rows.
    void placeNewRows(const QString &table, const QString &codeColumn, qint64 lastOld)
    {
        QVector<SortedRow> ordered;
        QVector<SortedRow> added;
        {
            store::Statement st(m_bank.handle(),
                                QStringLiteral("select rowid, ifnull(%1, '') from main.%2 order by bh, rowid")
                                    .arg(codeColumn, table),
                                {});
            while (st.step()) {
                const SortedRow row{st.value(0).toLongLong(), st.value(1).toString()};
                (row.rowid > lastOld ? added : ordered).append(row);
            }
        }
        if (added.isEmpty())
            return;
        std::sort(added.begin(), added.end(), [](const SortedRow &a, const SortedRow &b) { return a.code < b.code; });
        for (const SortedRow &row : std::as_const(added))
            placeByCode(ordered, row);
        for (int i = 0; i < ordered.size(); ++i)
            m_bank.execute(QStringLiteral("update main.%1 set bh = ? where rowid = ? and bh is not ?").arg(table),
                           store::Params::byPosition({i + 1, ordered.at(i).rowid, i + 1}));
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

// SQLite's own words without the statement they came from.
void setReason(QString *reason, const store::Error &e)
{
    setReason(reason, e.condition() == store::Condition::Other ? e.message().section(QStringLiteral(" — "), 0, 0)
                                                               : e.learnerMessage());
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
        setReason(reason, e);
        return UpgradeResult::Failed;
    }
    UpgradeResult result = UpgradeResult::Failed;
    try {
        store::Transaction t(bank);
        merger.merge(identity);
        t.commit();
        result = UpgradeResult::Applied;
    } catch (const store::Error &e) {
        setReason(reason, e);
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
        setReason(reason, e);
        return UpgradeResult::CannotOpen;
    }
    try {
        const UpgradeIdentity identity = identityOf(file);
        if (identity.sjbs.isEmpty() || identity.cpbs.isEmpty() || !bankHolds(bank, QStringLiteral("cpbs"), identity.cpbs))
            return UpgradeResult::ForeignProduct;
        if (bankHolds(bank, QStringLiteral("sjbs"), identity.sjbs))
            return UpgradeResult::AlreadyApplied;
        if (bank.isReadOnly()) {
            setReason(reason, QStringLiteral("题库文件只读，无法写入：%1")
                                  .arg(store::Connection::dataSourceOf(bank.connectionString())));
            return UpgradeResult::Failed;
        }
        backup::makeBackup(bank, backupFolder, backup::Kind::BeforeUpgrade);
        return mergeUpgrade(bank, file, identity, reason);
    } catch (const store::Error &e) {
        setReason(reason, e);
        return UpgradeResult::Failed;
    }
}

QString whyItWouldNotApply(const QString &bankFile, const QString &upgradePath)
{
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("bank.sqlite"));
    store::Connection bank;
    store::Connection file;
    QString reason;
    try {
        {
            store::Connection original;
            original.setConnectionString(TDM1::connectionStringFor(bankFile));
            original.openReadOnly();
            original.execute(QStringLiteral("VACUUM INTO ?"), store::Params::byPosition({copy}));
        }
        bank.setConnectionString(TDM1::connectionStringFor(copy));
        bank.open();
    } catch (const store::Error &e) {
        return QStringLiteral("题库 %1 无法读取：%2").arg(bankFile, e.message());
    }
    switch (applyUpgrade(bank, file, upgradePath, scratch.filePath(QStringLiteral("backup")), &reason)) {
    case UpgradeResult::Applied:
        return QString();
    case UpgradeResult::CannotOpen:
        return QStringLiteral("无法打开升级文件：") + reason;
    case UpgradeResult::ForeignProduct:
        return QStringLiteral("升级文件不属于本软件（产品标识不在题库中）");
    case UpgradeResult::AlreadyApplied:
        return QStringLiteral("您已升级过了（升级标识已在题库中）");
    case UpgradeResult::Failed:
        break;
    }
    return reason.isEmpty() ? QStringLiteral("升级失败") : reason;
}

} // namespace upgrade
