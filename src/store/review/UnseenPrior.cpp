#include "MemoryModel.h"

#include <algorithm>

namespace store::review {

void KnowRate::add(bool correct, double guess)
{
    n_ += 1;
    right_ += correct ? 1 : 0;
    guess_ += guess;
}

double KnowRate::know(double towards, double weight) const
{
    const double evidence = std::max(0.0, n_ - guess_);
    const double known = std::clamp(right_ - guess_, 0.0, evidence);
    return std::clamp((known + weight * towards) / (evidence + weight), 0.01, 0.99);
}

double UnseenPrior::overallKnowRate() const
{
    return overall_.know(kStartRate, kStartWeight);
}

double UnseenPrior::groupKnowRate(const QString &chapter, const QStringList &points) const
{
    const double overall = overallKnowRate();
    double sum = 0;
    int parts = 0;
    if (!chapter.isEmpty()) {
        sum += chapters_.value(chapter).know(overall, kPseudoCount);
        ++parts;
    }
    if (!points.isEmpty()) {
        double pointSum = 0;
        for (const QString &p : points)
            pointSum += points_.value(p).know(overall, kPseudoCount);
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
