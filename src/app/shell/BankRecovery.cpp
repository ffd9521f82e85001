#include "BankRecovery.h"

#include "Backups.h"
#include "Clock.h"
#include "Error.h"
#include "Globals.h"
#include "SystemMessageBox.h"

namespace {

bool passesQuickCheck(TDM1 &dm)
{
    try {
        return dm.ADOCn1.scalar(QStringLiteral("PRAGMA quick_check")).toString() == QLatin1String("ok");
    } catch (const store::Error &) {
        return false;
    }
}

std::unique_ptr<TDM1> openSoundBank(const QString &programFolder)
{
    auto dm = std::make_unique<TDM1>(programFolder);
    if (dm->connected && passesQuickCheck(*dm))
        return dm;
    return nullptr;
}

} // namespace

std::unique_ptr<TDM1> OpenBankOrOfferRestore(const QString &programFolder)
{
    if (auto dm = openSoundBank(programFolder))
        return dm;
    // AppDir is known even when the bank did not open.
    const QString bankFile = AppDir + QStringLiteral("data/Vellumar.mdb");
    for (const backup::BackupInfo &b : backup::listBackups(backup::folderFor(AppDir))) {
        if (!b.sound)
            continue;
        const QString question = QStringLiteral("题库无法打开或已损坏。\n是否用 %1 的备份恢复题库（%2）？\n损坏的题库文件会保留在 data 文件夹中。")
                                     .arg(b.made.toString(QStringLiteral("yyyy-MM-dd HH:mm")), backup::summaryOf(b));
        if (SystemMessageBox(QStringLiteral("错误"), question, QMessageBox::Question,
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return nullptr;
        try {
            backup::restoreFile(bankFile, b.path);
        } catch (const store::Error &e) {
            qWarning("restore at start-up: %s", qPrintable(e.message()));
            return nullptr;
        }
        return openSoundBank(programFolder);
    }
    return nullptr;
}

void MakeDailyBackup(TDM1 &dataModule)
{
    const QString folder = backup::folderFor(AppDir);
    const QDate day = store::today();
    if (backup::hasBackupOn(folder, day))
        return;
    try {
        backup::makeBackup(dataModule.ADOCn1, folder, backup::Kind::Daily, QDateTime(day, QTime::currentTime()));
    } catch (const store::Error &e) {
        qWarning("daily backup: %s", qPrintable(e.message()));
    }
}
