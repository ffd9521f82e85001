// Shows the exam-point browser and exam-point practice on a real bank and saves pictures:
//   quillet_laws_screens <program folder> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check; it answers a
// question, so give it a copy of the bank.
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "BankScreens.h"
#include "TFrmRuleLxxt.h"
#include "TfrmLawDetail.h"
#include "TfrmLawsFaGui.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace {

screens::BankRun run;

void save(QWidget &widget, const QString &name) { run.save(widget, name); }

QString scalar(const QString &sql) { return DataModule->ADOCn1.scalar(sql).toString(); }

// Makes the section row current and opens it.
void openSection(TfrmLawsFaGui &browser, const QString &id)
{
    const int row = int(browser.rowIds().indexOf(id));
    if (row < 0)
        return;
    browser.m_grid->setCurrentCell(row, 0);
    browser.m_btnSelect->click();
}

void selectPoint(TfrmLawsFaGui &browser, const QString &code)
{
    const QString title = scalar(QStringLiteral("select rtrim(sn) from tab_rule where ftid='%1'").arg(code));
    QListWidget *list = browser.detail()->m_LBmenu;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith(title))
            list->setCurrentRow(i);
}

void browse()
{
    TfrmLawsFaGui browser;
    browser.show();
    browser.m_editFind->setText(QStringLiteral("招标"));
    browser.m_btnFind->click();
    save(browser, "laws-catalogue");

    // The longest point text of the bank.
    const QString longest = scalar(QStringLiteral("select ftid from tab_rule order by length(n) desc limit 1"));
    openSection(browser, longest.left(6));
    selectPoint(browser, longest);
    save(browser, "laws-long-text");
    browser.m_btnBack->click();

    // A section with key points among others: the one whose best point stands furthest above the rest.
    const QString keyed = scalar(QStringLiteral(
        "select r.id from tab_rule r join tab_fgmc f on f.id = r.id group by r.id "
        "having count(*) > 2 and min(r.q) < max(r.q) order by max(r.q) * 1.0 / (f.q * 1.0 / count(*)) desc limit 1"));
    openSection(browser, keyed);
    save(browser, "laws-section");
    browser.m_btnMost->click();
    save(browser, "laws-key-points");

    QTimer::singleShot(0, [] {
        auto *window = qobject_cast<TFrmRuleLxxt *>(QApplication::activeModalWidget());
        if (!window)
            return;
        save(*window, "laws-point-practice");
        const QString key = DataModule->Cn1Query_tm.fieldByName(QStringLiteral("A2")).asString().left(1);
        if (auto *option = window->findChild<QPushButton *>(QStringLiteral("fcBG_one") + key))
            option->click();
        window->findChild<QPushButton *>(QStringLiteral("epEfTrBtn3"))->click();
        save(*window, "laws-point-practice-answered");
        window->findChild<QPushButton *>(QStringLiteral("epEfTrBtn7"))->click();
    });
    browser.m_btnQuestion->click();
    save(browser, "laws-after-practice");
    browser.m_btnBack->click();
    save(browser, "laws-catalogue-after");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (!run.start(app, argc, argv))
        return 1;
    browse();
    return 0;
}
