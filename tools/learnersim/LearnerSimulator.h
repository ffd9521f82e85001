#pragma once

#include <QString>
#include <QVector>

// Simulated learners whose memory does not follow the model under test: forgetting is
// exponential, stability grows with each spaced success (more when the answer was nearly
// forgotten), learners differ in ability and questions in difficulty, and a learner who does
// not recall a choice question guesses among its options.
namespace learnersim {

struct Answer {
    int learner;
    QString question;
    int day;
    bool correct;
    int type;
    int options;
};

struct Config {
    int learners = 40;
    int questions = 3000;
    int days = 150;
    double studyDayChance = 0.75;
    int newPerDay = 15;
    int reviewsPerDay = 25;
    double sameDayRepeatChance = 0.3; // a question answered wrong is tried again that day
    quint32 seed = 1;
};

// Answers sorted by learner, then day, then the order they were given in.
QVector<Answer> simulate(const Config &config);

// The answers as replay lines: learner,question,day,correct,type,options.
QString toCsv(const QVector<Answer> &answers);

} // namespace learnersim
