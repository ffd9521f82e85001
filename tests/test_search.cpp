#include "BankTestCase.h"
#include "DataSource.h"
#include "QuestionStore.h"
#include "QueryText.h"
#include "RtfText.h"
#include "SearchIndex.h"
#include "Searcher.h"
#include "TFrmBj.h"

#include <QPlainTextEdit>
#include <QtTest>

using search::Filter;

class TestSearch : public BankTestCase {
    Q_OBJECT

    store::Connection &conn() { return dm->ADOCn1; }

    QStringList find(const QString &query, const Filter &filter = {})
    {
        search::Searcher searcher(conn());
        QStringList refs;
        for (const search::Hit &hit : searcher.find(query, filter).hits)
            refs << hit.ref;
        return refs;
    }

    void setTexts(const QString &id, const QString &body, const QString &explanation, const QString &note = {})
    {
        conn().execute(QStringLiteral("update tab_exer set A15 = ?, jx = ? where A1 = ?"),
                       store::Params::byPosition({body, explanation, id}));
        conn().execute(QStringLiteral("update tab_answ set A14 = ? where A1 = ?"), store::Params::byPosition({note, id}));
    }

    // Texts of the fixture's questions: RTF as the bank holds it (GBK byte pairs) and plain text.
    void writeBank()
    {
        setTexts("100101110001", QString::fromLatin1(rtf::fromPlainParagraphs({QStringLiteral("工程量偏差超过15%时，综合单价应予调整（  ）。"),
                                                                              QStringLiteral("A. 暂估价  B. 计日工")})),
                 QStringLiteral("按合同约定调整。"));
        setTexts("100101110002", QStringLiteral("关于暂列金额的说法，正确的是"), QStringLiteral("暂列金额由发包人掌握。"),
                 QStringLiteral("我的笔记：BIM 建模要点"));
        setTexts("100101140001", QStringLiteral("下列属于规费的有"), QStringLiteral("规费包括社会保险费和住房公积金；税金另计。"));
        setTexts("100102110001", QStringLiteral("计价特征"), QStringLiteral("工程量偏差的解释：见清单规范。"));
        setTexts("100201110001", QStringLiteral("他说\"NEAR(工程 造价)\" AND * 都是文字"), QStringLiteral("引号'和\"双引号"));
        conn().execute(QStringLiteral("update tab_rule set n = ? where ftid = '0100020001'"),
                       store::Params::byPosition({QString::fromLatin1(rtf::fromPlainParagraphs({QStringLiteral("建筑工程开工前，建设单位应当申请领取施工许可证。")}))}));
        search::build(conn());
    }

private slots:
    void init()
    {
        openFreshBank();
        writeBank();
    }
    void cleanup() { closeBank(); }

    void parsesTheSyntaxALearnerGuesses()
    {
        const search::QueryText q = search::parseQuery(QStringLiteral("  暂估价  \"工程 量\" -索赔 －税 “综合 单价” 暂估价 \"未闭合 引号"));
        QCOMPARE(q.terms, (QStringList{"暂估价", "工程 量", "综合 单价", "未闭合 引号"}));
        QCOMPARE(q.excluded, (QStringList{"索赔", "税"}));
        QCOMPARE(q.whole, QStringLiteral("暂估价  \"工程 量\" -索赔 －税 “综合 单价” 暂估价 \"未闭合 引号"));
        QCOMPARE(search::parseQuery(QStringLiteral("- a\tb\u3000c")).terms, (QStringList{"-", "a", "b", "c"}));
        QCOMPARE(search::parseQuery(QStringLiteral("a\u0000b")).terms, (QStringList{"a", "b"}));
        QVERIFY(search::parseQuery(QStringLiteral("-索赔 \"\"")).isEmpty());
    }

    void buildsTheIndexOfEveryQuestionAndPoint()
    {
        QVERIFY(search::isBuilt(conn()));
        QCOMPARE(db("select count(*) from ql_search_text where kind = 1").toInt(), 5);
        QCOMPARE(db("select count(*) from ql_search_text where kind = 2").toInt(), 2);
        QVERIFY(!search::ensureBuilt(conn()));
        // A question added behind the index's back makes it incomplete.
        bank->exec("insert into tab_answ (A1, A10, A13) values ('100101119999', '100101', 11)");
        QVERIFY(!search::isBuilt(conn()));
        QVERIFY(search::ensureBuilt(conn()));
        QVERIFY(search::isBuilt(conn()));
    }

    void findsWordsOfEveryLength()
    {
        // Many characters, from RTF: the trigram index.
        QCOMPARE(find("工程量偏差"), (QStringList{"100101110001", "100102110001"}));
        QCOMPARE(find("综合单价应予调整"), QStringList{"100101110001"});
        // Two and one characters: the scan.
        QCOMPARE(find("规费"), QStringList{"100101140001"});
        QCOMPARE(find("税"), QStringList{"100101140001"});
        QCOMPARE(find("%"), QStringList{"100101110001"});
        // Letters in any case, the note and the exam point's title and rich text.
        QCOMPARE(find("bim"), QStringList{"100101110002"});
        QCOMPARE(find("施工许可"), QStringList{"0100020001"});
        QCOMPARE(find("施工许可证"), QStringList{"0100020001"});
        QCOMPARE(find("鑫"), QStringList{});
    }

    void wordsMustAllOccurPhrasesStayTogetherAndMinusExcludes()
    {
        QCOMPARE(find("暂列金额 发包人"), QStringList{"100101110002"});
        QCOMPARE(find("暂列金额 承包人"), QStringList{});
        QCOMPARE(find("工程量偏差 -清单规范"), QStringList{"100101110001"});
        QCOMPARE(find("工程量偏差 -%"), QStringList{"100102110001"});
        QCOMPARE(find("规费 -税"), QStringList{});
        QCOMPARE(find("\"工程 造价\""), QStringList{"100201110001"});
        QCOMPARE(find("工程 造价"), (QStringList{"100201110001"}));
        QCOMPARE(find("-工程量偏差"), QStringList{});
    }

    void aQuestionIdFindsItsQuestionFirst()
    {
        QCOMPARE(find("100102110001").value(0), QStringLiteral("100102110001"));
        QCOMPARE(find("us00000000").size(), 0);
        QCOMPARE(find("0100010001"), QStringList{"0100010001"});
        // The id is found whatever the filter says.
        Filter f;
        f.subject = 2;
        QCOMPARE(find("100101110002", f), QStringList{"100101110002"});
    }

    void ranksBodyAboveExplanation()
    {
        // 工程量偏差 is in the first question's body and only in the fourth one's explanation.
        QCOMPARE(find("工程量偏差").first(), QStringLiteral("100101110001"));
        setTexts("100102110001", QStringLiteral("工程量偏差 工程量偏差"), QStringLiteral("无"));
        search::reindexQuestions(conn(), {"100102110001"});
        QCOMPARE(find("工程量偏差").first(), QStringLiteral("100102110001"));
    }

    void hostileTextIsSearchedAsText_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        const QStringList tricky{"100201110001"};
        QTest::newRow("near") << "NEAR(工程" << tricky;
        QTest::newRow("and star") << "AND *" << tricky;
        QTest::newRow("quotes inside") << "说\"NEAR" << tricky;
        QTest::newRow("single quote") << "引号'和" << tricky;
        QTest::newRow("star alone") << "*" << tricky;
        QTest::newRow("quote alone") << "\"" << QStringList{};
        QTest::newRow("empty quotes") << "\"\"" << QStringList{};
        QTest::newRow("operators") << "OR NOT AND NEAR" << QStringList{};
        QTest::newRow("column filter") << "body:工程 ^暂列金额 {title}" << QStringList{};
        QTest::newRow("sql") << "'; drop table tab_answ; --" << QStringList{};
        QTest::newRow("10,000 characters") << QString(10000, QChar(0x5de5)) << QStringList{};
        QTest::newRow("10,000 matching") << QStringLiteral("关于暂列金额") + QString(9994, QLatin1Char(' ')) + "的说法"
                                         << QStringList{"100101110002"};
        QStringList words;
        for (int i = 0; i < 2000; ++i)
            words << QStringLiteral("词%1").arg(i);
        QTest::newRow("2,000 words") << words.join(' ') << QStringList{};
        QTest::newRow("long phrase found") << "\"工程量偏差超过15%时，综合单价应予调整（  ）。\"" << QStringList{"100101110001"};
    }
    void hostileTextIsSearchedAsText()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QCOMPARE(find(query), expected);
        QVERIFY(search::isBuilt(conn()));
    }

    void aWordLongerThanTheIndexAskesIsCheckedWhole()
    {
        const QString longText = QString(80, QChar(0x7532)) + QStringLiteral("乙");
        setTexts("100101110002", longText, QString());
        search::reindexQuestions(conn(), {"100101110002"});
        QCOMPARE(find(longText), QStringList{"100101110002"});
        QCOMPARE(find(QString(80, QChar(0x7532)) + QStringLiteral("丙")), QStringList{});
    }

    void filtersBySubjectTypeAnswerAndScope()
    {
        bank->exec("update tab_answ set E2 = A2 where A1 = '100101110001'");
        bank->exec("update tab_answ set E2 = 'X' where A1 = '100102110001'");
        Filter f;
        f.answered = Filter::Answered::Wrong;
        QCOMPARE(find("工程量偏差", f), QStringList{"100102110001"});
        f.answered = Filter::Answered::Done;
        QCOMPARE(find("工程量偏差", f).size(), 2);
        f.answered = Filter::Answered::NotDone;
        QCOMPARE(find("工程量偏差", f), QStringList{});
        Filter type;
        type.type = 14;
        QCOMPARE(find("规费", type), QStringList{"100101140001"});
        type.type = 11;
        QCOMPARE(find("规费", type), QStringList{});
        Filter subject;
        subject.subject = 2;
        QCOMPARE(find("工程量偏差", subject), QStringList{});
        Filter points;
        points.scope = Filter::Scope::Points;
        QCOMPARE(find("第", points), QStringList{"0100010001"});
        QVERIFY(find("暂列", points).isEmpty());
        Filter questions;
        questions.scope = Filter::Scope::Questions;
        QVERIFY(find("施工许可", questions).isEmpty());
        QCOMPARE(find("施工许可"), QStringList{"0100020001"});
    }

    void stateOfEachResultIsTheLastAnswer()
    {
        bank->exec("update tab_answ set E2 = A2 where A1 = '100101110001'");
        bank->exec("update tab_answ set E2 = 'zero' where A1 = '100102110001'");
        search::Searcher searcher(conn());
        const search::Results r = searcher.find("工程量偏差");
        QCOMPARE(r.hits.size(), 2);
        QCOMPARE(r.hits[0].state, search::AnswerState::Right);
        QCOMPARE(r.hits[1].state, search::AnswerState::Voided);
        QCOMPARE(r.hits[0].subject, 1);
        QCOMPARE(r.hits[0].chapter, QStringLiteral("100101"));
    }

    void snippetMarksTheWords()
    {
        search::Searcher searcher(conn());
        const search::Results r = searcher.find("暂列金额 发包人");
        const search::Snippet s = searcher.snippet(r.hits.first(), r.query);
        QCOMPARE(s.column, 1);
        QCOMPARE(s.text, QStringLiteral("关于暂列金额的说法，正确的是"));
        QCOMPARE(s.marks, (QVector<QPair<int, int>>{{2, 4}}));
        const search::Snippet inNote = searcher.snippet(searcher.find("bim").hits.first(), search::parseQuery("bim"));
        QCOMPARE(inNote.column, 4);
        QCOMPARE(inNote.text.mid(inNote.marks.first().first, 3), QStringLiteral("BIM"));
    }

    // Every way a text changes keeps the index current, in the change's own transaction.
    void entryOfAQuestionIndexesIt()
    {
        authoring::QuestionContent content;
        content.type = 11;
        content.options = 4;
        content.key = "A";
        content.body = QString::fromLatin1(rtf::fromPlainParagraphs({QStringLiteral("自己录入的新题：价差预备费")}));
        content.explanation = QStringLiteral("自编解析");
        const authoring::EntryResult added = authoring::addOwnQuestion(conn(), "100101", content);
        QCOMPARE(find("价差预备费"), QStringList{added.id});
        QCOMPARE(find("自编"), QStringList{added.id});
        QVERIFY(search::isBuilt(conn()));
    }

    void editOfAQuestionAndItsStemReindexesThem()
    {
        bank->exec("insert into tab_title (A1, A15) values ('100101659999ABCD', '背景资料：旧的共用题干')");
        bank->exec("insert into tab_answ (A1, A2, A10, A13) values ('100101659999ABCD-1', '1', '100101', 65)");
        bank->exec("insert into tab_answ (A1, A2, A10, A13) values ('100101659999ABCD-2', '1', '100101', 65)");
        bank->exec("insert into tab_exer (A1, A15) values ('100101659999ABCD-1', '问题一'), ('100101659999ABCD-2', '问题二')");
        search::build(conn());
        QCOMPARE(find("旧的共用题干").size(), 2);

        store::Query question(&conn()), text(&conn()), stem(&conn());
        question.setSql("select * from tab_answ where A1 = '100101659999ABCD-1'");
        text.setSql("select * from tab_exer where A1 = '100101659999ABCD-1'");
        stem.setSql("select * from tab_title where A1 = '100101659999ABCD'");
        question.open();
        text.open();
        stem.open();
        authoring::QuestionContent content;
        content.type = 65;
        content.options = 1;
        content.key = "1";
        content.body = QStringLiteral("改过的问题一");
        authoring::saveEdit(question, text, &stem, content, QStringLiteral("背景资料：新的共用题干"));
        QCOMPARE(find("旧的共用题干"), QStringList{});
        QCOMPARE(find("新的共用题干").size(), 2);
        QCOMPARE(find("改过的问题"), QStringList{"100101659999ABCD-1"});
        QCOMPARE(find("问题一"), QStringList{"100101659999ABCD-1"});
    }

    void theNoteIsIndexedWhenTheNotesWindowCloses()
    {
        store::Query question(&conn());
        question.setSql("select * from tab_answ where A1 = '100201110001'");
        question.open();
        store::DataSource source(&question);
        TFrmBj notes;
        notes.bind(source, "A14");
        notes.DBMemo1->setPlainText(QStringLiteral("容易混淆的索赔时限"));
        notes.done(0);
        QCOMPARE(find("索赔时限"), QStringList{"100201110001"});
        QCOMPARE(db("select A14 from tab_answ where A1 = '100201110001'").toString(), QStringLiteral("容易混淆的索赔时限"));
    }

    void aRolledBackChangeLeavesTheIndexAsItWas()
    {
        {
            store::Transaction t(conn());
            setTexts("100101140001", QStringLiteral("回滚前的新文字"), QString());
            search::reindexQuestions(conn(), {"100101140001"});
            QCOMPARE(find("回滚前的新文字"), QStringList{"100101140001"});
        }
        QCOMPARE(find("回滚前的新文字"), QStringList{});
        QCOMPARE(find("下列属于规费"), QStringList{"100101140001"});
        // The index's own integrity check agrees with its text table.
        conn().execute("insert into ql_search (ql_search, rank) values ('integrity-check', 1)");
    }

    void removedQuestionsAndPointsLeaveTheIndex()
    {
        bank->exec("delete from tab_answ where A1 = '100101140001'");
        bank->exec("delete from tab_exer where A1 = '100101140001'");
        search::reindexQuestions(conn(), {"100101140001"});
        QCOMPARE(find("规费"), QStringList{});
        search::removeQuestions(conn(), {"100101110002"});
        QCOMPARE(find("暂列金额"), QStringList{});
        bank->exec("update tab_rule set sn = '开工审批' where ftid = '0100020001'");
        search::reindexPoints(conn(), {"0100020001"});
        QCOMPARE(find("开工审批"), QStringList{"0100020001"});
        search::removePoints(conn(), {"0100020001"});
        QCOMPARE(find("开工审批"), QStringList{});
        conn().execute("insert into ql_search (ql_search, rank) values ('integrity-check', 1)");
    }

    void aSearcherSeesChangesMadeAfterItsFirstQuery()
    {
        search::Searcher searcher(conn());
        QCOMPARE(searcher.find("税").total, 1);
        QCOMPARE(searcher.find("工程量偏差", [] { Filter f; f.answered = Filter::Answered::Wrong; return f; }()).total, 0);
        setTexts("100101110002", QStringLiteral("税率"), QString());
        search::reindexQuestions(conn(), {"100101110002"});
        bank->exec("update tab_answ set E2 = 'X' where A1 = '100101110001'");
        QCOMPARE(searcher.find("税").total, 2);
        Filter wrong;
        wrong.answered = Filter::Answered::Wrong;
        QCOMPARE(searcher.find("工程量偏差", wrong).total, 1);
    }
};

QTEST_MAIN(TestSearch)
#include "test_search.moc"
