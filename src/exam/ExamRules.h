#pragma once

#include <QString>

namespace store { class Dataset; }

// What a sat paper comes to: the clock limit, the unanswered count, the
// score and its row in tab_cj, voiding single questions in review, and the
// figures of the score history.
namespace exam {

// The number buttons of the answer sheet; a paper with this many questions
// unanswered is not worth keeping.
constexpr int kAnswerSheetSize = 96;

// tab_plan's first row; 0 when there is none.
int examTimeSetting();
int leastMarkSetting();

// The clock has reached the limit; a limit of 0 or less means none.
bool timeIsUp(qint64 elapsedSeconds, int examTime);

int unansweredCount(const QString &table);
// Sum of the type marks B3 of tab_tx<subject> over the questions answered with their key.
double paperScore(const QString &table, int subject);

struct MarkedPaper {
    double score = 0;
    int leastMark = 0;
    bool dropOnClose = false; // the score is below the lowest score kept
};
// Scores the paper, writes A6 and D2 to its score row (when there is one) and
// adds the time to today's study time, in one transaction.
MarkedPaper markPaper(const QString &table, int subject, const QString &timeText);

// A paper voided at hand-in: dropped; its time still counts as study when
// fewer than 50 questions were left.
void voidPaper(const QString &table, int unanswered, const QString &timeText);

// Voiding a question of a paper in review marks it in the paper row and in the
// bank (F1 = 1, E2 = "zero"); cancelling gives both their flag back and
// clears the paper row's E2. Acts on the paper's current record, one transaction.
void voidPaperQuestion(store::Dataset &paper);
void cancelPaperQuestionVoid(store::Dataset &paper);

// Score history over every row of tab_cj.
int passMarkFor(int totalMarks); // (total div 5) × 3
int roundHalfToEven(double value);
struct ScoreFigures {
    int exams = 0;
    int passed = 0;
    int average = 0; // over marked papers; 0 when none is marked
};
ScoreFigures scoreFigures(int passMark);

// Removes the paper table (when it exists) and its score row (in any case).
void deletePaper(const QString &table);

// "得分：86 分"; the score in general number format.
QString scoreText(double score);

} // namespace exam
