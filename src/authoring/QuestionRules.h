#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace store { class Connection; }

// What question entry and edit decide without a window: the type list of a
// subject, which types are self-assessed, how a typed key is stored, and the
// ids of the learner's own questions.
namespace authoring {

// The option buttons of the practice window run from A to F.
constexpr int kMostOptions = 6;
// ListBox1 holds at most this many linked points.
constexpr int kMostLinks = 10;

struct QuestionType {
    int code = 0;
    QString name;
    bool subjective = false; // one option, key "1" (the learner's "会")
};

// Subject of a chapter code: its first digit, 1 when that is not 1 … 5.
int subjectOfChapter(const QString &chapterCode);
// The rows of tab_tx<subject> in code order.
QVector<QuestionType> typesOfSubject(store::Connection &connection, int subject);
// A type is self-assessed by its code (65, 72, 73, 74) or by a subjective
// name, with or without the trailing "题" ("简答", "计算题", …).
bool isSubjectiveType(int code, const QString &name);

struct CheckedKey {
    QString key;   // as stored: multiple choice as its distinct letters in A … F order
    QString error; // the message for the learner; empty when the key is good
    bool ok() const { return error.isEmpty(); }
};
// The key typed for a question of `type` with `options` option buttons.
CheckedKey checkKey(const QuestionType &type, int options, const QString &typed);

// "00001" … "00999", then "1000" … "9999".
QString sequenceText(int sequence);
// "US" + chapter + type + option count + sequence text.
QString ownQuestionId(const QString &chapterCode, int type, int options, int sequence);
constexpr int kLastSequence = 9999;
// The highest sequence among the learner's own ids ("US…" ending in four digits); 0 when none.
int lastOwnSequence(store::Connection &connection);

// The linked points of K3 … K12 as stored: the list in order, "" after it.
QStringList linkFields(const QStringList &points);

} // namespace authoring
