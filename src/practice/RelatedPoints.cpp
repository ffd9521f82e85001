#include "RelatedPoints.h"

namespace practice {

RelatedPoints::RelatedPoints(store::Connection *connection) : m_points(connection), m_section(connection) {}

bool RelatedPoints::loadLinks(const QString &questionId)
{
    m_points.close();
    m_points.setSql(QStringLiteral("select k3,k4,k5,k6,k7,k8,k9,k10,k11,k12 from tab_answ where a1=") +
                    store::quoted(questionId));
    m_points.open();
    m_codes.clear();
    if (m_points.isEmpty())
        return false;
    for (int k = 3; k <= 12; ++k) {
        const QString code = m_points.fieldByName(QStringLiteral("k%1").arg(k)).asString().trimmed();
        if (!code.isEmpty())
            m_codes << code;
    }
    return !m_codes.isEmpty();
}

void RelatedPoints::openPoints()
{
    m_titles.clear();
    m_points.close();
    if (m_codes.isEmpty())
        return;
    QStringList quotedCodes;
    for (const QString &code : std::as_const(m_codes))
        quotedCodes << store::quoted(code);
    m_points.setSql(QStringLiteral("select id,n,sn from tab_rule where ftid in(") + quotedCodes.join(QLatin1Char(',')) +
                    QLatin1Char(')'));
    m_points.open();
    for (m_points.first(); !m_points.eof(); m_points.next())
        m_titles << m_points.fieldByName(QStringLiteral("sn")).asString();
    if (!m_titles.isEmpty())
        select(0);
}

void RelatedPoints::select(int index)
{
    if (index < 0 || index >= m_titles.size())
        return;
    m_points.setRecNo(index + 1);
    readSectionOfCurrent();
}

QString RelatedPoints::pointText() const
{
    return m_points.isOpen() && !m_points.isEmpty() ? m_points.fieldByName(QStringLiteral("n")).asString() : QString();
}

void RelatedPoints::readSectionOfCurrent()
{
    m_section.close();
    m_section.setSql(QStringLiteral("select * from tab_fgmc where id=") +
                     store::quoted(m_points.fieldByName(QStringLiteral("id")).asString()));
    m_section.open();
    if (!m_section.isEmpty())
        m_sectionName = m_section.fieldByName(QStringLiteral("n")).asString();
}

} // namespace practice
