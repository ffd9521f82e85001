#pragma once

#include <QString>
#include <QStringList>

namespace bank {

struct CheckReport {
    QStringList violations; // empty when the bank is sound
    QString summary;        // counts per subject and type, catalogue size
};

enum class CheckScope {
    WholeBank,   // everything below
    UpgradeFile, // the content alone: no plan row, papers need not be fillable
};

// Checks a bank's invariants: questions and texts pair up, chapters and
// linked points exist, grouped questions have their stem, keys suit their
// type, counters add up over the chapter tree, the exam-point catalogue counts
// each linked question once per item and group (see LinkCounts.h),
// papers named in tab_cj exist, and every drawn type can fill a paper.
CheckReport checkBank(const QString &bankFile, CheckScope scope = CheckScope::WholeBank);

} // namespace bank
