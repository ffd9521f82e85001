#include "MemoryModel.h"

#include <algorithm>

namespace store::review {

void UnseenPrior::Tally::add(bool correct, double g)
{
    n += 1;
    right += correct ? 1 : 0;
    guess += g;
}

// Right first answers = Σg + (n − Σg)·know, so the record of n answers weighs n − Σg answers'
// worth of evidence about knowing; weight answers' worth of the wider rate are added to it.
double UnseenPrior::knowRate(const Tally &t, double towards, double weight) const
{
    const double evidence = std::max(0.0, t.n - t.guess);
    const double known = std::clamp(t.right - t.guess, 0.0, evidence);
    return std::clamp((known + weight * towards) / (evidence + weight), 0.01, 0.99);
}

double UnseenPrior::overallKnowRate() const
{
    return knowRate(overall_, kStartRate, kStartWeight);
}

double UnseenPrior::groupKnowRate(const QString &chapter, const QStringList &points) const
{
    const double overall = overallKnowRate();
    double sum = 0;
    int parts = 0;
    if (!chapter.isEmpty()) {
        sum += knowRate(chapters_.value(chapter), overall, kPseudoCount);
        ++parts;
    }
    if (!points.isEmpty()) {
        double pointSum = 0;
        for (const QString &p : points)
            pointSum += knowRate(points_.value(p), overall, kPseudoCount);
        sum += pointSum / points.size();
        ++parts;
    }
    return parts ? sum / parts : overall;
}

void UnseenPrior::addFirstAttempt(const QString &chapter, const QStringList &points, bool correct)
{
    addFirstAttempt(chapter, points, correct, 0);
}

void UnseenPrior::addFirstAttempt(const QString &chapter, const QStringList &points, bool correct, double guess)
{
    overall_.add(correct, guess);
    if (!chapter.isEmpty())
        chapters_[chapter].add(correct, guess);
    for (const QString &p : points)
        points_[p].add(correct, guess);
}

double UnseenPrior::chance(const QString &chapter, const QStringList &points) const
{
    return chance(chapter, points, 0);
}

double UnseenPrior::chance(const QString &chapter, const QStringList &points, double guess) const
{
    return guess + (1 - guess) * groupKnowRate(chapter, points);
}

} // namespace store::review
