#include "ReplayScore.h"

#include <QtTest>

// Learners whose memory is not the model's (exponential forgetting, their own ability, the
// questions' difficulty, guessing) replayed through the model as the replay command does.
class TestMemorySimulator : public QObject {
    Q_OBJECT

private slots:
    void theModelBeatsRunningAccuraciesAndIsCalibrated()
    {
        learnersim::Config config;
        config.learners = 12;
        const QVector<learnersim::Answer> answers = learnersim::simulate(config);
        QVERIFY(answers.size() > 50000);
        const learnersim::Score s = learnersim::score(answers);
        qInfo().noquote() << learnersim::describe(s);

        QVERIFY(s.modelLoss < s.learnerRateLoss - 0.05);
        QVERIFY(s.modelLoss < s.questionRateLoss - 0.05);
        int checked = 0;
        for (int i = 0; i < s.bins.size(); ++i) {
            const learnersim::CalibrationBin &bin = s.bins[i];
            // Below a thousand answers a bin's share right is too noisy to hold to 3 points.
            if (bin.answers < 1000)
                continue;
            ++checked;
            QVERIFY2(std::abs(bin.predicted - bin.observed) <= 0.03,
                     qPrintable(QStringLiteral("tenth %1: given %2, right %3").arg(i).arg(bin.predicted).arg(bin.observed)));
        }
        QVERIFY(checked >= 9);
    }

    void theSimulationIsRepeatableAndSortedForReplay()
    {
        learnersim::Config config;
        config.learners = 3;
        config.days = 30;
        const QVector<learnersim::Answer> a = learnersim::simulate(config);
        const QVector<learnersim::Answer> b = learnersim::simulate(config);
        QCOMPARE(learnersim::toCsv(a), learnersim::toCsv(b));
        for (int i = 1; i < a.size(); ++i) {
            QVERIFY(a[i].learner > a[i - 1].learner || (a[i].learner == a[i - 1].learner && a[i].day >= a[i - 1].day));
        }
        const QStringList first = learnersim::toCsv(a).section('\n', 0, 0).split(',');
        QCOMPARE(first.size(), 6);
        QCOMPARE(first[0], QString("L1"));
    }
};

QTEST_GUILESS_MAIN(TestMemorySimulator)
#include "test_memory_simulator.moc"
