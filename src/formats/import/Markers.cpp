#include "Markers.h"

#include <QRegularExpression>

namespace formats::import {

namespace {

using RE = QRegularExpression;

// A compiled pattern; each call site passes a literal, so the cache holds one
// entry per pattern. Returned by value: the copy shares the compiled pattern.
RE re(const char *pattern)
{
    static thread_local QHash<const char *, RE> cache;
    auto found = cache.constFind(pattern);
    if (found == cache.constEnd()) {
        RE compiled(QString::fromUtf8(pattern), RE::UseUnicodePropertiesOption);
        compiled.optimize();
        found = cache.insert(pattern, compiled);
    }
    return *found;
}

int chineseNumeral(const QString &text)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九");
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok)
        return n;
    int value = 0, current = 0;
    for (const QChar c : text) {
        if (c == QChar(u'十')) {
            value += (current == 0 ? 1 : current) * 10;
            current = 0;
        } else {
            current = int(digits.indexOf(c));
            if (current < 0)
                return 0;
        }
    }
    return value + current;
}

bool isAsciiAlnum(QChar c)
{
    return c.unicode() < 128 && c.isLetterOrNumber();
}

} // namespace

QString fold(const QString &text)
{
    QString s = text;
    for (QChar &c : s) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000 || u == 0x00A0)
            c = QLatin1Char(' ');
    }
    return s;
}

Numbering questionNumber(const QString &folded)
{
    struct Form { Numbering::Style style; const char *pattern; };
    static const Form forms[] = {
        {Numbering::Di, R"(^\s*第\s*(\d{1,4})\s*题\s*[.、:]?\s*)"},
        {Numbering::Case, R"(^\s*[【\[]?\s*(?:试题|案例分析题|案例分析|案例)\s*([一二三四五六七八九十]{1,3}|\d{1,3})\s*[】\]]?\s*[.、:]?\s*)"},
        {Numbering::Paren, R"(^\s*\(\s*(\d{1,4})\s*\)\s*)"},
        {Numbering::Dot, R"(^\s*(\d{1,4})\s*\.(?!\d)\s*)"},
        {Numbering::Comma, R"(^\s*(\d{1,4})\s*、\s*)"},
        {Numbering::Colon, R"(^\s*(\d{1,4})\s*:(?!\d)\s*)"},
        {Numbering::RightParen, R"(^\s*(\d{1,4})\)\s*)"},
        {Numbering::Tab, R"(^\s*(\d{1,4})\t\s*)"},
    };
    Numbering result;
    if (folded.isEmpty())
        return result;
    for (const Form &form : forms) {
        const auto m = re(form.pattern).match(folded);
        if (m.hasMatch()) {
            result.style = form.style;
            result.number = chineseNumeral(m.captured(1));
            result.contentStart = int(m.capturedEnd(0));
            return result;
        }
    }
    return result;
}

QVector<OptionMark> optionMarks(const QString &folded, int from, int firstLetter, bool atStart)
{
    QVector<OptionMark> marks;
    const RE mark = re(R"(\(\s*([A-F])\s*\)\s*|([A-F])\s*[.、:)]\s*|([A-F])[ \t]+(?=[^\x00-\x7F]))");
    int expected = firstLetter;
    int position = from;
    if (atStart) {
        while (position < folded.size() && folded.at(position).isSpace())
            ++position;
    }
    auto it = mark.globalMatch(folded, position);
    while (it.hasNext() && expected < 6) {
        const auto m = it.next();
        const int start = int(m.capturedStart(0));
        const QString letter = m.captured(1) + m.captured(2) + m.captured(3);
        const bool opensLine = start == position;
        if (atStart && marks.isEmpty() && !opensLine)
            break;
        if (start > 0 && isAsciiAlnum(folded.at(start - 1)))
            continue;
        if (letter.at(0).unicode() - u'A' != expected)
            continue;
        if (!marks.isEmpty()) {
            // The option before must have text, or "A、B、C 三个方案" would be options.
            const OptionMark &previous = marks.last();
            if (folded.mid(previous.contentStart, start - previous.contentStart).trimmed().isEmpty()) {
                if (!atStart)
                    marks.clear();
                break;
            }
        }
        marks << OptionMark{expected, start, int(m.capturedEnd(0))};
        ++expected;
    }
    return marks;
}

int answerLabel(const QString &folded, int from)
{
    const auto m = re(R"(\G\s*(?:【\s*(?:正确|参考|标准|试题|本题)?答案\s*】|\[\s*(?:正确|参考|标准|试题|本题)?答案\s*\]|(?:正确|参考|标准|试题|本题)?答案(?:要点)?\s*(?::|为|是|(?=\s*[A-Fa-f√×✓✔✗✘对错正T])|$)|答\s*:|(?i:answer)\s*:)\s*:?\s*)")
                     .match(folded, from);
    return m.hasMatch() ? int(m.capturedEnd(0)) : -1;
}

int explanationLabel(const QString &folded, int from)
{
    const auto m = re(R"(\G\s*(?:【\s*(?:答案|试题|题目|本题)?(?:解析|分析|详解|点评|解答)\s*】|\[\s*(?:答案)?(?:解析|分析)\s*\]|(?:答案|试题|题目|本题)?(?:解析|详解|点评)\s*:?|(?:试题|题目)?分析\s*:)\s*)")
                     .match(folded, from);
    return m.hasMatch() ? int(m.capturedEnd(0)) : -1;
}

int findExplanationLabel(const QString &folded, int from, int *labelStart)
{
    const auto m = re(R"((?:【\s*(?:答案)?(?:解析|分析|详解|点评)\s*】|(?:答案)?解析\s*:)\s*)").match(folded, from);
    if (!m.hasMatch())
        return -1;
    *labelStart = int(m.capturedStart(0));
    return int(m.capturedEnd(0));
}

Key parseKey(const QString &folded, int from)
{
    Key key;
    const auto truth = re(R"(\G[\s:(\[【]*(正确|错误|对|错|√|×|✓|✔|✗|✘|╳|(?i:true|false)(?![A-Za-z])|T(?![A-Za-z])|是|否)[\s.。;)\]】]*)")
                           .match(folded, from);
    if (truth.hasMatch()) {
        key.truth = truthOfWord(truth.captured(1));
        key.end = int(truth.capturedEnd(0));
        return key;
    }
    const auto letters = re(R"(\G[\s:(\[【]*([A-Fa-f](?:[\s,，、;]*[A-Fa-f])*)(?![A-Za-z0-9])[\s.。;)\]】]*)").match(folded, from);
    if (letters.hasMatch()) {
        const QString found = letters.captured(1).toUpper();
        for (QChar c = QLatin1Char('A'); c <= QLatin1Char('F'); c = QChar(c.unicode() + 1))
            if (found.contains(c))
                key.letters += c;
        key.letterF = key.letters == QLatin1String("F");
        key.end = int(letters.capturedEnd(0));
    }
    return key;
}

BracketKey bracketKey(const QString &folded)
{
    BracketKey result;
    auto it = re(R"(\(\s*((?:[A-F](?:[\s,、]*[A-F])*)|正确|错误|对|错|√|×|✓|✗)\s*\))").globalMatch(folded);
    while (it.hasNext()) {
        const auto m = it.next();
        result.from = int(m.capturedStart(1));
        result.to = int(m.capturedEnd(1));
    }
    if (result.from >= 0)
        result.key = parseKey(folded.left(result.to), result.from);
    return result;
}

int typeOfWord(const QString &folded, QString *kind)
{
    struct Word { const char *word; int type; const char *kind; };
    static const Word words[] = {
        {"不定项", 14, "不定项"}, {"多项选择", 14, "多选"}, {"多选", 14, "多选"},
        {"单项选择", 11, "单选"}, {"单选", 11, "单选"}, {"判断", 41, "判断"},
        {"案例", kSubjective, "案例"}, {"计算", kSubjective, "计算"}, {"简答", kSubjective, "简答"},
        {"问答", kSubjective, "简答"}, {"论述", kSubjective, "简答"}, {"名词解释", kSubjective, "简答"},
        {"填空", kSubjective, "填空"}, {"综合", kSubjective, "案例"}, {"主观", kSubjective, "简答"},
    };
    for (const Word &w : words) {
        if (folded.contains(QString::fromUtf8(w.word))) {
            if (kind)
                *kind = QString::fromUtf8(w.kind);
            return w.type;
        }
    }
    const QString code = folded.trimmed();
    for (int t : {11, 14, 41, 65, 72, 73, 74}) {
        if (code == QString::number(t)) {
            if (kind)
                *kind = t == 65 ? QStringLiteral("案例") : QString();
            return t;
        }
    }
    return 0;
}

int subjectiveType(int subject, const QString &kind)
{
    switch (subject) {
    case 2: return 73;
    case 5: return kind == QStringLiteral("简答") ? 74 : 65;
    default: return 72;
    }
}

Heading sectionHeading(const QString &folded)
{
    Heading h;
    const QString line = folded.trimmed();
    // Headings carry long notes: "二、多项选择题（共20题，每题2分。每题的备选项中，有2个或2个以上……）".
    if (line.isEmpty() || line.size() > 200)
        return h;
    const auto numeral = re(R"(^(?:第[一二三四五六七八九十]+(?:部分|章|节|大题)|[一二三四五六七八九十]+\s*[、.]|\(\s*[一二三四五六七八九十]+\s*\)|[【\[])\s*(.*)$)")
                             .match(line);
    const QString rest = numeral.hasMatch() ? numeral.captured(1) : line;
    h.type = typeOfWord(rest, &h.kind);
    if (h.type > 14 && h.type != 41)
        h.type = 0; // a bare number is no heading
    const bool bracketed = line.startsWith(QLatin1Char('[')) || line.startsWith(QStringLiteral("【"));
    QString bare = rest;
    bare.remove(re(R"(\([^)]*\)|【|】|\[|\]|[:：。.])"));
    if (numeral.hasMatch() && !bracketed)
        h.isHeading = (h.type != 0 && typeOfWord(rest.left(12)) != 0) || bare.trimmed().size() <= 30;
    else
        h.isHeading = h.type != 0 && bare.trimmed().size() <= 12 && !line.endsWith(QStringLiteral("？"))
                      && !line.endsWith(QLatin1Char('?'));
    const auto marks = re(R"(每(?:小)?题\s*(\d+(?:\.\d+)?)\s*分)").match(line);
    if (marks.hasMatch())
        h.marks = marks.captured(1).toDouble();
    return h;
}

int answerAreaHeading(const QString &folded)
{
    const auto m = re(R"(^\s*[【\[]?\s*(?:参考|标准|正确)?答案(?:与|及|和|以及)?(?:解析|详解|解答)?(?:速查|汇总|部分|一览)?\s*[】\]]?\s*:?\s*)")
                       .match(folded);
    if (!m.hasMatch())
        return -1;
    const int end = int(m.capturedEnd(0));
    if (end < folded.size() && !folded.at(end).isDigit())
        return -1;
    return end;
}

int truthOfWord(const QString &folded)
{
    QString w = folded.trimmed();
    while (!w.isEmpty() && (w.endsWith(QLatin1Char('.')) || w.endsWith(QStringLiteral("。"))))
        w.chop(1);
    w = w.toUpper();
    static const QStringList yes = {QStringLiteral("正确"), QStringLiteral("对"), QStringLiteral("√"), QStringLiteral("✓"),
                                    QStringLiteral("✔"), QStringLiteral("是"), QStringLiteral("T"), QStringLiteral("TRUE")};
    static const QStringList no = {QStringLiteral("错误"), QStringLiteral("错"), QStringLiteral("×"), QStringLiteral("✗"),
                                   QStringLiteral("✘"), QStringLiteral("╳"), QStringLiteral("否"), QStringLiteral("F"), QStringLiteral("FALSE")};
    if (yes.contains(w))
        return 1;
    if (no.contains(w))
        return 2;
    return 0;
}

} // namespace formats::import
