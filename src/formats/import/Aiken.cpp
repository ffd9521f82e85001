#include "Aiken.h"

#include "Limits.h"
#include "Markers.h"
#include "RichText.h"
#include "Settle.h"

#include <QRegularExpression>

namespace formats::import {

namespace {

const QRegularExpression &answerLine()
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*ANSWER\s*:\s*(.*)$)"));
    return re;
}

const QRegularExpression &optionLine()
{
    static const QRegularExpression re(QStringLiteral(R"(^\s*([A-Z])\s*[.)]\s*(.*)$)"));
    return re;
}

} // namespace

bool looksLikeAiken(const QString &text)
{
    int answers = 0, numbered = 0;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString folded = fold(line);
        answers += answerLine().match(folded).hasMatch();
        numbered += questionNumber(folded).style != Numbering::None;
    }
    return answers > 0 && numbered < answers;
}

Recognition recognizeAiken(const QString &text, int subject)
{
    Recognition result;
    const QStringList lines = text.split(QLatin1Char('\n'));
    RecognizedQuestion q;
    QStringList source;
    bool open = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        const QString folded = fold(line);
        if (line.isEmpty())
            continue;
        if (!open) {
            if (result.questions.size() >= limits::kQuestions) {
                result.problems << RecognitionProblem{i + 1, QStringLiteral("题目超过 %1 道，其后的内容没有读取").arg(limits::kQuestions)};
                break;
            }
            q = RecognizedQuestion();
            q.line = i + 1;
            q.stem = line;
            source = QStringList{line};
            open = true;
            continue;
        }
        source << line;
        const auto answer = answerLine().match(folded);
        if (answer.hasMatch()) {
            Evidence e;
            const QString keyText = answer.captured(1).trimmed();
            const Key key = parseKey(keyText);
            if (key.valid() && key.end >= keyText.size())
                e.key = key;
            q.sourceText = source.join(QLatin1Char('\n'));
            settle(q, e, subject);
            fillPlainRtf(q);
            result.questions << q;
            open = false;
            continue;
        }
        const auto option = optionLine().match(folded);
        if (option.hasMatch() && option.captured(1).at(0).unicode() - u'A' == q.options.size() && q.options.size() < 6)
            q.options << line.mid(option.capturedStart(2)).trimmed();
        else if (q.options.isEmpty())
            q.stem += QLatin1Char('\n') + line;
        else
            q.options.last() += QLatin1Char(' ') + line;
    }
    if (open)
        result.problems << RecognitionProblem{q.line, QStringLiteral("最后一题没有 ANSWER 行：%1").arg(q.stem.left(40))};
    return result;
}

} // namespace formats::import
