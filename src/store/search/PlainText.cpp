#include "PlainText.h"

#include "RtfReader.h"
#include "RtfText.h"

namespace search {

QString plainTextOf(const QVariant &value)
{
    if (value.isNull())
        return QString();
    QString text;
    if (value.userType() == QMetaType::QByteArray) {
        const QByteArray bytes = value.toByteArray();
        // Plain text needs no document; most notes and many bodies are plain.
        text = rtf::RtfReader::isRtf(bytes) ? rtf::toPlainText(bytes) : rtf::RtfReader::decodePlainText(bytes);
    } else {
        const QString s = value.toString();
        text = rtf::RtfReader::isRtf(s) ? rtf::toPlainText(s) : s;
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    return text.trimmed();
}

} // namespace search
