#include "BankCheck.h"
#include "BankText.h"
#include "Backups.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "Globals.h"
#include "ImportBatches.h"
#include "QuestionBody.h"
#include "LinkCounts.h"
#include "Marking.h"
#include "PlanJson.h"
#include "PracticeSession.h"
#include "QuestionStore.h"
#include "RtfReader.h"
#include "RtfText.h"
#include "RtfWriter.h"

#include <QDir>
#include <QImage>
#include <QTextCursor>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using formats::import::Recognition;
using formats::import::RecognizedQuestion;
using namespace importing;

namespace {

const QString kSection = QStringLiteral("100103");
const QString kOtherSection = QStringLiteral("100102");
const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 30));

RecognizedQuestion question(int line, int type, const QString &stem, const QStringList &options, const QString &key)
{
    RecognizedQuestion q;
    q.line = line;
    q.type = type;
    q.stem = stem;
    q.options = options;
    q.key = key;
    q.sourceText = QStringLiteral("%1. %2").arg(line).arg(stem);
    return q;
}

// Four questions that can be imported as they stand.
Recognition cleanFile()
{
    Recognition r;
    r.questions << question(1, 11, QStringLiteral("注册造价工程师的注册有效期为（  ）年。"),
                            {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")},
                            QStringLiteral("C"));
    r.questions.last().explanation = QStringLiteral("初始、延续注册有效期均为4年。");
    r.questions << question(7, 14, QStringLiteral("造价工程师的执业范围包括（  ）。"),
                            {QStringLiteral("项目经济评价"), QStringLiteral("工程结算"), QStringLiteral("施工组织"),
                             QStringLiteral("造价纠纷鉴定")},
                            QStringLiteral("ABD"));
    r.questions << question(13, 41, QStringLiteral("变更注册后，有效期重新计算4年。"), {}, QStringLiteral("B"));
    r.questions << question(16, 72, QStringLiteral("简述造价工程师不予注册的情形。"), {}, QString());
    return r;
}

} // namespace

// Importing recognized questions into the demo bank, and taking a batch back.
class TestImport : public QObject {
    Q_OBJECT

    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;

    store::Connection &bank() { return dm->ADOCn1; }
    QVariant db(const QString &sql) { return bank().scalar(sql); }
    ImportPlan planOf(const Recognition &r, const QString &section = kSection)
    {
        return ImportPlan(r, ImportTarget::read(bank(), section));
    }
    QStringList violations()
    {
        dm.reset(); // the check opens the file itself
        const QStringList found = bank::checkBank(demo->bankFile()).violations;
        dm = std::make_unique<TDM1>(demo->folder());
        return found;
    }
    // Every counter an import or an undo may touch, as one text to compare.
    QString counters()
    {
        return db("select (select group_concat(C1 || ':' || C3 || '/' || C4 || '/' || D1 || '/' || D2, ' ') from "
                  "(select * from tab_kmmc order by C1)) || ' | ' || (select group_concat(ftid || ':' || q || '/' || "
                  "q1 || '/' || q2 || '/' || q4, ' ') from (select * from tab_rule order by ftid)) || ' | ' || "
                  "(select group_concat(id || ':' || q || '/' || q1 || '/' || q2 || '/' || q4, ' ') from "
                  "(select * from tab_fgmc order by id))")
            .toString();
    }
    QString dayLog() { return db("select group_concat(A1 || A2 || A3 || B1 || B2, ' ') from tab_rz").toString(); }
    void answer(const QString &id, const QStringList &answers)
    {
        PracticeSql = QStringLiteral("select * from tab_answ where A1 = '%1'").arg(id);
        QVector<practice::TypeEntry> types;
        for (const QString &a : answers) {
            QVERIFY(practice::prepareSession(types));
            QVERIFY(practice::markAnswer(dm->Cn1Query_tm, 1, a).counted);
        }
        dm->Cn1Query_tm.close();
    }

private slots:
    void init() { QVERIFY(openFreshDemo(demo, dm)); }
    void cleanup()
    {
        dm.reset();
        demo.reset();
    }

    void importWritesOwnQuestionsAsQuestionEntryDoes()
    {
        const QString before = counters();
        const int chapterBefore = db("select C3 from tab_kmmc where C1 = '1001'").toInt();
        const ImportPlan plan = planOf(cleanFile());
        QCOMPARE(plan.counts().toImport, 4);
        const ImportOutcome outcome = importPlan(bank(), plan, QStringLiteral("/tmp/第三节练习.docx"),
                                                 demo->backupFolder(), kNow);
        QCOMPARE(outcome.ids.size(), 4);
        for (const QString &id : outcome.ids) {
            QVERIFY2(id.startsWith(QStringLiteral("US100103")), qPrintable(id));
            QCOMPARE(db("select F1 || A10 from tab_answ where A1 = '" + id + "'").toString(), "2" + kSection);
        }
        QCOMPARE(db("select A2 || ':' || A2_1 || ':' || A13 from tab_answ where A1 = '" + outcome.ids.at(1) + "'")
                     .toString(),
                 QStringLiteral("ABD:4:14"));
        QCOMPARE(db("select A2 || ':' || A2_1 from tab_answ where A1 = '" + outcome.ids.at(2) + "'").toString(),
                 QStringLiteral("B:2"));
        QCOMPARE(db("select A2 || ':' || A2_1 from tab_answ where A1 = '" + outcome.ids.at(3) + "'").toString(),
                 QStringLiteral("1:1"));
        QCOMPARE(rtf::toPlainText(db("select A15 from tab_exer where A1 = '" + outcome.ids.at(2) + "'").toByteArray()),
                 QStringLiteral("变更注册后，有效期重新计算4年。\nA．正确\nB．错误"));
        QCOMPARE(rtf::toPlainText(db("select jx from tab_exer where A1 = '" + outcome.ids.at(0) + "'").toByteArray()),
                 QStringLiteral("初始、延续注册有效期均为4年。"));
        QVERIFY(db("select jx from tab_exer where A1 = '" + outcome.ids.at(1) + "'").isNull());
        QCOMPARE(db("select C3 from tab_kmmc where C1 = '1001'").toInt(), chapterBefore + 4);
        QVERIFY(counters() != before);
        QCOMPARE(db("select file || '|' || made || '|' || section from ql_import_batch").toString(),
                 QStringLiteral("第三节练习.docx|2026-12-08 10:30:00|100103"));
        QCOMPARE(db("select count(*) from ql_import_question where batch = " + QString::number(outcome.batch)).toInt(),
                 4);
        const QVector<backup::BackupInfo> copies = backup::listBackups(demo->backupFolder());
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies.first().kind, backup::Kind::BeforeImport);
        QCOMPARE(backup::kindText(copies.first().kind), QStringLiteral("导入前"));
        QCOMPARE(outcomeText(outcome, plan.target()), QStringLiteral("已导入 4 道题到 [100103 第三节 造价工程师管理制度]。"));
        QCOMPARE(violations(), QStringList());
    }

    void numbersFollowTheLearnersOwnQuestions()
    {
        authoring::QuestionContent entered;
        entered.type = 11;
        entered.options = 4;
        entered.key = QStringLiteral("A");
        entered.body = QStringLiteral("手工录入的题目");
        QCOMPARE(authoring::addOwnQuestion(bank(), kSection, entered).id, QStringLiteral("US10010311400001"));
        const ImportOutcome outcome = importPlan(bank(), planOf(cleanFile()), "a.txt", demo->backupFolder(), kNow);
        QCOMPARE(outcome.ids.first(), QStringLiteral("US10010311400002"));
        QCOMPARE(outcome.ids.last(), QStringLiteral("US10010372100005"));
    }

    void headingsNamingASectionSendQuestionsThere()
    {
        Recognition r = cleanFile();
        r.questions[0].section = QStringLiteral("第二节 工程造价管理的组织和内容");
        r.questions[1].section = kOtherSection;
        r.questions[2].section = QStringLiteral("一、判断题");
        const ImportOutcome outcome = importPlan(bank(), planOf(r), "a.txt", demo->backupFolder(), kNow);
        QCOMPARE(outcome.perSection.value(kOtherSection), 2);
        QCOMPARE(outcome.perSection.value(kSection), 2);
        QVERIFY(outcomeText(outcome, planOf(r).target()).startsWith(QStringLiteral("已导入 4 道题：")));
        QCOMPARE(violations(), QStringList());
    }

    void flaggedQuestionsStayOutUntilTheLearnerDecides()
    {
        Recognition r = cleanFile();
        // The first question of the demo's subject 1, as another document writes it.
        r.questions << question(20, 11, QStringLiteral("从投资者(业主)的角度分析, 工程造价是指(  )."),
                                {QStringLiteral("建设一项工程预期开支或实际开支的全部固定资产投资费用"),
                                 QStringLiteral("建设一项工程在土地市场、设备市场和承包市场等交易活动中形成的工程价格"),
                                 QStringLiteral("建筑安装工程费与设备及工器具购置费之和"),
                                 QStringLiteral("建设项目总投资中的流动资产投资部分")},
                                QStringLiteral("A"));
        r.questions << question(30, 11, QStringLiteral("没有答案的题目（  ）。"), {"甲", "乙", "丙"}, QString());
        r.questions.last().problems << QStringLiteral("没有找到答案");
        r.questions << question(35, 11, QStringLiteral("答案超出选项的题目（  ）。"), {"甲", "乙"}, QStringLiteral("D"));
        r.questions << question(40, 65, QStringLiteral("科目一没有案例分析题。"), {}, QString());
        r.questions << question(45, 0, QStringLiteral("看不出题型的题目"), {"甲", "乙"}, QStringLiteral("A"));
        r.problems << formats::import::RecognitionProblem{50, QStringLiteral("无法识别的文字")};
        ImportPlan plan = planOf(r);
        QCOMPARE(plan.problemsOf(4), QStringList{kDuplicateReason});
        QCOMPARE(plan.problemsOf(5), QStringList{QStringLiteral("没有找到答案")});
        QCOMPARE(plan.problemsOf(6), QStringList{QStringLiteral("答案中的字母D超出了待选答案个数（2个）！")});
        QCOMPARE(plan.problemsOf(7), QStringList{QStringLiteral("本科目没有这种题型（65）")});
        QCOMPARE(plan.problemsOf(8), QStringList{QStringLiteral("没有识别出题型")});
        const ImportCounts counts = plan.counts();
        QCOMPARE(counts.recognized, 9);
        QCOMPARE(counts.flagged, 5);
        QCOMPARE(counts.duplicates, 1);
        QCOMPARE(counts.toImport, 4);

        // The learner takes the duplicate after all, and corrects two others.
        plan.setExcluded(4, false);
        plan.setKey(5, QStringLiteral(" b "));
        plan.setType(8, 41);
        QCOMPARE(plan.problemsOf(5), QStringList());
        QVERIFY(plan.items().at(5).question.key == QLatin1String("B"));
        plan.setKey(6, QStringLiteral("AB")); // still wrong for a single choice: it stays out
        QVERIFY(!plan.willImport(6));
        QCOMPARE(plan.problemsOf(6), QStringList{QStringLiteral("单项选择题的答案只能是一个字母！")});
        plan.setExcluded(1, true);
        QCOMPARE(plan.counts().toImport, 6);

        const ImportOutcome outcome = importPlan(bank(), plan, "a.txt", demo->backupFolder(), kNow);
        QCOMPARE(outcome.ids.size(), 6);
        QCOMPARE(db("select A2 || A2_1 || A13 from tab_answ where A1 = '" + outcome.ids.last() + "'").toString(),
                 QStringLiteral("A241"));
        // What was just imported is a duplicate next time.
        ImportPlan again = planOf(r);
        QCOMPARE(again.counts().duplicates, 6);
        QCOMPARE(again.counts().toImport, 1); // the question the learner left out, fresh from the file
        again.carryOver(plan);
        QCOMPARE(again.counts().toImport, 0);
        QCOMPARE(again.items().at(5).question.key, QStringLiteral("B"));
        QVERIFY(again.items().at(5).corrected);
        QCOMPARE(violations(), QStringList());
    }

    void switchingToASelfAssessedTypeFixesTheKey()
    {
        Recognition r;
        r.questions << question(1, 11, QStringLiteral("计算该项目的静态投资。"), {}, QString());
        ImportPlan plan = planOf(r);
        QVERIFY(!plan.willImport(0));
        plan.setType(0, 72);
        QVERIFY(plan.willImport(0));
        QCOMPARE(plan.items().at(0).question.key, QStringLiteral("1"));
        QCOMPARE(plan.optionCount(0), 1);
        plan.setType(0, 11);
        QCOMPARE(plan.items().at(0).question.key, QString());
        QVERIFY(!plan.willImport(0));
    }

    void refusedImportsLeaveTheBankAlone()
    {
        const QString before = counters();
        const int questions = db("select count(*) from tab_answ").toInt();
        Recognition none;
        none.questions << question(1, 11, QStringLiteral("没有答案"), {"甲", "乙"}, QString());
        QVERIFY_THROWS_EXCEPTION(ImportRefused, importPlan(bank(), planOf(none), "a.txt", demo->backupFolder(), kNow));
        QVERIFY_THROWS_EXCEPTION(ImportRefused, ImportTarget::read(bank(), QStringLiteral("1001")));
        QVERIFY_THROWS_EXCEPTION(ImportRefused, ImportTarget::read(bank(), QStringLiteral("999999")));
        // Only two of the learner's 9999 numbers are left for four questions.
        bank().execute("insert into tab_answ (A1, A2, A2_1, A10, A13, F1) values ('US1001031149997', 'A', 4, "
                       "'100103', 11, 2)");
        bank().execute("insert into tab_exer (A1, A15) values ('US1001031149997', '占位')");
        bank().execute("update tab_kmmc set C3 = C3 + 1 where C1 in ('100103', '1001', '10', '1')");
        try {
            importPlan(bank(), planOf(cleanFile()), "a.txt", demo->backupFolder(), kNow);
            QFAIL("an import past the last number went through");
        } catch (const ImportRefused &e) {
            QVERIFY2(e.message().contains(QStringLiteral("还能再加入 2 道题")), qPrintable(e.message()));
        }
        QCOMPARE(db("select count(*) from tab_answ").toInt(), questions + 1);
        QCOMPARE(db("select count(*) from ql_import_batch").toInt(), 0);
        QVERIFY(QDir(demo->backupFolder()).isEmpty());
        bank().execute("update tab_kmmc set C3 = C3 - 1 where C1 in ('100103', '1001', '10', '1')");
        QCOMPARE(counters(), before);
    }

    void undoTakesAnsweredQuestionsOutOfEveryCounter()
    {
        const QString before = counters();
        const ImportOutcome outcome = importPlan(bank(), planOf(cleanFile()), "a.txt", demo->backupFolder(), kNow);
        // The learner links two exam points to an imported question (question edit does so) and answers it.
        const QString linked = outcome.ids.at(0);
        const QStringList points =
            bank().scalar("select group_concat(ftid) from (select ftid from tab_rule order by ftid limit 2)")
                .toString()
                .split(QLatin1Char(','));
        bank().execute("update tab_answ set K3 = ?, K4 = ? where A1 = ?",
                       store::Params::byPosition({points.at(0), points.at(1), linked}));
        store::recountLinks(bank(), points);
        const QString linkedCounters = counters();
        answer(linked, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        answer(outcome.ids.at(1), {QStringLiteral("AB")});
        answer(outcome.ids.at(3), {QStringLiteral("1")});
        const QString log = dayLog();
        QVERIFY(!log.isEmpty());

        QVector<BatchInfo> batches = listBatches(bank());
        QCOMPARE(batches.size(), 1);
        QCOMPARE(batches.first().questions, 4);
        QCOMPARE(batches.first().answered, 3);
        QCOMPARE(batches.first().sectionName, QStringLiteral("第三节 造价工程师管理制度"));
        QCOMPARE(batches.first().made, kNow);

        const UndoOutcome undone = undoBatch(bank(), outcome.batch, demo->backupFolder(), kNow.addSecs(60));
        QCOMPARE(undone.removed, 4);
        QCOMPARE(undone.answered, 3);
        QCOMPARE(db("select count(*) from tab_answ where A1 like 'US%'").toInt(), 0);
        QCOMPARE(db("select count(*) from tab_exer where A1 like 'US%'").toInt(), 0);
        QCOMPARE(listBatches(bank()).size(), 0);
        QCOMPARE(dayLog(), log);
        QVERIFY(linkedCounters != before);
        QCOMPARE(counters(), before);
        QCOMPARE(backup::listBackups(demo->backupFolder()).size(), 2);
        QCOMPARE(violations(), QStringList());
        QVERIFY_THROWS_EXCEPTION(ImportRefused, undoBatch(bank(), outcome.batch, demo->backupFolder(), kNow));
    }

    void undoLeavesOtherBatchesAndEnteredQuestions()
    {
        const ImportOutcome first = importPlan(bank(), planOf(cleanFile()), "a.txt", demo->backupFolder(), kNow);
        Recognition other;
        other.questions << question(1, 11, QStringLiteral("另一份文件的题目（  ）。"), {"甲", "乙"}, QStringLiteral("B"));
        const ImportOutcome second =
            importPlan(bank(), planOf(other, kOtherSection), "b.txt", demo->backupFolder(), kNow.addSecs(5));
        QCOMPARE(listBatches(bank()).first().file, QStringLiteral("b.txt"));
        undoBatch(bank(), first.batch, demo->backupFolder(), kNow.addSecs(10));
        QCOMPARE(db("select count(*) from tab_answ where A1 like 'US%'").toInt(), 1);
        QCOMPARE(db("select A10 from tab_answ where A1 = '" + second.ids.first() + "'").toString(), kOtherSection);
        QCOMPARE(violations(), QStringList());
    }

    void richStemKeepsItsFormatting()
    {
        QTextDocument stem;
        stem.setHtml(QStringLiteral("某基础混凝土用量为 120 m<sup>3</sup>，其中<b>垫层</b>不计。"));
        Recognition r;
        r.questions << question(1, 11, stem.toPlainText(), {"甲", "乙"}, QStringLiteral("A"));
        r.questions.first().stemRtf = QString::fromLatin1(rtf::RtfWriter::write(stem));
        const ImportOutcome outcome = importPlan(bank(), planOf(r), "a.docx", demo->backupFolder(), kNow);
        QTextDocument stored;
        rtf::RtfReader::read(db("select A15 from tab_exer where A1 = '" + outcome.ids.first() + "'"), &stored);
        QCOMPARE(stored.blockCount(), 3);
        QCOMPARE(stored.lastBlock().text(), QStringLiteral("B．乙"));
        bool bold = false;
        bool superscript = false;
        for (auto it = stored.firstBlock().begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            bold |= it.fragment().text() == QStringLiteral("垫层") && f.fontWeight() >= QFont::Bold;
            superscript |= it.fragment().text() == QStringLiteral("3")
                           && f.verticalAlignment() == QTextCharFormat::AlignSuperScript;
        }
        QVERIFY(bold);
        QVERIFY(superscript);
    }

    void quickBankTextComparesLikeTheReader_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTextDocument rich;
        rich.setHtml(QStringLiteral("<p>某基础 120 m<sup>3</sup>，<b>垫层</b><i>不计</i> — ½ café 😀</p>"
                                    "<table><tr><td>甲</td><td>乙</td></tr></table><p>A．第二段</p>"));
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        rich.addResource(QTextDocument::ImageResource, QUrl("pic.png"), picture);
        QTextCursor(&rich).insertImage(QStringLiteral("pic.png"));
        QTest::newRow("writer with formats, table and picture") << rtf::RtfWriter::write(rich);
        QTest::newRow("plain paragraphs") << rtf::fromPlainParagraphs({"工程造价（  ）。", "A．甲", "B．乙"});
        QTest::newRow("plain text") << QStringLiteral("不是 RTF 的题目 12").toUtf8();
        QTest::newRow("literal characters") << QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 宋体;}}\\f0 直接写的汉字\\par 第二行}").toUtf8();
    }

    void quickBankTextComparesLikeTheReader()
    {
        QFETCH(QByteArray, stored);
        const QString quick = comparisonText(bankPlainText(stored));
        QVERIFY(!quick.isEmpty());
        QCOMPARE(quick, comparisonText(rtf::toPlainText(QString::fromUtf8(stored)))); // as a text column reads
    }

    void jsonListsWhatWasRecognized()
    {
        Recognition r = cleanFile();
        r.questions[0].problems << QStringLiteral("只有一个选项");
        r.problems << formats::import::RecognitionProblem{40, QStringLiteral("无法识别的文字")};
        const QJsonObject json = QJsonDocument::fromJson(planJson(planOf(r))).object();
        const QJsonArray questions = json.value("questions").toArray();
        QCOMPARE(questions.size(), 4);
        const QJsonObject first = questions.at(0).toObject();
        QCOMPARE(first.keys(), (QStringList{"explanation", "key", "line", "options", "problems", "stem", "type"}));
        QCOMPARE(first.value("line").toInt(), 1);
        QCOMPARE(first.value("type").toInt(), 11);
        QCOMPARE(first.value("options").toArray().size(), 4);
        QCOMPARE(first.value("key").toString(), QStringLiteral("C"));
        QCOMPARE(first.value("problems").toArray().at(0).toString(), QStringLiteral("只有一个选项"));
        QCOMPARE(questions.at(3).toObject().value("problems").toArray().size(), 0);
        QCOMPARE(json.value("problems").toArray().at(0).toObject().value("line").toInt(), 40);
    }
};

QTEST_MAIN(TestImport)
#include "test_import.moc"
