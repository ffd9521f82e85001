#include "ReplayScore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

// quillet-learnersim [--learners N] [--days N] [--seed N] [--csv out.csv]
// Simulates learners, prints how the model scores on them, and writes their answers as
// replay lines when asked.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    learnersim::Config config;
    QString csv;
    for (int i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (args[i] == QLatin1String("--learners") && hasValue)
            config.learners = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--days") && hasValue)
            config.days = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--seed") && hasValue)
            config.seed = args[++i].toUInt(&ok);
        else if (args[i] == QLatin1String("--csv") && hasValue)
            csv = args[++i];
        else
            ok = false;
        if (!ok || config.learners < 1 || config.days < 1) {
            err << "usage: quillet-learnersim [--learners N] [--days N] [--seed N] [--csv out.csv]" << Qt::endl;
            return 2;
        }
    }
    const QVector<learnersim::Answer> answers = learnersim::simulate(config);
    if (!csv.isEmpty()) {
        QFile file(csv);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            err << "cannot write " << csv << ": " << file.errorString() << Qt::endl;
            return 1;
        }
        file.write(learnersim::toCsv(answers).toUtf8());
    }
    out << learnersim::describe(learnersim::score(answers));
    return 0;
}
