#include "RtfText.h"

#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>

namespace rtf {
namespace {

const qreal kPlainTextPointSize = 12;

template<typename Input>
QString plainTextOf(const Input &input)
{
    QTextDocument document;
    RtfReader::read(input, &document);
    QString text = document.toPlainText();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

QString toPlainText(const QByteArray &rtfOrText)
{
    return plainTextOf(rtfOrText);
}

QString toPlainText(const QString &rtfOrText)
{
    return plainTextOf(rtfOrText);
}

QByteArray fromPlainParagraphs(const QStringList &paragraphs)
{
    QTextDocument document;
    document.setPlainText(paragraphs.join(QLatin1Char('\n')));
    // 12 pt (小四) is the size Chinese exam papers and textbooks are set in.
    QTextCharFormat size;
    size.setFontPointSize(kPlainTextPointSize);
    QTextCursor all(&document);
    all.select(QTextCursor::Document);
    all.mergeCharFormat(size);
    return RtfWriter::write(document);
}

} // namespace rtf
