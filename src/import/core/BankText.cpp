#include "BankText.h"

#include "RtfReader.h"
#include "TextCodec.h"

#include <QSet>

namespace importing {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool holdsNoText(const QByteArray &word)
{
    static const QSet<QByteArray> words{"fonttbl", "colortbl", "stylesheet", "info",     "pict",   "object",
                                        "themedata", "header",  "footer",     "listtable", "listoverridetable",
                                        "pntext", "pntxta", "pntxtb", "datastore", "latentstyles"};
    return words.contains(word);
}

class QuickReader {
public:
    explicit QuickReader(const QByteArray &data) : m_data(data) {}

    QString run()
    {
        while (m_at < m_data.size()) {
            const char c = m_data.at(m_at++);
            if (c == '{') {
                ++m_depth;
                if (m_at + 1 < m_data.size() && m_data.at(m_at) == '\\' && m_data.at(m_at + 1) == '*')
                    skipFromHere();
            } else if (c == '}') {
                if (m_depth == m_skipDepth)
                    m_skipDepth = -1;
                --m_depth;
            } else if (c == '\\') {
                control();
            } else if (uchar(c) >= 0x80) {
                literalUtf8();
            } else if (c != '\r' && c != '\n') {
                text(c);
            }
        }
        flush();
        return m_out;
    }

private:
    bool skipping() const { return m_skipDepth >= 0; }
    void skipFromHere()
    {
        if (!skipping())
            m_skipDepth = m_depth;
    }

    void text(char byte)
    {
        if (skipping())
            return;
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        m_bytes.append(byte);
    }

    // A body that came to the bank as decoded text may hold its characters literally.
    void literalUtf8()
    {
        const qsizetype start = m_at - 1;
        while (m_at < m_data.size() && uchar(m_data.at(m_at)) >= 0x80)
            ++m_at;
        if (skipping())
            return;
        flush();
        m_out += QString::fromUtf8(m_data.mid(start, m_at - start));
    }

    void flush()
    {
        if (!m_bytes.isEmpty())
            rtf::TextCodec::decode(rtf::TextCodec::Gbk, m_bytes.constData(), int(m_bytes.size()), m_out);
        m_bytes.clear();
    }

    void control()
    {
        if (m_at >= m_data.size())
            return;
        const char c = m_data.at(m_at);
        if (!isLetter(c)) {
            ++m_at;
            if (c == '\'' && m_at + 1 < m_data.size()) {
                const int high = hexValue(m_data.at(m_at));
                const int low = hexValue(m_data.at(m_at + 1));
                m_at += 2;
                if (high >= 0 && low >= 0)
                    text(char(high * 16 + low));
            } else if (c == '\\' || c == '{' || c == '}') {
                text(c);
            }
            return;
        }
        const qsizetype start = m_at;
        while (m_at < m_data.size() && isLetter(m_data.at(m_at)))
            ++m_at;
        const QByteArray word = m_data.mid(start, m_at - start);
        const qsizetype numberStart = m_at;
        if (m_at < m_data.size() && m_data.at(m_at) == '-')
            ++m_at;
        while (m_at < m_data.size() && m_data.at(m_at) >= '0' && m_data.at(m_at) <= '9')
            ++m_at;
        const int parameter = m_data.mid(numberStart, m_at - numberStart).toInt();
        if (m_at < m_data.size() && m_data.at(m_at) == ' ')
            ++m_at;
        if (holdsNoText(word)) {
            skipFromHere();
        } else if (word == "par" || word == "line" || word == "cell" || word == "tab") {
            text('\n');
        } else if (word == "uc") {
            m_unicodeSkip = parameter;
        } else if (word == "u" && !skipping()) {
            flush();
            m_out += QChar(ushort(parameter < 0 ? parameter + 65536 : parameter));
            m_pendingSkip = m_unicodeSkip;
        } else if (word == "bin") {
            m_at += qMax(0, parameter);
        }
    }

    const QByteArray &m_data;
    qsizetype m_at = 0;
    int m_depth = 0;
    int m_skipDepth = -1;
    int m_unicodeSkip = 1;
    int m_pendingSkip = 0;
    QByteArray m_bytes;
    QString m_out;
};

} // namespace

QString bankPlainText(const QByteArray &stored)
{
    if (!rtf::RtfReader::isRtf(stored))
        return rtf::RtfReader::decodePlainText(stored);
    return QuickReader(stored).run();
}

} // namespace importing
