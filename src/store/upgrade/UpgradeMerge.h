#pragma once

#include <QString>

namespace store {
class Connection;
}

namespace upgrade {

// What became of an upgrade, in the order the checks are made.
enum class UpgradeResult {
    Applied,        // merged and committed
    CannotOpen,     // not a database, damaged, or unreadable
    ForeignProduct, // no identifiers, or a product this bank does not know
    AlreadyApplied, // this upgrade identifier is already recorded
    Failed,         // the merge was refused or failed; nothing was written
};

struct UpgradeIdentity {
    QString sjbs; // upgrade identifier
    QString cpbs; // product identifier
};

// Tables merged from an upgrade file, in merge order.
QStringList mergedTables();

// Opens an upgrade file read-only on `file`: an SQLite upgrade file as it is,
// a Jet (.mdb) file converted first into `convertedCopy` (told apart by content).
// Throws store::Error when the file is neither or cannot be read whole.
void openUpgradeFile(store::Connection &file, const QString &path, const QString &convertedCopy);

// The first row of the open upgrade file's tab_sj; empty identifiers when there is none.
UpgradeIdentity identityOf(store::Connection &file);

// Merges the open upgrade file into the bank in one transaction: content
// tables by column name, the grouped questions' stems, the content counters
// recounted, and the upgrade recorded in tab_sj. Returns Applied only after
// the commit; on Failed the bank is as it was. `reason` says why it failed.
UpgradeResult mergeUpgrade(store::Connection &bank, store::Connection &file, const UpgradeIdentity &identity,
                           QString *reason = nullptr);

// The whole upgrade: open the file on `file`, check its identifiers against
// the bank, refuse a bank opened read-only, back the bank up into
// `backupFolder`, merge. `reason` says in the learner's words why it failed.
UpgradeResult applyUpgrade(store::Connection &bank, store::Connection &file, const QString &path,
                           const QString &backupFolder, QString *reason = nullptr);

// Why the upgrade file would not apply to the bank file, or empty when it
// would: it is applied to a scratch copy of the bank; the bank is only read.
QString whyItWouldNotApply(const QString &bankFile, const QString &upgradePath);

} // namespace upgrade
