#include "TableRecognizer.h"

#include "Limits.h"
#include "Markers.h"
#include "RichText.h"
#include "Settle.h"

#include <QRegularExpression>

namespace formats::import {

namespace {

struct Columns {
    int stem = -1;
    int options[6] = {-1, -1, -1, -1, -1, -1};
    int allOptions = -1;
    int key = -1;
    int explanation = -1;
    int type = -1;
    int section = -1;
    int marks = -1;
};

QString headerWord(const QString &cell)
{
    QString word = fold(cell).toUpper();
    word.remove(QRegularExpression(QStringLiteral(R"([\s*:()（）【】\[\]])")));
    return word;
}

bool readHeader(const QStringList &cells, Columns &c)
{
    static const QStringList stems = {QStringLiteral("题干"), QStringLiteral("题目"), QStringLiteral("试题"),
                                      QStringLiteral("问题"), QStringLiteral("题面"), QStringLiteral("题目内容"),
                                      QStringLiteral("试题内容"), QStringLiteral("题干内容"), QStringLiteral("QUESTION")};
    static const QStringList keys = {QStringLiteral("答案"), QStringLiteral("正确答案"), QStringLiteral("参考答案"),
                                     QStringLiteral("标准答案"), QStringLiteral("ANSWER")};
    static const QStringList explanations = {QStringLiteral("解析"), QStringLiteral("答案解析"), QStringLiteral("试题解析"),
                                             QStringLiteral("题目解析"), QStringLiteral("解答"), QStringLiteral("详解")};
    static const QStringList types = {QStringLiteral("题型"), QStringLiteral("类型"), QStringLiteral("试题类型"),
                                      QStringLiteral("题目类型")};
    static const QStringList sections = {QStringLiteral("章节"), QStringLiteral("分类"), QStringLiteral("章节/分类"),
                                         QStringLiteral("章"), QStringLiteral("类别")};
    static const QStringList marks = {QStringLiteral("分值"), QStringLiteral("分数")};
    static const QRegularExpression option(QStringLiteral(R"(^(?:选项)?([A-F])(?:选项)?$)"));
    for (int i = 0; i < cells.size(); ++i) {
        const QString w = headerWord(cells.at(i));
        if (w.isEmpty())
            continue;
        const auto m = option.match(w);
        if (m.hasMatch())
            c.options[m.captured(1).at(0).unicode() - u'A'] = i;
        else if (c.stem < 0 && stems.contains(w))
            c.stem = i;
        else if (w == QStringLiteral("选项"))
            c.allOptions = i;
        else if (keys.contains(w))
            c.key = i;
        else if (explanations.contains(w))
            c.explanation = i;
        else if (types.contains(w))
            c.type = i;
        else if (sections.contains(w))
            c.section = i;
        else if (marks.contains(w))
            c.marks = i;
    }
    return c.stem >= 0;
}

// Options given in one cell, or after the stem in its cell: split at their labels.
QStringList splitOptions(const QString &text, int from, QString *before)
{
    const QString folded = fold(text);
    const QVector<OptionMark> marks = optionMarks(folded, from, 0, false);
    QStringList options;
    if (marks.size() < 2)
        return options;
    *before = text.left(marks.first().start).trimmed();
    for (int k = 0; k < marks.size(); ++k) {
        const int end = k + 1 < marks.size() ? marks[k + 1].start : int(text.size());
        options << text.mid(marks[k].contentStart, end - marks[k].contentStart).trimmed();
    }
    return options;
}

RecognizedQuestion rowQuestion(const SheetRow &row, const Columns &c, int subject)
{
    RecognizedQuestion q;
    Evidence e;
    q.line = row.number;
    q.stem = row.cells.value(c.stem).trimmed();

    int last = -1;
    for (int k = 0; k < 6; ++k)
        if (c.options[k] >= 0 && !row.cells.value(c.options[k]).trimmed().isEmpty())
            last = k;
    for (int k = 0; k <= last; ++k)
        q.options << row.cells.value(c.options[k]).trimmed();
    if (q.options.isEmpty() && c.allOptions >= 0) {
        const QString all = row.cells.value(c.allOptions);
        QString before;
        q.options = splitOptions(all, 0, &before);
        // "甲|乙|丙|丁" or one option a line, without labels
        if (q.options.isEmpty())
            q.options = all.split(QRegularExpression(QStringLiteral(R"(\s*[|｜\n]\s*)")), Qt::SkipEmptyParts);
        for (QString &option : q.options)
            option = option.trimmed();
    }
    if (q.options.isEmpty()) {
        QString before;
        const QStringList inStem = splitOptions(q.stem, 0, &before);
        if (!inStem.isEmpty()) {
            q.options = inStem;
            q.stem = before;
        }
    }

    if (c.type >= 0)
        e.headingType = typeOfWord(fold(row.cells.value(c.type)), &e.headingKind);
    const QString keyText = fold(row.cells.value(c.key)).trimmed();
    if (!keyText.isEmpty()) {
        const Key key = parseKey(keyText);
        if (key.valid() && key.end >= keyText.size())
            e.key = key;
        else
            e.answerText = row.cells.value(c.key).trimmed();
    }
    if (!q.options.isEmpty() || e.headingType == 41) {
        const BracketKey bracket = bracketKey(fold(q.stem));
        if (bracket.from >= 0 && bracket.key.valid()) {
            if (!e.key.valid() || (e.key.letters == bracket.key.letters && e.key.truth == bracket.key.truth)) {
                e.key = bracket.key;
                q.stem = q.stem.left(bracket.from) + q.stem.mid(bracket.to);
            } else {
                e.keyConflict = true;
            }
        }
    }
    q.explanation = row.cells.value(c.explanation).trimmed();
    q.section = c.section >= 0 ? row.cells.value(c.section).trimmed() : QString();
    q.marks = c.marks >= 0 ? fold(row.cells.value(c.marks)).trimmed().toDouble() : 0;
    QStringList source;
    for (const QString &cell : row.cells)
        if (!cell.trimmed().isEmpty())
            source << cell.trimmed();
    q.sourceText = source.join(QStringLiteral(" | "));

    settle(q, e, subject);
    fillPlainRtf(q);
    return q;
}

} // namespace

bool recognizeSheet(const Sheet &sheet, int subject, Recognition &out)
{
    Columns columns;
    int header = -1;
    for (int r = 0; r < sheet.rows.size() && r < 10 && header < 0; ++r)
        if (readHeader(sheet.rows.at(r).cells, columns))
            header = r;
    if (header < 0)
        return false;
    for (int r = header + 1; r < sheet.rows.size(); ++r) {
        if (out.questions.size() >= limits::kQuestions) {
            out.problems << RecognitionProblem{sheet.rows.at(r).number,
                                               QStringLiteral("题目超过 %1 道，其后的行没有读取").arg(limits::kQuestions)};
            break;
        }
        const SheetRow &row = sheet.rows.at(r);
        if (row.cells.value(columns.stem).trimmed().isEmpty()) {
            out.problems << RecognitionProblem{row.number, QStringLiteral("工作表“%1”第 %2 行没有题干").arg(sheet.name).arg(row.number)};
            continue;
        }
        out.questions << rowQuestion(row, columns, subject);
    }
    return true;
}

Sheet parseDelimited(const QString &text)
{
    Sheet sheet;
    const int firstEnd = int(text.indexOf(QLatin1Char('\n')));
    const QString firstLine = text.left(firstEnd < 0 ? text.size() : firstEnd);
    const QChar separator = firstLine.count(QLatin1Char('\t')) > firstLine.count(QLatin1Char(','))
                                ? QLatin1Char('\t') : QLatin1Char(',');
    SheetRow row;
    row.number = 1;
    int line = 1;
    QString cell;
    bool quoted = false;
    auto endRow = [&] {
        row.cells << cell;
        cell.clear();
        bool any = false;
        for (const QString &c : row.cells)
            any = any || !c.trimmed().isEmpty();
        if (any && sheet.rows.size() < limits::kRows)
            sheet.rows << row;
        row = SheetRow();
        row.number = line + 1;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"'))
                    cell += text.at(++i);
                else
                    quoted = false;
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                cell += c;
            }
        } else if (c == QLatin1Char('"') && cell.trimmed().isEmpty()) {
            quoted = true;
            cell.clear();
        } else if (c == separator) {
            if (row.cells.size() < limits::kColumns)
                row.cells << cell;
            cell.clear();
        } else if (c == QLatin1Char('\n')) {
            endRow();
            ++line;
        } else if (c != QLatin1Char('\r')) {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.cells.isEmpty())
        endRow();
    return sheet;
}

} // namespace formats::import
