#pragma once

#include <QString>
#include <QVector>
#include <functional>

// Timings of one action over several runs, in milliseconds.
struct Measurement {
    QString action;
    QVector<double> runs;
    double floorMedian = -1; // median of the action's floor, where it has one
    double target = -1;      // the median it must stay under, where it has one
    double ratioTarget = -1; // the ratio to its floor it must stay under
    double median() const;
    double percentile95() const;
    double ratio() const { return floorMedian > 0 ? median() / floorMedian : -1; }
    bool meetsTargets() const;
};

// Only actions whose name contains this text are run (all when empty); for profiling one action.
void setActionFilter(const QString &text);
bool actionWanted(const QString &action);

// Runs the action the given number of times; prepare (untimed) runs before each.
// An action the filter leaves out is not run and has no runs.
Measurement measure(const QString &action, int runs, const std::function<void()> &body,
                    const std::function<void()> &prepare = {});

QString tableOf(const QVector<Measurement> &all, double peakMegabytes);
QString jsonOf(const QVector<Measurement> &all, double peakMegabytes);
