#include "Compare.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <cstdio>

namespace {

struct SizeResult {
    QMap<QString, double> medians;
    QStringList order;
    double peakMegabytes = 0;
};

bool runAtSize(int questions, const QStringList &passOn, SizeResult &result)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("--questions"), QString::number(questions), QStringLiteral("--json")} +
                    passOn);
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return false;
    const QJsonObject root = QJsonDocument::fromJson(child.readAllStandardOutput()).object();
    for (const QJsonValue &v : root.value(QStringLiteral("actions")).toArray()) {
        const QJsonObject action = v.toObject();
        const QString name = action.value(QStringLiteral("action")).toString();
        result.order << name;
        result.medians.insert(name, action.value(QStringLiteral("median_ms")).toDouble());
    }
    result.peakMegabytes = root.value(QStringLiteral("peak_memory_mb")).toDouble();
    return true;
}

bool isStartUp(const QString &action) { return action.startsWith(QLatin1String("start-up")); }

} // namespace

int compareSizes(const QVector<int> &sizes, const QStringList &passOn)
{
    QVector<SizeResult> results(sizes.size());
    for (int i = 0; i < sizes.size(); ++i) {
        std::fprintf(stderr, "== %d questions\n", sizes.at(i));
        if (!runAtSize(sizes.at(i), passOn, results[i])) {
            std::fprintf(stderr, "the run at %d questions failed\n", sizes.at(i));
            return 2;
        }
    }
    const SizeResult &first = results.first(), &last = results.last();
    std::printf("%-44s %12s %12s %7s  %s\n", "action", qPrintable(QString::number(sizes.first())),
                qPrintable(QString::number(sizes.last())), "ratio", "target");
    bool allMet = true;
    for (const QString &action : first.order) {
        const double small = first.medians.value(action), large = last.medians.value(action, -1);
        const double ratio = small > 0 && large >= 0 ? large / small : -1;
        const double ratioLimit = isStartUp(action) ? 2.0 : 1.5;
        const double timeLimit = isStartUp(action) ? 150 : 16;
        const bool met = ratio >= 0 && ratio <= ratioLimit && small <= timeLimit;
        allMet = allMet && met;
        std::printf("%-44s %9.3f ms %9.3f ms %7.2f  ≤%.1f× and ≤%.0f ms at %d: %s\n", qPrintable(action), small,
                    large, ratio, ratioLimit, timeLimit, sizes.first(), met ? "ok" : "MISSED");
    }
    for (int i = 0; i < sizes.size(); ++i)
        std::printf("peak memory at %d questions: %.1f MB%s\n", sizes.at(i), results.at(i).peakMegabytes,
                    results.at(i).peakMegabytes <= 150 ? "" : " (over 150 MB)");
    return allMet ? 0 : 1;
}
