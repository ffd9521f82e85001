#pragma once

#include <QVector>

namespace store::review {

// Questions of a paper that share marks and chance: for a paper drawn at random from a type's
// questions, count × marks with the mean chance over that type's questions.
struct MarkGroup {
    int count = 0;
    double marks = 0;
    double chance = 0;
};

struct ScoreForecast {
    double fullMarks = 0;
    double mean = 0;
    double low = 0;        // 10th percentile: four scores in five lie in [low, high]
    double high = 0;       // 90th percentile
    double passChance = 0; // chance of at least the pass mark
};

// The distribution of the paper's score (each question right on its own with its chance), as
// a sum of independent marks worked out exactly on the grid the marks share.
ScoreForecast forecastScore(const QVector<MarkGroup> &groups, double passMark);
// The pass mark of a paper: 60% of its full marks.
double passMarkOf(const QVector<MarkGroup> &groups);

} // namespace store::review
