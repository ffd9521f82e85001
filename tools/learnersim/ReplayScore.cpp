#include "ReplayScore.h"

#include "Replay.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace learnersim {

namespace {

double loss(double p, bool correct)
{
    p = std::clamp(p, 1e-4, 1 - 1e-4);
    return correct ? -std::log(p) : -std::log(1 - p);
}

struct Rate {
    double right = 0;
    double n = 0;
    // Laplace-smoothed toward a prior rate.
    double value(double prior, double weight) const { return (right + weight * prior) / (n + weight); }
    void add(bool correct)
    {
        right += correct;
        n += 1;
    }
};

} // namespace

Score score(const QVector<Answer> &answers)
{
    QVector<store::review::ReplayLine> lines;
    lines.reserve(answers.size());
    for (const Answer &a : answers)
        lines.append({QString::number(a.learner), a.question, double(a.day), a.correct, a.type, a.options});
    const QVector<double> chances = store::review::replay(lines);

    Score s;
    s.answers = answers.size();
    s.bins.resize(10);
    int learner = -1;
    Rate learnerRate;
    QHash<QString, Rate> questionRates;
    for (int i = 0; i < answers.size(); ++i) {
        const Answer &a = answers[i];
        if (a.learner != learner) {
            learner = a.learner;
            learnerRate = {};
            questionRates.clear();
        }
        const double overall = learnerRate.value(0.5, 2);
        Rate &question = questionRates[a.question];
        s.modelLoss += loss(chances[i], a.correct);
        s.learnerRateLoss += loss(overall, a.correct);
        s.questionRateLoss += loss(question.value(overall, 1), a.correct);
        CalibrationBin &bin = s.bins[std::clamp(int(chances[i] * 10), 0, 9)];
        ++bin.answers;
        bin.predicted += chances[i];
        bin.observed += a.correct;
        learnerRate.add(a.correct);
        question.add(a.correct);
    }
    if (s.answers) {
        s.modelLoss /= s.answers;
        s.learnerRateLoss /= s.answers;
        s.questionRateLoss /= s.answers;
    }
    for (CalibrationBin &bin : s.bins)
        if (bin.answers) {
            bin.predicted /= bin.answers;
            bin.observed /= bin.answers;
        }
    return s;
}

QString describe(const Score &s)
{
    QString text = QStringLiteral("answers %1\nlog loss: model %2, learner's running accuracy %3, "
                                  "per-question running accuracy %4\n"
                                  "chance given   answers  mean given  share right\n")
                       .arg(s.answers)
                       .arg(s.modelLoss, 0, 'f', 4)
                       .arg(s.learnerRateLoss, 0, 'f', 4)
                       .arg(s.questionRateLoss, 0, 'f', 4);
    for (int i = 0; i < s.bins.size(); ++i)
        text += QStringLiteral("%1-%2  %3  %4  %5\n")
                    .arg(i / 10.0, 3, 'f', 1)
                    .arg((i + 1) / 10.0, 3, 'f', 1)
                    .arg(s.bins[i].answers, 8)
                    .arg(s.bins[i].predicted, 10, 'f', 3)
                    .arg(s.bins[i].observed, 11, 'f', 3);
    return text;
}

} // namespace learnersim
