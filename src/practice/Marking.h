#pragma once

#include "AnswerHistory.h"

#include <QString>

namespace store { class Dataset; }

namespace practice {

// What one marking did, for the window's message, glyphs and command buttons.
struct MarkOutcome {
    bool marked = false;         // false: no such record, nothing was touched
    bool emptyAnswer = false;    // nothing counted; the run's answer E2_1 was cleared
    bool counted = false;        // a new answer of this run: every counter moved
    bool right = false;          // the recorded answer equals the key
    bool firstEver = false;      // counted, and the question had never been answered
    bool firstToday = false;     // counted, and not yet answered today
    bool previouslyWrong = false; // counted, and the last answer before it was not the key
    QString answer;
    QString key;
    int type = 0;
    bool keyShown = false;       // "答案" may open: the type is not subjective
    bool hasExplanation = false; // the question's tab_exer.jx is not null
    bool hasPoints = false;      // K3 is neither null nor blank
};

// Where and how long: what the answer history keeps beside the answer.
struct AnswerContext {
    store::review::AnswerPlace place = store::review::AnswerPlace::Practice;
    QString paper;    // the paper table of an exam answer
    int seconds = -1; // time on the question; negative when not known
};

// Judges the answer read from the answer page against the key of the given
// record of the question set and records it. The answer counts only when it
// differs from the answer already given in this run (E2_1); a counted answer
// moves the question's E3/E4, today's study log, the chapter and its
// ancestors and the linked exam points, appends the answer history and moves
// the question's memory state. All writes of one marking form one
// transaction: on a database error nothing stays counted, the question set's
// row shows the stored values again and the store::Error reaches the caller.
// The question set must live on DataModule's connection.
MarkOutcome markAnswer(store::Dataset &questions, int recordNumber, const QString &answer,
                       const AnswerContext &context = {});

// The same for a mock-exam paper (a tab_exam<k> query): the flags come from
// the paper row, which keeps the answer (E2_1, E2, E1); the bank's row of the
// question moves E3/E4 by its own last answer and takes the answer too.
MarkOutcome markPaperAnswer(store::Dataset &paper, int recordNumber, const QString &answer,
                            const AnswerContext &context);

// Close of a practice window, after its last marking: adds the clock's
// elapsed text to today's study time, refreshes the chapter scores and
// closes the datasets the run used (also when the update fails).
void endPracticeSession(const QString &elapsed);

// The running clock's text: hours without a leading zero, "0:00:00".
QString clockText(qint64 seconds);

} // namespace practice
