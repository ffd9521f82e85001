#include "QuestionBody.h"

#include "RtfReader.h"
#include "RtfText.h"
#include "RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace importing {

using formats::import::RecognizedQuestion;

namespace {

const QString kLetters = QStringLiteral("ABCDEF");
// The size the project's plain texts are written in (小四).
const qreal kPlainPointSize = 12;

QString optionLabel(int index) { return QString(kLetters.at(index)) + QStringLiteral("．"); }

QStringList optionsOf(const RecognizedQuestion &question)
{
    if (question.type == 41 && question.options.isEmpty())
        return {QStringLiteral("正确"), QStringLiteral("错误")};
    return question.options.mid(0, int(kLetters.size()));
}

bool hasRichText(const RecognizedQuestion &question)
{
    if (!question.stemRtf.isEmpty())
        return true;
    for (const QString &option : question.optionsRtf)
        if (!option.isEmpty())
            return true;
    return false;
}

void appendRtf(QTextCursor &cursor, const QString &rtfText)
{
    QTextDocument part;
    rtf::RtfReader::read(rtfText, &part);
    cursor.insertFragment(QTextDocumentFragment(&part));
}

} // namespace

QStringList bodyParagraphs(const RecognizedQuestion &question)
{
    QStringList body = question.stem.split(QLatin1Char('\n'));
    const QStringList options = optionsOf(question);
    for (int i = 0; i < options.size(); ++i)
        body << optionLabel(i) + options.at(i);
    return body;
}

QString bodyRtf(const RecognizedQuestion &question)
{
    if (!hasRichText(question))
        return QString::fromLatin1(rtf::fromPlainParagraphs(bodyParagraphs(question)));
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    plain.setFontPointSize(kPlainPointSize);
    if (!question.stemRtf.isEmpty())
        appendRtf(cursor, question.stemRtf);
    else
        cursor.insertText(question.stem, plain);
    // Option lines start plain, whatever the end of the stem looked like.
    const QStringList options = optionsOf(question);
    for (int i = 0; i < options.size(); ++i) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock(QTextBlockFormat(), plain);
        cursor.insertText(optionLabel(i), plain);
        const QString rich = question.optionsRtf.value(i);
        if (rich.isEmpty())
            cursor.insertText(options.at(i), plain);
        else
            appendRtf(cursor, rich);
    }
    return QString::fromLatin1(rtf::RtfWriter::write(document));
}

QString explanationRtf(const RecognizedQuestion &question)
{
    if (!question.explanationRtf.isEmpty())
        return question.explanationRtf;
    if (question.explanation.trimmed().isEmpty())
        return QString();
    return QString::fromLatin1(rtf::fromPlainParagraphs(question.explanation.split(QLatin1Char('\n'))));
}

QString comparisonText(const QString &plainText)
{
    const QString folded = plainText.normalized(QString::NormalizationForm_KC).toCaseFolded();
    QString kept;
    kept.reserve(folded.size());
    for (const QChar c : folded)
        if (c.isLetterOrNumber())
            kept += c;
    return kept;
}

QString comparisonTextOf(const RecognizedQuestion &question)
{
    return comparisonText(bodyParagraphs(question).join(QLatin1Char('\n')));
}

} // namespace importing
