#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <stdexcept>

// Building a mock-exam paper: its number and title, the score row in tab_cj,
// the paper table tab_exam<k> and the questions drawn per type.
namespace exam {

struct TypeCount {
    int type;
    int count;
};

struct SubjectPaper {
    QString titlePart;         // "造价工程师·…"
    QString prefix;            // chapter-code prefix, "10" … "50"
    QVector<TypeCount> counts; // questions drawn per type
};

// The five subjects; nullptr outside 1 … 5.
const SubjectPaper *subjectPaper(int subject);
// How many questions of the type a paper of the subject takes; 0 when none.
int drawCount(int subject, int type);

// tab_exam followed by digits only: the one kind of name that reaches SQL as a paper table.
bool isPaperTableName(const QString &name);
QString createPaperTableSql(const QString &tableName);

struct PaperName {
    int sequence = 1;
    QString table; // "tab_exam<k>"
    QString title; // "2026年12月08日" + title part + "[sequence]"
};
// The next paper after the newest score row (highest A3_1): sequence A3_1 + 1,
// table number one past the number in that row's A1.
PaperName nextPaperName(int subject);

// A paper that cannot be built; message is the text the learner is shown.
class PaperError : public std::runtime_error {
public:
    explicit PaperError(const QString &message) : std::runtime_error(message.toStdString()), text(message) {}
    QString text;
};

struct BuiltPaper {
    PaperName name;
    int questionCount = 0;
};

// Writes the score row, creates the paper table and fills it with the draw,
// all in one transaction: on any failure nothing of the paper is left and
// PaperError carries the message ("没有发现题目！", "建立数据表时发生错误！",
// "提取数据时发生错误！"). `progress` receives the wait window's texts.
BuiltPaper buildPaper(int subject, const std::function<void(const QString &)> &progress = {});

} // namespace exam
