#include "DemoBank.h"

#include "BankWriter.h"
#include "Clock.h"
#include "Content.h"
#include "DataModule.h"

#include <QDate>
#include <QDir>
#include <QFile>

namespace {

struct Built {
    QTemporaryDir dir;
    QString bank;
    QString upgrade;
    Built()
    {
        bank = dir.filePath(QStringLiteral("demo.mdb"));
        upgrade = dir.filePath(QStringLiteral("upgrade.qup"));
        bank::buildBank(bank::readContent(QStringLiteral(QUILLET_CONTENT_DIR)), bank, true, QDate(2026, 12, 8));
        bank::buildUpgradeFile(bank::readUpgradeContent(QStringLiteral(QUILLET_UPGRADE_CONTENT_DIR)), upgrade,
                               {QStringLiteral("QUILLET-ZJS-2026.sj01"), QStringLiteral("QUILLET-ZJS-2026"), {}, {}},
                               true, QDate(2026, 12, 8));
    }
};

const Built &built()
{
    static const Built b;
    return b;
}

} // namespace

DemoBank::DemoBank()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    QFile::copy(built().bank, bankFile());
    QFile(bankFile()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString DemoBank::upgradeFile(const QString &name) const
{
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    QFile::copy(built().upgrade, path);
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

QByteArray DemoBank::bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool openFreshDemo(std::unique_ptr<DemoBank> &demo, std::unique_ptr<TDM1> &dm)
{
    dm.reset();
    demo = std::make_unique<DemoBank>();
    dm = std::make_unique<TDM1>(demo->folder());
    store::setToday(QDate(2026, 12, 8));
    return dm->connected;
}
