#include "PaperFixture.h"

#include "Connection.h"

PaperFixture::PaperFixture(store::Connection &connection, int number, const QString &title)
    : m_connection(connection), m_table(QStringLiteral("tab_exam%1").arg(number))
{
    m_connection.execute(QStringLiteral("CREATE TABLE ") + m_table
                         + QStringLiteral(" (A1 TEXT(20) NOT NULL PRIMARY KEY,A2 TEXT(100),A2_1 SMALLINT,K3 TEXT(12),"
                                          "K4 TEXT(12),K5 TEXT(12),K6 TEXT(12),K7 TEXT(12),K8 TEXT(12),K9 TEXT(12),"
                                          "K10 TEXT(12),K11 TEXT(12),K12 TEXT(12),A10 TEXT(6),A13 SMALLINT,A14 MEMO,"
                                          "E1 DATETIME,E2 TEXT(100),E2_1 TEXT(100),E3 SMALLINT,E4 SMALLINT,jx IMAGE,"
                                          "csbs TEXT(2),F1 SMALLINT)"));
    m_connection.execute(QStringLiteral("insert into tab_cj (A1,A3,A3_1,D1,A6,D2) values (?,?,?,'2026-12-08',75,'1:05:09')"),
                         store::Params::byPosition({m_table, title, number}));
}

void PaperFixture::add(const QString &id, int type, const QString &key, const QVariant &text,
                       const QVariant &explanation, const QStringList &points, const QString &chapter)
{
    QVariantList values{id, key, 4};
    for (int i = 0; i < 10; ++i)
        values << (i < points.size() ? QVariant(points.at(i)) : QVariant(QString()));
    values << chapter << type << explanation;
    m_connection.execute(QStringLiteral("insert into %1 (A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,jx,"
                                        "A14,E2,E2_1,E3,E4,csbs,F1) values "
                                        "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'','A','A',1,0,'',0)")
                                 .arg(m_table),
                         store::Params::byPosition(values));
    if (!text.isNull())
        m_connection.execute(QStringLiteral("insert or replace into tab_exer (A1,A15,jx) values (?,?,?)"),
                             store::Params::byPosition({id, text, explanation}));
}
