#include "BankTestCase.h"
#include "Error.h"
#include "LinkCounts.h"
#include "QuestionRules.h"
#include "QuestionStore.h"

#include <QtTest>
#include <functional>

using namespace authoring;

// The rules and writes of question entry and edit, on a fixture bank.
class TestAuthoring : public BankTestCase {
    Q_OBJECT

    int chapterCount(const QString &code)
    {
        return db(QStringLiteral("select C3 from tab_kmmc where C1 = '%1'").arg(code)).toInt();
    }
    int pointCount(const QString &table, const QString &key, const QString &id)
    {
        return db(QStringLiteral("select q from %1 where %2 = '%3'").arg(table, key, id)).toInt();
    }
    // "point:q …" of every point, then "entry:q …" of every catalogue entry.
    QString linkCounts()
    {
        return db("select group_concat(ftid || ':' || q, ' ') from (select * from tab_rule order by ftid)").toString() +
               " / " + db("select group_concat(id || ':' || q, ' ') from (select * from tab_fgmc order by id)").toString();
    }
    static QuestionContent single(const QStringList &points = {})
    {
        QuestionContent c;
        c.type = 11;
        c.options = 4;
        c.key = QStringLiteral("C");
        c.body = QStringLiteral("{\\rtf1 {\\b 7}月有几天？}");
        c.points = points;
        return c;
    }

    // The practice window's question and text rows, as the edit window finds them.
    void openQuestion(const QString &id)
    {
        dm->Cn1Query_tm.setSql("select * from tab_answ where A1 = '" + id + "'");
        dm->Cn1Query_tm.open();
        dm->cn1query_nr.setSql("select * from tab_exer where A1 = '" + id + "'");
        dm->cn1query_nr.open();
    }

    static bool throwsStoreError(const std::function<void()> &write)
    {
        try {
            write();
        } catch (const store::Error &) {
            return true;
        }
        return false;
    }

private slots:
    void init() { openFreshBank(); }
    void cleanup() { closeBank(); }

    void keysAreStoredInOrderAndChecked_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // empty: refused
        QTest::newRow("multiple sorted, repeats dropped") << 14 << "多项选择题" << 5 << "dbaB" << "ABD";
        QTest::newRow("multiple beyond the options") << 14 << "多项选择题" << 3 << "ABD" << "";
        QTest::newRow("multiple needs two letters") << 14 << "多项选择题" << 4 << "A" << "";
        QTest::newRow("single letter") << 11 << "单项选择题" << 4 << " c " << "C";
        QTest::newRow("single with two letters") << 11 << "单项选择题" << 4 << "AB" << "";
        QTest::newRow("single beyond the options") << 11 << "单项选择题" << 2 << "C" << "";
        QTest::newRow("not a letter") << 11 << "单项选择题" << 4 << "1" << "";
        QTest::newRow("true/false") << 41 << "判断题" << 2 << "b" << "B";
        QTest::newRow("subjective by name, trailing 题") << 75 << "计算题" << 5 << "ABC" << "1";
        QTest::newRow("subjective by code") << 72 << "简答题" << 5 << "" << "1";
    }

    void keysAreStoredInOrderAndChecked()
    {
        QFETCH(int, type);
        QFETCH(QString, name);
        QFETCH(int, options);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        const QuestionType t{type, name, isSubjectiveType(type, name)};
        const CheckedKey key = checkKey(t, options, typed);
        QCOMPARE(key.ok(), !stored.isEmpty());
        QCOMPARE(key.key, stored);
        if (!key.ok())
            QVERIFY(!key.error.isEmpty());
    }

    void typeListIsTheChaptersSubject()
    {
        bank->exec("insert into tab_tx2 (A1,B1,B2,B3,time) values (73,'计算题',0,0,10)");
        closeBank();
        dm = std::make_unique<TDM1>(bank->folder());
        QCOMPARE(subjectOfChapter("100101"), 1);
        QCOMPARE(subjectOfChapter("x"), 1);
        const QVector<QuestionType> types = typesOfSubject(dm->ADOCn1, subjectOfChapter("200101"));
        QCOMPARE(types.size(), 1);
        QCOMPARE(types.first().code, 73);
        QVERIFY(types.first().subjective);
        QVERIFY(!typesOfSubject(dm->ADOCn1, 1).first().subjective);
    }

    void idsFollowTheLearnersOwnSequence()
    {
        QCOMPARE(sequenceText(1), QString("00001"));
        QCOMPARE(sequenceText(999), QString("00999"));
        QCOMPARE(sequenceText(1234), QString("1234"));
        // Foreign ids beginning with "U" count for nothing.
        dm->ADOCn1.execute("insert into tab_answ (A1,A10,A13,F1) values ('UPGRADE-AB','100101',11,0)");
        dm->ADOCn1.execute("insert into tab_answ (A1,A10,A13,F1) values ('U1001011141234','100101',11,0)");
        QCOMPARE(lastOwnSequence(dm->ADOCn1), 0);
        const EntryResult first = addOwnQuestion(dm->ADOCn1, "100101", single());
        QCOMPARE(first.id, QString("US1001011140" "0001"));
        const EntryResult second = addOwnQuestion(dm->ADOCn1, "100102", single());
        QCOMPARE(second.id, QString("US1001021140" "0002"));
        dm->ADOCn1.execute("update tab_answ set A1 = 'US100101114' || '1233' where A1 = ?",
                           store::Params::byPosition({first.id}));
        QCOMPARE(addOwnQuestion(dm->ADOCn1, "100101", single()).id, QString("US1001011141234"));
    }

    void lastSequenceIsRefused()
    {
        dm->ADOCn1.execute("insert into tab_answ (A1,A10,A13,F1) values ('US1001011149999','100101',11,2)");
        const int before = db("select count(*) from tab_answ").toInt();
        const EntryResult result = addOwnQuestion(dm->ADOCn1, "100101", single());
        QVERIFY(result.sequenceExhausted);
        QVERIFY(result.id.isEmpty());
        QCOMPARE(db("select count(*) from tab_answ").toInt(), before);
    }

    void entryWritesRowsAndCounters()
    {
        const int chapter = chapterCount("100101");
        const int section = chapterCount("1001");
        const int heading = chapterCount("10");
        const int sibling = chapterCount("100102");
        const int subject = chapterCount("1");
        QuestionContent c = single({"0100010001", "0100020001"});
        c.type = 14;
        c.options = 5;
        c.key = "ABD";
        const QString id = addOwnQuestion(dm->ADOCn1, "100101", c).id;
        QCOMPARE(db("select A2 || '/' || A2_1 || '/' || A13 || '/' || F1 || '/' || E3 || '/' || E4 || '/' || ecount "
                    "from tab_answ where A1 = '" + id + "'").toString(),
                 QString("ABD/5/14/2/0/0/0"));
        QCOMPARE(db("select typeof(A2_1) from tab_answ where A1 = '" + id + "'").toString(), QString("integer"));
        QCOMPARE(db("select K3 || ',' || K4 || ',' || K5 from tab_answ where A1 = '" + id + "'").toString(),
                 QString("0100010001,0100020001,"));
        QVERIFY(db("select jx from tab_exer where A1 = '" + id + "'").isNull());
        QCOMPARE(db("select A15 from tab_exer where A1 = '" + id + "'").toString(), c.body);
        QCOMPARE(chapterCount("100101"), chapter + 1);
        QCOMPARE(chapterCount("1001"), section + 1);
        QCOMPARE(chapterCount("10"), heading + 1);
        QCOMPARE(chapterCount("1"), subject + 1);
        QCOMPARE(chapterCount("100102"), sibling);
        // Two points in two sections of one group: each point and section, the group once per question.
        QCOMPARE(pointCount("tab_rule", "ftid", "0100010001"), 2);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100020001"), 3);
        QCOMPARE(pointCount("tab_fgmc", "id", "010001"), 2);
        QCOMPARE(pointCount("tab_fgmc", "id", "010002"), 3);
        QCOMPARE(pointCount("tab_fgmc", "id", "01"), 3);
    }

    void entryCountsASectionOncePerQuestion()
    {
        dm->ADOCn1.execute("insert into tab_rule (id,ftid,sn,n,q) values ('010001','0100010002','适用范围','第二条',0)");
        store::recountLinks(dm->ADOCn1);
        QCOMPARE(pointCount("tab_fgmc", "id", "010001"), 1);
        addOwnQuestion(dm->ADOCn1, "100101", single({"0100010001", "0100010002"}));
        QCOMPARE(pointCount("tab_rule", "ftid", "0100010001"), 2);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100010002"), 1);
        QCOMPARE(pointCount("tab_fgmc", "id", "010001"), 2);
        QCOMPARE(pointCount("tab_fgmc", "id", "010002"), 2);
        QCOMPARE(pointCount("tab_fgmc", "id", "01"), 3);
    }

    void failedEntryLeavesNothing()
    {
        dm->ADOCn1.execute("create trigger refuse before insert on tab_exer begin select raise(abort, 'disk full'); end");
        const int questions = db("select count(*) from tab_answ").toInt();
        const int chapter = chapterCount("100101");
        QVERIFY(throwsStoreError([&] { addOwnQuestion(dm->ADOCn1, "100101", single({"0100010001"})); }));
        QCOMPARE(db("select count(*) from tab_answ").toInt(), questions);
        QCOMPARE(chapterCount("100101"), chapter);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100010001"), 1);
        QVERIFY(!dm->ADOCn1.inTransaction());
    }

    void editRewritesInPlaceAndRecountsLinks()
    {
        store::Query &question = dm->Cn1Query_tm;
        store::Query &text = dm->cn1query_nr;
        openQuestion("100101110001");
        QuestionContent c = single({"0100020001"}); // 0100010001 leaves, 0100020001 stays
        c.type = 14;
        c.options = 4;
        c.key = "AC";
        saveEdit(question, text, nullptr, c, QString());
        saveEdit(question, text, nullptr, c, QString());
        QCOMPARE(db("select A2 || '/' || A13 || '/' || ecount || '/' || K3 || '/' || K4 from tab_answ "
                    "where A1 = '100101110001'").toString(),
                 QString("AC/14/2/0100020001/"));
        QVERIFY(db("select jx from tab_exer where A1 = '100101110001'").isNull());
        QCOMPARE(question.fieldByName("ecount").asInteger(), 2);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100010001"), 0);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100020001"), 2);
        QCOMPARE(pointCount("tab_fgmc", "id", "010001"), 0);
        QCOMPARE(pointCount("tab_fgmc", "id", "010002"), 2);
        QCOMPARE(pointCount("tab_fgmc", "id", "01"), 2);
    }

    // A row with a gap (K3 and K5 filled, K4 empty) lists both points; saving
    // packs them into K3, K4 and counts the point that the gap had hidden.
    void editKeepsLinksAfterAGapAndPacksThem()
    {
        dm->ADOCn1.execute("update tab_answ set K3 = '0100010001', K4 = '', K5 = '0100020001' "
                           "where A1 = '100101110002'");
        store::recountLinks(dm->ADOCn1);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100020001"), 2); // the gap ends the list
        store::Query &question = dm->Cn1Query_tm;
        store::Query &text = dm->cn1query_nr;
        openQuestion("100101110002");
        QCOMPARE(filledLinks(question), QStringList({"0100010001", "0100020001"}));
        QuestionContent c = single(filledLinks(question));
        saveEdit(question, text, nullptr, c, QString());
        QCOMPARE(db("select K3 || '/' || K4 || '/' || K5 from tab_answ where A1 = '100101110002'").toString(),
                 QString("0100010001/0100020001/"));
        QCOMPARE(linkCounts(), QString("0100010001:2 0100020001:3 / 01:3 010001:2 010002:3"));

        c.points = {"0100020001"}; // the learner removes the first: it is recounted, not kept
        saveEdit(question, text, nullptr, c, QString());
        QCOMPARE(db("select K3 || '/' || K4 from tab_answ where A1 = '100101110002'").toString(),
                 QString("0100020001/"));
        QCOMPARE(linkCounts(), QString("0100010001:1 0100020001:3 / 01:3 010001:1 010002:3"));
    }

    void failedEditLeavesQuestionAsItWas()
    {
        store::Query &question = dm->Cn1Query_tm;
        store::Query &text = dm->cn1query_nr;
        openQuestion("100101110001");
        dm->ADOCn1.execute("create trigger refuse before update on tab_answ begin select raise(abort, 'locked'); end");
        QuestionContent c = single();
        QVERIFY(throwsStoreError([&] { saveEdit(question, text, nullptr, c, QString()); }));
        QCOMPARE(db("select A15 from tab_exer where A1 = '100101110001'").toString(), QString("题目 100101110001"));
        QCOMPARE(text.fieldByName("A15").asString(), QString("题目 100101110001"));
        QCOMPARE(question.fieldByName("A2").asString(), QString("A"));
        QCOMPARE(question.state(), store::Dataset::State::Browse);
        QCOMPARE(pointCount("tab_rule", "ftid", "0100010001"), 1);
    }
};

QTEST_MAIN(TestAuthoring)
#include "test_authoring.moc"
