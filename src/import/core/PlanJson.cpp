#include "PlanJson.h"

#include "ImportPlan.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace importing {

QByteArray planJson(const ImportPlan &plan)
{
    QJsonArray questions;
    for (int i = 0; i < plan.items().size(); ++i) {
        const formats::import::RecognizedQuestion &q = plan.items().at(i).question;
        questions.append(QJsonObject{
            {QStringLiteral("line"), q.line},
            {QStringLiteral("type"), q.type},
            {QStringLiteral("stem"), q.stem},
            {QStringLiteral("options"), QJsonArray::fromStringList(q.options)},
            {QStringLiteral("key"), q.key},
            {QStringLiteral("explanation"), q.explanation},
            {QStringLiteral("problems"), QJsonArray::fromStringList(plan.problemsOf(i))},
        });
    }
    QJsonArray problems;
    for (const formats::import::RecognitionProblem &p : plan.unplaced())
        problems.append(QJsonObject{{QStringLiteral("line"), p.line}, {QStringLiteral("reason"), p.reason}});
    return QJsonDocument(QJsonObject{{QStringLiteral("questions"), questions}, {QStringLiteral("problems"), problems}})
        .toJson(QJsonDocument::Indented);
}

} // namespace importing
