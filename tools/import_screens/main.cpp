// Shows the import window on a copy of a bank: the preview of a question
// file with a flagged question chosen, the result message of 导入, and the
// list of 撤销导入; saves pictures:
//   quillet_import_screens <bank file> <question file> <section> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check.
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "ScreenGrab.h"
#include "TFrmImport.h"
#include "TFrmImportUndo.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

QString outFolder, prefix;

void grabWithMessage(const QString &name, const std::function<void()> &action)
{
    screens::grabWithMessage(outFolder, prefix, name, action);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ui::applyLook(app);
    if (argc != 6)
        return 2;
    outFolder = QString::fromLocal8Bit(argv[4]);
    prefix = QString::fromLocal8Bit(argv[5]);
    QDir().mkpath(outFolder);
    QTemporaryDir program;
    QDir(program.path()).mkpath("data");
    QFile::copy(QString::fromLocal8Bit(argv[1]), program.filePath("data/Vellumar.mdb"));
    TDM1 dm(program.path());
    if (!dm.connected)
        return 1;
    ScreenClass = prefix;

    TFrmImport window(nullptr, QString::fromLocal8Bit(argv[3]));
    window.show();
    window.move(window.screen()->geometry().center() - window.rect().center());
    if (!window.openFile(QString::fromLocal8Bit(argv[2])))
        return 1;
    for (int i = 0; i < window.QuestionList->topLevelItemCount(); ++i)
        if (window.plan()->isFlagged(i)) {
            window.QuestionList->setCurrentItem(window.QuestionList->topLevelItem(i));
            break;
        }
    screens::save(window, outFolder, prefix, "import-preview");
    grabWithMessage("import-result", [&] { window.ImportButton->click(); });
    screens::save(window, outFolder, prefix, "import-after");
    TFrmImportUndo undo;
    undo.show();
    screens::save(undo, outFolder, prefix, "import-undo");
    return 0;
}
