#include "ReviewSettings.h"

#include "Clock.h"
#include "Connection.h"
#include "Settings.h"

#include <QStringList>
#include <memory>

namespace store::review {

namespace {

const QString kTargetKey = QStringLiteral("review.target");
const QString kParametersKey = QStringLiteral("review.parameters");
const QString kFitKey = QStringLiteral("review.fit");

constexpr qint64 kEpochJulianDay = 2440588; // 1970-01-01

// The model of the bank last asked for, keyed by its connection and file.
struct CachedModel {
    const Connection *connection = nullptr;
    QString file;
    std::unique_ptr<MemoryModel> model;
};
CachedModel &cache()
{
    static CachedModel cached;
    return cached;
}

// The weights, then the recalibration's slope and shift.
Parameters storedParameters(Connection &c)
{
    const QStringList figures = settings::value(c, kParametersKey).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    Parameters p = Parameters::defaults();
    if (figures.size() != p.w.size() + 2)
        return p; // none stored yet, or from a model of another shape
    QVector<double> values;
    for (const QString &figure : figures) {
        bool ok = false;
        values << figure.toDouble(&ok);
        if (!ok)
            return Parameters::defaults();
    }
    p.w = values.mid(0, p.w.size());
    p.slope = values.at(p.w.size());
    p.shift = values.at(p.w.size() + 1);
    return p;
}

} // namespace

double dayNumber(const QDateTime &moment)
{
    const QTime t = moment.time();
    return double(moment.date().toJulianDay() - kEpochJulianDay) + t.msecsSinceStartOfDay() / 86400000.0;
}

double dayNumber(const QDate &day) { return double(day.toJulianDay() - kEpochJulianDay); }

QDateTime now() { return QDateTime(store::today(), QTime::currentTime()); }

double targetRetention(Connection &c)
{
    bool ok = false;
    const double target = settings::value(c, kTargetKey).toDouble(&ok);
    return ok ? qBound(kLowestTarget, target, kHighestTarget) : kDefaultTarget;
}

void setTargetRetention(Connection &c, double target)
{
    Transaction t(c);
    settings::setValue(c, kTargetKey, QString::number(qBound(kLowestTarget, target, kHighestTarget), 'f', 2));
    recomputeDueDays(c);
    t.commit();
}

FitRecord lastFit(Connection &c)
{
    const QStringList parts = settings::value(c, kFitKey).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    FitRecord record;
    if (parts.size() != 4)
        return record;
    record.fittedAt = QDateTime::fromString(parts.at(0), Qt::ISODate);
    record.answers = parts.at(1).toInt();
    record.logLossBefore = parts.at(2).toDouble();
    record.logLossAfter = parts.at(3).toDouble();
    return record;
}

const MemoryModel &modelOf(Connection &c)
{
    CachedModel &cached = cache();
    const QString file = Connection::dataSourceOf(c.connectionString());
    if (!cached.model || cached.connection != &c || cached.file != file) {
        cached.model = std::make_unique<MemoryModel>(storedParameters(c));
        cached.connection = &c;
        cached.file = file;
    }
    return *cached.model;
}

void saveFit(Connection &c, const Parameters &p, const FitRecord &record)
{
    QStringList figures;
    for (double w : p.w + QVector<double>{p.slope, p.shift})
        figures << QString::number(w, 'g', 10);
    Transaction t(c);
    settings::setValue(c, kParametersKey, figures.join(QLatin1Char(' ')));
    settings::setValue(c, kFitKey,
                       QStringLiteral("%1 %2 %3 %4")
                           .arg(record.fittedAt.toString(Qt::ISODate))
                           .arg(record.answers)
                           .arg(record.logLossBefore, 0, 'g', 10)
                           .arg(record.logLossAfter, 0, 'g', 10));
    cache().model.reset();
    recomputeDueDays(c);
    t.commit();
}

} // namespace store::review
