#pragma once

#include <QDateTime>
#include <QString>

namespace store {
class Connection;

namespace review {

// Where an answer was given; stored as the text of the history's place column.
enum class AnswerPlace { Practice, PointPractice, Review, Exam };
QString placeName(AnswerPlace place);

// One counted answer, as the marking knows it.
struct AnsweredQuestion {
    QString question;
    QString answer;
    bool correct = false;
    bool firstEver = false;
    int type = 0;      // A13
    int options = 0;   // A2_1
    AnswerPlace place = AnswerPlace::Practice;
    QString paper;     // tab_exam<k> of an exam answer
    int seconds = -1;  // time spent on the question; negative when not known
};

// Appends the history row and moves the question's memory state. Runs inside
// the marking's transaction, so both stand or fall with the counters.
void recordAnswer(Connection &c, const AnsweredQuestion &answered, const QDateTime &at);

} // namespace review
} // namespace store
