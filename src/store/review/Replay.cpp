#include "Replay.h"

#include "LearnerPredictor.h"

#include <QHash>
#include <QIODevice>

#include <memory>

namespace store::review {

namespace {

QString lineError(int number, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(number).arg(what);
}

} // namespace

ReplayInput readReplay(QIODevice &in)
{
    ReplayInput input;
    QHash<QString, double> lastDay;
    int number = 0;
    while (!in.atEnd()) {
        const QString text = QString::fromUtf8(in.readLine()).trimmed();
        ++number;
        if (text.isEmpty() || (number == 1 && text.startsWith(QLatin1String("learner,"))))
            continue;
        const QStringList f = text.split(QLatin1Char(','));
        if (f.size() != 6) {
            input.error = lineError(number, QStringLiteral("expected 6 fields (learner,question,day,correct,type,options), found %1").arg(f.size()));
            return input;
        }
        ReplayLine line;
        bool dayOk = false, typeOk = false, optionsOk = false;
        line.learner = f[0].trimmed();
        line.question = f[1].trimmed();
        line.day = f[2].trimmed().toDouble(&dayOk);
        line.type = f[4].trimmed().toInt(&typeOk);
        line.options = f[5].trimmed().toInt(&optionsOk);
        const QString correct = f[3].trimmed();
        if (line.learner.isEmpty() || line.question.isEmpty())
            input.error = lineError(number, QStringLiteral("learner and question must not be empty"));
        else if (!dayOk)
            input.error = lineError(number, QStringLiteral("day \"%1\" is not a number").arg(f[2]));
        else if (correct != QLatin1String("0") && correct != QLatin1String("1"))
            input.error = lineError(number, QStringLiteral("correct must be 0 or 1, found \"%1\"").arg(f[3]));
        else if (!typeOk || !optionsOk || line.options < 0)
            input.error = lineError(number, QStringLiteral("type and options must be whole numbers"));
        else if (lastDay.contains(line.learner) && line.day < lastDay.value(line.learner))
            input.error = lineError(number, QStringLiteral("day %1 comes before the learner's earlier day %2")
                                                .arg(f[2].trimmed())
                                                .arg(lastDay.value(line.learner)));
        if (!input.error.isEmpty())
            return input;
        line.correct = correct == QLatin1String("1");
        lastDay.insert(line.learner, line.day);
        input.lines.append(line);
    }
    return input;
}

QVector<double> replay(const QVector<ReplayLine> &lines)
{
    QHash<QString, std::shared_ptr<LearnerPredictor>> learners;
    QVector<double> chances;
    chances.reserve(lines.size());
    for (const ReplayLine &line : lines) {
        std::shared_ptr<LearnerPredictor> &learner = learners[line.learner];
        if (!learner)
            learner = std::make_shared<LearnerPredictor>();
        const double guess = guessRate(line.type, line.options);
        chances.append(learner->chanceRight(line.question, line.day, guess));
        learner->record(line.question, line.day, line.correct, guess);
    }
    return chances;
}

} // namespace store::review
