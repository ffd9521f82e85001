#include "MemoryModel.h"

#include <algorithm>
#include <cmath>

namespace store::review {

namespace {

// Answers' worth of belief that the forgetting curve is right as it stands.
constexpr double kPriorWeight = 5;
constexpr int kSteps = 8;

} // namespace

// Logistic recalibration of the recall chance under guessing: the chance of a right answer is
// g + (1-g)·σ(z), z = slope·logit(R) + shift. Fisher scoring on the log loss, with a ridge that
// pulls (slope, shift) toward (1, 0), so a few answers move it little.
void calibrate(const QVector<RecallRecord> &records, Parameters &p)
{
    double a = p.slope;
    double b = p.shift;
    for (int step = 0; step < kSteps; ++step) {
        double gA = kPriorWeight * (a - 1), gB = kPriorWeight * b;
        double hAA = kPriorWeight, hAB = 0, hBB = kPriorWeight;
        for (const RecallRecord &r : records) {
            const double x = std::log(std::clamp(r.r, 1e-6, 1 - 1e-6) / (1 - std::clamp(r.r, 1e-6, 1 - 1e-6)));
            const double s = 1 / (1 + std::exp(-(a * x + b)));
            const double slopeOfP = (1 - r.guess) * s * (1 - s);
            const double chance = std::clamp(r.guess + (1 - r.guess) * s, 1e-6, 1 - 1e-6);
            const double gz = -slopeOfP * ((r.correct ? 1.0 : 0.0) - chance) / (chance * (1 - chance));
            const double info = slopeOfP * slopeOfP / (chance * (1 - chance));
            gA += gz * x;
            gB += gz;
            hAA += info * x * x;
            hAB += info * x;
            hBB += info;
        }
        const double det = hAA * hBB - hAB * hAB;
        if (det <= 0)
            break;
        a = std::clamp(a - (hBB * gA - hAB * gB) / det, 0.2, 3.0);
        b = std::clamp(b - (hAA * gB - hAB * gA) / det, -3.0, 3.0);
    }
    p.slope = a;
    p.shift = b;
}

} // namespace store::review
