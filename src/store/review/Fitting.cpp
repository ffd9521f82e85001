#include "MemoryModel.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <vector>

namespace store::review {

namespace {

// The history in arrays, questions numbered, and the unseen prior's chance for every first
// answer worked out once: it does not depend on the weights.
struct Prepared {
    std::vector<int> question;
    std::vector<double> day;
    std::vector<char> correct;
    std::vector<double> guess;
    std::vector<double> unseenChance;
    int questions = 0;

    Prepared(const QVector<Attempt> &history, int keepOneIn)
    {
        QHash<QString, int> numbers;
        UnseenPrior prior;
        for (const Attempt &a : history) {
            auto it = numbers.find(a.question);
            const bool first = it == numbers.end();
            if (first)
                it = numbers.insert(a.question, numbers.size());
            const double chance = first ? prior.chance({}, {}, a.guess) : 0;
            if (first)
                prior.addFirstAttempt({}, {}, a.correct, a.guess);
            if (it.value() % keepOneIn != 0)
                continue;
            question.push_back(it.value() / keepOneIn);
            day.push_back(a.day);
            correct.push_back(a.correct);
            guess.push_back(a.guess);
            unseenChance.push_back(chance);
        }
        questions = (numbers.size() + keepOneIn - 1) / keepOneIn;
    }

    double loss(const MemoryModel &model) const
    {
        std::vector<MemoryState> states(questions);
        double sum = 0;
        int counted = 0;
        for (size_t i = 0; i < question.size(); ++i) {
            MemoryState &s = states[question[i]];
            if (s.seen() && day[i] - s.lastReview >= 1) {
                const double p = std::clamp(model.chanceRight(s, day[i], guess[i]), 1e-4, 1 - 1e-4);
                sum -= correct[i] ? std::log(p) : std::log(1 - p);
                ++counted;
            }
            s = model.afterAnswer(s, day[i], correct[i], guess[i], unseenChance[i]);
        }
        return counted ? sum / counted : 0;
    }
};

// The weights a right/wrong history can tell apart: Hard and Easy never occur, so their
// initial stabilities and factors (w1, w3, w15, w16) stay as published.
constexpr int kFitted[] = {0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 18, 19};

// Enough answers to fit well while one pass of the search stays fast.
// The search is bounded by work (answers × evaluations), so that its result does not depend
// on how busy the machine is; the processor-time budget only guards against the unforeseen.
constexpr int kMaxFitAnswers = 40000;
constexpr double kMaxWork = 8e6;
constexpr int kMaxEvaluations = 400;
constexpr double kTimeBudgetSeconds = 1.5;

} // namespace

double logLoss(const QVector<Attempt> &history, const Parameters &p)
{
    return Prepared(history, 1).loss(MemoryModel(p));
}

// Coordinate search: each weight in turn is moved up and down by its step, kept when the log
// loss falls (and the step grows), else the step shrinks. It needs no gradient, respects the
// bounds, and stops when every step is a small share of its range or when the work or time
// budget is spent, so a long history cannot hang the caller. Beyond kMaxFitAnswers a fixed
// share of the questions is kept, each with its whole history.
Parameters fit(const QVector<Attempt> &history, const Parameters &start)
{
    const std::clock_t started = std::clock();
    const int keepOneIn = std::max<int>(1, (history.size() + kMaxFitAnswers - 1) / kMaxFitAnswers);
    const Prepared data(history, keepOneIn);
    const int maxEvaluations = std::min<int>(kMaxEvaluations, kMaxWork / std::max<size_t>(1, data.day.size()));
    Parameters best = start.clamped();
    best.slope = 1;
    best.shift = 0;
    const Parameters low = Parameters{QVector<double>(20, -1e9)}.clamped();
    const Parameters high = Parameters{QVector<double>(20, 1e9)}.clamped();
    double bestLoss = data.loss(MemoryModel(best));
    // The decay trades off against every stability weight, which a search one weight at a time
    // would not follow: it is placed first by trying a few shapes of curve.
    for (double decay : {0.3, 1.0, 2.0, 4.0}) {
        Parameters trial = best;
        trial.w[19] = decay;
        const double l = data.loss(MemoryModel(trial));
        if (l < bestLoss) {
            best = trial;
            bestLoss = l;
        }
    }
    std::vector<double> step;
    std::vector<double> smallest;
    for (int i : kFitted) {
        step.push_back(std::min(1.0, 0.1 * (high.w[i] - low.w[i])));
        smallest.push_back(0.005 * (high.w[i] - low.w[i]));
    }
    int evaluations = 0;
    auto searching = [&] {
        if (evaluations >= maxEvaluations || double(std::clock() - started) / CLOCKS_PER_SEC >= kTimeBudgetSeconds)
            return false;
        for (size_t k = 0; k < step.size(); ++k)
            if (step[k] >= smallest[k])
                return true;
        return false;
    };
    while (searching()) {
        for (size_t k = 0; k < step.size() && searching(); ++k) {
            if (step[k] < smallest[k])
                continue;
            const int i = kFitted[k];
            bool improved = false;
            for (double sign : {1.0, -1.0}) {
                Parameters trial = best;
                trial.w[i] += sign * step[k];
                trial = trial.clamped();
                if (trial.w[i] == best.w[i])
                    continue;
                const double l = data.loss(MemoryModel(trial));
                ++evaluations;
                if (l < bestLoss - 1e-7) {
                    best = trial;
                    bestLoss = l;
                    improved = true;
                    break;
                }
            }
            step[k] *= improved ? 1.5 : 0.4;
        }
    }
    return best;
}

} // namespace store::review
