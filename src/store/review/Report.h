#pragma once

#include "MemoryModel.h"
#include "ReviewSettings.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <QVector>

namespace store {
class Connection;

// What the learner report shows, worked out from the bank without windows.
namespace review {

// The score of a paper drawn today: per type of tab_tx<n>, count × marks × the
// mean chance over that type's questions; the spread is that of the draw.
struct SubjectPrediction {
    int subject = 0;
    QString name;
    double fullMarks = 0;
    double score = 0;
    double low = 0, high = 0; // 80% of papers score within
    double passChance = 0;    // of reaching 60% of the full marks
    int questions = 0;
    int answered = 0;
};

// A chapter or exam point by the marks a paper loses on it.
struct WeakSpot {
    QString code;
    QString name;
    double weight = 0;  // marks a paper gives its questions on average
    double mastery = 0; // mean chance over them, by weight
    double lost() const { return weight * (1 - mastery); }
    QStringList questions; // weakest first: what its practice run asks
};

struct Honesty {
    int answers = 0; // the last ones, at most 200
    double meanPredicted = 0;
    double shareRight = 0;
};

struct PredictionPoint {
    int subject = 0;
    QDate day;
    double score = 0;
    double fullMarks = 0;
};

struct Report {
    QDateTime at;
    QVector<SubjectPrediction> subjects;
    QVector<WeakSpot> chapters, points; // ten of each, most marks lost first
    Honesty honesty;
    QVector<PredictionPoint> trend;     // stored predictions, by day
    Parameters parameters;
    FitRecord fit;
    int historyAnswers = 0;
    double target = kDefaultTarget;
};

// One type of a paper: how many questions, how many marks each, and the
// chances over the questions it is drawn from.
struct PaperType {
    int count = 0;
    double marks = 0;
    QVector<double> chances;
};
// Mean, spread and pass chance of a paper drawn from these types.
SubjectPrediction predictPaper(const QVector<PaperType> &types);

constexpr int kWeakSpots = 10;
constexpr int kHonestyAnswers = 200;

Report buildReport(Connection &c, const QDateTime &at);

// Keeps today's prediction of each subject (one per subject and day) and
// reads the stored ones back into report.trend.
void storePredictions(Connection &c, Report &report);
void loadTrend(Connection &c, Report &report);

// Fits the parameters to the history when there are enough answers and the
// last fit is missing or stale (the history grew by a fifth, or a week passed).
bool fitIfStale(Connection &c, const QDateTime &at);

} // namespace review
} // namespace store
