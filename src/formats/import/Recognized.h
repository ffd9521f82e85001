#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <stdexcept>
#include <string>

namespace formats::import {

// One question as it was found in an imported file, before it touches the bank.
struct RecognizedQuestion {
    int line = 0;             // 1-based line of the text file, paragraph number of a .docx, row of a sheet
    int type = 0;             // question-type code (11, 14, 41, 65, 72…), 0 = could not tell
    QString section;          // heading or 章节/分类 cell it sat under, as written ("" = none)
    QString stem;             // plain text of the question body without options
    QString stemRtf;          // the body as RTF from the project's RTF writer (rich content of .docx kept)
    QStringList options;      // plain text of options A, B, … (at most 6)
    QStringList optionsRtf;   // the same as RTF
    QString key;              // "A".."F" (letters in A…F order for multiple choice), "A"/"B" true/false, "" subjective
    QString explanation;      // plain text, "" = none
    QString explanationRtf;
    double marks = 0;         // 分值 when given
    QString sourceText;       // the source lines the question came from, for the preview
    QStringList problems;     // reasons the learner understands: "没有找到答案", "答案不在选项中", "只有一个选项", …
};

// Text that could not be placed in any question.
struct RecognitionProblem {
    int line = 0;
    QString reason;
};

struct Recognition {
    QVector<RecognizedQuestion> questions;   // in file order
    QVector<RecognitionProblem> problems;
};

// A file that cannot be read at all; what() is a Chinese message (UTF-8) naming the problem.
class ImportError : public std::runtime_error
{
public:
    explicit ImportError(const QString &message)
        : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// Reads and recognizes a file (.docx, .xlsx, .txt, .csv, Aiken, GIFT); `subject` 1-5 decides
// the subjective type of questions without options. Throws ImportError for a file that
// cannot be read.
Recognition recognizeFile(const QString &path, int subject);

} // namespace formats::import
