#include "PointCatalogue.h"

#include "Dataset.h"

namespace laws {

namespace {

int counter(const store::Dataset &row, const char *name) { return row.fieldByName(QLatin1String(name)).asInteger(); }

} // namespace

QVector<CatalogueRow> readCatalogue(store::Query &query)
{
    query.close();
    query.setSql(QStringLiteral("select * from tab_fgmc order by bh"));
    query.open();
    QVector<CatalogueRow> rows;
    rows.reserve(query.recordCount());
    for (query.first(); !query.eof(); query.next())
        rows.append({query.fieldByName(QStringLiteral("id")).asString(), query.fieldByName(QStringLiteral("n")).asString(),
                     counter(query, "q"), counter(query, "q1"), counter(query, "q2"), counter(query, "q4")});
    return rows;
}

QString counterCell(int value) { return QString::number(value).rightJustified(9, QLatin1Char(' ')); }

int findRow(const QStringList &names, const QString &text)
{
    const QString wanted = text.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (int row = 0; row < names.size(); ++row)
        if (names.at(row).contains(wanted, Qt::CaseSensitive))
            return row;
    return -1;
}

bool isGroupId(const QString &id) { return id.trimmed().size() <= 2; }

int sectionPointCount(store::Query &query, const QString &sectionId)
{
    query.close();
    query.setSql(QStringLiteral("select count(*) as icou1 from tab_rule where (id = ") + store::quoted(sectionId) +
                 QStringLiteral(")"));
    query.open();
    const int points = query.fieldByName(QStringLiteral("icou1")).asInteger();
    query.close();
    return points;
}

int keyPointThreshold(const QString &questionCountCell, int points)
{
    bool isNumber = false;
    const int questions = questionCountCell.trimmed().toInt(&isNumber);
    if (!isNumber || points <= 0)
        return 1;
    return qMax(1, questions / points);
}

QString keyPointFilter(int threshold) { return QStringLiteral("q >=") + QString::number(threshold); }

QString sectionPointsSql(const QString &sectionId)
{
    return QStringLiteral("select * from tab_rule where id=") + store::quoted(sectionId) + QStringLiteral(" order by ftid");
}

QString pointEntry(const QString &storedTitle, int questions)
{
    QString title = storedTitle;
    while (!title.isEmpty() && title.back().isSpace())
        title.chop(1);
    return questions <= 0 ? title : title + QLatin1Char('(') + QString::number(questions) + QLatin1Char(')');
}

QString pointTitle(const QString &entry) { return entry.section(QLatin1Char('('), 0, 0); }

PointNote pointNoteWithoutQuestions()
{
    return {QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"), false};
}

PointNote pointNote(const store::Dataset &point)
{
    const int q = counter(point, "q");
    if (q <= 0)
        return pointNoteWithoutQuestions();
    return {QStringLiteral("相关题数：%1题  已做题数：%2题  已做道次：%3次  做错道次：%4次")
                .arg(q)
                .arg(counter(point, "q1"))
                .arg(counter(point, "q2"))
                .arg(counter(point, "q4")),
            true};
}

QString pointPracticeSql(const QString &pointCode)
{
    return QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1, csbs "
                          "from tab_answ where ") +
           store::quoted(pointCode) + QStringLiteral(" in (k3,k4,k5,k6,k7,k8,k9,k10,k11,k12)");
}

} // namespace laws
