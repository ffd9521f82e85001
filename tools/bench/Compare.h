#pragma once

#include <QString>
#include <QVector>

// Runs the benchmark once per bank size, each in a process of its own so that
// peak memory is per size, and prints every action's median at each size and
// the ratio of the last to the first.
int compareSizes(const QVector<int> &sizes, const QStringList &passOn);
