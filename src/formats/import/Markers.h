#pragma once

#include <QString>
#include <QVector>

// The marks question files are written with: numbers, option letters, answer
// and explanation labels, section headings and keys, in every form in use.
// All functions take text folded by fold(), whose positions are those of the original.
namespace formats::import {

// Full-width letters, digits and punctuation as their ASCII twins, ideographic
// and no-break spaces as spaces; the length and every position stay the same.
QString fold(const QString &text);

// Where a question's number stands at the start of a line.
struct Numbering {
    enum Style { None, Dot, Comma, Colon, Paren, RightParen, Tab, Di, Case };
    Style style = None;
    int number = 0;
    int contentStart = 0; // first character after the number and its separator
};
Numbering questionNumber(const QString &folded);

// An option label such as "A." "（B）" "C、" "D:" "E)".
struct OptionMark {
    int letter = 0;       // 0 = A
    int start = 0;        // where the label begins
    int contentStart = 0; // where the option's text begins
};
// Option labels on a line in letter order from `firstLetter`, the first at or
// after `from`. With `atStart` the first must open the line (after blanks).
QVector<OptionMark> optionMarks(const QString &folded, int from, int firstLetter, bool atStart);

// Label of an answer ("答案：", "【答案】", "正确答案", "答：", "ANSWER:"): the
// position after it, or -1.
int answerLabel(const QString &folded, int from = 0);
// Label of an explanation ("解析：", "【解析】", "答案解析", "分析："): the position after it, or -1.
int explanationLabel(const QString &folded, int from = 0);
// The same labels anywhere after `from` (an explanation following a key on its line).
int findExplanationLabel(const QString &folded, int from, int *labelStart);

// A key as written: letters, or true/false.
struct Key {
    QString letters;      // "A".."F" in A…F order, no repeats
    int truth = 0;        // 1 true, 2 false, 0 not a true/false word
    bool letterF = false; // "F" alone: the letter or "false"
    int end = 0;          // position after the key
    bool valid() const { return !letters.isEmpty() || truth != 0; }
};
Key parseKey(const QString &folded, int from = 0);

// A key in the stem's brackets, "……的是（ D ）。": the key and where the
// letters stand inside the brackets.
struct BracketKey {
    Key key;
    int from = -1; // first character of the key inside the brackets
    int to = -1;   // after the last
};
BracketKey bracketKey(const QString &folded);

// A section heading ("一、单项选择题", "三、判断题（每题1分）", "案例分析题").
struct Heading {
    bool isHeading = false;
    int type = 0;     // type it announces, 0 = none; subjective types as kSubjective
    QString kind;     // the type word found, "多选" "不定项" "简答" "案例" "计算" …
    double marks = 0; // "每题2分"
};
constexpr int kSubjective = -1;
Heading sectionHeading(const QString &folded);
// The type a type name or heading word stands for (题型 column): 11, 14, 41, kSubjective or 0.
int typeOfWord(const QString &folded, QString *kind = nullptr);
// The subjective type of `subject` for a heading word ("案例" "简答" "计算" or "").
int subjectiveType(int subject, const QString &kind);

// The heading of an answer list at the end ("参考答案", "答案与解析"); the
// position after it, or -1.
int answerAreaHeading(const QString &folded);

// Words that name true and false in an option or key.
int truthOfWord(const QString &folded);

} // namespace formats::import
