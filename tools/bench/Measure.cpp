#include "Measure.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>

namespace {

double at(QVector<double> values, double share)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int index = qBound(0, int(share * (values.size() - 1) + 0.5), int(values.size() - 1));
    return values.at(index);
}

QString &actionFilter()
{
    static QString text;
    return text;
}

QString figure(double value) { return value < 0 ? QStringLiteral("-") : QString::number(value, 'f', 3); }

} // namespace

void setActionFilter(const QString &text) { actionFilter() = text; }

bool actionWanted(const QString &action) { return action.contains(actionFilter()) || action == QLatin1String("floor"); }

double Measurement::median() const { return at(runs, 0.5); }
double Measurement::percentile95() const { return at(runs, 0.95); }

bool Measurement::meetsTargets() const
{
    return (target < 0 || median() <= target) && (ratioTarget < 0 || ratio() <= ratioTarget);
}

Measurement measure(const QString &action, int runs, const std::function<void()> &body,
                    const std::function<void()> &prepare)
{
    Measurement m;
    m.action = action;
    if (!actionWanted(action))
        return m;
    std::fprintf(stderr, "%s …\n", qPrintable(action));
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer clock;
        clock.start();
        body();
        m.runs << clock.nsecsElapsed() / 1e6;
    }
    return m;
}

QString tableOf(const QVector<Measurement> &all, double peakMegabytes)
{
    QString out = QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                      .arg(QStringLiteral("action"), -44)
                      .arg(QStringLiteral("runs"), 5)
                      .arg(QStringLiteral("median ms"), 10)
                      .arg(QStringLiteral("p95 ms"), 10)
                      .arg(QStringLiteral("floor ms"), 10)
                      .arg(QStringLiteral("ratio"), 7)
                      .arg(QStringLiteral("target"), 14);
    for (const Measurement &m : all) {
        if (m.runs.isEmpty())
            continue;
        QString target;
        if (m.target >= 0)
            target += QStringLiteral("≤%1 ms").arg(m.target);
        if (m.ratioTarget >= 0)
            target += QStringLiteral(" ≤%1×").arg(m.ratioTarget);
        if (!target.isEmpty())
            target += m.meetsTargets() ? QStringLiteral(" ok") : QStringLiteral(" MISSED");
        out += QStringLiteral("%1 %2 %3 %4 %5 %6 %7\n")
                   .arg(m.action, -44)
                   .arg(m.runs.size(), 5)
                   .arg(figure(m.median()), 10)
                   .arg(figure(m.percentile95()), 10)
                   .arg(figure(m.floorMedian), 10)
                   .arg(m.floorMedian > 0 ? QString::number(m.ratio(), 'f', 2) : QStringLiteral("-"), 7)
                   .arg(target, 14);
    }
    out += QStringLiteral("peak memory: %1 MB (target ≤150 MB %2)\n")
               .arg(peakMegabytes, 0, 'f', 1)
               .arg(peakMegabytes <= 150 ? QStringLiteral("ok") : QStringLiteral("MISSED"));
    return out;
}

QString jsonOf(const QVector<Measurement> &all, double peakMegabytes)
{
    QJsonArray actions;
    for (const Measurement &m : all) {
        if (m.runs.isEmpty())
            continue;
        QJsonObject o{{"action", m.action},
                      {"runs", int(m.runs.size())},
                      {"median_ms", m.median()},
                      {"p95_ms", m.percentile95()},
                      {"meets_targets", m.meetsTargets()}};
        if (m.floorMedian > 0) {
            o["floor_median_ms"] = m.floorMedian;
            o["ratio"] = m.ratio();
        }
        if (m.target >= 0)
            o["target_ms"] = m.target;
        if (m.ratioTarget >= 0)
            o["ratio_target"] = m.ratioTarget;
        actions << o;
    }
    const QJsonObject root{{"actions", actions}, {"peak_memory_mb", peakMegabytes}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
}
