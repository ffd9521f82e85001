#include "DrawnPaper.h"

#include "Connection.h"
#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "PaperBuilder.h"
#include "Schema.h"

#include <QDir>
#include <QTemporaryDir>

namespace exam {
namespace {

// The paper builder works on the process's data module; a scratch one stands
// in for the time of the draw and the caller's comes back afterwards.
class ScratchDataModule
{
public:
    explicit ScratchDataModule(const QString &programFolder)
        : previous_(DataModule), previousAppDir_(AppDir), module_(programFolder)
    {
    }
    ~ScratchDataModule()
    {
        DataModule = previous_;
        AppDir = previousAppDir_;
    }
    ScratchDataModule(const ScratchDataModule &) = delete;
    ScratchDataModule &operator=(const ScratchDataModule &) = delete;

    TDM1 &module() { return module_; }

private:
    TDM1 *previous_;
    QString previousAppDir_;
    TDM1 module_;
};

void copyBank(const QString &bankFile, const QString &copy)
{
    store::Connection bank;
    bank.setConnectionString(TDM1::connectionStringFor(bankFile));
    bank.open();
    if (!store::schema::isBank(bank))
        throw store::Error(QStringLiteral("不是题库文件：") + bankFile);
    // A consistent copy, also of what still sits in the write-ahead log.
    bank.execute(QStringLiteral("VACUUM INTO ?"), store::Params::byPosition({copy}));
}

} // namespace

PaperRef drawPaperDocument(const QString &bankFile, int subject, const QString &outFile)
{
    if (!subjectPaper(subject))
        throw store::Error(QStringLiteral("科目编号无效：%1").arg(subject));
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir(scratch.path()).mkpath(QStringLiteral("data")))
        throw store::Error(QStringLiteral("无法建立临时文件夹"));
    copyBank(bankFile, scratch.filePath(QStringLiteral("data/Vellumar.mdb")));
    ScratchDataModule scratchModule(scratch.path());
    TDM1 &dm = scratchModule.module();
    if (!dm.connected)
        throw store::Error(QStringLiteral("无法打开题库副本"));
    const BuiltPaper built = buildPaper(subject);
    const PaperRef paper{built.name.table, built.name.title, subject};
    exportPaper(dm.ADOCn1, paper, outFile);
    return paper;
}

} // namespace exam
