#include "PaperForecast.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace store::review {

namespace {

// The coarsest step (1, 1/2, 1/4, 1/10, 1/100 of a mark) on which every question's marks lie.
double markStep(const QVector<MarkGroup> &groups)
{
    for (double step : {1.0, 0.5, 0.25, 0.1, 0.01}) {
        const bool fits = std::all_of(groups.begin(), groups.end(), [step](const MarkGroup &g) {
            const double units = g.marks / step;
            return std::abs(units - std::round(units)) < 1e-6;
        });
        if (fits)
            return step;
    }
    return 0.01;
}

} // namespace

double passMarkOf(const QVector<MarkGroup> &groups)
{
    double full = 0;
    for (const MarkGroup &g : groups)
        full += g.count * g.marks;
    return 0.6 * full;
}

ScoreForecast forecastScore(const QVector<MarkGroup> &groups, double passMark)
{
    ScoreForecast f;
    const double step = markStep(groups);
    // odds[k] = chance of a score of k steps, built one question at a time.
    std::vector<double> odds(1, 1.0);
    for (const MarkGroup &g : groups) {
        const int units = int(std::lround(std::max(0.0, g.marks) / step));
        const double p = std::clamp(g.chance, 0.0, 1.0);
        for (int i = 0; i < g.count; ++i) {
            f.fullMarks += g.marks;
            f.mean += p * g.marks;
            if (units == 0)
                continue;
            odds.resize(odds.size() + units, 0.0);
            for (size_t k = odds.size(); k-- > size_t(units);)
                odds[k] = odds[k] * (1 - p) + odds[k - units] * p;
            for (int k = units - 1; k >= 0; --k)
                odds[k] *= 1 - p;
        }
    }
    double below = 0;
    double upTo = 0;
    bool lowFound = false;
    bool highFound = false;
    for (size_t k = 0; k < odds.size(); ++k) {
        const double score = k * step;
        if (score < passMark - 1e-9)
            below += odds[k];
        upTo += odds[k];
        if (!lowFound && upTo >= 0.1 - 1e-12) {
            f.low = score;
            lowFound = true;
        }
        if (!highFound && upTo >= 0.9 - 1e-12) {
            f.high = score;
            highFound = true;
        }
    }
    f.passChance = std::clamp(1 - below, 0.0, 1.0);
    return f;
}

} // namespace store::review
