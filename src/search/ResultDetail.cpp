#include "ResultDetail.h"

#include "BankNames.h"
#include "Connection.h"
#include "ResultList.h"
#include "RichView.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace search {

namespace {

const int kSubjectiveTypes[] = {65, 72, 73, 74};

const int kTrueFalse = 41;

// True/false keys are letters in the bank and words to the learner.
QString keyText(int type, const QString &key)
{
    if (type == kTrueFalse && (key == QLatin1String("A") || key == QLatin1String("B")))
        return key + (key == QLatin1String("A") ? QStringLiteral("（正确）") : QStringLiteral("（错误）"));
    return key;
}

class Composer {
public:
    explicit Composer(QTextDocument *document) : m_cursor(document) {}

    void heading(const QString &text, const QColor &colour = QColor(0x1f, 0x3a, 0x5f))
    {
        QTextCharFormat format;
        format.setFontWeight(QFont::Bold);
        format.setForeground(colour);
        line(text, format);
    }

    void note(const QString &text)
    {
        QTextCharFormat format;
        format.setForeground(QColor(0x5f, 0x6b, 0x7a));
        line(text, format);
    }

    void plain(const QString &text) { line(text, QTextCharFormat()); }

    // A bank field's rich text, formatting kept.
    void rich(const QVariant &value)
    {
        QTextDocument part;
        richtext::loadContent(value, &part);
        if (!m_first)
            m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        m_cursor.insertFragment(QTextDocumentFragment(&part));
        m_first = false;
    }

private:
    void line(const QString &text, const QTextCharFormat &format)
    {
        if (!m_first)
            m_cursor.insertBlock(QTextBlockFormat(), format);
        else
            m_cursor.setCharFormat(format);
        m_cursor.insertText(text, format);
        m_first = false;
    }

    QTextCursor m_cursor;
    bool m_first = true;
};

void markWords(QTextDocument *document, const QueryText &query)
{
    QTextCharFormat mark;
    mark.setBackground(QColor(0xff, 0xf1, 0xa8));
    for (const QString &word : query.terms) {
        QTextCursor found(document);
        while (!(found = document->find(word, found)).isNull())
            found.mergeCharFormat(mark);
    }
}

void questionDetail(Composer &out, store::Connection &c, const Hit &hit, const BankNames &names)
{
    store::Statement row(c.handle(),
                         QStringLiteral("select a.A2, a.A13, a.A14, a.E2, e.A15, e.jx, t.A15 from tab_answ a "
                                        "left join tab_exer e on e.A1 = a.A1 left join tab_title t on "
                                        "instr(a.A1, '-') > 0 and t.A1 = substr(a.A1, 1, 16) where a.A1 = ?"),
                         store::Params::byPosition({hit.ref}));
    if (!row.step()) {
        out.note(QStringLiteral("这道题已不在题库中。"));
        return;
    }
    out.note(QStringLiteral("题号 %1 · %2").arg(hit.ref, factsOf(hit, names)));
    if (!row.value(6).isNull()) {
        out.heading(QStringLiteral("【共用题干】"));
        out.rich(row.value(6));
    }
    out.heading(QStringLiteral("【题目】"));
    out.rich(row.value(4));
    const int type = row.value(1).toInt();
    if (std::find(std::begin(kSubjectiveTypes), std::end(kSubjectiveTypes), type) == std::end(kSubjectiveTypes))
        out.heading(QStringLiteral("【答案】%1").arg(keyText(type, row.value(0).toString())), QColor(0x1b, 0x7a, 0x35));
    const QString last = row.value(3).toString();
    if (!last.isEmpty() && last != QLatin1String("zero"))
        out.note(QStringLiteral("你上次的答案：%1").arg(last));
    out.heading(QStringLiteral("【解析】"));
    if (row.value(5).isNull() || row.value(5).toString().trimmed().isEmpty())
        out.note(QStringLiteral("本题没有解析。"));
    else
        out.rich(row.value(5));
    const QString note = row.value(2).toString();
    if (!note.trimmed().isEmpty()) {
        out.heading(QStringLiteral("【我的笔记】"));
        out.plain(note);
    }
}

void pointDetail(Composer &out, store::Connection &c, const Hit &hit, const BankNames &names)
{
    store::Statement row(c.handle(), QStringLiteral("select sn, n, q from tab_rule where ftid = ?"),
                         store::Params::byPosition({hit.ref}));
    if (!row.step()) {
        out.note(QStringLiteral("这个考点已不在题库中。"));
        return;
    }
    out.note(QStringLiteral("考点 %1 · %2 · 相关题数 %3").arg(hit.ref, names.sectionOf(hit.ref)).arg(row.value(2).toInt()));
    out.heading(row.value(0).toString().trimmed());
    out.rich(row.value(1));
}

} // namespace

void fillDetail(QTextDocument *document, store::Connection &c, const Hit &hit, const BankNames &names,
                const QueryText &query)
{
    document->clear();
    Composer out(document);
    if (hit.kind == Kind::Point)
        pointDetail(out, c, hit, names);
    else
        questionDetail(out, c, hit, names);
    markWords(document, query);
}

} // namespace search
