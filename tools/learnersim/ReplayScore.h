#pragma once

#include "LearnerSimulator.h"

#include <QString>
#include <QVector>

// How well the replayed model predicts simulated answers, against two plain predictors: the
// learner's running accuracy and the learner's running accuracy on the same question.
namespace learnersim {

struct CalibrationBin {
    int answers = 0;
    double predicted = 0; // mean chance given
    double observed = 0;  // share right
};

struct Score {
    int answers = 0;
    double modelLoss = 0;
    double learnerRateLoss = 0;
    double questionRateLoss = 0;
    QVector<CalibrationBin> bins; // ten, by tenths of the chance given
};

Score score(const QVector<Answer> &answers);
QString describe(const Score &s);

} // namespace learnersim
