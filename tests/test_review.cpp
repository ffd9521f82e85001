#include "BankTestCase.h"
#include "Clock.h"
#include "DueQueue.h"
#include "Error.h"
#include "Globals.h"
#include "Marking.h"
#include "MemoryStates.h"
#include "PracticeSession.h"
#include "Report.h"
#include "ReviewSettings.h"
#include "Schema.h"

#include <QtTest>

using namespace store::review;
using practice::markAnswer;

// The answer history and memory states kept with each marking, the due queue
// and the report's figures, on the fixture bank: 1 = 100101110001 (single, key A),
// 2 = 100101110002 (single, C), 3 = 100101140001 (multiple, ABD),
// 4 = 100102110001 (single, B), 5 = 100201110001 (single, D); subject 1's paper
// has 60 single choices of 1 mark and 20 multiple choices of 2.
class TestReview : public BankTestCase {
    Q_OBJECT

    store::Query &questions() { return dm->Cn1Query_tm; }
    store::Connection &c() { return dm->ADOCn1; }

    void startRun()
    {
        PracticeSql = "select * from tab_answ order by a1";
        QVector<practice::TypeEntry> types;
        QVERIFY(practice::prepareSession(types));
    }

    QString historyRow(int n)
    {
        return db(QStringLiteral("select question || '|' || answer || '|' || correct || '|' || place || '|' ||"
                                 " ifnull(paper, '-') || '|' || ifnull(seconds, '-') || '|' || first || '|' ||"
                                 " ifnull(predicted, '-') from ql_answer_history order by id limit 1 offset %1")
                      .arg(n - 1))
            .toString();
    }

    // A state answered `daysAgo` days before noon today with this stability.
    void putState(const QString &id, double stability, double daysAgo, bool lastCorrect, int type = 11, int options = 4)
    {
        MemoryState s;
        s.stability = stability;
        s.difficulty = 5;
        s.lastReview = dayNumber(store::today()) + 0.5 - daysAgo;
        s.reviews = 2;
        s.lastCorrect = lastCorrect;
        saveState(c(), id, s, guessOf(type, options));
    }

private slots:
    void init()
    {
        openFreshBank();
        startRun();
    }
    void cleanup() { closeBank(); }

    void eachCountedAnswerIsKeptWithItsMarking()
    {
        markAnswer(questions(), 1, "B");
        QCOMPARE(db("select count(*) from ql_answer_history").toInt(), 1);
        QCOMPARE(historyRow(1), QString("100101110001|B|0|practice|-|-|1|-"));
        QVERIFY(db("select at from ql_answer_history").toString().startsWith("2026-12-08 "));
        QCOMPARE(db("select reviews || last_correct from ql_memory where question = '100101110001'").toString(),
                 QString("10"));
        QVERIFY(db("select stability > 0 and due_day > last_review from ql_memory").toBool());

        markAnswer(questions(), 1, "B"); // the same answer again: not counted, not kept
        QCOMPARE(db("select count(*) from ql_answer_history").toInt(), 1);

        startRun();
        markAnswer(questions(), 1, "A", {AnswerPlace::PointPractice, {}, 17});
        QCOMPARE(db("select count(*) from ql_answer_history").toInt(), 2);
        const QString second = historyRow(2);
        QVERIFY2(second.startsWith("100101110001|A|1|points|-|17|0|0."), qPrintable(second));
        QCOMPARE(db("select reviews || last_correct from ql_memory where question = '100101110001'").toString(),
                 QString("21"));
    }

    void examAnswersNameTheirPaper()
    {
        dm->ADOCn1.execute("create table tab_exam1 as select * from tab_answ");
        store::Query paper(&dm->ADOCn1);
        paper.setSql("select * from tab_exam1 order by A1");
        paper.open();
        practice::markPaperAnswer(paper, 3, "ABD", {AnswerPlace::Exam, "tab_exam1", -1});
        QCOMPARE(historyRow(1), QString("100101140001|ABD|1|exam|tab_exam1|-|1|-"));
        QCOMPARE(db("select reviews || last_correct from ql_memory where question = '100101140001'").toString(),
                 QString("11"));
    }

    void aFailedMarkingKeepsNoHistory_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::newRow("an exam-point counter before it") << "before update on tab_fgmc";
        QTest::newRow("the history row itself") << "before insert on ql_answer_history";
        QTest::newRow("the memory state") << "before insert on ql_memory";
    }
    void aFailedMarkingKeepsNoHistory()
    {
        QFETCH(QString, trigger);
        c().execute("create trigger boom " + trigger + " begin select raise(abort, 'disk full'); end");
        QVERIFY_THROWS_EXCEPTION(store::Error, markAnswer(questions(), 1, "B"));
        QCOMPARE(db("select count(*) from ql_answer_history").toInt(), 0);
        QCOMPARE(db("select count(*) from ql_memory").toInt(), 0);
        QCOMPARE(db("select E3 from tab_answ where A1 = '100101110001'").toInt(), 0);
        QCOMPARE(db("select count(*) from tab_rz").toInt(), 0);

        c().execute("drop trigger boom");
        markAnswer(questions(), 1, "B");
        QCOMPARE(db("select count(*) from ql_answer_history").toInt(), 1);
        QCOMPARE(db("select count(*) from ql_memory").toInt(), 1);
    }

    void progressFromBeforeTheHistoryBecomesOneOldReview()
    {
        closeBank();
        bank->exec("drop table ql_answer_history");
        bank->exec("drop table ql_memory");
        bank->exec("drop table ql_prediction");
        bank->exec("pragma user_version = 3");
        bank->exec("update tab_answ set E2 = 'A', E3 = 4, E1 = '2026-11-30' where A1 = '100101110001'");
        bank->exec("update tab_answ set E2 = 'B', E3 = 1, E1 = '2026-12-01' where A1 = '100101110002'");
        bank->exec("update tab_answ set E2 = 'zero', F1 = 1, E3 = 2 where A1 = '100102110001'");
        dm = std::make_unique<TDM1>(bank->folder());
        QVERIFY(dm->connected);
        QCOMPARE(db("pragma user_version").toInt(), store::schema::kVersion);
        QCOMPARE(db("select group_concat(question, ' ') from (select question from ql_memory order by question)")
                     .toString(),
                 QString("100101110001 100101110002"));

        const MemoryModel model;
        const MemoryState right = model.fromOldProgress(4, true, dayNumber(QDate(2026, 11, 30)));
        const MemoryState wrong = model.fromOldProgress(1, false, dayNumber(QDate(2026, 12, 1)));
        const StoredState a = loadState(c(), "100101110001");
        const StoredState b = loadState(c(), "100101110002");
        QVERIFY(a.found && b.found);
        QCOMPARE(a.state.stability, right.stability);
        QCOMPARE(a.state.lastReview, right.lastReview);
        QCOMPARE(a.state.lastCorrect, true);
        QCOMPARE(b.state.stability, wrong.stability);
        QCOMPARE(b.state.lastCorrect, false);
        QCOMPARE(db("select count(*) from ql_answer_history").toInt(), 0); // nothing is made up
    }

    void theDueQueueTakesWrongFirstThenTheMostForgotten()
    {
        putState("100101110001", 2, 10, true);   // long overdue
        putState("100101110002", 30, 10, true);  // due later: not in the queue
        putState("100101140001", 2, 6, false, 14, 4); // wrong last time
        putState("100102110001", 3, 6, true);    // overdue, less than the first
        putState("100201110001", 1, 0.25, false); // answered today: not due again today
        QCOMPARE(dueCount(c(), store::today()), 3);

        const QVector<DueQuestion> queue = dueQueue(c(), QDateTime(store::today(), QTime(12, 0)));
        QStringList order;
        for (const DueQuestion &d : queue)
            order << d.question;
        QCOMPARE(order, QStringList({"100101140001", "100101110001", "100102110001"}));
        QVERIFY(queue[1].chance < queue[2].chance);
        QVERIFY(queue[0].lastWrong && !queue[1].lastWrong);
        QCOMPARE(dueQueue(c(), QDateTime(store::today(), QTime(12, 0)), 2).size(), 2);

        // A voided question leaves the queue with its state.
        startRun();
        questions().setRecNo(1);
        QVERIFY(practice::voidQuestion(questions()));
        QCOMPARE(dueCount(c(), store::today()), 2);
        QVERIFY(!loadState(c(), "100101110001").found);
        QCOMPARE(dueQueue(c(), QDateTime(store::today(), QTime(12, 0))).size(), 2);
    }

    void whatIsLeftOfTheReviewFollowsThePlan()
    {
        putState("100101110001", 2, 10, true);
        putState("100102110001", 3, 6, true);
        QCOMPARE(plannedQuestions(c()), 50);
        QCOMPARE(reviewLeft(c(), store::today()), 2);
        c().execute("update tab_plan set PlanAmount = 1");
        QCOMPARE(reviewLeft(c(), store::today()), 1);

        // One question reviewed today uses up a plan of one.
        markAnswer(questions(), 4, "B", {AnswerPlace::Review, {}, 5});
        QCOMPARE(reviewedOn(c(), store::today()), 1);
        QCOMPARE(reviewLeft(c(), store::today()), 0);
        c().execute("update tab_plan set PlanMark = 1");
        QCOMPARE(plannedQuestions(c()), 0);
        QCOMPARE(reviewLeft(c(), store::today()), 1);
    }

    void theTargetIsClampedAndMovesDueDays()
    {
        putState("100101110001", 10, 0, true);
        const double before = db("select due_day from ql_memory").toDouble();
        QCOMPARE(targetRetention(c()), 0.90);
        setTargetRetention(c(), 0.5);
        QCOMPARE(targetRetention(c()), 0.70);
        QVERIFY(db("select due_day from ql_memory").toDouble() > before);
        setTargetRetention(c(), 0.99);
        QCOMPARE(targetRetention(c()), 0.97);
        QVERIFY(db("select due_day from ql_memory").toDouble() < before);
    }

    void aPaperPredictionByHand()
    {
        // 2 of 4 singles at 1 mark, chance 0.5 each; 1 of 1 multiple at 2 marks, chance 0.8.
        // Scores 0…4 come with chances .05, .10, .25, .40, .20.
        const SubjectPrediction p = predictPaper({{2, 1, {0.5, 0.5, 0.5, 0.5}}, {1, 2, {0.8}}});
        QCOMPARE(p.fullMarks, 4.0);
        QVERIFY(qAbs(p.score - 2.6) < 1e-9);
        QCOMPARE(p.low, 1.0);  // 15% score 1 or less
        QCOMPARE(p.high, 4.0); // 80% score 3 or less
        QVERIFY(qAbs(p.passChance - 0.6) < 1e-9); // 2.4 needs 3 or 4

        // The mean chance of a type's pool stands for every question drawn from it.
        const SubjectPrediction mixed = predictPaper({{1, 1, {0.0, 1.0}}});
        QVERIFY(qAbs(mixed.score - 0.5) < 1e-9);
        QCOMPARE(mixed.passChance, 0.5);
        // A pool smaller than the paper's count gives what it has; the full marks stay the paper's.
        const SubjectPrediction short_ = predictPaper({{5, 2, {1.0}}});
        QCOMPARE(short_.fullMarks, 10.0);
        QVERIFY(qAbs(short_.score - 2.0) < 1e-9);
        QCOMPARE(short_.passChance, 0.0);
        const SubjectPrediction empty = predictPaper({{5, 2, {}}});
        QCOMPARE(empty.score, 0.0);
    }

    void theReportScoresTheBankByHand()
    {
        putState("100101110001", 2, 10, true);
        putState("100101110002", 30, 3, true);
        putState("100101140001", 5, 4, false, 14, 4);
        putState("100102110001", 3, 4, true);
        putState("100201110001", 1, 1, false);
        const QDateTime at(store::today(), QTime(12, 0));
        const MemoryModel model;
        auto chance = [&](const QString &id, int type) {
            return model.chanceRight(loadState(c(), id).state, dayNumber(at), guessOf(type, 4));
        };
        const double p1 = chance("100101110001", 11), p2 = chance("100101110002", 11),
                     p3 = chance("100101140001", 14), p4 = chance("100102110001", 11),
                     p5 = chance("100201110001", 11);

        Report r = buildReport(c(), at);
        QCOMPARE(r.subjects.size(), 5);
        const SubjectPrediction &s1 = r.subjects[0];
        QCOMPARE(s1.name, QString("工程造价管理基础理论与相关法规"));
        QCOMPARE(s1.fullMarks, 100.0);
        // All four singles and the one multiple are drawn (the pools are smaller than the paper).
        QVERIFY(qAbs(s1.score - (p1 + p2 + p4 + p5 + 2 * p3)) < 1e-9);
        QCOMPARE(s1.questions, 5);
        QCOMPARE(s1.answered, 5);
        QCOMPARE(r.subjects[1].fullMarks, 0.0);

        // Chapter 100101 weighs 1 + 1 + 2 marks and loses the most.
        QCOMPARE(r.chapters.first().code, QString("100101"));
        QCOMPARE(r.chapters.first().name, QString("第一节 工程造价的含义"));
        QVERIFY(qAbs(r.chapters.first().lost() - ((1 - p1) + (1 - p2) + 2 * (1 - p3))) < 1e-9);
        QCOMPARE(r.chapters.first().questions.first(), p3 < qMin(p1, p2) ? QString("100101140001")
                                                                            : (p1 < p2 ? QString("100101110001")
                                                                                       : QString("100101110002")));
        QCOMPARE(r.chapters.size(), 3);
        // Point 0100020001 links questions 1 and 4.
        for (const WeakSpot &spot : r.points)
            if (spot.code == "0100020001")
                QVERIFY(qAbs(spot.lost() - ((1 - p1) + (1 - p4))) < 1e-9);
        QCOMPARE(r.points.size(), 2);

        storePredictions(c(), r);
        storePredictions(c(), r); // one per subject and day
        QCOMPARE(db("select count(*) from ql_prediction").toInt(), 5);
        QCOMPARE(r.trend.size(), 5);
        QCOMPARE(r.trend.first().day, store::today());
    }

    void honestyComparesPredictionsWithAnswers()
    {
        putState("100101110001", 2, 10, true);
        const double predicted =
            MemoryModel().chanceRight(loadState(c(), "100101110001").state, dayNumber(store::review::now()), 0.25);
        markAnswer(questions(), 1, "A");
        markAnswer(questions(), 2, "B"); // first answer: the prior's chance
        const Report r = buildReport(c(), store::review::now());
        QCOMPARE(r.honesty.answers, 2);
        QCOMPARE(r.honesty.shareRight, 0.5);
        const double stored = db("select predicted from ql_answer_history where question = '100101110001'").toDouble();
        QVERIFY(qAbs(stored - predicted) < 1e-3);
        QVERIFY(r.honesty.meanPredicted > 0 && r.honesty.meanPredicted < 1);
        QCOMPARE(r.historyAnswers, 2);
    }

    void parametersAreFittedOnceThereAreEnoughAnswers()
    {
        const QDateTime at(store::today(), QTime(12, 0));
        QVERIFY(!fitIfStale(c(), at));
        // 1,000 answers: 200 questions asked five times a week apart, right seven times in ten.
        c().beginTransaction();
        for (int i = 0; i < 1000; ++i)
            c().execute("insert into ql_answer_history (at, question, answer, correct, place, first) values (?, ?, 'A', ?,"
                        " 'practice', ?)",
                        store::Params::byPosition({QDateTime(QDate(2026, 10, 1).addDays(i / 200 * 7), QTime(9, 0))
                                                       .addSecs(i % 200 * 60)
                                                       .toString("yyyy-MM-dd HH:mm:ss"),
                                                   QString("Q%1").arg(i % 200), i * 7 % 10 < 7 ? 1 : 0,
                                                   i < 200 ? 1 : 0}));
        c().commit();
        QVERIFY(fitIfStale(c(), at));
        const FitRecord fit = lastFit(c());
        QCOMPARE(fit.answers, 1000);
        QCOMPARE(fit.fittedAt, at);
        QVERIFY(fit.logLossAfter <= fit.logLossBefore + 1e-9);
        const Parameters fitted = modelOf(c()).parameters();
        QVERIFY(fitted.w != Parameters::defaults().w || fitted.slope != 1 || fitted.shift != 0);
        QVERIFY(!fitIfStale(c(), at.addDays(1))); // fresh: kept
        QVERIFY(fitIfStale(c(), at.addDays(8)));  // a week on: fitted again
    }
};

QTEST_MAIN(TestReview)
#include "test_review.moc"
