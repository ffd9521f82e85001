#include "TextDecoder.h"

#include "Recognized.h"
#include "TextCodec.h"

#include <QStringDecoder>

namespace formats::import {

namespace {

enum class Utf16 { No, LittleEndian, BigEndian };

// UTF-16 without a BOM: Chinese text has few zero bytes, but its ASCII line
// ends, digits and punctuation put zeros into every other byte.
Utf16 guessUtf16(const QByteArray &bytes)
{
    const qsizetype n = qMin<qsizetype>(bytes.size() & ~qsizetype(1), 65536);
    if (n < 4)
        return Utf16::No;
    qsizetype evenZeros = 0, oddZeros = 0;
    for (qsizetype i = 0; i < n; i += 2) {
        evenZeros += bytes[i] == 0;
        oddZeros += bytes[i + 1] == 0;
    }
    const qsizetype pairs = n / 2;
    if (oddZeros * 5 >= pairs && evenZeros * 20 < pairs)
        return Utf16::LittleEndian;
    if (evenZeros * 5 >= pairs && oddZeros * 20 < pairs)
        return Utf16::BigEndian;
    return Utf16::No;
}

QString strictDecode(QStringConverter::Encoding encoding, const QByteArray &bytes, bool *ok)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

// Control characters other than tab, line ends and form feed mean the bytes are no text.
bool looksBinary(const QString &text)
{
    qsizetype controls = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0)
            return true;
        if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r' && u != u'\f')
            ++controls;
    }
    return controls * 100 > text.size() + 100;
}

QString checked(QString text)
{
    if (looksBinary(text))
        throw ImportError(QStringLiteral("这不是文本文件（含有大量二进制数据），无法识别其中的题目。"));
    return text;
}

} // namespace

QString decodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return checked(QString::fromUtf8(bytes.mid(3)));
    bool ok = false;
    if (bytes.startsWith("\xFF\xFE")) {
        QString text = strictDecode(QStringConverter::Utf16LE, bytes.mid(2), &ok);
        return checked(text);
    }
    if (bytes.startsWith("\xFE\xFF"))
        return checked(strictDecode(QStringConverter::Utf16BE, bytes.mid(2), &ok));
    switch (guessUtf16(bytes)) {
    case Utf16::LittleEndian: return checked(strictDecode(QStringConverter::Utf16LE, bytes, &ok));
    case Utf16::BigEndian: return checked(strictDecode(QStringConverter::Utf16BE, bytes, &ok));
    case Utf16::No: break;
    }
    if (bytes.contains('\0'))
        throw ImportError(QStringLiteral("这不是文本文件（含有二进制数据），无法识别其中的题目。"));
    QString text = strictDecode(QStringConverter::Utf8, bytes, &ok);
    if (ok)
        return checked(text);
    // UTF-8 with a few damaged bytes stays UTF-8: in GBK read as UTF-8 nearly
    // every character beyond ASCII fails.
    qsizetype wide = 0;
    for (const QChar c : text)
        wide += c.unicode() >= 0x80;
    if (text.count(QChar(QChar::ReplacementCharacter)) * 20 < wide)
        return checked(text);
    // Not UTF-8: GBK, as Chinese Windows saves text. Bytes that are not GBK
    // either would show as garbage, so they are refused.
    text = rtf::TextCodec::decode(rtf::TextCodec::Gbk, bytes);
    const qsizetype bad = text.count(QChar(QChar::ReplacementCharacter));
    if (bad * 200 > text.size() + 200)
        throw ImportError(QStringLiteral("无法识别这个文件的文字编码（不是 UTF-8、UTF-16 或 GBK），请另存为 UTF-8 文本后再导入。"));
    return checked(text);
}

} // namespace formats::import
