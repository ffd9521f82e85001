// Shows the search window on a copy of a bank with a few queries:
//   quillet_search_screens <bank file> <folder> <prefix>
// Run under a virtual screen (xvfb-run) of the size to check.
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "ScreenGrab.h"
#include "TFrmSearch.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QScreen>
#include <QTemporaryDir>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ui::applyLook(app);
    if (argc != 4)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString prefix = QString::fromLocal8Bit(argv[3]);
    QTemporaryDir program;
    QDir(program.path()).mkpath("data");
    QFile::copy(QString::fromLocal8Bit(argv[1]), program.filePath("data/Vellumar.mdb"));
    TDM1 dm(program.path());
    if (!dm.connected)
        return 1;
    ScreenClass = QGuiApplication::primaryScreen()->size().width() <= 800 ? "800" : "1024";

    search::TFrmSearch w;
    if (!w.prepareIndex())
        return 1;
    w.show();
    screens::save(w, folder, prefix, "search-empty");
    w.setQuery(QStringLiteral("工程造价"));
    screens::save(w, folder, prefix, "search-words");
    w.setQuery(QStringLiteral("税 -增值税"));
    screens::save(w, folder, prefix, "search-short");
    w.setQuery(QStringLiteral("施工许可"));
    w.lstResults->setCurrentIndex(w.lstResults->model()->index(0, 0));
    screens::save(w, folder, prefix, "search-point");
    w.cbAnswered->setCurrentIndex(3);
    w.setQuery(QStringLiteral("\"NEAR(工程\" * -"));
    screens::save(w, folder, prefix, "search-hostile");
    return 0;
}
