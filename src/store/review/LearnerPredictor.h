#pragma once

#include "MemoryModel.h"

namespace store::review {

// One learner's answers met in time order: the chance of each answer is asked before the
// answer is recorded. Fitted weights replace the defaults once the learner has
// kMinAnswersToFit answers, and are fitted again each time the history has doubled.
// A question tried again less than a day after its last answer is short-term memory, which
// the forgetting curve does not describe (the key was just shown): its chance is the learner's
// own record on such tries, after a right and after a wrong last answer.
// The recall chance is recalibrated every few answers from the latest answers predicted by the
// current weights, so that a learner who forgets faster or slower than the weights say is
// described honestly well before there are enough answers to fit the weights.
class LearnerPredictor {
public:
    double chanceRight(const QString &question, double day, double guess) const;
    void record(const QString &question, double day, bool correct, double guess);

    const MemoryModel &model() const { return model_; }
    int answers() const { return int(history_.size()); }
    int fits() const { return fits_; }
    void setFitting(bool on) { fitting_ = on; }

private:
    void apply(const Attempt &a);
    void refit();
    void remember(const RecallRecord &r);

    MemoryModel model_;
    QHash<QString, MemoryState> states_;
    UnseenPrior prior_;
    KnowRate sameDay_[2]; // by whether the last answer was right
    QVector<RecallRecord> recent_; // answers predicted by the current weights, for calibration
    QVector<Attempt> history_;
    int nextFit_ = kMinAnswersToFit;
    int fits_ = 0;
    bool fitting_ = true;
};

} // namespace store::review
