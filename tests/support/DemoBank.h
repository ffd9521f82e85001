#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class TDM1;

// A program folder holding a copy of the demo bank built from content/, and an
// upgrade file built from tests/data/upgrade; both are built once per test run.
class DemoBank {
public:
    DemoBank();

    QString folder() const { return m_dir.path(); }
    QString bankFile() const { return m_dir.path() + QStringLiteral("/data/Vellumar.mdb"); }
    QString backupFolder() const { return m_dir.path() + QStringLiteral("/data/backup"); }
    // A fresh copy of the upgrade file under the given name in this folder.
    QString upgradeFile(const QString &name = QStringLiteral("upgrade.qup")) const;

    static QByteArray bytesOf(const QString &file);

private:
    QTemporaryDir m_dir;
};

// Replaces both with a fresh demo bank and a data module on it; "today" is 2026-12-08.
// Returns false when the bank does not open.
bool openFreshDemo(std::unique_ptr<DemoBank> &demo, std::unique_ptr<TDM1> &dm);
