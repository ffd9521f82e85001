#include "PaperForecast.h"

#include <QtTest>

#include <cmath>

using namespace store::review;

class TestPaperForecast : public QObject {
    Q_OBJECT

private slots:
    void aSmallPaperWorkedByHand()
    {
        // Two 1-mark questions at 1/2 and one 2-mark question at 0.8: scores 0..4 with chances
        // 0.05, 0.10, 0.25, 0.40, 0.20.
        const QVector<MarkGroup> paper{{2, 1, 0.5}, {1, 2, 0.8}};
        QCOMPARE(passMarkOf(paper), 2.4);
        const ScoreForecast f = forecastScore(paper, passMarkOf(paper));
        QCOMPARE(f.fullMarks, 4.0);
        QVERIFY(std::abs(f.mean - 2.6) < 1e-12);
        QVERIFY(std::abs(f.passChance - 0.6) < 1e-12);
        QCOMPARE(f.low, 1.0);
        QCOMPARE(f.high, 4.0);
        QVERIFY(std::abs(forecastScore(paper, 2).passChance - 0.85) < 1e-12);
    }

    void halfMarksAndALargePaper()
    {
        // 60 single choice at 1 mark, 20 multiple choice at 2, 4 cases at 2.5: the normal
        // approximation of the sum puts mean and spread where the exact sum does.
        const QVector<MarkGroup> paper{{60, 1, 0.7}, {20, 2, 0.4}, {4, 2.5, 0.5}};
        const ScoreForecast f = forecastScore(paper, passMarkOf(paper));
        QCOMPARE(f.fullMarks, 110.0);
        QVERIFY(std::abs(f.mean - (42 + 16 + 5)) < 1e-9);
        const double sd = std::sqrt(60 * 0.21 + 20 * 4 * 0.24 + 4 * 6.25 * 0.25);
        QVERIFY(std::abs((f.high - f.mean) - 1.2816 * sd) < 1.0);
        QVERIFY(std::abs((f.mean - f.low) - 1.2816 * sd) < 1.0);
        QVERIFY(std::abs(std::fmod(f.low * 2, 1.0)) < 1e-9);
        // Pass mark 66 is 3 above a mean of 63: about one spread and a half below.
        QVERIFY(f.passChance > 0.2 && f.passChance < 0.4);
    }

    void certainAndEmptyPapers()
    {
        const ScoreForecast sure = forecastScore({{10, 1, 1.0}}, 6);
        QCOMPARE(sure.mean, 10.0);
        QCOMPARE(sure.low, 10.0);
        QCOMPARE(sure.high, 10.0);
        QCOMPARE(sure.passChance, 1.0);
        const ScoreForecast none = forecastScore({{10, 1, 0.0}}, 6);
        QCOMPARE(none.high, 0.0);
        QCOMPARE(none.passChance, 0.0);
        const ScoreForecast empty = forecastScore({}, 0);
        QCOMPARE(empty.fullMarks, 0.0);
        QCOMPARE(empty.passChance, 1.0);
    }
};

QTEST_GUILESS_MAIN(TestPaperForecast)
#include "test_paper_forecast.moc"
