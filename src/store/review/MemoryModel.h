#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// The learner's memory of each question: FSRS-5 (stability, difficulty, retrievability) with
// the published default weights, plus what FSRS lacks for an exam bank: answers that may have
// been guessed, and questions never seen.
namespace store::review {

struct MemoryState {
    double stability = 0;  // days; 0 = never seen
    double difficulty = 0; // 1..10
    double lastReview = 0; // day number (days since 1970-01-01 as a real, seconds/86400)
    int reviews = 0;
    bool lastCorrect = false;
    bool seen() const { return reviews > 0; }
};

// The 19 FSRS-5 weights w0..w18, and w19 the decay of the forgetting curve: FSRS-5 fixes it at
// 0.5; fitting it (as FSRS-6 does) lets a learner whose forgetting is nearer exponential be
// described (the curve tends to 0.9^(t/S) as the decay grows).
// slope and shift recalibrate the chance of recall on the logit scale, identity by default:
// logit(recall) = slope·logit(R) + shift, set from the learner's own answers (calibrate()).
struct Parameters {
    QVector<double> w;
    double slope = 1;
    double shift = 0;
    static Parameters defaults();
    // Each weight held inside the range the fitter may move it in.
    Parameters clamped() const;
};

// FSRS grades; a right answer is Good, a wrong one Again.
enum class Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// Question type codes as stored in the bank.
namespace qtype {
constexpr int Single = 11;
constexpr int Multiple = 14;
constexpr int TrueFalse = 41;
} // namespace qtype

// Chance of hitting the key by guessing: 1/options single choice, 1/2 true/false,
// 1/(2^options - 1) multiple choice (the one right non-empty subset), 0 subjective.
double guessRate(int type, int options);

class MemoryModel {
public:
    explicit MemoryModel(Parameters p = Parameters::defaults());

    double retrievability(const MemoryState &s, double day) const;            // R(t, S)
    double recallChance(const MemoryState &s, double day) const;              // R recalibrated
    double chanceRight(const MemoryState &s, double day, double guess) const; // g + (1-g)·recall

    // The state after one marked answer. A right answer that may have been a guess counts as
    // recalled only with the posterior chance that it was; unseenChance is the chance the
    // learner had of a right first answer (used only when the question was never seen).
    MemoryState afterAnswer(const MemoryState &s, double day, bool correct, double guess) const;
    MemoryState afterAnswer(const MemoryState &s, double day, bool correct, double guess,
                            double unseenChance) const;
    // Plain FSRS step with a grade (no guessing).
    MemoryState afterGrade(const MemoryState &s, double day, Grade g) const;

    // A question answered before any history existed: E3 attempts, last answer right/wrong on day.
    MemoryState fromOldProgress(int attempts, bool lastCorrect, double day) const;
    // Day on which chanceRight falls below target (for the due queue).
    double dueDay(const MemoryState &s, double target, double guess) const;
    const Parameters &parameters() const;

private:
    double initialStability(Grade g) const;
    double initialDifficulty(Grade g) const;
    double nextDifficulty(double d, Grade g) const;
    double stabilityAfterSuccess(double s, double d, double r) const;
    double stabilityAfterLapse(double s, double d, double r) const;
    double stabilitySameDay(double s, Grade g) const;
    double calibrated(double r) const;

    Parameters p_;
    double decay_;
    double factor_;
};

// A running record of right and wrong answers read as a chance of knowing: right answers are
// Σg + (n − Σg)·know, so n answers weigh n − Σg answers' worth of evidence about knowing.
class KnowRate {
public:
    void add(bool correct, double guess);
    // The chance of knowing, with weight answers' worth of towards added to the record.
    double know(double towards, double weight) const;
    double chance(double guess, double towards, double weight) const { return guess + (1 - guess) * know(towards, weight); }
    double answers() const { return n_; }

private:
    double n_ = 0;
    double right_ = 0;
    double guess_ = 0;
};

// Prior for unseen questions: the learner's first-attempt rate on the chapter and exam points,
// shrunk toward the overall first-attempt rate when data are few (and that one toward a
// fixed rate when the learner has hardly begun).
class UnseenPrior {
public:
    void addFirstAttempt(const QString &chapter, const QStringList &points, bool correct);
    double chance(const QString &chapter, const QStringList &points) const;
    // The same, corrected for the question's guess rate: the first-attempt record is turned
    // into a chance of knowing, and the question's own guess rate is put back on top.
    void addFirstAttempt(const QString &chapter, const QStringList &points, bool correct, double guess);
    double chance(const QString &chapter, const QStringList &points, double guess) const;

    int attempts() const { return int(overall_.answers()); }

    static constexpr double kPseudoCount = 8;   // weight of the wider rate in a narrow one
    static constexpr double kStartRate = 0.5;   // chance of knowing assumed before any answer
    static constexpr double kStartWeight = 4;

private:
    double overallKnowRate() const;
    double groupKnowRate(const QString &chapter, const QStringList &points) const;

    KnowRate overall_;
    QHash<QString, KnowRate> chapters_;
    QHash<QString, KnowRate> points_;
};

struct Attempt {
    QString question;
    double day;
    bool correct;
    double guess;
};
// One learner's answers in time order.

// Mean log loss of the model's chance on every answer to a question last answered a day or
// more before (first answers depend on the unseen prior, not on the weights, and the forgetting
// curve does not describe tries minutes apart).
double logLoss(const QVector<Attempt> &history, const Parameters &p);
// Weights that minimize logLoss, searched from start within a bounded time.
Parameters fit(const QVector<Attempt> &history, const Parameters &start);

// One answer predicted by the forgetting curve: its R before recalibration.
struct RecallRecord {
    double r;
    double guess;
    bool correct;
};
// slope and shift of p that best explain the records, held near the identity when records
// are few.
void calibrate(const QVector<RecallRecord> &records, Parameters &p);
// The number of answers from which fitted weights replace the defaults.
constexpr int kMinAnswersToFit = 1000;

} // namespace store::review
