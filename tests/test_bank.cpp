#include "BankCheck.h"
#include "BankWriter.h"
#include "Connection.h"
#include "Content.h"
#include "DataModule.h"
#include "Error.h"
#include "QuestionPrinter.h"

#include <QtTest>

namespace {

void writeFile(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text.toUtf8());
}

// The smallest content that builds: five subjects, one law, a few questions.
void writeMinimalContent(const QString &dir)
{
    writeFile(dir + "/plan.txt", "[plan]\nmode: questions\nquestions: 50\nminutes: 60\nexam-in-days: 100\n"
                                 "least-mark: 60\nexam-minutes: 150   # two and a half hours\n[product]\nid: TEST\n");
    writeFile(dir + "/laws/01.txt", "[law 01]\nname: 中华人民共和国建筑法\n[item 010001]\nname: 第一章 总则\n"
                                    "[point 0100010001]\ntitle: 立法目的\ntext: 第一条 为了加强对建筑活动的监督管理。\n"
                                    "  第二段。\n");
    for (int n = 1; n <= 5; ++n) {
        const QString s = QString::number(n);
        writeFile(dir + "/s" + s + "/types.txt", "[type 11]\nname: 单项选择题\ncount: 0\nmarks: 1\ntime: 1.0\n"
                                                 "[type 14]\nname: 多项选择题\ncount: 0\nmarks: 2\ntime: 2\n"
                                                 "[type 41]\nname: 判断题\ncount: 0\nmarks: 1\ntime: 0.5\n"
                                                 "[type 65]\nname: 案例分析题\ncount: 0\nmarks: 20\ntime: 30\n");
        writeFile(dir + "/s" + s + "/chapters.txt",
                  QString("[chapter @]\nname: 科目\n[chapter @0]\nname: 科目\n[chapter @001]\nname: 第一章\nchart: yes\n"
                          "guide: 导学\n[chapter @00101]\nname: 第一节\nhint: 提示\n")
                      .replace('@', s));
        writeFile(dir + "/s" + s + "/a.q",
                  QString("[in @00101]\n[q 11]\nstem: 单选题干@\nA: 甲\nB: 乙\nC: 丙\nkey: B\nexplain: 因为乙。\n"
                          "points: 0100010001\n[q 14]\nstem: 多选题干@\nA: 甲\nB: 乙\nC: 丙\nD: 丁\nkey: ACD\n"
                          "[q 41]\nstem: 判断题干@\nkey: A\n[group]\nstem: 背景资料@\n  第二段\n[q 65]\nstem: 问题一\n"
                          "explain: 参考答案\n[q 65]\nstem: 问题二\n[/group]\n")
                      .replace('@', s));
    }
}

QByteArray readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList errorsOf(const QString &dir)
{
    try {
        bank::readContent(dir);
    } catch (const bank::SourceErrors &e) {
        QStringList list;
        for (const auto &s : e.list)
            list << s.toString();
        return list;
    }
    return {};
}

// Every subject can be practised by exam point: a quarter of its questions link the points they
// test, and several of its catalogue sections hold key points (q >= 3) it links.
void demoContentLinksPointsInEverySubject(store::Connection &c)
{
    const QString linksOfSubject = "from tab_answ a join tab_rule r on r.ftid in (a.K3, a.K4, a.K5, a.K6, a.K7, "
                                   "a.K8, a.K9, a.K10, a.K11, a.K12) where substr(a.A10, 1, 1) = ?";
    for (int subject = 1; subject <= 5; ++subject) {
        const auto bySubject = store::Params::byPosition({QString::number(subject)});
        const int total = c.scalar("select count(*) from tab_answ where substr(A10, 1, 1) = ?", bySubject).toInt();
        const int linked = c.scalar("select count(*) from tab_answ where substr(A10, 1, 1) = ? and K3 <> ''",
                                    bySubject)
                               .toInt();
        const int keySections =
            c.scalar("select count(distinct substr(r.ftid, 1, 6)) " + linksOfSubject + " and r.q >= 3", bySubject)
                .toInt();
        qInfo("subject %d: %d of %d questions link exam points; %d catalogue sections with key points", subject,
              linked, total, keySections);
        QVERIFY2(4 * linked >= total, qPrintable(QString("subject %1 links %2 of %3").arg(subject).arg(linked).arg(total)));
        QVERIFY2(keySections >= 3, qPrintable(QString("subject %1: %2 sections with key points").arg(subject).arg(keySections)));
    }
    // The two measurement subjects are examined on the measurement standards (groups 14 to 16).
    for (const QString subject : {"3", "4"}) {
        const auto bySubject = store::Params::byPosition({subject});
        const int linked = c.scalar("select count(distinct a.A1) " + linksOfSubject, bySubject).toInt();
        const int onStandards =
            c.scalar("select count(distinct a.A1) " + linksOfSubject + " and substr(r.ftid, 1, 2) in ('14', '15', '16')",
                     bySubject)
                .toInt();
        QVERIFY2(2 * onStandards > linked, qPrintable(QString("subject %1: %2 of %3").arg(subject).arg(onStandards).arg(linked)));
    }
}
} // namespace

class TestBank : public QObject {
    Q_OBJECT

    QTemporaryDir tmp;
    QString content;
    QString bankFile;

    void buildGood()
    {
        bank::buildBank(bank::readContent(content), bankFile, true, QDate(2026, 12, 8));
    }

    QStringList violationsAfter(const QString &sql)
    {
        buildGood();
        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(bankFile));
        c.open();
        c.execute(sql);
        c.close();
        return bank::checkBank(bankFile).violations;
    }

private slots:
    void init()
    {
        content = tmp.path() + "/content";
        bankFile = tmp.path() + "/Vellumar.mdb";
        QDir(content).removeRecursively();
        QFile::remove(bankFile);
        writeMinimalContent(content);
    }

    void buildsACheckedBank()
    {
        QVERIFY2(errorsOf(content).isEmpty(), qPrintable(errorsOf(content).join('\n')));
        buildGood();
        const bank::CheckReport report = bank::checkBank(bankFile);
        QVERIFY2(report.violations.isEmpty(), qPrintable(report.violations.join('\n')));
        QVERIFY(report.summary.contains("subject 1: 5 questions"));
        QVERIFY(!QFile::exists(bankFile + ".building"));

        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(bankFile));
        c.open();
        QCOMPARE(c.scalar("select group_concat(A1, ' ') from (select A1 from tab_answ where A10 = '100101' order by xx)")
                     .toString(),
                 QString("100101110001 100101140001 100101410001 10010165-GRP001-01 10010165-GRP001-02"));
        QCOMPARE(c.scalar("select A2_1 || A2 from tab_answ where A13 = 41 and A10 = '100101'").toString(), QString("2A"));
        QCOMPARE(c.scalar("select A2_1 || A2 from tab_answ where A13 = 65 limit 1").toString(), QString("01"));
        QCOMPARE(c.scalar("select sn from tab_rule").toString().size(), 40);
        QCOMPARE(c.scalar("select q from tab_rule").toInt(), 5);
        QCOMPARE(c.scalar("select group_concat(q, ' ') from tab_fgmc").toString(), QString("5 5"));
        QCOMPARE(c.scalar("select C3 from tab_kmmc where C1 = '10'").toInt(), 5);
        QCOMPARE(c.scalar("select count(*) from tab_kmmc where C7 = '0'").toInt(), 5);
        QCOMPARE(c.scalar("select ExamDate || ' ' || ExamTime from tab_plan").toString(), QString("2027-03-18 9000"));
        QVERIFY(c.scalar("select A15 from tab_exer where A1 = '100101110001'").toString().startsWith("{\\rtf1"));
        QVERIFY(c.scalar("select jx from tab_exer where A1 = '100101140001'").isNull());
        c.close();

        const QString shown = bank::printQuestion(bankFile, "10010165-GRP001-01");
        QVERIFY(shown.contains("背景资料1\n第二段"));
        QVERIFY(shown.contains("问题一"));
        QVERIFY(bank::printQuestion(bankFile, "100101110001").contains("0100010001 立法目的\n"));
        QVERIFY_THROWS_EXCEPTION(store::Error, bank::printQuestion(bankFile, "nope"));
    }

    void neverOverwritesAnExistingBank()
    {
        writeFile(bankFile, "progress");
        QVERIFY_THROWS_EXCEPTION(store::Error,
                                 bank::buildBank(bank::readContent(content), bankFile, false, QDate(2026, 12, 8)));
        QFile f(bankFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("progress"));
    }

    void refusesBrokenSources_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("append");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unknown field") << "s1/a.q" << "[q 11]\nstem: x1\nA: a\nB: b\nkey: A\ncolour: red\n"
                                       << "a.q:34: unknown field \"colour\"";
        QTest::newRow("key outside options") << "s1/a.q" << "[q 11]\nstem: x2\nA: a\nB: b\nkey: C\n"
                                             << "a.q:29: key \"C\" must be option letters in order";
        QTest::newRow("multiple key out of order") << "s1/a.q" << "[q 14]\nstem: x3\nA: a\nB: b\nC: c\nkey: CA\n"
                                                   << "must be option letters in order";
        QTest::newRow("single key of two letters") << "s1/a.q" << "[q 11]\nstem: x4\nA: a\nB: b\nkey: AB\n"
                                                   << "a single-choice key is one letter";
        QTest::newRow("option gap") << "s1/a.q" << "[q 11]\nstem: x5\nA: a\nC: c\nkey: A\n" << "without gaps";
        QTest::newRow("unknown section") << "s1/a.q" << "[in 109999]\n" << "[in 109999] is not a section";
        QTest::newRow("missing point") << "s1/a.q" << "[q 11]\nstem: x6\nA: a\nB: b\nkey: A\npoints: 0199990001\n"
                                       << "exam point 0199990001 is not in the catalogue";
        QTest::newRow("open group") << "s1/a.q" << "[group]\nstem: s\n[q 65]\nstem: x7\n" << "is not closed";
        QTest::newRow("type not listed") << "s1/a.q" << "[q 73]\nstem: x8\n" << "type 73 is not listed";
        QTest::newRow("duplicate stem") << "s1/a.q" << "[q 11]\nstem: 单选题干1\nA: a\nB: b\nkey: A\n"
                                        << "the same stem as";
        QTest::newRow("stray text") << "s2/a.q" << "just words\n" << "a.q:29: expected \"field: value\"";
        QTest::newRow("orphan chapter") << "s3/chapters.txt" << "[chapter 309901]\nname: x\n"
                                        << "comes before its parent 3099";
        QTest::newRow("bad time") << "s4/types.txt" << "[type 72]\nname: x\ncount: 0\nmarks: 0\ntime: 45\n"
                                  << "\"time\" must be minutes from 0.1 to 30";
        QTest::newRow("point before item") << "laws/01.txt" << "[point 0100990001]\ntitle: t\ntext: x\n"
                                           << "comes before its parent 010099";
    }

    void refusesBrokenSources()
    {
        QFETCH(QString, file);
        QFETCH(QString, append);
        QFETCH(QString, expected);
        QFile f(content + "/" + file);
        QVERIFY(f.open(QIODevice::Append));
        f.write(append.toUtf8());
        f.close();
        const QStringList errors = errorsOf(content);
        QVERIFY2(errors.join('\n').contains(expected), qPrintable(errors.join('\n')));
        QVERIFY_THROWS_EXCEPTION(bank::SourceErrors, bank::readContent(content));
    }

    void checkFindsEachBrokenInvariant_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text row missing") << "delete from tab_exer where A1 = '200101110001'"
                                          << "question 200101110001 has no text row";
        QTest::newRow("unknown chapter") << "update tab_answ set A10 = '209999' where A1 = '200101110001'"
                                         << "chapter is not a 6-character code";
        QTest::newRow("missing point") << "update tab_answ set K4 = '0100010002' where A1 = '200101110001'"
                                       << "links the missing exam point 0100010002";
        QTest::newRow("missing stem") << "delete from tab_title where A1 = '20010165-GRP001-'"
                                      << "has no shared stem";
        QTest::newRow("bad key") << "update tab_answ set A2 = 'E' where A1 = '200101110001'" << "does not suit";
        QTest::newRow("chapter counters") << "update tab_kmmc set D1 = 3 where C1 = '200101'"
                                          << "chapter 2: C4/D1/D2 differ";
        QTest::newRow("question count") << "update tab_kmmc set C3 = 9 where C1 = '2'"
                                        << "chapter 2: C3 differs";
        QTest::newRow("entry below its point") << "update tab_rule set q2 = 1"
                                               << "catalogue entry 010001: q1/q2/q4 outside what the rows below";
        QTest::newRow("entry above its points' sum") << "update tab_fgmc set q2 = 2, q4 = 1 where id = '01'"
                                                     << "catalogue entry 01: q1/q2/q4 outside what the rows below";
        QTest::newRow("first answers above answers") << "update tab_rule set q1 = 1"
                                                     << "exam point or catalogue entry 0100010001: q1 or q4 outside";
        QTest::newRow("point link count") << "update tab_rule set q = q + 1"
                                          << "exam point 0100010001: q differs";
        QTest::newRow("entry link count") << "update tab_fgmc set q = q + 1 where id = '010001'"
                                          << "catalogue entry 010001: q differs";
        QTest::newRow("lost paper") << "insert into tab_cj (A1) values ('tab_exam3')"
                                    << "score row tab_exam3 names a paper table that does not exist";
        QTest::newRow("paper cannot be drawn") << "update tab_tx1 set B2 = 60 where A1 = 11"
                                               << "subject 1, type 11: 1 questions, a paper draws 60";
        QTest::newRow("no plan") << "delete from tab_plan" << "tab_plan has no row";
        QTest::newRow("wrong-state out of range") << "update tab_answ set E4 = 2 where A1 = '200101110001'"
                                                  << "progress fields out of range";
    }

    void checkFindsEachBrokenInvariant()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        const QStringList violations = violationsAfter(sql);
        QVERIFY2(violations.join('\n').contains(expected), qPrintable(violations.join('\n')));
    }

    // A question linking two points of one item counts once in the item and
    // its group, as its answers do.
    void aQuestionCountsOnceInItsItemAndGroup()
    {
        writeFile(content + "/laws/01.txt", "[law 01]\nname: 中华人民共和国建筑法\n[item 010001]\nname: 第一章 总则\n"
                                            "[point 0100010001]\ntitle: 立法目的\ntext: 第一条\n"
                                            "[point 0100010002]\ntitle: 适用范围\ntext: 第二条\n");
        QString questions = QString::fromUtf8(readText(content + "/s1/a.q"));
        writeFile(content + "/s1/a.q", questions.replace("points: 0100010001", "points: 0100010001 0100010002"));
        buildGood();
        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(bankFile));
        c.open();
        QCOMPARE(c.scalar("select group_concat(ftid || ':' || q, ' ') from tab_rule").toString(),
                 QString("0100010001:5 0100010002:1"));
        QCOMPARE(c.scalar("select group_concat(id || ':' || q, ' ') from tab_fgmc").toString(), QString("01:5 010001:5"));
        c.close();
        QCOMPARE(bank::checkBank(bankFile).violations, QStringList());
    }

    void demoContentFillsEveryPaperWithRoomToSpare()
    {
        buildGood();
        bank::buildBank(bank::readContent(QUILLET_CONTENT_DIR), bankFile, true, QDate(2026, 12, 8));
        QVERIFY(bank::checkBank(bankFile).violations.isEmpty());
        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(bankFile));
        c.open();
        auto count = [&](int subject, int type) {
            return c.scalar("select count(*) from tab_answ where substr(A10, 1, 1) = ? and A13 = ?",
                            store::Params::byPosition({QString::number(subject), type}))
                .toInt();
        };
        const QList<QList<int>> minimum = {{1, 11, 75}, {1, 14, 25}, {2, 11, 90}, {2, 14, 30}, {3, 11, 75},
                                           {3, 14, 25}, {4, 11, 63}, {4, 14, 32}, {5, 65, 9}};
        for (const auto &m : minimum)
            QVERIFY2(count(m[0], m[1]) >= m[2], qPrintable(QString("subject %1 type %2").arg(m[0]).arg(m[1])));
        for (int subject = 1; subject <= 5; ++subject) {
            QVERIFY(count(subject, 41) > 0);
            QVERIFY(c.scalar("select count(*) from tab_answ where substr(A10, 1, 1) = ? and A13 in (72, 73, 74)",
                             store::Params::byPosition({QString::number(subject)}))
                        .toInt() > 0);
        }
        QVERIFY(c.scalar("select count(distinct substr(A1, 1, 1)) from tab_title").toInt() >= 3);
        QVERIFY(c.scalar("select count(*) from tab_answ where K3 <> ''").toInt() > 100);
        QCOMPARE(c.scalar("select count(*) from tab_answ where length(A1) <> 12 and instr(A1, '-') = 0").toInt(), 0);
        demoContentLinksPointsInEverySubject(c);
    }

    void checkRefusesWhatIsNotABank()
    {
        writeFile(bankFile, "not a database at all, just some text long enough to be read");
        QVERIFY(!bank::checkBank(bankFile).violations.isEmpty());
    }
};

QTEST_MAIN(TestBank)
#include "test_bank.moc"
