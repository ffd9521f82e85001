// Gives a copy of a bank a month of answers through the real marking code,
// then shows the main menu's review card, a review run and the learner report
// and saves pictures:
//   quillet_review_screens <bank file> <picture folder> <800|1024>
// Run under a virtual screen (xvfb-run) of the size to check.
#include "Clock.h"
#include "DataModule.h"
#include "DueQueue.h"
#include "Globals.h"
#include "Look.h"
#include "MainMenu.h"
#include "Marking.h"
#include "PracticeSession.h"
#include "Report.h"
#include "ReviewRun.h"
#include "ReviewSummary.h"
#include "ScreenGrab.h"
#include "TFrmReport.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <random>

namespace {

QString outFolder, prefix;

void save(QWidget &widget, const QString &name) { screens::save(widget, outFolder, prefix, name); }

// Thirty days of practice in subject 1, about forty answers a day, right three times in four.
void writeAMonthOfAnswers(TDM1 &dm)
{
    const QDate today = store::today();
    std::mt19937 random(7);
    for (int back = 30; back >= 1; --back) {
        store::setToday(today.addDays(-back));
        PracticeSql = QStringLiteral("select * from tab_answ where A10 like '1%' and A13 in (11, 14) order by A1");
        QVector<practice::TypeEntry> types;
        if (!practice::prepareSession(types))
            break;
        store::Query &questions = dm.Cn1Query_tm;
        const int count = questions.recordCount();
        for (int n = 0; n < 40; ++n) {
            const int record = 1 + int(random() % count);
            questions.setRecNo(record);
            const QString key = questions.fieldByName(QStringLiteral("A2")).asString();
            practice::markAnswer(questions, record, random() % 4 ? key : QStringLiteral("C"));
        }
        store::review::Report report =
            store::review::buildReport(dm.ADOCn1, QDateTime(store::today(), QTime(20, 0)));
        store::review::storePredictions(dm.ADOCn1, report);
    }
    store::setToday(today);
    dm.ADOCn1.execute(QStringLiteral("update tab_plan set ExamDate = :d, PlanMark = 0, PlanAmount = 30"),
                      {{QStringLiteral("d"), today.addDays(96).toString(Qt::ISODate)}});
}

void menu()
{
    MainMenu menu;
    menu.resize(QGuiApplication::primaryScreen()->size());
    const review::ReviewSummary summary = review::reviewSummary();
    menu.setReviewSummary(summary.due, summary.examSet, summary.daysToExam);
    menu.show();
    save(menu, QStringLiteral("menu"));
}

void reviewRun(TDM1 &dm)
{
    const QVector<store::review::DueQuestion> due = store::review::dueQueue(dm.ADOCn1, store::review::now(), 30);
    QStringList ids;
    for (const store::review::DueQuestion &d : due)
        ids << d.question;
    PracticeSql = store::review::orderedRunSql(dm.ADOCn1, ids);
    TFrmReview window(QStringLiteral("今日复习"), store::review::AnswerPlace::Review);
    if (!window.PrepareSession())
        return;
    window.setBoardText(QStringLiteral("今日复习：%1 道题，上次做错的排在前面，其余按遗忘程度排列。").arg(ids.size()));
    window.show();
    save(window, QStringLiteral("review-run"));
    window.done(0);
}

void report()
{
    TFrmReport window;
    window.show();
    const char *const pages[] = {"report-score", "report-weak", "report-model"};
    for (int i = 0; i < 3; ++i) {
        window.ReportTabs->setCurrentIndex(i);
        save(window, QString::fromLatin1(pages[i]));
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
    outFolder = QString::fromLocal8Bit(argv[2]);
    ScreenClass = QString::fromLatin1(argv[3]);
    prefix = QStringLiteral("review-") + ScreenClass;
    QDir().mkpath(outFolder);

    QTemporaryDir program;
    QDir(program.path()).mkpath(QStringLiteral("data"));
    QDir(program.path()).mkpath(QStringLiteral("pic"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), program.path() + QStringLiteral("/data/Vellumar.mdb")))
        return 1;
    const QDir pictures(QStringLiteral(QUILLET_PIC_DIR));
    for (const QString &file : pictures.entryList({QStringLiteral("*.bmp")}))
        QFile::copy(pictures.filePath(file), program.path() + QStringLiteral("/pic/") + file);
    TDM1 dm(program.path());
    if (!dm.connected)
        return 1;
    writeAMonthOfAnswers(dm);
    menu();
    reviewRun(dm);
    report();
    return 0;
}
