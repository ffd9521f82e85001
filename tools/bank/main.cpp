#include "BankCheck.h"
#include "BankWriter.h"
#include "Content.h"
#include "DataModule.h"
#include "DocxWriter.h"
#include "DrawnPaper.h"
#include "Error.h"
#include "ImportBatches.h"
#include "PlanJson.h"
#include "PaperBuilder.h"
#include "PaperExport.h"
#include "QuestionPrinter.h"
#include "ReplayCommand.h"
#include "ReportCommand.h"
#include "Schema.h"
#include "SearchCommand.h"
#include "UpgradeMerge.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

int usage()
{
    err() << "usage:\n"
             "  quillet-bank build <content dir> <bank file> [--replace]\n"
             "  quillet-bank upgrade-file <content dir> <upgrade file> --sjbs <upgrade id> --cpbs <product id>\n"
             "      [--bank <target bank>] [--after <highest question id or group key>]... [--replace]\n"
             "      numbers questions after the target bank's (or the given) ids; with --bank,\n"
             "      refuses to write a file that would not apply to that bank\n"
             "  quillet-bank check <bank file>\n"
             "  quillet-bank show <bank file> <question id>\n"
             "  quillet-bank paper <bank file> <paper table> <out.docx>\n"
             "  quillet-bank draw <bank file> <subject 1-5> <out.docx>\n"
             "  quillet-bank import <bank file> <question file> <section code> [--dry-run] [--json]\n"
             "  quillet-bank search <bank file> <query> [--json]\n"
             "  quillet-bank replay <answers.csv>   (lines learner,question,day,correct,type,options; - reads stdin)\n"
             "  quillet-bank report <bank file> [--json]\n";
    return 2;
}

int check(const QString &file)
{
    const bank::CheckReport report = bank::checkBank(file);
    if (!report.summary.isEmpty())
        out() << report.summary << Qt::endl;
    for (const QString &v : report.violations)
        err() << "violation: " << v << Qt::endl;
    if (!report.violations.isEmpty()) {
        err() << report.violations.size() << " violation(s) in " << file << Qt::endl;
        return 1;
    }
    out() << "ok: " << file << Qt::endl;
    return 0;
}

int paper(const QString &bankFile, const QString &table, const QString &outFile)
{
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(bankFile));
    c.open();
    const exam::PaperRef stored = exam::storedPaper(c, table);
    exam::exportPaper(c, stored, outFile);
    out() << "wrote " << outFile << ": " << stored.title << Qt::endl;
    return 0;
}

// upgrade-file <content dir> <out> --sjbs X --cpbs Y [--bank <target bank>] [--after <id>]... [--replace]
int upgradeFile(const QStringList &args)
{
    bank::UpgradeFileOrder order;
    QString target;
    bool replace = false;
    for (int i = 3; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--sjbs") && i + 1 < args.size())
            order.sjbs = args[++i];
        else if (args[i] == QLatin1String("--cpbs") && i + 1 < args.size())
            order.cpbs = args[++i];
        else if (args[i] == QLatin1String("--bank") && i + 1 < args.size())
            target = args[++i];
        else if (args[i] == QLatin1String("--after") && i + 1 < args.size())
            order.after.take(args[++i]);
        else if (args[i] == QLatin1String("--replace"))
            replace = true;
        else
            return usage();
    }
    if (order.sjbs.isEmpty() || order.cpbs.isEmpty())
        return usage();
    if (!target.isEmpty()) {
        order.after.takeAllOf(target);
        order.vet = [&target](const QString &file) {
            const QString why = upgrade::whyItWouldNotApply(target, file);
            if (!why.isEmpty())
                throw store::Error(QStringLiteral("the upgrade file would not apply to %1: %2").arg(target, why));
        };
    }
    const bank::Content content = bank::readUpgradeContent(args[1]);
    bank::buildUpgradeFile(content, args[2], order, replace, QDate::currentDate());
    const bank::CheckReport report = bank::checkBank(args[2], bank::CheckScope::UpgradeFile);
    out() << report.summary << Qt::endl << "built upgrade file " << args[2] << " (" << order.sjbs << " for " << order.cpbs
          << ")" << (target.isEmpty() ? QString() : QStringLiteral(", applies to ") + target) << Qt::endl;
    return 0;
}

// import <bank> <file> <section> [--dry-run] [--json]: with --json the
// recognized questions go to stdout as JSON and the report to stderr.
int importFile(const QStringList &args)
{
    bool dryRun = false;
    bool json = false;
    for (int i = 4; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--dry-run"))
            dryRun = true;
        else if (args[i] == QLatin1String("--json"))
            json = true;
        else
            return usage();
    }
    const QString bankFile = args[1];
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(bankFile));
    if (dryRun) {
        c.openReadOnly();
    } else {
        c.open();
        store::schema::migrate(c);
    }
    const importing::ImportTarget target = importing::ImportTarget::read(c, args[3]);
    const importing::ImportPlan plan(formats::import::recognizeFile(args[2], authoring::subjectOfChapter(args[3])),
                                     target);
    QTextStream &report = json ? err() : out();
    if (json)
        out() << QString::fromUtf8(importing::planJson(plan)) << Qt::flush;
    const importing::ImportCounts counts = plan.counts();
    report << "recognized " << counts.recognized << " questions: " << counts.flagged << " flagged, "
           << counts.duplicates << " already in the bank, " << counts.toImport << " to import; "
           << plan.unplaced().size() << " piece(s) of text not placed" << Qt::endl;
    for (int i = 0; i < plan.items().size(); ++i)
        if (plan.isFlagged(i))
            report << "  line " << plan.items().at(i).question.line << ": "
                   << plan.problemsOf(i).join(QStringLiteral("；")) << Qt::endl;
    if (dryRun) {
        report << "dry run: " << bankFile << " was not changed" << Qt::endl;
        return 0;
    }
    if (counts.toImport == 0) {
        report << "nothing to import: " << bankFile << " was not changed" << Qt::endl;
        return 1;
    }
    const importing::ImportOutcome outcome =
        importing::importPlan(c, plan, args[2], QDir(QFileInfo(bankFile).absolutePath()).filePath("backup"));
    report << importing::outcomeText(outcome, target) << " (batch " << outcome.batch << ")" << Qt::endl;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Texts are turned into RTF through QTextDocument, which wants a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    try {
        if (command == QLatin1String("build") && (args.size() == 3 || (args.size() == 4 && args[3] == "--replace"))) {
            const bank::Content content = bank::readContent(args[1]);
            bank::buildBank(content, args[2], args.size() == 4, QDate::currentDate());
            bank::indexNewBank(args[2]);
            out() << "built " << args[2] << Qt::endl;
            return check(args[2]);
        }
        if (command == QLatin1String("upgrade-file") && args.size() >= 3)
            return upgradeFile(args);
        if (command == QLatin1String("check") && args.size() == 2)
            return check(args[1]);
        if (command == QLatin1String("show") && args.size() == 3) {
            out() << bank::printQuestion(args[1], args[2]);
            return 0;
        }
        if (command == QLatin1String("import") && args.size() >= 4)
            return importFile(args);
        if (command == QLatin1String("paper") && args.size() == 4)
            return paper(args[1], args[2], args[3]);
        if (command == QLatin1String("search") && args.size() >= 3)
            return bank::searchCommand(args.mid(1), out(), err());
        if (command == QLatin1String("replay") && args.size() == 2)
            return bank::replayCommand(args[1], out(), err());
        if (command == QLatin1String("report") && args.size() >= 2) {
            const int code = bank::reportCommand(args, out(), err());
            return code == 2 ? usage() : code;
        }
        if (command == QLatin1String("draw") && args.size() == 4) {
            const exam::PaperRef drawn = exam::drawPaperDocument(args[1], args[2].toInt(), args[3]);
            out() << "wrote " << args[3] << ": " << drawn.title << Qt::endl;
            return 0;
        }
    } catch (const bank::SourceErrors &e) {
        for (const bank::SourceError &s : e.list)
            err() << s.toString() << Qt::endl;
        err() << e.list.size() << " error(s) in the sources; no bank was written" << Qt::endl;
        return 1;
    } catch (const store::Error &e) {
        err() << e.message() << Qt::endl;
        return 1;
    } catch (const docx::Error &e) {
        err() << e.message() << Qt::endl;
        return 1;
    } catch (const exam::PaperError &e) {
        err() << e.text << Qt::endl;
        return 1;
    } catch (const formats::import::ImportError &e) {
        err() << e.message() << Qt::endl;
        return 1;
    } catch (const importing::ImportRefused &e) {
        err() << e.message() << Qt::endl;
        return 1;
    }
    return usage();
}
