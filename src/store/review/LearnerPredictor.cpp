#include "LearnerPredictor.h"

namespace store::review {

namespace {

// Before the learner's own record says otherwise: a question missed minutes ago is often
// missed again, one answered right is nearly always right again.
constexpr double kSameDayKnow[2] = {0.7, 0.95};
constexpr double kSameDayWeight = 5;
// Often while the record is short, when each answer moves the calibration most.
int calibrationGap(int records)
{
    return records < 500 ? 10 : 50;
}
constexpr int kCalibrationWindow = 4000;

bool sameDay(const MemoryState &s, double day)
{
    return day - s.lastReview < 1;
}

} // namespace

double LearnerPredictor::chanceRight(const QString &question, double day, double guess) const
{
    const auto it = states_.constFind(question);
    if (it == states_.constEnd())
        return prior_.chance({}, {}, guess);
    if (sameDay(*it, day))
        return sameDay_[it->lastCorrect].chance(guess, kSameDayKnow[it->lastCorrect], kSameDayWeight);
    return model_.chanceRight(*it, day, guess);
}

void LearnerPredictor::record(const QString &question, double day, bool correct, double guess)
{
    const Attempt a{question, day, correct, guess};
    apply(a);
    history_.append(a);
    if (fitting_ && history_.size() >= nextFit_)
        refit();
}

void LearnerPredictor::apply(const Attempt &a)
{
    auto it = states_.find(a.question);
    if (it == states_.end()) {
        const double unseen = prior_.chance({}, {}, a.guess);
        prior_.addFirstAttempt({}, {}, a.correct, a.guess);
        states_.insert(a.question, model_.afterAnswer({}, a.day, a.correct, a.guess, unseen));
    } else {
        if (sameDay(*it, a.day))
            sameDay_[it->lastCorrect].add(a.correct, a.guess);
        else
            remember({model_.retrievability(*it, a.day), a.guess, a.correct});
        *it = model_.afterAnswer(*it, a.day, a.correct, a.guess);
    }
}

void LearnerPredictor::remember(const RecallRecord &r)
{
    recent_.append(r);
    if (recent_.size() % calibrationGap(recent_.size()) != 0)
        return;
    if (recent_.size() > 2 * kCalibrationWindow)
        recent_.remove(0, recent_.size() - kCalibrationWindow);
    Parameters p = model_.parameters();
    calibrate(recent_, p);
    model_ = MemoryModel(p);
}

// New weights change every state, so the states are worked out again from the whole history.
void LearnerPredictor::refit()
{
    model_ = MemoryModel(fit(history_, model_.parameters()));
    recent_.clear();
    ++fits_;
    nextFit_ = 2 * history_.size();
    states_.clear();
    prior_ = UnseenPrior();
    sameDay_[0] = sameDay_[1] = KnowRate();
    for (const Attempt &a : std::as_const(history_))
        apply(a);
}

} // namespace store::review
