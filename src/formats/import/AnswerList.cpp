#include "AnswerList.h"

#include <QRegularExpression>

namespace formats::import {

namespace {

const QRegularExpression &rangeAt()
{
    static const QRegularExpression re(QStringLiteral(R"(\G\s*(\d{1,4})\s*[-—–~～至]\s*(\d{1,4})\s*[.、:]?\s*)"));
    return re;
}

const QRegularExpression &rangeAnywhere()
{
    static const QRegularExpression re(QStringLiteral(R"((?<![\d])\d{1,4}\s*[-—–~～至]\s*\d{1,4}\s*[.、:]?)"));
    return re;
}

const QRegularExpression &itemAt()
{
    static const QRegularExpression re(QStringLiteral(R"(\G\s*(?:第\s*)?(\d{1,4})\s*题?\s*[.、:)]?\s*)"));
    return re;
}

// A whole cell or token that is a key and nothing else.
Key wholeKey(const QString &folded)
{
    const QString text = folded.trimmed();
    const Key key = parseKey(text);
    return key.valid() && key.end >= text.size() ? key : Key();
}

} // namespace

bool AnswerList::isRangeLine(const QString &folded)
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*\d{1,4}\s*[-—–~～]\s*\d{1,4}\s*[.、:]?\s*[A-Fa-f√×✓✗对错])"));
    return re.match(folded).hasMatch();
}

void AnswerList::expect(int number, int draft)
{
    draftsOfNumber_[number] << draft;
}

void AnswerList::add(int number, const Key &key, int lineNumber)
{
    const int occurrence = listedOfNumber_[number]++;
    const QVector<int> drafts = draftsOfNumber_.value(number);
    if (occurrence >= drafts.size()) {
        problems_ << RecognitionProblem{lineNumber, QStringLiteral("答案中的第 %1 题没有对应的题目").arg(number)};
        current_ = -1;
        return;
    }
    current_ = drafts.at(occurrence);
    answers_[current_].key = key;
}

ListedAnswer *AnswerList::currentAnswer()
{
    return current_ >= 0 ? &answers_[current_] : nullptr;
}

const ListedAnswer *AnswerList::answerOf(int draft) const
{
    const auto found = answers_.constFind(draft);
    return found == answers_.constEnd() ? nullptr : &*found;
}

bool AnswerList::readRanges(int line, const QString &folded, int &position)
{
    const int lineNumber = document_.lines.at(line).number;
    bool any = false;
    for (;;) {
        const auto m = rangeAt().match(folded, position);
        if (!m.hasMatch())
            return any;
        const int first = m.captured(1).toInt();
        const int last = m.captured(2).toInt();
        const int start = int(m.capturedEnd(0));
        const auto next = rangeAnywhere().match(folded, start);
        const int end = next.hasMatch() ? int(next.capturedStart(0)) : int(folded.size());
        const QString segment = folded.mid(start, end - start).trimmed();
        const int count = last - first + 1;
        QStringList tokens = segment.split(QRegularExpression(QStringLiteral(R"([\s,，;；]+)")), Qt::SkipEmptyParts);
        if (tokens.size() != count) {
            QString packed = segment;
            packed.remove(QRegularExpression(QStringLiteral(R"([\s,，、;；])")));
            tokens.clear();
            if (packed.size() == count)
                for (const QChar c : packed)
                    tokens << QString(c);
        }
        bool good = count > 0 && count <= 200 && tokens.size() == count;
        QVector<Key> keys;
        for (const QString &token : tokens) {
            keys << wholeKey(token);
            good = good && keys.last().valid();
        }
        if (!good) {
            problems_ << RecognitionProblem{lineNumber, QStringLiteral("无法识别的答案：%1").arg(folded.mid(int(m.capturedStart(0)), end - int(m.capturedStart(0))).trimmed().left(40))};
        } else {
            for (int k = 0; k < count; ++k)
                add(first + k, keys.at(k), lineNumber);
        }
        any = true;
        position = end;
    }
}

bool AnswerList::readLine(int line, const QString &folded, int from, bool followedByOptions)
{
    const int end = int(folded.size());
    const int lineNumber = document_.lines.at(line).number;
    int position = from;
    while (position < end && folded.at(position).isSpace())
        ++position;
    if (position >= end)
        return true;

    const int explanation = explanationLabel(folded, position);
    if (explanation >= 0) {
        if (ListedAnswer *a = currentAnswer())
            appendPiece(a->explanation, rich_.trimmed(line, explanation, end));
        return true;
    }
    const int answer = answerLabel(folded, position);
    if (answer >= 0 && current_ >= 0) {
        const Key key = parseKey(folded, answer);
        if (key.valid()) {
            answers_[current_].key = key;
            int labelStart = -1;
            const int rest = findExplanationLabel(folded, key.end, &labelStart);
            appendPiece(answers_[current_].explanation, rich_.trimmed(line, rest >= 0 ? rest : key.end, end));
            return true;
        }
    }
    if (readRanges(line, folded, position))
        return true;
    if (sectionHeading(folded).isHeading && questionNumber(folded).style == Numbering::None)
        return true;

    bool any = false;
    while (position < end) {
        const auto m = itemAt().match(folded, position);
        if (!m.hasMatch())
            break;
        int after = int(m.capturedEnd(0));
        const int label = answerLabel(folded, after);
        if (label >= 0)
            after = label;
        const Key key = parseKey(folded, after);
        const bool tight = key.valid() && key.end < end && folded.at(key.end).isLetterOrNumber()
                           && !folded.at(key.end - 1).isSpace();
        if (!key.valid() || tight) {
            if (any)
                break;
            if (followedByOptions)
                return false;
            // "1. 本题考查……": the explanation of an answer given below.
            add(m.captured(1).toInt(), Key(), lineNumber);
            if (ListedAnswer *a = currentAnswer())
                appendPiece(a->explanation, rich_.trimmed(line, after, end));
            return true;
        }
        add(m.captured(1).toInt(), key, lineNumber);
        any = true;
        position = key.end;
        int labelStart = -1;
        const int rest = findExplanationLabel(folded, position, &labelStart);
        if (rest >= 0 && labelStart == position) {
            if (ListedAnswer *a = currentAnswer())
                appendPiece(a->explanation, rich_.trimmed(line, rest, end));
            return true;
        }
    }
    if (position < end) {
        if (ListedAnswer *a = currentAnswer())
            appendPiece(a->explanation, rich_.trimmed(line, position, end));
        else if (!any)
            problems_ << RecognitionProblem{lineNumber, QStringLiteral("无法识别的答案：%1").arg(folded.mid(position).trimmed().left(40))};
    }
    return true;
}

bool AnswerList::readTable(const SourceTable &table, int lineNumber)
{
    QVector<QStringList> rows;
    int columns = 0;
    for (const auto &row : table.rows) {
        QStringList cells = cellTexts(row);
        for (QString &cell : cells)
            cell = fold(cell);
        columns = qMax(columns, int(cells.size()));
        rows << cells;
    }
    QVector<QStringList> transposed(columns);
    for (const QStringList &row : rows)
        for (int c = 0; c < columns; ++c)
            transposed[c] << row.value(c);

    using Pairs = QVector<QPair<int, Key>>;
    auto pairs = [](const QVector<QStringList> &lines) {
        Pairs found;
        for (int r = 0; r + 1 < lines.size(); ++r) {
            const QStringList &numbers = lines.at(r);
            const QStringList &keys = lines.at(r + 1);
            Pairs here;
            bool good = true;
            for (int c = 0; c < qMax(numbers.size(), keys.size()) && good; ++c) {
                const QString n = numbers.value(c), k = keys.value(c);
                bool isNumber = false;
                const int number = n.toInt(&isNumber);
                const Key key = wholeKey(k);
                if (isNumber && key.valid())
                    here << qMakePair(number, key);
                else if (!(c == 0 && !isNumber) && !(n.isEmpty() && k.isEmpty()))
                    good = false; // a header cell ("题号", "答案") may lead the pair
            }
            if (good && !here.isEmpty()) {
                found << here;
                ++r;
            }
        }
        return found;
    };
    Pairs found = pairs(rows);
    const Pairs down = pairs(transposed);
    if (down.size() > found.size())
        found = down;
    if (found.size() < 2)
        return false;
    for (const auto &pair : found)
        add(pair.first, pair.second, lineNumber);
    return true;
}

} // namespace formats::import
