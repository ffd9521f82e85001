#include "RtfText.h"

#include "RtfReader.h"
#include "RtfWriter.h"

#include <QTextDocument>

namespace rtf {
namespace {

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
    return RtfWriter::write(document);
}

} // namespace rtf
