// Kills a process that marks answers through the real marking code at random
// instants, then checks that the bank is intact, its counters agree and every
// answer the process reported as recorded is there, in the question's record
// and in the answer history.
//
//   quillet-crashtest [--kills N] [--markings M] [--seed S] [--questions Q]
#include "BankInvariants.h"
#include "Clock.h"
#include "Connection.h"
#include "DataModule.h"
#include "Marking.h"
#include "SyntheticBank.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <random>

namespace {

// The marking side: answers questions of random chapters and points, right,
// wrong or changed, and prints each answer once its transaction returned.
int runChild(const QString &folder, unsigned seed, int markings, const QDate &day)
{
    store::setToday(day);
    TDM1 dm(folder);
    if (!dm.connected)
        return 3;
    std::mt19937 random(seed);
    store::Query &questions = dm.Cn1Query_tm;
    const QStringList chapters = [&] {
        QStringList codes;
        store::Statement s(dm.ADOCn1.handle(), QStringLiteral("select C1 from tab_kmmc where length(C1) = 6"), {});
        while (s.step())
            codes << s.value(0).toString();
        return codes;
    }();
    for (int n = 0; n < markings; ++n) {
        if (n % 40 == 0) {
            // A new run over another chapter, or over the questions of one point.
            const QString chapter = chapters.at(random() % chapters.size());
            questions.close();
            if (random() % 3 == 0) {
                questions.setSql(QStringLiteral("select * from tab_answ where K3 = (select K3 from tab_answ "
                                                "where A10 = :c and K3 <> '' limit 1) order by A1"));
            } else {
                questions.setSql(QStringLiteral("select * from tab_answ where A10 = :c order by A1"));
            }
            questions.setParam(QStringLiteral("c"), chapter);
            questions.open();
            if (questions.recordCount() == 0)
                continue;
        }
        if (questions.recordCount() == 0)
            continue;
        const int record = 1 + int(random() % questions.recordCount());
        questions.setRecNo(record);
        const QString key = questions.fieldByName(QStringLiteral("A2")).asString();
        const QString answer = random() % 3 == 0 ? QStringLiteral("C") : key;
        const practice::MarkOutcome outcome = practice::markAnswer(questions, record, answer);
        questions.setRecNo(record);
        std::printf("recorded %s %s %lld\n", qPrintable(questions.fieldByName(QStringLiteral("A1")).asString()),
                    qPrintable(answer), static_cast<long long>(questions.fieldByName(QStringLiteral("E3")).asInteger()));
        std::fflush(stdout);
        Q_UNUSED(outcome)
    }
    return 0;
}

struct Reported {
    QString answer;
    qint64 attempts = 0;
};

// Lines "recorded <id> <answer> <E3>" the child printed before it died.
void readReports(const QByteArray &output, QHash<QString, Reported> &reported)
{
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 4 && parts[0] == "recorded")
            reported[QString::fromUtf8(parts[1])] = {QString::fromUtf8(parts[2]), parts[3].toLongLong()};
    }
}

// Per question of the answer history: how many rows, and the answer of the last one
// (SQLite takes the bare column from the row that holds the max).
QHash<QString, QPair<qint64, QString>> historyByQuestion(store::Connection &c)
{
    QHash<QString, QPair<qint64, QString>> history;
    store::Statement s(c.handle(), QStringLiteral("select question, count(*), answer, max(id) from ql_answer_history "
                                                  "group by question"),
                       {});
    while (s.step())
        history.insert(s.value(0).toString(), {s.value(1).toLongLong(), s.value(2).toString()});
    return history;
}

QStringList lostAnswers(store::Connection &c, const QHash<QString, Reported> &reported)
{
    QStringList lost;
    const QHash<QString, QPair<qint64, QString>> histories = historyByQuestion(c);
    for (auto it = reported.cbegin(); it != reported.cend(); ++it) {
        const QPair<qint64, QString> history = histories.value(it.key());
        if (history.first < it->attempts || (history.first == it->attempts && history.second != it->answer))
            lost << QStringLiteral("%1: reported %2 attempts, answer %3; the history has %4 rows, last %5")
                        .arg(it.key()).arg(it->attempts).arg(it->answer).arg(history.first).arg(history.second);
        store::Statement s(c.handle(), QStringLiteral("select E3, E2 from tab_answ where A1 = ?"),
                           store::Params::byPosition({it.key()}));
        const bool found = s.step();
        const qint64 attempts = found ? s.value(0).toLongLong() : -1;
        // A later answer may have been committed but not printed: it can only add attempts.
        if (attempts < it->attempts || (attempts == it->attempts && s.value(1).toString() != it->answer))
            lost << QStringLiteral("%1: reported %2 attempts, answer %3; bank has %4")
                        .arg(it.key()).arg(it->attempts).arg(it->answer).arg(attempts);
    }
    return lost;
}

int runHarness(int kills, int markings, unsigned seed, int questionCount)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    SyntheticBankShape shape;
    shape.questions = questionCount;
    shape.sectionsPerSubject = 2;
    shape.chaptersPerSection = 3;
    shape.partsPerChapter = 4;
    shape.pointGroups = 3;
    shape.seed = seed;
    createSyntheticBank(dir.path() + QStringLiteral("/data/Vellumar.mdb"), shape);

    std::mt19937 random(seed);
    QHash<QString, Reported> reported;
    int integrityFailures = 0, brokenRules = 0, lost = 0, totalRecorded = 0, finishedEarly = 0;
    for (int run = 1; run <= kills; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // Each run is another day, so first answers of a day are among those interrupted.
        const QDate day = QDate(2026, 1, 1).addDays(run);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--child"), dir.path(), QString::number(seed + run), QString::number(markings),
                     day.toString(Qt::ISODate)});
        if (!child.waitForStarted())
            return 2;
        // Kill it after a random number of reported answers, a random fraction of a
        // marking later, so the kill lands anywhere inside the next marking.
        const int killAfter = 1 + int(random() % qMax(1, markings - 1));
        QByteArray output;
        while (child.state() == QProcess::Running && output.count("recorded ") < killAfter) {
            child.waitForReadyRead(20);
            output += child.readAllStandardOutput();
        }
        QThread::usleep(random() % 3000);
        const bool killedMidRun = child.state() == QProcess::Running;
        child.kill();
        child.waitForFinished();
        output += child.readAllStandardOutput();
        readReports(output, reported);
        finishedEarly += killedMidRun ? 0 : 1;
        totalRecorded += output.count("recorded ");

        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(dir.path() + QStringLiteral("/data/Vellumar.mdb")));
        c.open();
        const QStringList broken = brokenCounterRules(c);
        const QStringList missing = lostAnswers(c, reported);
        c.close();
        for (const QString &line : broken + missing)
            std::printf("  %s\n", qPrintable(line));
        integrityFailures += broken.filter(QStringLiteral("integrity_check")).size();
        brokenRules += broken.size() - broken.filter(QStringLiteral("integrity_check")).size();
        lost += missing.size();
        std::printf("kill %d after %d reported answers: %lld answers recorded in this run%s\n", run, killAfter,
                    static_cast<long long>(output.count("recorded ")), killedMidRun ? "" : " (it had finished)");
    }
    std::printf("%d kills (%d after the run had finished), %d answers reported recorded: %d integrity failures, "
                "%d broken counter rules, %d lost answers\n",
                kills, finishedEarly, totalRecorded, integrityFailures, brokenRules, lost);
    return integrityFailures + brokenRules + lost == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args.at(1) == QLatin1String("--child"))
        return runChild(args.at(2), args.at(3).toUInt(), args.at(4).toInt(), QDate::fromString(args.at(5), Qt::ISODate));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kills a marking process at random instants and checks the bank."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("kills"), QStringLiteral("How many times to kill the marking process."),
                      QStringLiteral("n"), QStringLiteral("20")});
    parser.addOption({QStringLiteral("markings"), QStringLiteral("Markings a run attempts before it is killed."),
                      QStringLiteral("n"), QStringLiteral("1000")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the random choices."), QStringLiteral("n"),
                      QStringLiteral("1")});
    parser.addOption({QStringLiteral("questions"), QStringLiteral("Questions in the test bank."), QStringLiteral("n"),
                      QStringLiteral("2000")});
    parser.process(app);
    try {
        return runHarness(parser.value(QStringLiteral("kills")).toInt(), parser.value(QStringLiteral("markings")).toInt(),
                          parser.value(QStringLiteral("seed")).toUInt(), parser.value(QStringLiteral("questions")).toInt());
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    }
}
