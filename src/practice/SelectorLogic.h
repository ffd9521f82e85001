#pragma once

#include <QString>

namespace store {
class Query;
class Table;
} // namespace store

// The chapter selector's decisions and SQL, apart from its window.
namespace practice {

enum class PracticeMode {
    NewQuestions = 1, // "练习新题"
    RedoWrong = 2,    // "错题重做"
    Review = 3,       // "习题重温"
    NewByDoubleClick, // a double-click on the grid: new questions, ordered without the id
};

// The grid hides the row whose C1 is 'xx'.
QString chapterGridFilter();

// Opens the chapter table on its first row with the grid filter on, then
// returns to the chapter of the last run when it is still listed.
void showChapterGrid(store::Table &chapters, const QString &lastChapterCode);

// Subjects and two-character headings cannot be practised; neither can a row without a code.
bool isHeadingChapter(const QString &chapterCode);
QString headingRefusalMessage(); // "请选择具体章节目录！"

// The SELECT of a practice run on the chapter and every chapter beneath it.
QString practiceSql(PracticeMode mode, const QString &chapterCode);

struct EmptyResultMessage {
    QString text;
    int picture = 0;
};
EmptyResultMessage emptyResultMessage(PracticeMode mode);

// Totals over the six-character chapters of the whole bank.
struct ChapterTotals {
    static constexpr int kShownQuestionsCap = 10000;

    qint64 questions = 0;
    qint64 attempts = 0;
    qint64 wrongAttempts = 0;

    int shownQuestions() const; // the counter shows at most 10000
    // "%2.2f" of the share right; empty while nothing was attempted (the label keeps its text).
    QString compositeScore() const;
};
// Runs the totals statement on the given query (the selector uses Cn1Query1).
ChapterTotals readChapterTotals(store::Query &query);

} // namespace practice
