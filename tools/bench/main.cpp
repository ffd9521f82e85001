// Measures every user action on a 50,000-question bank and prints a table
// (or --json): action, runs, median, 95th percentile, and where it has one the
// floor and the ratio to it.
//
//   quillet-bench [--questions N] [--runs N] [--json] [--only text]
//   quillet-bench --compare N1,N2 [--runs N] [--only text]   medians at both sizes and their ratio
#include "Connection.h"
#include "DataModule.h"
#include "Globals.h"
#include "ImportBench.h"
#include "Look.h"
#include "Compare.h"
#include "Marking.h"
#include "Measure.h"
#include "PracticeSession.h"
#include "ReviewBench.h"
#include "Routines.h"
#include "SearchBench.h"
#include "SelectorLogic.h"
#include "Startup.h"
#include "SyntheticBank.h"
#include "MessageRecorder.h"
#include "PaperBuilder.h"
#include "PaperExport.h"
#include "TFrmExam.h"
#include "TFrmkmmc.h"
#include "TfrmLawsFaGui.h"
#include "Tfrmchart.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>
#include <sqlite3.h>
#include <sys/resource.h>
#include <cstdio>

namespace {

const char *const kPoints = "K3 <> '' and K4 <> '' and K5 <> ''";

// One counted answer of a question with three points, through the marking code.
Measurement markingWithThreePoints(int runs)
{
    store::Query &q = DataModule->Cn1Query_tm;
    q.close();
    q.setSql(QStringLiteral("select * from tab_answ where %1 order by A1 limit 1").arg(kPoints));
    q.open();
    int n = 0;
    return measure(QStringLiteral("mark one answer (3 points)"), runs,
                   [&] { practice::markAnswer(q, 1, ++n % 2 ? QStringLiteral("A") : QStringLiteral("B")); });
}

// The same row updates as one raw transaction with prepared statements.
Measurement markingFloor(int runs)
{
    sqlite3 *db = DataModule->ADOCn1.handle();
    store::Statement pick(db, QStringLiteral("select A1, A10, K3, K4, K5 from tab_answ where %1 order by A1 limit 1 offset 1")
                                  .arg(kPoints), {});
    pick.step();
    const QByteArray id = pick.value(0).toString().toUtf8(), chapter = pick.value(1).toString().toUtf8();
    const QByteArray points[3] = {pick.value(2).toString().toUtf8(), pick.value(3).toString().toUtf8(),
                                  pick.value(4).toString().toUtf8()};
    DataModule->ADOCn1.execute(QStringLiteral("insert or ignore into tab_rz (A1) values ('2026-06-01')"));
    const char *sql[] = {
        "update tab_answ set E2 = ?2, E2_1 = ?2, E1 = '2026-06-01', E3 = E3 + 1, E4 = E4 - 1 where A1 = ?1",
        "update tab_rz set A2 = A2 + 1, A3 = A3 + 1 where A1 = '2026-06-01'",
        "update tab_kmmc set D1 = D1 + 1, D2 = D2 + 1 where C1 = ?1",
        "update tab_rule set q2 = q2 + 1, q4 = q4 + 1 where ftid in (?1, ?2, ?3)",
        "update tab_fgmc set q2 = q2 + 1, q4 = q4 + 1 where id in (?1, ?2, ?3)",
        "insert into ql_answer_history (at, question, answer, correct, place, first) values"
        " ('2026-06-01 10:00:00', ?1, 'B', 0, 'practice', 0)",
        "insert into ql_memory (question, stability, difficulty, last_review, reviews, last_correct, due_day)"
        " values (?1, 1, 5, 20000, 1, 0, 20001) on conflict(question) do update set reviews = reviews + 1",
    };
    constexpr int kStatements = 7;
    sqlite3_stmt *s[kStatements];
    for (int i = 0; i < kStatements; ++i)
        sqlite3_prepare_v3(db, sql[i], -1, SQLITE_PREPARE_PERSISTENT, &s[i], nullptr);
    auto run = [&](sqlite3_stmt *st) { sqlite3_step(st); sqlite3_reset(st); };
    int n = 0;
    Measurement m = measure(QStringLiteral("floor"), runs, [&] {
        sqlite3_exec(db, "begin", nullptr, nullptr, nullptr);
        sqlite3_bind_text(s[0], 1, id.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_text(s[0], 2, ++n % 2 ? "A" : "B", -1, SQLITE_STATIC);
        run(s[0]);
        run(s[1]);
        for (int len : {6, 4, 2, 1}) {
            sqlite3_bind_text(s[2], 1, chapter.constData(), len, SQLITE_STATIC);
            run(s[2]);
        }
        for (int p = 0; p < 3; ++p)
            sqlite3_bind_text(s[3], p + 1, points[p].constData(), -1, SQLITE_STATIC);
        run(s[3]);
        for (int len : {6, 2}) {
            for (int p = 0; p < 3; ++p)
                sqlite3_bind_text(s[4], p + 1, points[p].constData(), len, SQLITE_STATIC);
            run(s[4]);
        }
        for (int i : {5, 6}) {
            sqlite3_bind_text(s[i], 1, id.constData(), -1, SQLITE_STATIC);
            run(s[i]);
        }
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    });
    for (sqlite3_stmt *st : s)
        sqlite3_finalize(st);
    return m;
}

Measurement prepareSessionOfBigChapter(int runs, const QString &chapter)
{
    return measure(QStringLiteral("PrepareSession (2,000-question chapter)"), runs, [&] {
        PracticeSql = practice::practiceSql(practice::PracticeMode::NewQuestions, chapter);
        QVector<practice::TypeEntry> types;
        practice::prepareSession(types);
    });
}

Measurement chapterSelector(int runs)
{
    PracticeSubject = 1;
    return measure(QStringLiteral("show the chapter selector (subject 1)"), runs, [] {
        TFrmkmmc selector;
        selector.show();
        QCoreApplication::processEvents();
    });
}

Measurement closingAPracticeRun(int runs)
{
    return measure(QStringLiteral("close a practice run (AddStudyTime)"), runs,
                   [] { practice::endPracticeSession(QStringLiteral("0:01:05")); });
}

// A subject-2 paper: 72 single and 24 multiple choices.
Measurement generatingAPaper(int runs, QVector<exam::BuiltPaper> &papers)
{
    CurrentSubject = 2; // what a mock exam of the subject sets for its window
    return measure(QStringLiteral("generate a 96-question paper"), runs, [&] { papers << exam::buildPaper(2); });
}

Measurement openingTheExamWindow(int runs, const exam::BuiltPaper &paper)
{
    return measure(QStringLiteral("open the exam window on a paper"), runs, [&] {
        TFrmExam window;
        window.InitPaper(paper.name.table, paper.name.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
        window.OpenPaper();
        window.show();
        QCoreApplication::processEvents();
    });
}

// Answering every question of a paper with B and moving on, then handing it in.
QVector<Measurement> sittingAPaper(const exam::BuiltPaper &paper)
{
    TFrmExam window;
    window.InitPaper(paper.name.table, paper.name.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
    window.OpenPaper();
    window.show();
    QCoreApplication::processEvents();
    Measurement answering = measure(QStringLiteral("record an exam answer and move on"), paper.questionCount - 1, [&] {
        QTest::keyClick(&window, Qt::Key_B);
        QTest::keyClick(&window, Qt::Key_Return);
        QCoreApplication::processEvents();
    });
    MessageRecorder::queueAnswer(1);
    Measurement marking = measure(QStringLiteral("hand in and mark a paper"), 1, [&] { window.epEfTrBtn3->click(); });
    MessageRecorder::clear();
    return {answering, marking};
}

Measurement exportingAPaper(int runs, const exam::BuiltPaper &paper, const QString &folder)
{
    const exam::PaperRef ref = exam::storedPaper(DataModule->ADOCn1, paper.name.table);
    return measure(QStringLiteral("export a paper to Word"), runs, [&] {
        exam::exportPaper(DataModule->ADOCn1, ref, folder + QStringLiteral("/paper.docx"));
    });
}

Measurement openingTheCatalogueAndASection(int runs)
{
    return measure(QStringLiteral("open the point catalogue and a section"), runs, [] {
        TfrmLawsFaGui browser;
        browser.show();
        QCoreApplication::processEvents();
        browser.findChild<QLineEdit *>(QStringLiteral("m_editFind"))->setText(QStringLiteral("第5章"));
        browser.findChild<QPushButton *>(QStringLiteral("m_btnFind"))->click();
        browser.findChild<QPushButton *>(QStringLiteral("m_btnSelect"))->click();
        QCoreApplication::processEvents();
    });
}

Measurement showingTheChart(int runs)
{
    return measure(QStringLiteral("show the statistics chart"), runs, [] {
        Tfrmchart chart;
        chart.show();
        QCoreApplication::processEvents();
    });
}

// Start-up of the real program in a process of its own, to the main window shown.
Measurement startUp(int runs, const QString &folder)
{
    return measure(QStringLiteral("start-up to the main window"), runs, [&] {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--startup"), folder});
        child.waitForReadyRead(10000);
        child.waitForFinished(10000);
    });
}

int startUpChild(int argc, char **argv, const QString &folder)
{
    QuilletApplication app(argc, argv);
    ui::applyLook(app);
    Session session = StartQuillet(folder);
    if (!session.running())
        return 1;
    session.mainWindow->show();
    QCoreApplication::processEvents();
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}

// The exam window will not open without its button pictures.
void installPictures(const QString &folder)
{
    QDir(folder).mkpath(QStringLiteral("pic"));
    const QDir pictures(QStringLiteral(QUILLET_PIC_DIR));
    for (const QString &file : pictures.entryList({QStringLiteral("*.bmp")}))
        QFile::copy(pictures.filePath(file), folder + QStringLiteral("/pic/") + file);
}

double peakMegabytes()
{
    rusage self{}, children{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &children);
    return qMax(self.ru_maxrss, children.ru_maxrss) / 1024.0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && qstrcmp(argv[1], "--startup") == 0)
        return startUpChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    QuilletApplication app(argc, argv);
    ui::applyLook(app);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("questions"), QStringLiteral("Questions in the bank."), QStringLiteral("n"),
                      QStringLiteral("50000")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Runs of each action."), QStringLiteral("n"),
                      QStringLiteral("30")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print the figures as JSON.")});
    parser.addOption({QStringLiteral("only"), QStringLiteral("Run only the actions whose name contains the text."),
                      QStringLiteral("text")});
    parser.addOption({QStringLiteral("compare"),
                      QStringLiteral("Run at each size in its own process and compare the medians."),
                      QStringLiteral("n1,n2")});
    parser.process(app);
    const int runs = parser.value(QStringLiteral("runs")).toInt();
    setActionFilter(parser.value(QStringLiteral("only")));
    if (parser.isSet(QStringLiteral("compare"))) {
        QVector<int> sizes;
        for (const QString &n : parser.value(QStringLiteral("compare")).split(QLatin1Char(',')))
            sizes << n.toInt();
        QStringList passOn{QStringLiteral("--runs"), QString::number(runs)};
        if (parser.isSet(QStringLiteral("only")))
            passOn << QStringLiteral("--only") << parser.value(QStringLiteral("only"));
        return compareSizes(sizes, passOn);
    }

    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    installPictures(dir.path());
    SyntheticBankShape shape;
    shape.questions = parser.value(QStringLiteral("questions")).toInt();
    shape.firstChapterQuestions = 2000;
    QElapsedTimer building;
    building.start();
    const SyntheticBank bank =
        createSyntheticBank(dir.path() + QStringLiteral("/data/Vellumar.mdb"), shape, [](int done, int total) {
            std::fprintf(stderr, "\rbuilding the bank: %d of %d questions", done, total);
            if (done == total)
                std::fprintf(stderr, "\n");
        });
    std::fprintf(stderr, "bank of %d questions, %lld chapters, %lld points built in %.1f s\n", shape.questions,
                 static_cast<long long>(bank.leafChapters.size()), static_cast<long long>(bank.points.size()),
                 building.elapsed() / 1000.0);

    QVector<Measurement> all;
    {
        TDM1 dm(dir.path());
        if (!dm.connected)
            return 2;
        Measurement marking = markingWithThreePoints(runs * 10);
        const Measurement floor = markingFloor(runs * 10);
        marking.floorMedian = floor.median();
        marking.target = 1;
        marking.ratioTarget = 3;
        all << marking;
        Measurement session = prepareSessionOfBigChapter(runs, bank.leafChapters.first());
        session.target = 60;
        all << session;
        Measurement selector = chapterSelector(runs);
        selector.target = 30;
        all << selector << closingAPracticeRun(runs);

        QVector<exam::BuiltPaper> papers;
        Measurement paper = generatingAPaper(runs, papers);
        paper.target = 100;
        all << paper;
        if (!papers.isEmpty()) {
            all << openingTheExamWindow(qMax(3, runs / 3), papers.first());
            if (actionWanted(QStringLiteral("record an exam answer")) || actionWanted(QStringLiteral("hand in")))
                all << sittingAPaper(papers.first());
            all << exportingAPaper(qMax(3, runs / 3), papers.first(), dir.path());
        }
        all << openingTheCatalogueAndASection(runs) << showingTheChart(qMax(3, runs / 3));
        all << importingADocument(qMax(3, runs / 3), dir.path(), bank.leafChapters.first());
        all << searchMeasurements(dm.ADOCn1, runs);

        fillReviewHistory(DataModule->ADOCn1, 200000);
        all << dueCountOnTheMenu(runs) << openingTheReport(qMax(3, runs / 3));
        if (actionWanted(QStringLiteral("fit the model")))
            all << fittingTheModel();
    }
    Measurement start = startUp(qMax(3, runs / 5), dir.path());
    start.target = 500;
    all << start;

    const double peak = peakMegabytes();
    const QString out = parser.isSet(QStringLiteral("json")) ? jsonOf(all, peak) : tableOf(all, peak);
    std::fputs(qPrintable(out), stdout);
    return 0;
}
