#include "Replay.h"
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

    void theBankToolReplaysAFileLineByLine()
    {
        learnersim::Config config;
        config.learners = 2;
        config.days = 40;
        const QVector<learnersim::Answer> answers = learnersim::simulate(config);
        QTemporaryDir dir;
        const QString csv = dir.filePath("answers.csv");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(learnersim::toCsv(answers).toUtf8());
        file.close();
        QProcess tool;
        tool.start(QStringLiteral(QUILLET_BANK_TOOL), {"replay", csv});
        QVERIFY(tool.waitForFinished(120000));
        QCOMPARE(tool.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), answers.size());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QVector<double> direct = store::review::replay(store::review::readReplay(file).lines);
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY(std::abs(lines[i].toDouble() - direct[i]) < 1e-6);

        QFile bad(dir.filePath("bad.csv"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("L1,q1,3,1,11,4\nL1,q2,three,1,11,4\n");
        bad.close();
        tool.start(QStringLiteral(QUILLET_BANK_TOOL), {"replay", bad.fileName()});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(tool.readAllStandardOutput().isEmpty());
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains("line 2: day \"three\" is not a number"));
        tool.start(QStringLiteral(QUILLET_BANK_TOOL), {"replay", dir.filePath("missing.csv")});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(QString::fromUtf8(tool.readAllStandardError()).contains("cannot read " + dir.filePath("missing.csv")));
    }
};

QTEST_GUILESS_MAIN(TestMemorySimulator)
#include "test_memory_simulator.moc"
