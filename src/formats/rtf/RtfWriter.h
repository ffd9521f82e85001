#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace rtf {

// Writes a QTextDocument as RTF the way a word processor on Chinese Windows
// does: code page 936, Chinese as GBK \'xx pairs, \uN for everything else
// outside ASCII, pictures as PNG. The output is plain ASCII.
class RtfWriter
{
public:
    static QByteArray write(const QTextDocument &document);
    // The font text without a font of its own is written in.
    static QString defaultFontFamily();
};

} // namespace rtf
