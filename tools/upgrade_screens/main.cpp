// Shows the upgrade window with each message it gives, and the backup window:
//   quillet_upgrade_screens <bank file> <upgrade file> <folder> <prefix>
// Works on copies; run under a virtual screen (xvfb-run) of the size to check.
#include "Backups.h"
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "ScreenGrab.h"
#include "TFrmBackup.h"
#include "Tfrmstxz.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

namespace {

QString folder, prefix;

void grabWithMessage(const QString &name, const std::function<void()> &action)
{
    screens::grabWithMessage(folder, prefix, name, action);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ui::applyLook(app);
    if (argc != 5)
        return 2;
    folder = QString::fromLocal8Bit(argv[3]);
    prefix = QString::fromLocal8Bit(argv[4]);
    QTemporaryDir program;
    QDir(program.path()).mkpath("data");
    QFile::copy(QString::fromLocal8Bit(argv[1]), program.filePath("data/Vellumar.mdb"));
    const QString upgradeFile = program.filePath("题库升级 2026.qup");
    QFile::copy(QString::fromLocal8Bit(argv[2]), upgradeFile);
    const QString textFile = program.filePath("说明.mdb");
    QFile text(textFile);
    text.open(QIODevice::WriteOnly);
    text.write("not a database");
    text.close();
    TDM1 dm(program.path());
    if (!dm.connected)
        return 1;
    ScreenClass = QGuiApplication::primaryScreen()->size().width() <= 800 ? "800" : "1024";

    Tfrmstxz w;
    w.show();
    screens::save(w, folder, prefix, "upgrade");
    grabWithMessage("upgrade-empty", [&] { w.epFocusButton1->click(); });
    w.Edit1->setText(textFile);
    grabWithMessage("upgrade-cannot-open", [&] { w.epFocusButton1->click(); });
    w.Edit1->setText(QStringLiteral(QUILLET_JET_DIR "/nwind.mdb"));
    grabWithMessage("upgrade-foreign", [&] { w.epFocusButton1->click(); });
    w.Edit1->setText(upgradeFile);
    grabWithMessage("upgrade-success", [&] { w.epFocusButton1->click(); });
    grabWithMessage("upgrade-already", [&] { w.epFocusButton1->click(); });
    {
        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(upgradeFile));
        c.open();
        c.execute("update tab_sj set sjbs = sjbs || '.b'");
        c.execute("PRAGMA journal_mode=DELETE");
    }
    grabWithMessage("upgrade-failed", [&] { w.epFocusButton1->click(); });
    w.close();

    dm.ADOCn1.execute("update tab_answ set E2 = 'A' where A1 in (select A1 from tab_answ limit 37)");
    dm.ADOCn1.execute("insert into tab_rz (A1, A2) values ('2026-12-01', 20), ('2026-12-02', 17)");
    backup::makeBackup(dm.ADOCn1, backup::folderFor(AppDir), backup::Kind::Daily,
                       QDateTime::currentDateTime().addDays(-1));
    backup::makeBackup(dm.ADOCn1, backup::folderFor(AppDir), backup::Kind::Manual);
    TFrmBackup b;
    b.show();
    screens::save(b, folder, prefix, "backup");
    return 0;
}
