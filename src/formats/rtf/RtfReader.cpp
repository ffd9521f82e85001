#include "RtfReader.h"

#include "Parser.h"
#include "TextCodec.h"

#include <QStringDecoder>
#include <QTextDocument>
#include <QVariant>

namespace rtf {
namespace {


void setPlainText(const QString &text, QTextDocument *document)
{
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    document->setPlainText(normalised);
}

} // namespace

bool RtfReader::isRtf(const QByteArray &data)
{
    return data.startsWith("{\\rtf");
}

bool RtfReader::isRtf(const QString &text)
{
    return text.startsWith(QLatin1String("{\\rtf"));
}

QString RtfReader::decodePlainText(const QByteArray &data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(data);
    if (!utf8.hasError())
        return text;
    return TextCodec::decode(TextCodec::Gbk, data);
}

void RtfReader::read(const QByteArray &data, QTextDocument *document)
{
    if (!isRtf(data)) {
        setPlainText(decodePlainText(data), document);
        return;
    }
    document->clear();
    Parser(data, false, document).run();
}

void RtfReader::read(const QVariant &value, QTextDocument *document)
{
    if (value.isNull())
        document->clear();
    else if (value.userType() == QMetaType::QByteArray)
        read(value.toByteArray(), document);
    else
        read(value.toString(), document);
}

void RtfReader::read(const QString &text, QTextDocument *document)
{
    if (!isRtf(text)) {
        setPlainText(text, document);
        return;
    }
    document->clear();
    Parser(text.toUtf8(), true, document).run();
}

} // namespace rtf
