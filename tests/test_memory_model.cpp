#include "LearnerPredictor.h"
#include "MemoryModel.h"
#include "Replay.h"

#include <QBuffer>

#include <QtTest>

#include <cmath>
#include <ctime>
#include <random>

using namespace store::review;

namespace {

// Expected figures below were worked out by hand from the published FSRS-5 formulas and
// default weights, not by this code.
constexpr double kTol = 1e-6;

MemoryState afterGood(const MemoryModel &m)
{
    return m.afterGrade({}, 100, Grade::Good);
}

// A history drawn from a model: answers at random gaps, each right with the model's chance.
QVector<Attempt> drawHistory(const MemoryModel &truth, int questions, int answers, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> pick(0, questions - 1);
    std::uniform_real_distribution<double> u(0, 1);
    std::exponential_distribution<double> gap(1 / 6.0);
    QVector<MemoryState> states(questions);
    QVector<double> next(questions, 0);
    QVector<Attempt> history;
    double day = 0;
    while (history.size() < answers) {
        day += 0.25;
        const int q = pick(rng);
        if (next[q] > day)
            continue;
        const double guess = q % 3 == 0 ? 0.25 : 0;
        const double chance = states[q].seen() ? truth.chanceRight(states[q], day, guess) : guess + (1 - guess) * 0.5;
        const bool correct = u(rng) < chance;
        history.append({QStringLiteral("q%1").arg(q), day, correct, guess});
        states[q] = truth.afterAnswer(states[q], day, correct, guess);
        next[q] = day + 1 + gap(rng);
    }
    return history;
}

// A learner unlike the published average.
Parameters otherWeights()
{
    Parameters p = Parameters::defaults();
    p.w[0] = 1.5;  // remembers much better after a first miss
    p.w[2] = 8;    // and after a first right answer
    p.w[8] = 1.0;  // but gains less from each success
    p.w[11] = 1.0; // and keeps less after a lapse
    p.w[19] = 1.2;
    return p;
}

} // namespace

class TestMemoryModel : public QObject {
    Q_OBJECT

private slots:
    void forgettingCurvePassesNinetyPercentAtTheStability()
    {
        const MemoryModel m;
        MemoryState s = afterGood(m);
        QCOMPARE(m.retrievability(s, 100), 1.0);
        QVERIFY(std::abs(m.retrievability(s, 100 + s.stability) - 0.9) < 1e-12);
        QVERIFY(std::abs(m.retrievability(s, 103) - 0.9046982108893272) < kTol);
        QCOMPARE(m.retrievability({}, 100), 0.0);
        Parameters steep = Parameters::defaults();
        steep.w[19] = 8;
        const MemoryModel e(steep);
        s = afterGood(e);
        QVERIFY(std::abs(e.retrievability(s, 100 + s.stability) - 0.9) < 1e-12);
        // A steeper decay forgets faster beyond the stability, slower before it.
        QVERIFY(e.retrievability(s, 100 + 5 * s.stability) < m.retrievability(s, 100 + 5 * s.stability));
        QVERIFY(e.retrievability(s, 100 + s.stability / 2) > m.retrievability(s, 100 + s.stability / 2));
    }

    void firstAnswersTakeTheInitialStabilityAndDifficulty()
    {
        const MemoryModel m;
        const MemoryState good = afterGood(m);
        QVERIFY(std::abs(good.stability - 3.173) < kTol);
        QVERIFY(std::abs(good.difficulty - 5.282434422319005) < kTol);
        QCOMPARE(good.lastReview, 100.0);
        QCOMPARE(good.reviews, 1);
        QVERIFY(good.lastCorrect && good.seen());
        const MemoryState again = m.afterGrade({}, 100, Grade::Again);
        QVERIFY(std::abs(again.stability - 0.40255) < kTol);
        QVERIFY(std::abs(again.difficulty - 7.1949) < kTol);
        QVERIFY(!again.lastCorrect);
    }

    void successThenLapseFollowTheFormulas()
    {
        const MemoryModel m;
        const MemoryState s1 = m.afterGrade(afterGood(m), 103, Grade::Good);
        QVERIFY(std::abs(s1.stability - 10.73892584613159) < kTol);
        QVERIFY(std::abs(s1.difficulty - 5.272967931287446) < kTol);
        QCOMPARE(s1.reviews, 2);
        const MemoryState s2 = m.afterGrade(s1, 113, Grade::Again);
        QVERIFY(std::abs(s2.stability - 2.146380692406721) < kTol);
        QVERIFY(std::abs(s2.difficulty - 6.790567694566929) < kTol);
        QCOMPARE(s2.lastReview, 113.0);
    }

    void answersWithinADayUseTheShortTermRule()
    {
        const MemoryModel m;
        const MemoryState good = m.afterGrade(afterGood(m), 100.2, Grade::Good);
        QVERIFY(std::abs(good.stability - 4.466858064362218) < kTol);
        const MemoryState again = m.afterGrade(afterGood(m), 100.2, Grade::Again);
        QVERIFY(std::abs(again.stability - 1.589763507266002) < kTol);
        QVERIFY(std::abs(again.difficulty - 6.796932579932991) < kTol);
    }

    void aRightAnswerThatMayBeAGuessStrengthensLess()
    {
        const MemoryModel m;
        const MemoryState s1 = m.afterGrade(afterGood(m), 103, Grade::Good);
        // P(recall | right) = R/(g + (1-g)R) = 0.97470 at R = 0.90594, g = 1/4.
        const MemoryState guessed = m.afterAnswer(s1, 113, true, 0.25);
        QVERIFY(std::abs(guessed.stability - 30.44554433900381) < 1e-5);
        QVERIFY(std::abs(guessed.difficulty - 5.302177686054193) < 1e-6);
        QVERIFY(guessed.lastCorrect);
        const MemoryState sure = m.afterAnswer(s1, 113, true, 0);
        QVERIFY(std::abs(sure.stability - 32.6152222948248) < 1e-5);
        // The less likely recall was, the less a right answer counts.
        const MemoryState old = m.afterAnswer(s1, 300, true, 0.25);
        const MemoryState oldSure = m.afterAnswer(s1, 300, true, 0);
        const MemoryState oldTrueFalse = m.afterAnswer(s1, 300, true, 0.5);
        QVERIFY(oldTrueFalse.stability < old.stability && old.stability < oldSure.stability);
        // A wrong answer is a lapse whatever the guess rate.
        const MemoryState wrong = m.afterAnswer(s1, 113, false, 0.25);
        QCOMPARE(wrong.stability, m.afterGrade(s1, 113, Grade::Again).stability);
        // First answers: a right answer that was likely a guess lands near the Again state.
        const MemoryState lucky = m.afterAnswer({}, 100, true, 0.25, 0.26);
        const MemoryState known = m.afterAnswer({}, 100, true, 0.25, 0.97);
        QVERIFY(lucky.stability < 0.6 && lucky.lastCorrect);
        QVERIFY(known.stability > 3.0 && known.stability < 3.173);
    }

    void guessRatesByQuestionType()
    {
        QCOMPARE(guessRate(qtype::Single, 4), 0.25);
        QCOMPARE(guessRate(qtype::Single, 5), 0.2);
        QCOMPARE(guessRate(qtype::Single, 0), 0.25);
        QCOMPARE(guessRate(qtype::Multiple, 4), 1.0 / 15);
        QCOMPARE(guessRate(qtype::Multiple, 5), 1.0 / 31);
        QCOMPARE(guessRate(qtype::TrueFalse, 2), 0.5);
        QCOMPARE(guessRate(65, 4), 0.0);
        QCOMPARE(guessRate(72, 0), 0.0);
    }

    void dueDayIsWhenTheChanceFallsToTheTarget()
    {
        Parameters recalibrated = Parameters::defaults();
        recalibrated.slope = 1.4;
        recalibrated.shift = -0.3;
        for (const MemoryModel &m : {MemoryModel(), MemoryModel(recalibrated)}) {
            const MemoryState s = m.afterGrade(afterGood(m), 103, Grade::Good);
            for (double g : {0.0, 0.25}) {
                const double due = m.dueDay(s, 0.9, g);
                QVERIFY(due > 103);
                QVERIFY(std::abs(m.chanceRight(s, due, g) - 0.9) < 1e-9);
            }
            QCOMPARE(m.dueDay(s, 0.5, 0.5), std::numeric_limits<double>::infinity());
            QCOMPARE(m.dueDay({}, 0.9, 0), std::numeric_limits<double>::infinity());
        }
        const MemoryModel m;
        const MemoryState s = afterGood(m);
        QVERIFY(std::abs(m.dueDay(s, 0.9, 0) - (100 + 3.173)) < 1e-9);
        QVERIFY(m.dueDay(s, 0.8, 0) > m.dueDay(s, 0.9, 0));
    }

    void oldProgressCountsAsOneReview()
    {
        const MemoryModel m;
        QVERIFY(!m.fromOldProgress(0, true, 50).seen());
        const MemoryState right = m.fromOldProgress(3, true, 50);
        QCOMPARE(right.stability, afterGood(m).stability);
        QCOMPARE(right.lastReview, 50.0);
        QCOMPARE(right.reviews, 3);
        const MemoryState wrong = m.fromOldProgress(1, false, 50);
        QVERIFY(std::abs(wrong.stability - 0.40255) < kTol);
        QVERIFY(!wrong.lastCorrect);
    }

    void unseenPriorShrinksFewAnswersTowardTheOverallRate()
    {
        UnseenPrior prior;
        QCOMPARE(prior.chance("1001", {"P1"}), UnseenPrior::kStartRate);
        for (int i = 0; i < 100; ++i) {
            prior.addFirstAttempt("1001", {"P1"}, true);
            prior.addFirstAttempt("1002", {"P2"}, false);
        }
        prior.addFirstAttempt("1003", {"P3"}, true);
        prior.addFirstAttempt("1003", {"P3"}, true);
        QCOMPARE(prior.attempts(), 202);
        const double overall = prior.chance({}, {});
        QVERIFY(std::abs(overall - 102.0 / 202) < 0.01);
        QVERIFY(prior.chance("1001", {"P1"}) > 0.9);
        QVERIFY(prior.chance("1002", {"P2"}) < 0.1);
        QCOMPARE(prior.chance("1009", {"P9"}), overall);
        const double few = prior.chance("1003", {"P3"});
        QVERIFY(few > overall && few < overall + (1 - overall) / 2);
        // Chapter and point evidence are combined: a strong chapter with a weak point lies between.
        const double mixed = prior.chance("1001", {"P2"});
        QVERIFY(mixed < prior.chance("1001", {"P1"}) && mixed > prior.chance("1002", {"P2"}));
    }

    void unseenPriorTakesGuessesOutOfTheFirstAttemptRate()
    {
        // Right on a quarter of four-option questions: no sign of knowing anything.
        UnseenPrior prior;
        for (int i = 0; i < 400; ++i)
            prior.addFirstAttempt("1001", {}, i % 4 == 0, 0.25);
        QVERIFY(prior.chance("1001", {}, 0) < 0.05);
        QVERIFY(std::abs(prior.chance("1001", {}, 0.5) - 0.5) < 0.03);
        KnowRate rate;
        for (int i = 0; i < 100; ++i)
            rate.add(i % 10 < 7, 0.5); // 70% right on true/false: knows 40%
        QVERIFY(std::abs(rate.know(0.5, 0) - 0.4) < 1e-9);
        QVERIFY(std::abs(rate.chance(0.25, 0.5, 0) - 0.55) < 1e-9);
    }

    void calibrationFindsAConsistentDistortion()
    {
        std::mt19937 rng(3);
        std::uniform_real_distribution<double> u(0, 1);
        QVector<RecallRecord> records;
        for (int i = 0; i < 20000; ++i) {
            const double r = 0.02 + 0.96 * u(rng);
            const double guess = i % 2 ? 0.25 : 0;
            const double recall = 1 / (1 + std::exp(-(1.5 * std::log(r / (1 - r)) - 0.5)));
            records.append({r, guess, u(rng) < guess + (1 - guess) * recall});
        }
        Parameters p = Parameters::defaults();
        calibrate(records, p);
        QVERIFY2(std::abs(p.slope - 1.5) < 0.1, qPrintable(QString::number(p.slope)));
        QVERIFY2(std::abs(p.shift + 0.5) < 0.1, qPrintable(QString::number(p.shift)));
        // A handful of answers moves it little.
        Parameters few = Parameters::defaults();
        calibrate(records.mid(0, 5), few);
        QVERIFY(std::abs(few.slope - 1) < 0.3 && std::abs(few.shift) < 0.5);
    }

    void fittingLowersTheLossOfAHistoryFromOtherWeights()
    {
        const Parameters truth = otherWeights();
        const QVector<Attempt> history = drawHistory(MemoryModel(truth), 400, 6000, 7);
        const double atDefaults = logLoss(history, Parameters::defaults());
        const double atTruth = logLoss(history, truth);
        const Parameters fitted = fit(history, Parameters::defaults());
        const double atFit = logLoss(history, fitted);
        qInfo("log loss: defaults %.4f, fitted %.4f, true weights %.4f", atDefaults, atFit, atTruth);
        QVERIFY(atFit < atDefaults - 0.02);
        QVERIFY(atFit < atTruth + 0.01);
        QCOMPARE(fitted.w.size(), 20);
        QCOMPARE(fitted.clamped().w, fitted.w);
    }

    void fittingAVeryLongHistoryStaysWithinItsTime()
    {
        const QVector<Attempt> history = drawHistory(MemoryModel(otherWeights()), 20000, 200000, 11);
        // Processor time, so that a busy machine does not fail the test.
        const std::clock_t started = std::clock();
        const Parameters fitted = fit(history, Parameters::defaults());
        const double seconds = double(std::clock() - started) / CLOCKS_PER_SEC;
        qInfo("fitted 200000 answers in %.2f s of processor time", seconds);
        QVERIFY(seconds < 2);
        QVERIFY(logLoss(history, fitted) < logLoss(history, Parameters::defaults()) - 0.01);
    }

    void aLearnerIsFittedAtAThousandAnswersAndAgainWhenTheHistoryDoubles()
    {
        LearnerPredictor learner;
        const QVector<Attempt> history = drawHistory(MemoryModel(), 300, 2100, 5);
        for (int i = 0; i < history.size(); ++i) {
            const Attempt &a = history[i];
            const double before = learner.chanceRight(a.question, a.day, a.guess);
            QVERIFY(before >= a.guess && before <= 1);
            learner.record(a.question, a.day, a.correct, a.guess);
            if (i + 1 == 999)
                QCOMPARE(learner.fits(), 0);
            if (i + 1 == 1000)
                QCOMPARE(learner.fits(), 1);
            if (i + 1 == 1999)
                QCOMPARE(learner.fits(), 1);
        }
        QCOMPARE(learner.fits(), 2);
        QCOMPARE(learner.answers(), 2100);
    }

    void aNewQuestionGetsTheLearnersFirstAttemptRate()
    {
        LearnerPredictor learner;
        QCOMPARE(learner.chanceRight("a", 1, 0.25), 0.25 + 0.75 * UnseenPrior::kStartRate);
        for (int i = 0; i < 30; ++i)
            learner.record(QString::number(i), 1, true, 0);
        QVERIFY(learner.chanceRight("new", 2, 0) > 0.85);
        // The same question later in the day goes by the learner's record of such tries.
        learner.record("x", 3, false, 0);
        const double sameDay = learner.chanceRight("x", 3, 0);
        QVERIFY(sameDay > 0.5 && sameDay < 0.8);
    }

    void replayLinesAreReadStrictly()
    {
        auto read = [](const QByteArray &text) {
            QByteArray data = text;
            QBuffer in(&data);
            in.open(QIODevice::ReadOnly);
            return readReplay(in);
        };
        const ReplayInput good = read("learner,question,day,correct,type,options\nA,q1,5,1,11,4\n\nA,q1,7,0,14,5\n");
        QVERIFY2(good.error.isEmpty(), qPrintable(good.error));
        QCOMPARE(good.lines.size(), 2);
        QCOMPARE(good.lines[1].day, 7.0);
        QVERIFY(!good.lines[1].correct);
        QCOMPARE(good.lines[1].type, 14);
        QCOMPARE(good.lines[1].options, 5);
        QCOMPARE(read("A,q1,5,1,11\n").error, QString("line 1: expected 6 fields (learner,question,day,correct,type,options), found 5"));
        QCOMPARE(read("A,q1,5,1,11,4\nA,q1,x,1,11,4\n").error, QString("line 2: day \"x\" is not a number"));
        QCOMPARE(read("A,q1,5,yes,11,4\n").error, QString("line 1: correct must be 0 or 1, found \"yes\""));
        QCOMPARE(read("A,q1,5,1,11,4\nA,q2,4,1,11,4\n").error, QString("line 2: day 4 comes before the learner's earlier day 5"));
        QVERIFY(read("A,,5,1,11,4\n").error.startsWith("line 1: learner and question"));
        QVERIFY(read("A,q1,5,1,11,-1\n").error.startsWith("line 1: type and options"));
        // Another learner may start earlier.
        QVERIFY(read("A,q1,5,1,11,4\nB,q1,2,1,11,4\n").error.isEmpty());
    }

    void replayGivesEachLineItsChanceBeforeItFromItsLearnerOnly()
    {
        const QVector<ReplayLine> a{{"A", "q1", 1, true, 11, 4}, {"A", "q2", 1, false, 65, 0}, {"A", "q1", 4, true, 11, 4}};
        const QVector<ReplayLine> b{{"B", "q1", 2, false, 41, 2}, {"B", "q1", 9, false, 41, 2}};
        const QVector<double> alone = replay(a + b);
        QCOMPARE(alone.size(), 5);
        QCOMPARE(alone[0], 0.25 + 0.75 * UnseenPrior::kStartRate);
        // Interleaving learners changes nothing: each is predicted from its own lines.
        const QVector<double> mixed = replay({a[0], b[0], a[1], b[1], a[2]});
        QCOMPARE(mixed[0], alone[0]);
        QCOMPARE(mixed[1], alone[3]);
        QCOMPARE(mixed[2], alone[1]);
        QCOMPARE(mixed[3], alone[4]);
        QCOMPARE(mixed[4], alone[2]);
        // A line's own answer does not reach its chance, only later ones.
        QVector<ReplayLine> flipped = a;
        flipped[2].correct = false;
        QCOMPARE(replay(flipped)[2], alone[2]);
        flipped[0].correct = false;
        QVERIFY(replay(flipped)[2] < alone[2]);
    }
};

QTEST_GUILESS_MAIN(TestMemoryModel)
#include "test_memory_model.moc"
