#pragma once

#include "Markers.h"
#include "Recognized.h"
#include "RichText.h"

#include <QHash>

namespace formats::import {

struct ListedAnswer {
    Key key;
    QVector<Piece> explanation;
};

// The answers listed apart from the questions, usually at the end: "1-5 ABCDA",
// "1.A 2.B", "1.【答案】B【解析】……", or a table of numbers and keys. Numbers
// restart in each section, so the k-th answer numbered n belongs to the k-th
// question numbered n.
class AnswerList
{
public:
    AnswerList(const SourceDocument &document, const RichText &rich) : document_(document), rich_(rich) {}

    static bool isRangeLine(const QString &folded);

    // Question `draft` carries number `number`; called in file order.
    void expect(int number, int draft);
    // Reads a line of the list from `from`; false when the line is no answer
    // but a question (numbered and followed by options).
    bool readLine(int line, const QString &folded, int from, bool followedByOptions);
    // Reads a table of numbers and keys; false when the table is not one.
    bool readTable(const SourceTable &table, int lineNumber);

    const ListedAnswer *answerOf(int draft) const;
    QVector<RecognitionProblem> problems() const { return problems_; }

private:
    bool readRanges(int line, const QString &folded, int &position);
    void add(int number, const Key &key, int lineNumber);
    ListedAnswer *currentAnswer();

    const SourceDocument &document_;
    const RichText &rich_;
    QHash<int, QVector<int>> draftsOfNumber_;
    QHash<int, int> listedOfNumber_;
    QHash<int, ListedAnswer> answers_; // by draft
    int current_ = -1;                  // the draft the last answer went to
    QVector<RecognitionProblem> problems_;
};

} // namespace formats::import
