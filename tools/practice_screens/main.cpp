// Shows the chapter selector, the practice window and its dialogs on a real bank and saves pictures:
//   quillet_practice_screens <program folder> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check; it answers and
// marks questions, so give it a copy of the bank.
#include "AnswerPages.h"
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "BankScreens.h"
#include "NumberBoard.h"
#include "SelectorLogic.h"
#include "RichView.h"
#include "TFrmBj.h"
#include "TFrmJx.h"
#include "TFrmLxxt.h"
#include "TfrmAnswFagui.h"
#include "TFrmkmmc.h"

#include "GlyphButton.h"

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>

namespace {

screens::BankRun run;

void save(QWidget &widget, const QString &name) { run.save(widget, name); }

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

// The explanation, notes and related points of a question that has all three.
void questionDialogs()
{
    const QString id = DataModule->ADOCn1
                           .scalar(QStringLiteral("select a.A1 from tab_answ a join tab_exer e on a.A1 = e.A1 where "
                                                  "a.K3 <> '' and a.K4 <> '' and e.jx is not null limit 1"))
                           .toString();
    DataModule->cn1query_nr.close();
    DataModule->cn1query_nr.setSql(QStringLiteral("select * from tab_exer where A1 = '%1'").arg(id));
    DataModule->cn1query_nr.open();
    TFrmJx explanation;
    explanation.bind(DataModule->cn1query_nr, DataModule->Cn1DS_nr, QStringLiteral("jx"));
    explanation.show();
    save(explanation, "explanation");
    explanation.hide();

    DataModule->Cn1Query_tm.close();
    DataModule->Cn1Query_tm.setSql(QStringLiteral("select * from tab_answ where A1 = '%1'").arg(id));
    DataModule->Cn1Query_tm.open();
    TFrmBj notes;
    notes.bind(DataModule->Cn1DS_tm, QStringLiteral("A14"));
    notes.show();
    notes.DBMemo1->setPlainText(QStringLiteral("易错：施工许可证由县级以上人民政府建设行政主管部门发放。"));
    save(notes, "notes");
    notes.DBMemo1->clear();
    notes.done(0);

    TfrmAnswFagui points;
    if (points.LoadLinks(id)) {
        points.show();
        save(points, "related-points");
        points.hide();
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!run.start(app, argc, argv))
        return 1;
    PracticeSubject = 1;
    selector();
    practiceWindow();
    questionDialogs();
    return 0;
}
