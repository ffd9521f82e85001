#include "LearnerSimulator.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

namespace learnersim {

namespace {

struct Question {
    double difficulty;
    int type;
    int options;
    double guess;
};

struct Memory {
    bool seen = false;
    double stability = 0;
    int last = 0;
    bool lastCorrect = false;
};

double sigmoid(double x)
{
    return 1 / (1 + std::exp(-x));
}

constexpr double kSlip = 0.03;        // a recalled answer still marked wrong
constexpr double kSameDayGap = 0.3;   // days between two tries on one study day

QVector<Question> makeQuestions(int count, std::mt19937 &rng)
{
    std::normal_distribution<double> difficulty(0, 1);
    std::uniform_real_distribution<double> u(0, 1);
    QVector<Question> questions;
    for (int i = 0; i < count; ++i) {
        const double kind = u(rng);
        Question q{difficulty(rng), 11, 4, 0.25};
        if (kind < 0.25) {
            q.type = 14;
            q.options = u(rng) < 0.5 ? 4 : 5;
            q.guess = 1 / (std::pow(2.0, q.options) - 1);
        } else if (kind < 0.35) {
            q.type = 41;
            q.options = 2;
            q.guess = 0.5;
        } else if (kind < 0.5) {
            q.type = 65;
            q.options = 0;
            q.guess = 0;
        }
        questions.append(q);
    }
    return questions;
}

class Learner {
public:
    Learner(int id, const QVector<Question> &questions, const Config &config, std::mt19937 &rng)
        : id_(id), questions_(questions), config_(config), rng_(rng), memory_(questions.size())
    {
        ability_ = std::normal_distribution<double>(0, 0.7)(rng_);
        order_.resize(questions.size());
        std::iota(order_.begin(), order_.end(), 0);
        std::shuffle(order_.begin(), order_.end(), rng_);
    }

    void run(QVector<Answer> &out)
    {
        std::uniform_real_distribution<double> u(0, 1);
        for (int day = 0; day < config_.days; ++day) {
            if (u(rng_) >= config_.studyDayChance)
                continue;
            std::vector<int> today = reviews();
            for (int i = 0; i < config_.newPerDay && next_ < order_.size(); ++i)
                today.push_back(order_[next_++]);
            std::shuffle(today.begin(), today.end(), rng_);
            std::vector<int> again;
            for (int q : today)
                if (!answer(q, day, out) && u(rng_) < config_.sameDayRepeatChance)
                    again.push_back(q);
            for (int q : again)
                answer(q, day, out);
        }
    }

private:
    // Questions answered wrong last time come back first, then seen ones picked at random,
    // which spreads the gaps between answers from a day to months.
    std::vector<int> reviews()
    {
        std::vector<int> wrong;
        std::vector<int> right;
        for (size_t i = 0; i < next_; ++i) {
            const Memory &m = memory_[order_[i]];
            (m.lastCorrect ? right : wrong).push_back(order_[i]);
        }
        std::shuffle(wrong.begin(), wrong.end(), rng_);
        std::shuffle(right.begin(), right.end(), rng_);
        std::vector<int> chosen;
        const size_t wrongShare = config_.reviewsPerDay / 2;
        for (size_t i = 0; i < wrong.size() && i < wrongShare; ++i)
            chosen.push_back(wrong[i]);
        for (size_t i = 0; i < right.size() && chosen.size() < size_t(config_.reviewsPerDay); ++i)
            chosen.push_back(right[i]);
        return chosen;
    }

    bool answer(int qi, int day, QVector<Answer> &out)
    {
        std::uniform_real_distribution<double> u(0, 1);
        const Question &q = questions_[qi];
        Memory &m = memory_[qi];
        const double strength = ability_ - q.difficulty;
        double recallChance;
        double gap = 0;
        if (!m.seen) {
            recallChance = sigmoid(strength - 0.7); // known before ever practising it
        } else {
            gap = day == m.last ? kSameDayGap : day - m.last;
            recallChance = std::exp(-gap / m.stability);
        }
        const bool recalled = u(rng_) < recallChance;
        const bool correct = recalled ? u(rng_) >= kSlip : u(rng_) < q.guess;
        // The key is shown after every answer, so memory is renewed either way.
        if (!m.seen)
            m.stability = recalled ? 10 * std::exp(0.5 * strength) : 1.2 * std::exp(0.5 * strength);
        else if (recalled)
            m.stability *= 1 + 6 * std::exp(0.3 * strength) * std::pow(1 - recallChance, 0.7);
        else
            m.stability = std::max(0.8 * std::exp(0.4 * strength), 0.3 * m.stability);
        m.seen = true;
        m.last = day;
        m.lastCorrect = correct;
        out.append({id_, QStringLiteral("q%1").arg(qi), day, correct, q.type, q.options});
        return correct;
    }

    int id_;
    const QVector<Question> &questions_;
    const Config &config_;
    std::mt19937 &rng_;
    std::vector<Memory> memory_;
    std::vector<int> order_;
    size_t next_ = 0;
    double ability_ = 0;
};

} // namespace

QVector<Answer> simulate(const Config &config)
{
    std::mt19937 rng(config.seed);
    const QVector<Question> questions = makeQuestions(config.questions, rng);
    QVector<Answer> answers;
    for (int l = 0; l < config.learners; ++l)
        Learner(l + 1, questions, config, rng).run(answers);
    return answers;
}

QString toCsv(const QVector<Answer> &answers)
{
    QString csv;
    for (const Answer &a : answers)
        csv += QStringLiteral("L%1,%2,%3,%4,%5,%6\n")
                   .arg(a.learner)
                   .arg(a.question)
                   .arg(a.day)
                   .arg(a.correct ? 1 : 0)
                   .arg(a.type)
                   .arg(a.options);
    return csv;
}

} // namespace learnersim
