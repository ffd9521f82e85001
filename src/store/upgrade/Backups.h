#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

namespace store {
class Connection;
}

// Consistent copies of the question bank in data/backup/, made with SQLite's
// VACUUM INTO while the bank is in use, and restored through the online backup API.
namespace backup {

enum class Kind { Daily, BeforeUpgrade, Manual, BeforeRestore, BeforeImport };

struct BackupInfo {
    QString path;
    QDateTime made;      // from the file name, local time
    Kind kind = Kind::Manual;
    qint64 bytes = 0;
    bool sound = false;  // opens and passes PRAGMA quick_check
    int answered = 0;    // questions answered at least once
    int daysLogged = 0;  // rows of the study log
};

QString folderFor(const QString &programFolder); // <program folder>/data/backup
QString kindText(Kind kind);                      // 每日 / 升级前 / 手动 / 恢复前 / 导入前

// The copy is written under a temporary name and appears only when complete;
// older copies are then thinned out (see rotate). Returns the new file's path.
QString makeBackup(store::Connection &bank, const QString &folder, Kind kind,
                   const QDateTime &now = QDateTime::currentDateTime());

// Keeps every copy of the 7 most recent days that have copies, and the newest
// copy of each of the 4 most recent earlier weeks; removes the rest.
void rotate(const QString &folder);

// Newest first. Reads every copy for its summary.
QVector<BackupInfo> listBackups(const QString &folder);

// True when some copy was made on that calendar day.
bool hasBackupOn(const QString &folder, const QDate &day);

// One line: "已做 120 题，学习日志 15 天".
QString summaryOf(const BackupInfo &info);

// Replaces the content of the open bank with the copy, in place and consistently.
// Throws store::Error when the copy is not sound; the bank is then untouched.
void restoreInto(store::Connection &bank, const QString &backupFile);

// What the backup window does: the chosen copy is set aside first (the safety
// copy may rotate it away), the current bank is backed up, then replaced.
void restoreWithSafetyCopy(store::Connection &bank, const QString &backupFile, const QString &folder,
                           const QDateTime &now = QDateTime::currentDateTime());

// For a bank that cannot be opened: moves the damaged file (and its journal
// files) aside as "<bank>.damaged-<time>" and writes the copy in its place.
void restoreFile(const QString &bankFile, const QString &backupFile, const QDateTime &now = QDateTime::currentDateTime());

// Whether a bank file opens and passes PRAGMA quick_check.
bool isSound(const QString &bankFile);

} // namespace backup
