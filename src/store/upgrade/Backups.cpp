#include "Backups.h"

#include "Connection.h"
#include "DataModule.h"
#include "Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <iterator>
#include <sqlite3.h>

namespace backup {

namespace {

const char *const kKindNames[] = {"daily", "upgrade", "manual", "restore", "import"};
const int kKinds = int(std::size(kKindNames));
const int kDailyCopies = 7;
const int kWeeklyCopies = 4;

QString kindName(Kind kind) { return QString::fromLatin1(kKindNames[int(kind)]); }

const QRegularExpression &namePattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^Vellumar-(\d{8}-\d{6})(?:-\d+)?-(daily|upgrade|manual|restore|import)\.mdb$)"));
    return re;
}

struct Named {
    QString path;
    QDateTime made;
    Kind kind = Kind::Manual;
};

QVector<Named> namedCopies(const QString &folder)
{
    QVector<Named> copies;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("Vellumar-*.mdb")}, QDir::Files)) {
        const QRegularExpressionMatch m = namePattern().match(name);
        if (!m.hasMatch())
            continue;
        Named n;
        n.path = dir.filePath(name);
        n.made = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
        for (int k = 0; k < kKinds; ++k)
            if (m.captured(2) == QLatin1String(kKindNames[k]))
                n.kind = Kind(k);
        copies << n;
    }
    // Names tell the second; copies of the same second go by when the file was written.
    std::sort(copies.begin(), copies.end(), [](const Named &a, const Named &b) {
        if (a.made != b.made)
            return a.made > b.made;
        return QFileInfo(a.path).lastModified() > QFileInfo(b.path).lastModified();
    });
    return copies;
}

// A raw handle for copies: the store's connection would switch them to a write-ahead log.
class RawDb {
public:
    RawDb(const QString &file, int flags)
    {
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, flags, nullptr) != SQLITE_OK)
            fail(file);
    }
    ~RawDb() { sqlite3_close_v2(m_db); }
    RawDb(const RawDb &) = delete;
    RawDb &operator=(const RawDb &) = delete;
    sqlite3 *handle() const { return m_db; }
    void exec(const char *sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(QString::fromUtf8(sql));
    }
    [[noreturn]] void fail(const QString &context) const
    {
        throw store::Error(QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory") + QStringLiteral(" — ") +
                           context);
    }

private:
    sqlite3 *m_db = nullptr;
};

void vacuumInto(sqlite3 *db, const QString &target)
{
    sqlite3_stmt *st = nullptr;
    const QByteArray path = target.toUtf8();
    int rc = sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(st, 1, path.constData(), int(path.size()), SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE && rc != SQLITE_OK)
        throw store::Error(QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(" — ") + target);
}

// Copies keep a plain rollback journal so they can be read without side files.
void writeCopy(sqlite3 *source, const QString &target)
{
    QFile::remove(target);
    try {
        vacuumInto(source, target);
        RawDb copy(target, SQLITE_OPEN_READWRITE);
        copy.exec("PRAGMA journal_mode=DELETE");
    } catch (...) {
        QFile::remove(target);
        throw;
    }
}

} // namespace

QString folderFor(const QString &programFolder) { return QDir(programFolder).filePath(QStringLiteral("data/backup")); }

QString kindText(Kind kind)
{
    switch (kind) {
    case Kind::Daily:
        return QStringLiteral("每日");
    case Kind::BeforeUpgrade:
        return QStringLiteral("升级前");
    case Kind::Manual:
        return QStringLiteral("手动");
    case Kind::BeforeRestore:
        return QStringLiteral("恢复前");
    case Kind::BeforeImport:
        return QStringLiteral("导入前");
    }
    return QString();
}

QString makeBackup(store::Connection &bank, const QString &folder, Kind kind, const QDateTime &now)
{
    if (bank.inTransaction())
        throw store::Error(QStringLiteral("题库正在写入，不能备份"));
    if (!QDir().mkpath(folder))
        throw store::Error(QStringLiteral("无法创建备份文件夹 %1").arg(folder));
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = QDir(folder).filePath(QStringLiteral("Vellumar-%1-%2.mdb").arg(stamp, kindName(kind)));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("Vellumar-%1-%2-%3.mdb").arg(stamp).arg(n).arg(kindName(kind)));
    const QString part = path + QStringLiteral(".part");
    writeCopy(bank.handle(), part);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        throw store::Error(QStringLiteral("无法写入备份 %1").arg(path));
    }
    rotate(folder);
    return path;
}

void rotate(const QString &folder)
{
    const QVector<Named> copies = namedCopies(folder);
    QSet<QDate> days;
    QMap<QPair<int, int>, QString> newestOfWeek; // (year, week) -> path
    QSet<QString> keep;
    for (const Named &c : copies) {
        const QDate day = c.made.date();
        if (days.contains(day) || days.size() < kDailyCopies) {
            days.insert(day);
            keep.insert(c.path);
            continue;
        }
        int year = 0;
        const int week = day.weekNumber(&year);
        const QPair<int, int> key(year, week);
        if (!newestOfWeek.contains(key) && newestOfWeek.size() < kWeeklyCopies) {
            newestOfWeek.insert(key, c.path);
            keep.insert(c.path);
        }
    }
    for (const Named &c : copies)
        if (!keep.contains(c.path))
            QFile::remove(c.path);
}

QVector<BackupInfo> listBackups(const QString &folder)
{
    QVector<BackupInfo> list;
    for (const Named &c : namedCopies(folder)) {
        BackupInfo info;
        info.path = c.path;
        info.made = c.made;
        info.kind = c.kind;
        info.bytes = QFileInfo(c.path).size();
        try {
            store::Connection copy;
            copy.setConnectionString(TDM1::connectionStringFor(c.path));
            copy.openReadOnly();
            info.sound = copy.scalar(QStringLiteral("PRAGMA quick_check")).toString() == QLatin1String("ok");
            info.answered = copy.scalar(QStringLiteral("select count(*) from tab_answ where ifnull(E2, '') <> ''")).toInt();
            info.daysLogged = copy.scalar(QStringLiteral("select count(*) from tab_rz")).toInt();
        } catch (const store::Error &) {
            info.sound = false;
        }
        list << info;
    }
    return list;
}

bool hasBackupOn(const QString &folder, const QDate &day)
{
    for (const Named &c : namedCopies(folder))
        if (c.made.date() == day)
            return true;
    return false;
}

QString summaryOf(const BackupInfo &info)
{
    if (!info.sound)
        return QStringLiteral("文件已损坏，不能用于恢复");
    return QStringLiteral("已做 %1 题，学习日志 %2 天").arg(info.answered).arg(info.daysLogged);
}

bool isSound(const QString &bankFile)
{
    try {
        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(bankFile));
        c.openReadOnly();
        return c.scalar(QStringLiteral("PRAGMA quick_check")).toString() == QLatin1String("ok");
    } catch (const store::Error &) {
        return false;
    }
}

void restoreInto(store::Connection &bank, const QString &backupFile)
{
    if (!isSound(backupFile))
        throw store::Error(QStringLiteral("备份文件已损坏：%1").arg(backupFile));
    if (bank.inTransaction())
        throw store::Error(QStringLiteral("题库正在写入，不能恢复"));
    RawDb source(backupFile, SQLITE_OPEN_READONLY);
    sqlite3_backup *b = sqlite3_backup_init(bank.handle(), "main", source.handle(), "main");
    if (!b)
        throw store::Error(QString::fromUtf8(sqlite3_errmsg(bank.handle())));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw store::Error(QStringLiteral("恢复失败：%1").arg(QString::fromUtf8(sqlite3_errstr(rc))));
}

void restoreWithSafetyCopy(store::Connection &bank, const QString &backupFile, const QString &folder,
                           const QDateTime &now)
{
    if (!isSound(backupFile))
        throw store::Error(QStringLiteral("备份文件已损坏：%1").arg(backupFile));
    const QTemporaryDir scratch;
    const QString staged = scratch.filePath(QStringLiteral("restore.mdb"));
    // A copy nobody has open may be copied as a file.
    if (!QFile::copy(backupFile, staged))
        throw store::Error(QStringLiteral("无法读取备份 %1").arg(backupFile));
    makeBackup(bank, folder, Kind::BeforeRestore, now);
    restoreInto(bank, staged);
}

void restoreFile(const QString &bankFile, const QString &backupFile, const QDateTime &now)
{
    if (!isSound(backupFile))
        throw store::Error(QStringLiteral("备份文件已损坏：%1").arg(backupFile));
    const QString aside = bankFile + QStringLiteral(".damaged-") + now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFileInfo::exists(bankFile + suffix) && !QFile::rename(bankFile + suffix, aside + suffix))
            throw store::Error(QStringLiteral("无法移开损坏的题库 %1").arg(bankFile + suffix));
    RawDb source(backupFile, SQLITE_OPEN_READONLY);
    writeCopy(source.handle(), bankFile);
}

} // namespace backup
