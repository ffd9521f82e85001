#include "ReportJson.h"

#include "Report.h"

#include <QJsonArray>

namespace store::review {

namespace {

QJsonArray spotsJson(const QVector<WeakSpot> &spots)
{
    QJsonArray list;
    for (const WeakSpot &s : spots)
        list.append(QJsonObject{{"code", s.code},
                                {"name", s.name},
                                {"paperWeight", s.weight},
                                {"mastery", s.mastery},
                                {"marksLost", s.lost()},
                                {"questions", int(s.questions.size())}});
    return list;
}

} // namespace

QJsonObject reportJson(const Report &report)
{
    QJsonArray subjects;
    for (const SubjectPrediction &p : report.subjects)
        subjects.append(QJsonObject{{"subject", p.subject},
                                    {"name", p.name},
                                    {"fullMarks", p.fullMarks},
                                    {"predictedScore", p.score},
                                    {"range80", QJsonArray{p.low, p.high}},
                                    {"passChance", p.passChance},
                                    {"questions", p.questions},
                                    {"answered", p.answered}});
    QJsonArray trend;
    for (const PredictionPoint &t : report.trend)
        trend.append(QJsonObject{{"subject", t.subject},
                                 {"day", t.day.toString(Qt::ISODate)},
                                 {"predictedScore", t.score},
                                 {"fullMarks", t.fullMarks}});
    QJsonArray weights;
    for (double w : report.parameters.w)
        weights.append(w);
    QJsonObject model{{"parameters", weights},
                      {"recallSlope", report.parameters.slope},
                      {"recallShift", report.parameters.shift},
                      {"fitted", report.fit.fittedAt.isValid()},
                      {"targetRetention", report.target},
                      {"historyAnswers", report.historyAnswers}};
    if (report.fit.fittedAt.isValid()) {
        model.insert("fittedAt", report.fit.fittedAt.toString(Qt::ISODate));
        model.insert("fittedOnAnswers", report.fit.answers);
        model.insert("logLossDefaults", report.fit.logLossBefore);
        model.insert("logLossFitted", report.fit.logLossAfter);
    }
    return QJsonObject{{"at", report.at.toString(Qt::ISODate)},
                       {"subjects", subjects},
                       {"trend", trend},
                       {"weakestChapters", spotsJson(report.chapters)},
                       {"weakestPoints", spotsJson(report.points)},
                       {"honesty", QJsonObject{{"answers", report.honesty.answers},
                                               {"meanPredicted", report.honesty.meanPredicted},
                                               {"shareRight", report.honesty.shareRight}}},
                       {"model", model}};
}

} // namespace store::review
