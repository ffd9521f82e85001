#pragma once

#include <QColor>
#include <QDate>
#include <QString>

namespace study {

// Whole calendar days from today to the exam day; negative once it has passed.
int DaysUntil(const QDate &today, const QDate &examDay);

// What the countdown shows for a number of days left.
struct Countdown {
    QString headline;   // "距离考试还有", "祝考试成功！", "考试已结束！"
    QString number;     // the days, "999" from 1000 on
    bool numberShown = false;
    QColor colour;      // green beyond a week, red within it
};
Countdown CountdownFor(int days);
// The countdown when the bank holds no exam day yet.
Countdown CountdownUnset();

// The exam day as stored: ISO text, also with a time part; dates written
// by older versions as "2027/5/1" or "2027-5-1" are read too.
QDate ParseStoredDate(const QString &text);

// A plan the learner entered, checked before it is saved.
struct PlanEntry {
    int mark = 0;           // 0 by questions, 1 by minutes
    QString questionsText;  // questions per day
    QString minutesText;    // minutes per day
    QDate examDay;
};
struct CheckedPlan {
    QString problem; // empty when the plan can be saved
    int questions = 0;
    int minutes = 0;
};
// The target of the chosen mode must be a whole number from 1 to 999; the
// other target is kept as it stands (empty counts as 0).
CheckedPlan CheckPlan(const PlanEntry &entry);

} // namespace study
