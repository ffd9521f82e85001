#pragma once

#include <QByteArray>
#include <QString>

namespace rtf {

// Windows code pages through glibc's iconv. Bytes that do not decode become
// U+FFFD; a character that cannot be encoded makes encode() fail.
class TextCodec
{
public:
    static constexpr int Gbk = 936;
    static constexpr int Western = 1252;

    // Appends the text of `size` bytes in `codePage` to `out`.
    static void decode(int codePage, const char *bytes, int size, QString &out);
    static QString decode(int codePage, const QByteArray &bytes);

    // The bytes of one character (a surrogate pair counts as one) in
    // `codePage`; false when the code page has no such character or its
    // bytes would read back as another one.
    static bool encodeChar(int codePage, const QString &character, QByteArray &out);

    // Code page of an RTF \fcharset value; `fallback` for the charsets that
    // mean "whatever the document says" (default, OEM, Mac and unknown ones).
    static int codePageOfCharset(int charset, int fallback);

    // Whether a code page encodes characters in byte pairs (932, 936, 949, 950).
    static bool isDoubleByte(int codePage);

    // A font named in Chinese (any character beyond ASCII), or one of the
    // Chinese Windows fonts under its Latin name.
    static bool isCjkFontName(const QString &family);
};

} // namespace rtf
