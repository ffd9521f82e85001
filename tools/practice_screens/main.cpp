// Shows the chapter selector and the practice window on a real bank and saves pictures:
//   quillet_practice_screens <program folder> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check; it answers and
// marks questions, so give it a copy of the bank.
#include "AnswerPages.h"
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "ScreenGrab.h"
#include "NumberBoard.h"
#include "SelectorLogic.h"
#include "RichView.h"
#include "TFrmLxxt.h"
#include "TFrmkmmc.h"

#include "GlyphButton.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>

namespace {

QString outFolder, prefix;

void save(QWidget &widget, const QString &name) { screens::save(widget, outFolder, prefix, name); }

void click(QWidget &window, const char *name) { window.findChild<QAbstractButton *>(QLatin1String(name))->click(); }

void selector()
{
    TFrmkmmc window;
    window.LastChapterCode = QStringLiteral("100201");
    window.show();
    save(window, "selector");
    window.hide();
}

void practiceWindow()
{
    // The longest hint of the bank shows how the hint board copes.
    CurrentChapterCode =
        DataModule->ADOCn1.scalar(QStringLiteral("select C1_1 from tab_kmmc order by length(C1_1) desc limit 1")).toString();
    PracticeSql = practice::practiceSql(practice::PracticeMode::NewQuestions, QStringLiteral("1002"));
    TFrmLxxt window;
    if (!window.PrepareSession())
        return;
    window.show();
    click(window, "fcBG_oneB");
    save(window, "page0-single");
    click(window, "epEfTrBtn3");
    click(window, "epEfTrBtn6");
    save(window, "answer-panel");
    click(window, "epEfTrBtn6");
    while (!window.Re2->isVisible() || window.Re2->height() == 0) {
        if (!window.epEfTrBtn2->isEnabled())
            break;
        window.epEfTrBtn2->click();
        screens::settle();
    }
    save(window, "grouped-stem");
    window.fcBG_tx->entry(2)->click();
    click(window, "fcBG_manyA");
    click(window, "fcBG_manyC");
    save(window, "page1-multiple");
    for (int page : {2, 3, 4, 5}) {
        window.Notebook1->setCurrentIndex(page);
        save(window, QStringLiteral("page%1").arg(page));
    }
    window.done(0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4)
        return 2;
    ui::applyLook(app);
    TDM1 dm(QString::fromLocal8Bit(argv[1]));
    if (!dm.connected)
        return 1;
    outFolder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outFolder);
    ScreenClass = QString::fromLocal8Bit(argv[3]);
    prefix = ScreenClass;
    PracticeSubject = 1;
    selector();
    practiceWindow();
    return 0;
}
