#include "JetImport.h"
#include "JetReader.h"

#include "Connection.h"
#include "DataModule.h"
#include "Error.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

QString jetFile(const char *name) { return QStringLiteral(QUILLET_JET_DIR "/") + QLatin1String(name); }

const char kDateFormat[] = "%Y-%m-%d %H:%M:%S";

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// mdb-export's CSV: comma-separated, text in double quotes with inner quotes
// doubled, line breaks kept inside quotes; an unquoted empty field is NULL.
QVector<QStringList> parseCsv(const QString &text)
{
    QVector<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool inQuotes = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell += c;
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                cell += c;
            }
        } else if (c == u'"') {
            inQuotes = quoted = true;
        } else if (c == u',' || c == u'\n') {
            row << (quoted ? cell : (cell.isEmpty() ? QStringLiteral("<null>") : cell));
            cell.clear();
            quoted = false;
            if (c == u'\n') {
                rows << row;
                row.clear();
            }
        } else {
            cell += c;
        }
    }
    return rows;
}

QVector<QStringList> exported(const QString &file, const QString &table)
{
    return parseCsv(run(QStringLiteral("mdb-export"),
                        {QStringLiteral("-b"), QStringLiteral("hex"), QStringLiteral("-D"), QLatin1String(kDateFormat),
                         QStringLiteral("-T"), QLatin1String(kDateFormat), file, table}));
}

QString dateText(const QVariant &v) { return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

// Compares one value of ours with the cell mdb-export printed; false with a note when they differ.
bool sameAsExport(const QVariant &ours, const QString &theirs, QString &note)
{
    if (ours.isNull())
        return theirs == QLatin1String("<null>");
    switch (ours.userType()) {
    case QMetaType::QDateTime:
        // mdb-export cannot print years outside 1900 … 2700 (it shows day 0 of 1900); ours must still be a real date.
        if (theirs.startsWith(QLatin1String("1900-01-00")))
            return ours.toDateTime().isValid();
        note = dateText(ours);
        return note == theirs;
    case QMetaType::Double:
        note = QString::number(ours.toDouble(), 'g', 17);
        return std::fabs(ours.toDouble() - theirs.toDouble()) <= 1e-6 * qMax(1.0, std::fabs(theirs.toDouble()));
    case QMetaType::QByteArray:
        note = QString::fromLatin1(ours.toByteArray().toHex().toUpper());
        return note == theirs;
    default:
        note = ours.toString();
        return note == theirs;
    }
}

} // namespace

class TestJet : public QObject {
    Q_OBJECT
private slots:
    void listsTablesLikeMdbTables_data();
    void listsTablesLikeMdbTables();
    void readsEveryTableLikeMdbExport_data();
    void readsEveryTableLikeMdbExport();
    void dateTestColumnsAndTypes();
    void readsDatesOutsideTheLibraryRange();
    void keepsEveryByteOfMemoAndOle();
    void copiesIntoSqliteWithTypes();
    void refusesFilesThatAreNotJet();
    void dateArithmetic();
};

void TestJet::listsTablesLikeMdbTables_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("Jet 4") << jetFile("DateTestDatabase.mdb");
    QTest::newRow("Jet 3") << jetFile("nwind.mdb");
}

void TestJet::listsTablesLikeMdbTables()
{
    QFETCH(QString, file);
    const QStringList expected =
        run(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), file}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(upgrade::JetReader(file).tableNames(), expected);
}

void TestJet::readsEveryTableLikeMdbExport_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    for (const char *name : {"DateTestDatabase.mdb", "nwind.mdb"}) {
        const QString file = jetFile(name);
        for (const QString &table : upgrade::JetReader(file).tableNames())
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(name), table))) << file << table;
    }
}

void TestJet::readsEveryTableLikeMdbExport()
{
    QFETCH(QString, file);
    QFETCH(QString, table);
    const QVector<QStringList> expected = exported(file, table);
    QVERIFY(!expected.isEmpty());
    const upgrade::JetReader reader(file);
    QStringList names;
    for (const upgrade::JetColumn &c : reader.columns(table))
        names << c.name;
    QCOMPARE(names, expected.first());
    int n = 0;
    reader.readRows(table, [&](const QVariantList &row) {
        ++n;
        QVERIFY(n < expected.size());
        const QStringList &theirs = expected.at(n);
        QCOMPARE(row.size(), theirs.size());
        for (int i = 0; i < row.size(); ++i) {
            QString note;
            if (!sameAsExport(row.at(i), theirs.at(i), note))
                QFAIL(qPrintable(QStringLiteral("row %1, %2: ours \"%3\", mdb-export \"%4\"")
                                     .arg(n)
                                     .arg(names.at(i), note.left(80), theirs.at(i).left(80))));
        }
    });
    QCOMPARE(n, expected.size() - 1);
}

void TestJet::dateTestColumnsAndTypes()
{
    const upgrade::JetReader reader(jetFile("DateTestDatabase.mdb"));
    QStringList described;
    for (const upgrade::JetColumn &c : reader.columns(QStringLiteral("DateTest")))
        described << c.name + QLatin1Char(' ') + c.sqliteType;
    QCOMPARE(described, QStringList({"IDCol INTEGER", "DateTimeCol TEXT", "DateCol TEXT", "TimeCol TEXT",
                                     "LongTextCol TEXT", "ShortTextCol TEXT"}));
}

void TestJet::readsDatesOutsideTheLibraryRange()
{
    QMap<qlonglong, QStringList> dates;
    upgrade::JetReader(jetFile("DateTestDatabase.mdb")).readRows(QStringLiteral("DateTest"), [&](const QVariantList &r) {
        for (int c = 1; c <= 3; ++c)
            dates[r.at(0).toLongLong()] << dateText(r.at(c));
    });
    // mdb-export prints these as day 0 of 1900; the file holds New Year's Days.
    QCOMPARE(dates.value(2), QStringList({"9999-01-01 00:00:00", "9999-01-01 00:00:00", "9999-01-01 00:00:00"}));
    QCOMPARE(dates.value(3), QStringList({"1898-01-01 00:00:00", "1899-01-01 00:00:00", "1900-01-01 00:00:00"}));
    QCOMPARE(dates.value(4), QStringList({"0632-01-01 00:00:00", "0633-01-01 00:00:00", "0634-01-01 00:00:00"}));
}

void TestJet::keepsEveryByteOfMemoAndOle()
{
    const upgrade::JetReader reader(jetFile("nwind.mdb"));
    int pictures = 0;
    reader.readRows(QStringLiteral("Categories"), [&](const QVariantList &r) {
        const QByteArray picture = r.at(3).toByteArray();
        QVERIFY(picture.size() > 10000); // an OLE bitmap spans several pages
        QVERIFY(picture.contains("BM"));
        ++pictures;
    });
    QCOMPARE(pictures, 8);
    qsizetype longest = 0;
    reader.readRows(QStringLiteral("Employees"), [&](const QVariantList &r) {
        for (const QVariant &v : r)
            if (v.userType() == QMetaType::QString)
                longest = qMax(longest, v.toString().size());
    });
    QVERIFY(longest > 255); // memo text is not cut at a text column's width
}

void TestJet::copiesIntoSqliteWithTypes()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("jet.sqlite"));
    upgrade::copyJetToSqlite(jetFile("nwind.mdb"), out);
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(out));
    c.openReadOnly();
    QCOMPARE(c.tableNames().size(), upgrade::JetReader(jetFile("nwind.mdb")).tableNames().size());
    QCOMPARE(c.scalar("select count(*) from Orders").toInt(), exported(jetFile("nwind.mdb"), "Orders").size() - 1);
    QCOMPARE(c.scalar("select typeof(OrderDate) from Orders limit 1").toString(), QStringLiteral("text"));
    QCOMPARE(c.scalar("select OrderDate from Orders where OrderID = 10330").toString(), QStringLiteral("1994-11-16"));
    QCOMPARE(c.scalar("select typeof(Picture) from Categories limit 1").toString(), QStringLiteral("blob"));
    QCOMPARE(c.scalar("select typeof(UnitPrice) from Products limit 1").toString(), QStringLiteral("real"));
    QCOMPARE(c.scalar("select typeof(PostalCode) from Customers where PostalCode like '0%' limit 1").toString(),
             QStringLiteral("text")); // a code with a leading zero stays text
    QCOMPARE(c.scalar("select ShipCity from Orders where OrderID = 10330").toString(), QStringLiteral("Barquisimeto"));
}

void TestJet::refusesFilesThatAreNotJet()
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("fake.mdb")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is not a database at all, only text that pretends");
    f.close();
    QVERIFY_THROWS_EXCEPTION(store::Error, upgrade::JetReader{f.fileName()});
    QFile truncated(jetFile("nwind.mdb"));
    QVERIFY(truncated.open(QIODevice::ReadOnly));
    QFile part(dir.filePath(QStringLiteral("part.mdb")));
    QVERIFY(part.open(QIODevice::WriteOnly));
    part.write(truncated.read(2048));
    part.close();
    QVERIFY_THROWS_EXCEPTION(store::Error, upgrade::JetReader{part.fileName()});
}

void TestJet::dateArithmetic()
{
    using upgrade::JetReader;
    QCOMPARE(JetReader::dateTimeOf(0), QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC));
    QCOMPARE(JetReader::dateTimeOf(2.75), QDateTime(QDate(1900, 1, 1), QTime(18, 0), Qt::UTC));
    QCOMPARE(JetReader::dateTimeOf(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC));
    QCOMPARE(JetReader::dateTimeOf(2958465.99999), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC));
}

QTEST_GUILESS_MAIN(TestJet)
#include "test_jet.moc"
