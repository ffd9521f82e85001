#include "Gift.h"

#include "Limits.h"
#include "Markers.h"
#include "RichText.h"
#include "Settle.h"

#include <QRegularExpression>

namespace formats::import {

namespace {

struct Block {
    int line = 0;
    QString text;
};

QVector<Block> blocksOf(const QString &text, QVector<Block> *categories)
{
    QVector<Block> blocks;
    Block current;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("//")))
            continue;
        if (trimmed.isEmpty()) {
            if (!current.text.trimmed().isEmpty())
                blocks << current;
            current = Block();
            continue;
        }
        if (trimmed.startsWith(QLatin1String("$CATEGORY:"), Qt::CaseInsensitive)) {
            if (categories)
                *categories << Block{int(blocks.size()), trimmed.mid(10).trimmed()};
            continue;
        }
        if (current.text.isEmpty())
            current.line = i + 1;
        else
            current.text += QLatin1Char('\n');
        current.text += line;
    }
    if (!current.text.trimmed().isEmpty())
        blocks << current;
    return blocks;
}

// Position of the first `c` not escaped by a backslash, from `from`; -1 when none.
int unescaped(const QString &text, QChar c, int from)
{
    for (int i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\'))
            ++i;
        else if (text.at(i) == c)
            return i;
    }
    return -1;
}

QString unescape(const QString &text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            out += next == QLatin1Char('n') ? QLatin1Char('\n') : next;
        } else {
            out += text.at(i);
        }
    }
    return out.trimmed();
}

struct Choice {
    bool right = false;
    QString text;
};

// "=right ~wrong ~%50%half" as choices; general feedback "####…" apart.
QVector<Choice> choicesOf(const QString &answers, QString *feedback)
{
    QString body = answers;
    const int general = int(body.indexOf(QLatin1String("####")));
    if (general >= 0) {
        *feedback = unescape(body.mid(general + 4));
        body = body.left(general);
    }
    QVector<Choice> choices;
    for (int i = 0; i < body.size(); ++i) {
        if (body.at(i) == QLatin1Char('\\')) {
            ++i;
            if (!choices.isEmpty() && i < body.size())
                choices.last().text += QLatin1Char('\\') + body.at(i);
            continue;
        }
        const QChar c = body.at(i);
        if (c == QLatin1Char('=') || c == QLatin1Char('~')) {
            choices << Choice{c == QLatin1Char('='), QString()};
            static const QRegularExpression weight(QStringLiteral(R"(\G%(-?\d+(?:\.\d+)?)%)"));
            const auto m = weight.match(body, i + 1);
            if (m.hasMatch()) {
                choices.last().right = m.captured(1).toDouble() > 0;
                i = int(m.capturedEnd(0)) - 1;
            }
        } else if (!choices.isEmpty()) {
            choices.last().text += c;
        }
    }
    for (Choice &choice : choices) {
        const int comment = unescaped(choice.text, QLatin1Char('#'), 0);
        if (comment >= 0)
            choice.text = choice.text.left(comment);
        choice.text = unescape(choice.text);
    }
    return choices;
}

RecognizedQuestion questionOf(const Block &block, int subject)
{
    RecognizedQuestion q;
    q.line = block.line;
    q.sourceText = block.text.trimmed();
    QString text = block.text.trimmed();
    static const QRegularExpression title(QStringLiteral(R"(^::(.*?)::)"), QRegularExpression::DotMatchesEverythingOption);
    text.remove(title);
    static const QRegularExpression format(QStringLiteral(R"(^\s*\[(?:html|moodle|plain|markdown)\])"));
    text.remove(format);

    Evidence e;
    const int open = unescaped(text, QLatin1Char('{'), 0);
    const int close = open >= 0 ? unescaped(text, QLatin1Char('}'), open + 1) : -1;
    if (open < 0 || close < 0) {
        q.stem = unescape(text);
        q.problems << QStringLiteral("没有找到答案部分 {…}");
        return q;
    }
    const QString before = unescape(text.left(open));
    const QString after = unescape(text.mid(close + 1));
    q.stem = after.isEmpty() ? before : before + QStringLiteral("（  ）") + after;
    const QString answers = text.mid(open + 1, close - open - 1).trimmed();

    QString feedback;
    const QString folded = fold(answers).toUpper();
    static const QRegularExpression truth(QStringLiteral(R"(^(T|TRUE|F|FALSE)\s*(#.*)?$)"), QRegularExpression::DotMatchesEverythingOption);
    const auto t = truth.match(folded);
    if (t.hasMatch()) {
        e.headingType = 41;
        e.key.truth = t.captured(1).startsWith(QLatin1Char('T')) ? 1 : 2;
    } else if (answers.startsWith(QLatin1Char('#')) || answers.contains(QLatin1String("->"))) {
        q.type = 0;
        q.problems << QStringLiteral("不支持的题型（数值题或配对题）");
        return q;
    } else {
        const QVector<Choice> choices = choicesOf(answers, &feedback);
        bool anyWrong = false;
        for (const Choice &c : choices)
            anyWrong = anyWrong || !c.right;
        if (choices.isEmpty()) {
            e.headingType = kSubjective;
        } else if (!anyWrong) {
            // Short answer: the accepted answers are the reference answer.
            e.headingType = kSubjective;
            QStringList accepted;
            for (const Choice &c : choices)
                accepted << c.text;
            e.answerText = accepted.join(QStringLiteral(" / "));
            e.answerTextRtf = plainRtf(e.answerText);
        } else {
            for (int k = 0; k < choices.size(); ++k) {
                q.options << choices.at(k).text;
                if (choices.at(k).right && k < 6)
                    e.key.letters += QChar(u'A' + k);
            }
            if (q.options.size() > 6) {
                q.options = q.options.mid(0, 6);
                q.problems << QStringLiteral("选项超过六个（最多 A～F）");
            }
        }
    }
    q.explanation = feedback;
    settle(q, e, subject);
    fillPlainRtf(q);
    return q;
}

} // namespace

bool looksLikeGift(const QString &text)
{
    const QVector<Block> blocks = blocksOf(text, nullptr);
    static const QRegularExpression answer(QStringLiteral(R"(\{\s*(?:[=~]|T\s*\}|F\s*\}|TRUE|FALSE|\}|#))"),
                                           QRegularExpression::CaseInsensitiveOption);
    int withAnswers = 0;
    for (const Block &b : blocks)
        withAnswers += answer.match(b.text).hasMatch();
    return withAnswers > 0 && withAnswers * 2 >= blocks.size();
}

Recognition recognizeGift(const QString &text, int subject)
{
    Recognition result;
    QVector<Block> categories;
    const QVector<Block> blocks = blocksOf(text, &categories);
    int category = 0;
    QString section;
    for (int b = 0; b < blocks.size(); ++b) {
        while (category < categories.size() && categories.at(category).line <= b)
            section = categories.at(category++).text;
        if (result.questions.size() >= limits::kQuestions) {
            result.problems << RecognitionProblem{blocks.at(b).line, QStringLiteral("题目超过 %1 道，其后的内容没有读取").arg(limits::kQuestions)};
            break;
        }
        RecognizedQuestion q = questionOf(blocks.at(b), subject);
        q.section = section;
        result.questions << q;
    }
    return result;
}

} // namespace formats::import
