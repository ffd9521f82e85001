#pragma once

#include "AnswerHistory.h"
#include "PracticeWindow.h"

#include <QStringList>

// A practice run over questions the review picked (today's due questions, or
// the weakest chapter or exam point of the report), on the practice machine:
// marked through the same marking as chapter practice, kept in the answer
// history under its own place.
class TFrmReview : public practice::PracticeWindow {
    Q_OBJECT
public:
    TFrmReview(const QString &caption, store::review::AnswerPlace place, QWidget *parent = nullptr);
};

namespace review {

// Runs the questions in this order; the opener hides while it runs. False
// (after telling the learner) when none of them can be asked.
bool practise(const QStringList &questions, const QString &caption, const QString &board,
              store::review::AnswerPlace place, QWidget *opener);

// Today's review: the due questions, wrong-last-time first, then the closest
// to being forgotten, at most the day's plan when the plan counts questions.
bool runTodaysReview(QWidget *opener);

} // namespace review
