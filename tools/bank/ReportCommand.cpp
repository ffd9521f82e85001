#include "ReportCommand.h"

#include "Connection.h"
#include "DataModule.h"
#include "Report.h"
#include "ReportJson.h"
#include "Schema.h"

#include <QFileInfo>
#include <QJsonDocument>

namespace bank {

namespace {

void printText(const store::review::Report &r, QTextStream &out)
{
    for (const store::review::SubjectPrediction &p : r.subjects)
        out << QStringLiteral("subject %1 %2: predicted %3 of %4 (80%: %5-%6), pass chance %7%, answered %8/%9")
                   .arg(p.subject)
                   .arg(p.name)
                   .arg(p.score, 0, 'f', 1)
                   .arg(p.fullMarks, 0, 'f', 0)
                   .arg(p.low, 0, 'f', 1)
                   .arg(p.high, 0, 'f', 1)
                   .arg(p.passChance * 100, 0, 'f', 1)
                   .arg(p.answered)
                   .arg(p.questions)
            << Qt::endl;
    for (const store::review::WeakSpot &s : r.chapters)
        out << QStringLiteral("chapter %1: loses %2 marks").arg(s.code).arg(s.lost(), 0, 'f', 2) << Qt::endl;
    for (const store::review::WeakSpot &s : r.points)
        out << QStringLiteral("point %1: loses %2 marks").arg(s.code).arg(s.lost(), 0, 'f', 2) << Qt::endl;
    out << QStringLiteral("last %1 answers: predicted %2%, right %3%")
               .arg(r.honesty.answers)
               .arg(r.honesty.meanPredicted * 100, 0, 'f', 1)
               .arg(r.honesty.shareRight * 100, 0, 'f', 1)
        << Qt::endl;
}

} // namespace

int reportCommand(const QStringList &args, QTextStream &out, QTextStream &err)
{
    const bool json = args.size() == 3 && args[2] == QLatin1String("--json");
    if (args.size() != 2 && !json)
        return 2;
    if (!QFileInfo(args[1]).isFile()) {
        err << "no such bank: " << args[1] << Qt::endl;
        return 1;
    }
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(args[1]));
    c.open(false, [](store::Connection &bank) { return store::schema::isBank(bank); });
    store::schema::migrate(c);
    const store::review::Report report = store::review::buildReport(c, store::review::now());
    if (json)
        out << QJsonDocument(store::review::reportJson(report)).toJson(QJsonDocument::Indented);
    else
        printText(report, out);
    out.flush();
    return 0;
}

} // namespace bank
