#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// What the learner can do about a failure: the bank cannot be written, the
// disk is full, the file is damaged, or anything else.
enum class Condition { Other, ReadOnly, DiskFull, Damaged };

// Every failure of the store layer: SQLite's own message, or ours for misuse
// (unknown field, editing a closed dataset, a bad filter).
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message, Condition condition = Condition::Other)
        : std::runtime_error(message.toStdString()), m_condition(condition)
    {
    }
    QString message() const { return QString::fromStdString(what()); }
    Condition condition() const { return m_condition; }
    // The sentence a message box shows: plain Chinese for the conditions a
    // learner can act on, the technical message otherwise.
    QString learnerMessage() const;

private:
    Condition m_condition;
};

// The condition of an SQLite result code (primary or extended).
Condition conditionOfResult(int resultCode);

} // namespace store
