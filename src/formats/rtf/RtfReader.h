#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;
class QVariant;

namespace rtf {

// Reads RTF into a QTextDocument, replacing what it held. Anything that does
// not start with "{\rtf" is plain text and is shown exactly as stored.
class RtfReader
{
public:
    // Raw bytes as stored in the bank: RTF, or plain text in UTF-8 or GBK.
    static void read(const QByteArray &data, QTextDocument *document);
    // Text already decoded; RTF in it may carry literal non-ASCII characters.
    static void read(const QString &text, QTextDocument *document);
    // A column value: bytes (BLOB), text, or NULL (an empty document).
    static void read(const QVariant &value, QTextDocument *document);

    static bool isRtf(const QByteArray &data);
    static bool isRtf(const QString &text);

    // The text of plain-text input as stored: UTF-8 when valid, GBK otherwise.
    static QString decodePlainText(const QByteArray &data);
};

} // namespace rtf
