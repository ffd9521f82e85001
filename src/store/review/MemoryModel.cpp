#include "MemoryModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace store::review {

namespace {

constexpr double kMinStability = 0.01;
constexpr double kMaxStability = 36500;

double clampStability(double s)
{
    return std::clamp(s, kMinStability, kMaxStability);
}

double clampDifficulty(double d)
{
    return std::clamp(d, 1.0, 10.0);
}

int index(Grade g)
{
    return static_cast<int>(g);
}

struct Range {
    double low;
    double high;
};

// Bounds that keep fitted weights meaningful (the same bounds the published optimizer uses).
constexpr Range kRanges[20] = {{0.01, 100}, {0.01, 100}, {0.01, 100}, {0.01, 100}, {1, 10},
                               {0.001, 4},  {0.001, 4},  {0.001, 0.75}, {0, 4.5},  {0, 0.8},
                               {0.001, 3.5}, {0.001, 5}, {0.001, 0.25}, {0.001, 0.9}, {0, 4},
                               {0, 1},      {1, 6},      {0, 2},       {0, 2},      {0.1, 8}};
constexpr int kWeights = 20;

double logit(double p)
{
    p = std::clamp(p, 1e-6, 1 - 1e-6);
    return std::log(p / (1 - p));
}

double sigmoid(double x)
{
    return 1 / (1 + std::exp(-x));
}

} // namespace

Parameters Parameters::defaults()
{
    return {{0.40255, 1.18385, 3.173, 15.69105, 7.1949, 0.5345, 1.4604, 0.0046, 1.54575, 0.1192, 1.01925, 1.9395,
             0.11, 0.29605, 2.2698, 0.2315, 2.9898, 0.51655, 0.6621, 0.5}};
}

Parameters Parameters::clamped() const
{
    Parameters p = defaults();
    for (int i = 0; i < kWeights && i < w.size(); ++i)
        p.w[i] = std::clamp(w[i], kRanges[i].low, kRanges[i].high);
    p.slope = std::clamp(slope, 0.2, 3.0);
    p.shift = std::clamp(shift, -3.0, 3.0);
    return p;
}

double guessRate(int type, int options)
{
    switch (type) {
    case qtype::Single:
        return 1.0 / std::max(options > 0 ? options : 4, 2);
    case qtype::Multiple:
        return 1.0 / (std::pow(2.0, std::clamp(options > 0 ? options : 4, 2, 10)) - 1);
    case qtype::TrueFalse:
        return 0.5;
    default:
        return 0; // self-assessed: nothing to hit by chance
    }
}

// The forgetting curve R(t, S) = (1 + FACTOR·t/S)^-decay, FACTOR chosen so that R(S, S) = 0.9
// (with FSRS-5's decay 0.5, FACTOR = 19/81).
MemoryModel::MemoryModel(Parameters p)
    : p_(p.clamped())
    , decay_(-p_.w[19])
    , factor_(std::pow(0.9, 1 / decay_) - 1)
{
}

const Parameters &MemoryModel::parameters() const
{
    return p_;
}

double MemoryModel::retrievability(const MemoryState &s, double day) const
{
    if (!s.seen())
        return 0;
    const double t = std::max(0.0, day - s.lastReview);
    return std::pow(1 + factor_ * t / s.stability, decay_);
}

double MemoryModel::calibrated(double r) const
{
    if (p_.slope == 1 && p_.shift == 0)
        return r;
    return sigmoid(p_.slope * logit(r) + p_.shift);
}

double MemoryModel::recallChance(const MemoryState &s, double day) const
{
    return s.seen() ? calibrated(retrievability(s, day)) : 0;
}

double MemoryModel::chanceRight(const MemoryState &s, double day, double guess) const
{
    return guess + (1 - guess) * recallChance(s, day);
}

double MemoryModel::initialStability(Grade g) const
{
    return clampStability(p_.w[index(g) - 1]);
}

double MemoryModel::initialDifficulty(Grade g) const
{
    return p_.w[4] - std::exp(p_.w[5] * (index(g) - 1)) + 1;
}

// The grade moves difficulty by -w6·(G-3), damped linearly as it nears 10, then reverts a
// little toward the difficulty of an Easy first answer.
double MemoryModel::nextDifficulty(double d, Grade g) const
{
    const double delta = -p_.w[6] * (index(g) - 3);
    const double damped = d + delta * (10 - d) / 9;
    return clampDifficulty(p_.w[7] * initialDifficulty(Grade::Easy) + (1 - p_.w[7]) * damped);
}

double MemoryModel::stabilityAfterSuccess(double s, double d, double r) const
{
    const double &w8 = p_.w[8], &w9 = p_.w[9], &w10 = p_.w[10];
    return s * (1 + std::exp(w8) * (11 - d) * std::pow(s, -w9) * (std::exp(w10 * (1 - r)) - 1));
}

// A lapse never leaves memory stronger than the same-day rule would for a lapse.
double MemoryModel::stabilityAfterLapse(double s, double d, double r) const
{
    const double &w11 = p_.w[11], &w12 = p_.w[12], &w13 = p_.w[13], &w14 = p_.w[14];
    const double longTerm = w11 * std::pow(d, -w12) * (std::pow(s + 1, w13) - 1) * std::exp(w14 * (1 - r));
    return std::min(longTerm, s / std::exp(p_.w[17] * p_.w[18]));
}

double MemoryModel::stabilitySameDay(double s, Grade g) const
{
    return s * std::exp(p_.w[17] * (index(g) - 3 + p_.w[18]));
}

MemoryState MemoryModel::afterGrade(const MemoryState &s, double day, Grade g) const
{
    MemoryState next;
    if (!s.seen()) {
        next.stability = initialStability(g);
        next.difficulty = clampDifficulty(initialDifficulty(g));
    } else {
        // Less than a day apart counts as the same day: short-term memory, not spacing.
        const double elapsed = day - s.lastReview;
        if (elapsed < 1)
            next.stability = stabilitySameDay(s.stability, g);
        else if (g == Grade::Again)
            next.stability = stabilityAfterLapse(s.stability, s.difficulty, retrievability(s, day));
        else
            next.stability = stabilityAfterSuccess(s.stability, s.difficulty, retrievability(s, day));
        next.stability = clampStability(next.stability);
        next.difficulty = nextDifficulty(s.difficulty, g);
    }
    next.lastReview = std::max(day, s.lastReview);
    next.reviews = s.reviews + 1;
    next.lastCorrect = g != Grade::Again;
    return next;
}

MemoryState MemoryModel::afterAnswer(const MemoryState &s, double day, bool correct, double guess) const
{
    // With nothing known about an unseen question, even odds that the learner knows it.
    return afterAnswer(s, day, correct, guess, guess + (1 - guess) * 0.5);
}

// A right answer is a recall or a lucky guess. Before the answer the chance of recall is R
// (for an unseen question, the chance of knowing implied by unseenChance); after a right
// answer it is p = P(recall | right) = R / (g + (1-g)·R). Memory is then the Good outcome with
// chance p and the Again outcome otherwise; one state stands for that blend: difficulty
// averaged, stability averaged on the log scale (a time scale; the blend's forgetting curve
// lies between those of the two outcomes). With g = 0 this is the Good step.
MemoryState MemoryModel::afterAnswer(const MemoryState &s, double day, bool correct, double guess,
                                     double unseenChance) const
{
    const MemoryState recalled = afterGrade(s, day, Grade::Good);
    if (!correct || guess <= 0)
        return correct ? recalled : afterGrade(s, day, Grade::Again);
    guess = std::min(guess, 0.99);
    const double know = s.seen() ? recallChance(s, day)
                                 : std::clamp((unseenChance - guess) / (1 - guess), 0.01, 0.99);
    const double recall = know / (guess + (1 - guess) * know);
    const MemoryState lapsed = afterGrade(s, day, Grade::Again);
    MemoryState next = recalled;
    next.stability = std::exp(recall * std::log(recalled.stability) + (1 - recall) * std::log(lapsed.stability));
    next.difficulty = recall * recalled.difficulty + (1 - recall) * lapsed.difficulty;
    return next;
}

// Old progress tells only that the question was answered and how the last answer went: one
// review on the day of the last answer.
MemoryState MemoryModel::fromOldProgress(int attempts, bool lastCorrect, double day) const
{
    if (attempts <= 0)
        return {};
    MemoryState s = afterGrade({}, day, lastCorrect ? Grade::Good : Grade::Again);
    s.reviews = attempts;
    return s;
}

double MemoryModel::dueDay(const MemoryState &s, double target, double guess) const
{
    if (!s.seen())
        return std::numeric_limits<double>::infinity();
    guess = std::clamp(guess, 0.0, 0.99);
    const double recall = (target - guess) / (1 - guess);
    if (recall <= 0)
        return std::numeric_limits<double>::infinity();
    if (recall >= 1)
        return s.lastReview;
    // The R whose recalibration is the recall wanted, then the day R falls to it.
    const double r = sigmoid((logit(recall) - p_.shift) / p_.slope);
    return s.lastReview + s.stability / factor_ * (std::pow(r, 1 / decay_) - 1);
}

} // namespace store::review
