#include "Recognizer.h"

#include "AnswerList.h"
#include "Deadline.h"
#include "Limits.h"
#include "Markers.h"
#include "RichText.h"
#include "Settle.h"

#include <QHash>

#include <algorithm>

namespace formats::import {

namespace {

struct Section {
    QString name;
    Heading heading;
};

struct Draft {
    enum Phase { Stem, Options, AnswerText, AfterKey, Explanation };
    int firstLine = 0;
    int lastLine = 0;
    int number = 0;
    int section = -1;
    Phase phase = Stem;
    QVector<Piece> stem;
    QVector<QVector<Piece>> options;
    QVector<Piece> answerText;
    QVector<Piece> explanation;
    Key key;
    bool keyConflict = false;

    bool complete() const { return !options.isEmpty() || key.valid(); }
};

class DocumentRecognizer
{
public:
    DocumentRecognizer(const SourceDocument &document, int subject, const Deadline &deadline)
        : document_(document), subject_(subject), deadline_(deadline), rich_(document), answers_(document, rich_)
    {
    }

    Recognition run()
    {
        for (int i = 0; i < document_.lines.size(); ++i) {
            if ((i & 0xff) == 0)
                deadline_.check();
            if (drafts_.size() > limits::kQuestions) {
                drafts_.removeLast();
                result_.problems << RecognitionProblem{document_.lines.at(i).number,
                                                       QStringLiteral("题目超过 %1 道，其后的内容没有读取").arg(limits::kQuestions)};
                break;
            }
            readLine(i);
        }
        for (const RecognitionProblem &p : answers_.problems())
            result_.problems << p;
        std::stable_sort(result_.problems.begin(), result_.problems.end(),
                         [](const RecognitionProblem &a, const RecognitionProblem &b) { return a.line < b.line; });
        finish();
        return result_;
    }

private:
    Draft *current() { return open_ ? &drafts_.last() : nullptr; }
    bool optionsAllowed() const
    {
        return section_ < 0 || sections_.at(section_).heading.type != kSubjective;
    }

    void readLine(int i)
    {
        const SourceLine &line = document_.lines.at(i);
        const QString folded = fold(line.text);
        if (folded.trimmed().isEmpty())
            return;
        if (line.table >= 0) {
            if (answers_.readTable(document_.tables.at(line.table), line.number))
                return;
            if (Draft *d = current())
                addText(*d, Piece{i, 0, int(line.text.size()), true});
            return;
        }
        if (inAnswerArea_) {
            if (!opensQuestionSection(i, folded) && answers_.readLine(i, folded, 0, followedByOptions(i)))
                return;
            inAnswerArea_ = false;
        }
        const Numbering number = questionNumber(folded);
        if (number.style != Numbering::Case && startsAnswerArea(i, folded)) {
            closeDraft();
            inAnswerArea_ = true;
            const int from = qMax(0, answerAreaHeading(folded));
            answers_.readLine(i, folded, from, false);
            return;
        }
        const Heading heading = sectionHeading(folded);
        if (number.style == Numbering::None && heading.isHeading && !headingIsBody(heading)) {
            closeDraft();
            sections_ << Section{line.text.trimmed(), heading};
            section_ = int(sections_.size()) - 1;
            lastNumber_ = 0;
            style_ = Numbering::None;
            return;
        }
        if (number.style != Numbering::None && startsQuestion(i, folded, number)) {
            startDraft(i, number);
            readBody(i, folded, number.contentStart, true);
            return;
        }
        if (number.style != Numbering::None && open_)
            innerNext_ = number.number + 1;
        if (Draft *d = current()) {
            d->lastLine = i;
            readBody(i, folded, 0, false);
        } else if (answerLabel(folded) >= 0 || !optionMarks(folded, 0, 0, true).isEmpty()) {
            result_.problems << RecognitionProblem{line.number, QStringLiteral("这一行不属于任何题目：%1").arg(line.text.trimmed().left(40))};
        }
    }

    // A numbered line opens the next question when it is numbered like the
    // questions before it and follows them; otherwise it is a sub-question or
    // a numbered paragraph inside the question.
    bool startsQuestion(int i, const QString &folded, const Numbering &number)
    {
        if (!open_ || style_ == Numbering::None)
            return style_ == Numbering::None || number.style == style_;
        // The next number with options under it is the next question, whatever
        // numbered points the explanation before it had.
        if (number.number == lastNumber_ + 1 && number.style != Numbering::Case && optionsAllowed()
            && (followedByOptions(i) || optionMarks(folded, number.contentStart, 0, false).size() >= 2))
            return true;
        if (innerNext_ > 0 && number.number == innerNext_)
            return false;
        // Another style may go on the count after a complete question ("1." then "2、").
        if (number.style != style_)
            return number.style != Numbering::Case && number.number == lastNumber_ + 1 && current()->complete();
        // A gap (a question left out of the file) is allowed after a complete
        // question; a number going back is a numbered point of its explanation.
        return number.number == lastNumber_ + 1
               || (current()->complete() && number.number > lastNumber_ && number.number <= lastNumber_ + 10);
    }

    // A heading inside a case or essay question ("一、背景") belongs to it.
    bool headingIsBody(const Heading &heading)
    {
        return heading.type == 0 && open_ && !optionsAllowed();
    }

    // "参考答案" opens the answer list unless it labels the open question's
    // own answer: a case's written answer, or a key on the next line.
    bool startsAnswerArea(int i, const QString &folded) const
    {
        if (AnswerList::isRangeLine(folded))
            return true;
        const int at = answerAreaHeading(folded);
        if (at < 0)
            return false;
        if (at < folded.size() || !open_)
            return true;
        int j = i + 1;
        while (j < document_.lines.size() && document_.lines.at(j).text.trimmed().isEmpty())
            ++j;
        if (j >= document_.lines.size())
            return false;
        const SourceLine &next = document_.lines.at(j);
        const QString nextFolded = fold(next.text);
        if (next.table >= 0 || AnswerList::isRangeLine(nextFolded) || sectionHeading(nextFolded).isHeading)
            return true;
        const Numbering n = questionNumber(nextFolded);
        if (n.style == Numbering::None)
            return false;
        const Draft &d = drafts_.last();
        // Case questions number their own answers' points; other questions do not.
        const bool styleFits = n.style == style_ || style_ != Numbering::Case;
        return !d.options.isEmpty() || (styleFits && n.number == drafts_.first().number && drafts_.size() > 1);
    }

    // A heading in the answer list heads its answers, unless questions with
    // options follow it: then the list is over and a new section begins.
    bool opensQuestionSection(int i, const QString &folded) const
    {
        if (!sectionHeading(folded).isHeading || questionNumber(folded).style != Numbering::None)
            return false;
        for (int j = i + 1; j < document_.lines.size(); ++j) {
            const QString next = fold(document_.lines.at(j).text);
            if (next.trimmed().isEmpty())
                continue;
            return questionNumber(next).style != Numbering::None && followedByOptions(j);
        }
        return false;
    }

    bool followedByOptions(int i) const
    {
        for (int j = i + 1; j < document_.lines.size() && j <= i + 3; ++j) {
            const QString folded = fold(document_.lines.at(j).text);
            if (folded.trimmed().isEmpty())
                continue;
            return !optionMarks(folded, 0, 0, true).isEmpty();
        }
        return false;
    }

    void startDraft(int i, const Numbering &number)
    {
        closeDraft();
        Draft d;
        d.firstLine = d.lastLine = i;
        d.number = number.number;
        d.section = section_;
        drafts_ << d;
        open_ = true;
        style_ = number.style;
        lastNumber_ = number.number;
        innerNext_ = 0;
        answers_.expect(number.number, int(drafts_.size()) - 1);
    }

    void closeDraft() { open_ = false; }

    void addText(Draft &d, const Piece &piece)
    {
        switch (d.phase) {
        case Draft::Stem: d.stem << piece; break;
        case Draft::Options: d.options.last() << piece; break;
        case Draft::AnswerText: d.answerText << piece; break;
        case Draft::AfterKey:
        case Draft::Explanation: d.explanation << piece; break;
        }
    }

    void readBody(int i, const QString &folded, int from, bool opensQuestion)
    {
        Draft &d = drafts_.last();
        const int end = int(folded.size());
        const int explanation = explanationLabel(folded, from);
        if (explanation >= 0) {
            d.phase = Draft::Explanation;
            appendPiece(d.explanation, rich_.trimmed(i, explanation, end));
            return;
        }
        const int answer = answerLabel(folded, from);
        if (answer >= 0 && !opensQuestion) {
            readAnswer(d, i, folded, answer);
            return;
        }
        if (optionsAllowed() && (d.phase == Draft::Stem || d.phase == Draft::Options) && !opensQuestion) {
            const QVector<OptionMark> marks = optionMarks(folded, from, int(d.options.size()), true);
            if (!marks.isEmpty()) {
                addOptions(d, i, folded, marks);
                return;
            }
        }
        if (d.phase == Draft::Stem && optionsAllowed() && d.options.isEmpty()) {
            // Stem and options on one line: "……的是（ ）。A.甲 B.乙 C.丙 D.丁"
            const QVector<OptionMark> marks = optionMarks(folded, from, 0, false);
            if (marks.size() >= 2) {
                appendPiece(d.stem, rich_.trimmed(i, from, marks.first().start));
                addOptions(d, i, folded, marks);
                return;
            }
        }
        // "答案：B" after the stem on the question's first line.
        int labelStart = -1;
        const int inlineAnswer = opensQuestion ? findAnswerAfter(folded, from, &labelStart) : -1;
        if (inlineAnswer >= 0) {
            appendPiece(d.stem, rich_.trimmed(i, from, labelStart));
            readAnswer(d, i, folded, inlineAnswer);
            return;
        }
        addText(d, rich_.trimmed(i, from, end));
    }

    static int findAnswerAfter(const QString &folded, int from, int *labelStart)
    {
        const int at = int(folded.indexOf(QStringLiteral("答案"), from));
        if (at <= from)
            return -1;
        const int after = answerLabel(folded, at);
        if (after < 0)
            return -1;
        *labelStart = at;
        return parseKey(folded, after).valid() ? after : -1;
    }

    void addOptions(Draft &d, int i, const QString &folded, const QVector<OptionMark> &marks)
    {
        d.phase = Draft::Options;
        for (int k = 0; k < marks.size(); ++k) {
            int end = k + 1 < marks.size() ? marks[k + 1].start : int(folded.size());
            int labelStart = -1;
            // "D.丁  答案：B" at the end of the last option
            if (k + 1 == marks.size()) {
                const int answer = findAnswerAfter(folded, marks[k].contentStart, &labelStart);
                if (answer >= 0) {
                    d.options << QVector<Piece>();
                    appendPiece(d.options.last(), rich_.trimmed(i, marks[k].contentStart, labelStart));
                    readAnswer(d, i, folded, answer);
                    return;
                }
            }
            d.options << QVector<Piece>();
            appendPiece(d.options.last(), rich_.trimmed(i, marks[k].contentStart, end));
        }
    }

    void readAnswer(Draft &d, int i, const QString &folded, int from)
    {
        const Key key = parseKey(folded, from);
        const bool tight = key.valid() && key.end < folded.size() && !folded.at(key.end - 1).isSpace()
                           && folded.at(key.end).isLetterOrNumber();
        const bool usable = key.valid() && (!tight || (!key.letters.isEmpty() && !d.options.isEmpty()));
        if (!usable) {
            d.phase = Draft::AnswerText;
            appendPiece(d.answerText, rich_.trimmed(i, from, int(folded.size())));
            return;
        }
        setKey(d, key);
        d.phase = Draft::AfterKey;
        int labelStart = -1;
        const int explanation = findExplanationLabel(folded, key.end, &labelStart);
        const int rest = explanation >= 0 ? explanation : key.end;
        appendPiece(d.explanation, rich_.trimmed(i, rest, int(folded.size())));
        if (explanation >= 0)
            d.phase = Draft::Explanation;
    }

    static bool sameKey(const Key &a, const Key &b)
    {
        return a.letters == b.letters && a.truth == b.truth;
    }

    static void setKey(Draft &d, const Key &key)
    {
        if (d.key.valid() && !sameKey(d.key, key))
            d.keyConflict = true;
        d.key = key;
    }

    void finish()
    {
        for (int n = 0; n < drafts_.size(); ++n) {
            Draft &d = drafts_[n];
            const ListedAnswer *listed = answers_.answerOf(n);
            if (listed) {
                if (listed->key.valid())
                    setKey(d, listed->key);
                d.explanation << listed->explanation;
            }
            result_.questions << build(d);
        }
    }

    // The key in the stem's brackets: taken out of the stem when it is the
    // key, the brackets kept for the learner to fill in.
    void takeBracketKey(Draft &d, Evidence &e)
    {
        for (int p = int(d.stem.size()) - 1; p >= 0; --p) {
            const Piece piece = d.stem.at(p);
            const QString folded = fold(document_.lines.at(piece.line).text.mid(piece.from, piece.to - piece.from));
            const BracketKey bracket = bracketKey(folded);
            if (bracket.from < 0 || !bracket.key.valid())
                continue;
            // Letters in brackets are a key only where there are options to choose.
            if (bracket.key.truth == 0 && d.options.isEmpty())
                return;
            if (e.key.valid() && !sameKey(e.key, bracket.key)) {
                e.keyConflict = true;
                return;
            }
            e.key = bracket.key;
            const Piece before{piece.line, piece.from, piece.from + bracket.from, piece.newParagraph};
            const Piece after{piece.line, piece.from + bracket.to, piece.to, false};
            d.stem.replace(p, before);
            d.stem.insert(p + 1, after);
            return;
        }
    }

    RecognizedQuestion build(Draft &d)
    {
        Evidence e;
        if (d.section >= 0) {
            e.headingType = sections_.at(d.section).heading.type;
            e.headingKind = sections_.at(d.section).heading.kind;
        }
        e.key = d.key;
        e.keyConflict = d.keyConflict;
        takeBracketKey(d, e);

        RecognizedQuestion q;
        const SourceLine &first = document_.lines.at(d.firstLine);
        q.line = first.number;
        if (d.section >= 0) {
            q.section = sections_.at(d.section).name;
            q.marks = sections_.at(d.section).heading.marks;
        }
        q.stem = rich_.plain(d.stem);
        q.stemRtf = rich_.rtf(d.stem);
        for (const QVector<Piece> &option : d.options) {
            q.options << rich_.plain(option);
            q.optionsRtf << rich_.rtf(option);
        }
        q.explanation = rich_.plain(d.explanation);
        q.explanationRtf = rich_.rtf(d.explanation);
        e.answerText = rich_.plain(d.answerText);
        e.answerTextRtf = rich_.rtf(d.answerText);
        if (!e.key.valid() && !d.options.isEmpty()) {
            // "答案：" with the key on the line below it.
            const QString written = fold(e.answerText);
            const Key key = parseKey(written);
            if (key.valid() && key.end >= written.size()) {
                e.key = key;
                e.answerText.clear();
            }
        }
        QStringList source;
        for (int i = d.firstLine; i <= d.lastLine; ++i)
            if (!document_.lines.at(i).text.trimmed().isEmpty())
                source << document_.lines.at(i).text.trimmed();
        q.sourceText = source.join(QLatin1Char('\n'));

        settle(q, e, subject_);
        QVector<Piece> all = d.stem;
        for (const auto &option : d.options)
            all << option;
        if (rich_.hasUnreadablePicture(all + d.explanation + d.answerText))
            q.problems << reasons::unreadablePicture();
        return q;
    }

    const SourceDocument &document_;
    const int subject_;
    const Deadline &deadline_;
    RichText rich_;
    AnswerList answers_;
    Recognition result_;
    QVector<Section> sections_;
    QVector<Draft> drafts_;
    int section_ = -1;
    bool open_ = false;
    bool inAnswerArea_ = false;
    Numbering::Style style_ = Numbering::None;
    int lastNumber_ = 0;
    int innerNext_ = 0;
};

} // namespace

Recognition recognizeDocument(const SourceDocument &document, int subject, const Deadline &deadline)
{
    return DocumentRecognizer(document, subject, deadline).run();
}

} // namespace formats::import
