#include "BankNames.h"

#include "Connection.h"

#include <algorithm>

namespace search {

namespace {

void readPairs(store::Connection &c, const QString &sql, QHash<QString, QString> &into)
{
    store::Statement st(c.handle(), sql, {});
    while (st.step())
        into.insert(st.value(0).toString(), st.value(1).toString().trimmed());
}

QString typeKey(int subject, int type) { return QStringLiteral("%1/%2").arg(subject).arg(type); }

} // namespace

void BankNames::load(store::Connection &c)
{
    m_chapters.clear();
    m_typeNames.clear();
    m_catalogue.clear();
    m_types.clear();
    readPairs(c, QStringLiteral("select C1, C2 from tab_kmmc"), m_chapters);
    readPairs(c, QStringLiteral("select id, n from tab_fgmc"), m_catalogue);
    for (int subject = 1; subject <= 5; ++subject) {
        store::Statement st(c.handle(), QStringLiteral("select A1, B1 from tab_tx%1 order by A1").arg(subject), {});
        while (st.step()) {
            const int code = st.value(0).toInt();
            const QString name = st.value(1).toString().trimmed();
            m_typeNames.insert(typeKey(subject, code), name);
            if (std::none_of(m_types.begin(), m_types.end(), [code](const auto &t) { return t.first == code; }))
                m_types << qMakePair(code, name);
        }
    }
    std::sort(m_types.begin(), m_types.end());
}

QString BankNames::subjectName(int subject) const
{
    static const char *const kOrdinals[] = {"科目一", "科目二", "科目三", "科目四", "科目五"};
    return subject >= 1 && subject <= 5 ? QString::fromUtf8(kOrdinals[subject - 1]) : QString();
}

QString BankNames::chapterPath(const QString &code) const
{
    QStringList parts;
    for (int length : {4, 6})
        if (code.size() >= length && m_chapters.contains(code.left(length)))
            parts << m_chapters.value(code.left(length));
    return parts.join(QStringLiteral(" › "));
}

QString BankNames::typeName(int subject, int type) const
{
    const QString name = m_typeNames.value(typeKey(subject, type));
    return name.isEmpty() ? QStringLiteral("题型%1").arg(type) : name;
}

QString BankNames::sectionOf(const QString &pointCode) const
{
    return m_catalogue.value(pointCode.left(6));
}

} // namespace search
