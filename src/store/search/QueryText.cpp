#include "QueryText.h"

namespace search {

namespace {

bool isExclusionMark(QChar c) { return c == QLatin1Char('-') || c == QChar(0xFF0D); }
bool isOpeningQuote(QChar c) { return c == QLatin1Char('"') || c == QChar(0x201C) || c == QChar(0xFF02); }
bool isClosingQuote(QChar c) { return c == QLatin1Char('"') || c == QChar(0x201D) || c == QChar(0xFF02); }

class Reader {
public:
    explicit Reader(const QString &text) : m_text(text) {}

    QueryText read()
    {
        QueryText q;
        q.whole = m_text.trimmed();
        while (skipBlanks()) {
            bool exclude = false;
            if (isExclusionMark(peek()) && m_pos + 1 < m_text.size() && !m_text.at(m_pos + 1).isSpace()) {
                exclude = true;
                ++m_pos;
            }
            const QString term = isOpeningQuote(peek()) ? phrase() : word();
            if (term.isEmpty())
                continue;
            QStringList &list = exclude ? q.excluded : q.terms;
            if (!list.contains(term))
                list << term;
        }
        return q;
    }

private:
    QChar peek() const { return m_text.at(m_pos); }

    // False at the end of the text.
    bool skipBlanks()
    {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
        return m_pos < m_text.size();
    }

    QString word()
    {
        const int start = m_pos;
        while (m_pos < m_text.size() && !m_text.at(m_pos).isSpace())
            ++m_pos;
        return m_text.mid(start, m_pos - start);
    }

    // A phrase runs to its closing quote, or to the end when there is none.
    QString phrase()
    {
        const int start = ++m_pos;
        while (m_pos < m_text.size() && !isClosingQuote(m_text.at(m_pos)))
            ++m_pos;
        const QString text = m_text.mid(start, m_pos - start).trimmed();
        if (m_pos < m_text.size())
            ++m_pos;
        return text;
    }

    const QString &m_text;
    int m_pos = 0;
};

} // namespace

QueryText parseQuery(const QString &typed)
{
    // Control characters (a NUL among them) are blanks, never part of a word.
    QString text = typed;
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return Reader(text).read();
}

} // namespace search
