#include "PaperBuilder.h"

#include "Clock.h"
#include "DataModule.h"
#include "DrawPool.h"
#include "Error.h"
#include "Routines.h"

#include <QRegularExpression>
#include <algorithm>
#include <chrono>

namespace exam {

namespace {

const QString kTablePrefix = QStringLiteral("tab_exam");

const SubjectPaper kSubjects[] = {
    {QStringLiteral("造价工程师·工程造价管理基础理论与相关法规"), QStringLiteral("10"), {{11, 60}, {14, 20}}},
    {QStringLiteral("造价工程师·工程造价计价与控制"), QStringLiteral("20"), {{11, 72}, {14, 24}}},
    {QStringLiteral("造价工程师·建设工程技术与计量（土建工程部分）"), QStringLiteral("30"), {{11, 60}, {14, 20}}},
    {QStringLiteral("造价工程师·建设工程技术与计量（安装工程部分）"), QStringLiteral("40"), {{11, 50}, {14, 25}}},
    {QStringLiteral("造价工程师·工程造价案例分析"), QStringLiteral("50"), {{65, 7}}},
};

int tableNumber(const QString &name) { return isPaperTableName(name) ? name.mid(kTablePrefix.size()).toInt() : 0; }

QString dateText(const QDate &day)
{
    return QStringLiteral("%1年%2月%3日")
        .arg(day.year(), 4, 10, QLatin1Char('0'))
        .arg(day.month(), 2, 10, QLatin1Char('0'))
        .arg(day.day(), 2, 10, QLatin1Char('0'));
}

// The types tab_tx<subject> offers (B2 > 0), in its row order.
QVector<int> offeredTypes(store::Connection &c, int subject)
{
    store::Query tx(&c);
    tx.setSql(QStringLiteral("select A1, B2 from tab_tx") + QString::number(subject));
    tx.open();
    QVector<int> types;
    for (tx.first(); !tx.eof(); tx.next())
        if (tx.fieldByName(QStringLiteral("B2")).asInteger() > 0)
            types << tx.fieldByName(QStringLiteral("A1")).asInteger();
    return types;
}

int copyQuestions(store::Connection &c, const QString &table, const QStringList &ids)
{
    if (ids.isEmpty())
        return 0;
    QStringList marks;
    QVariantList values;
    for (const QString &id : ids) {
        marks << QStringLiteral("?");
        values << id;
    }
    return c.execute(QStringLiteral("insert into ") + table +
                         QStringLiteral("(a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,E3,E4,"
                                        "JX,CSBS,F1) Select a.a1 as a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,"
                                        "a13,a14,e1,e2,e2_1,e3,e4,b.jx as jx,a.csbs as csbs,a.f1 as f1 "
                                        "from tab_answ a,tab_exer b where a.a1=b.a1 and a.a1 in (") +
                         marks.join(QLatin1Char(',')) + QStringLiteral(")"),
                     store::Params::byPosition(values));
}

void report(const std::function<void(const QString &)> &progress, const QString &text)
{
    if (progress)
        progress(text);
}

} // namespace

const SubjectPaper *subjectPaper(int subject)
{
    return subject >= 1 && subject <= int(std::size(kSubjects)) ? &kSubjects[subject - 1] : nullptr;
}

int drawCount(int subject, int type)
{
    if (const SubjectPaper *paper = subjectPaper(subject))
        for (const TypeCount &tc : paper->counts)
            if (tc.type == type)
                return tc.count;
    return 0;
}

bool isPaperTableName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^tab_exam[0-9]{1,9}$"));
    return pattern.match(name).hasMatch();
}

QString createPaperTableSql(const QString &tableName)
{
    return QStringLiteral("CREATE TABLE ") + tableName +
           QStringLiteral(" (A1 TEXT(20) NOT NULL PRIMARY KEY,A2 TEXT(100),A2_1 SMALLINT,K3 TEXT(12),K4 TEXT(12),"
                          "K5 TEXT(12),K6 TEXT(12),K7 TEXT(12),K8 TEXT(12),K9 TEXT(12),K10 TEXT(12),K11 TEXT(12),"
                          "K12 TEXT(12),A10 TEXT(6),A13 SMALLINT,A14 MEMO,E1 DATETIME,E2 TEXT(100),E2_1 TEXT(100),"
                          "E3 SMALLINT,E4 SMALLINT,jx IMAGE,csbs TEXT(2),F1 SMALLINT)");
}

PaperName nextPaperName(int subject)
{
    PaperName name;
    store::Query cj(&DataModule->ADOCn1);
    cj.setSql(QStringLiteral("select A1, A3_1 from tab_cj order by A3_1 desc"));
    cj.open();
    int number = 1;
    if (!cj.isEmpty()) {
        name.sequence = cj.fieldByName(QStringLiteral("A3_1")).asInteger() + 1;
        number = tableNumber(cj.fieldByName(QStringLiteral("A1")).asString().trimmed()) + 1;
        if (number == 1) {
            // The newest row does not name a paper table: go past every number in use.
            for (cj.first(); !cj.eof(); cj.next())
                number = qMax(number, tableNumber(cj.fieldByName(QStringLiteral("A1")).asString().trimmed()) + 1);
        }
    }
    name.table = kTablePrefix + QString::number(number);
    const SubjectPaper *paper = subjectPaper(subject);
    name.title = dateText(store::today()) + (paper ? paper->titlePart : QString()) + QStringLiteral("[") +
                 QString::number(name.sequence) + QStringLiteral("]");
    return name;
}

BuiltPaper buildPaper(int subject, const std::function<void(const QString &)> &progress)
{
    const SubjectPaper *paper = subjectPaper(subject);
    if (!paper)
        throw PaperError(QStringLiteral("没有发现题目！"));
    store::Connection &c = DataModule->ADOCn1;
    BuiltPaper built;
    report(progress, QStringLiteral("正在初始化数据..."));
    store::Transaction t(c);
    built.name = nextPaperName(subject);
    const QString &table = built.name.table;
    DropPaper(table);
    c.execute(QStringLiteral("insert into tab_cj (A1, A3, A3_1, D1) values (:A1, :A3, :A3_1, :D1)"),
              {{QStringLiteral("A1"), table},
               {QStringLiteral("A3"), built.name.title},
               {QStringLiteral("A3_1"), built.name.sequence},
               {QStringLiteral("D1"), store::today()}});

    report(progress, QStringLiteral("正在建立数据表..."));
    try {
        c.execute(createPaperTableSql(table));
        AllowZeroLength(table, c.connectionString());
    } catch (const store::Error &) {
        throw PaperError(QStringLiteral("建立数据表时发生错误！"));
    }

    report(progress, QStringLiteral("正在整理数据..."));
    if (!store::drawpool::hasAny(c, paper->prefix))
        throw PaperError(QStringLiteral("没有发现题目！"));
    try {
        static std::mt19937 generator(
            unsigned(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        for (int type : offeredTypes(c, subject))
            if (const int count = drawCount(subject, type); count > 0)
                built.questionCount += copyQuestions(
                    c, table,
                    store::drawpool::questionsAt(
                        c, paper->prefix, type,
                        store::pickPlaces(store::drawpool::size(c, paper->prefix, type), count, generator)));
    } catch (const store::Error &) {
        throw PaperError(QStringLiteral("提取数据时发生错误！"));
    }
    if (built.questionCount == 0)
        throw PaperError(QStringLiteral("没有发现题目！"));
    t.commit();
    return built;
}

} // namespace exam
