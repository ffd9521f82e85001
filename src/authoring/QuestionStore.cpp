#include "QuestionStore.h"

#include "Connection.h"
#include "Dataset.h"
#include "LinkCounts.h"
#include "SearchIndex.h"

namespace authoring {

namespace {

QVariant textOrNull(const QString &text) { return text.isNull() ? QVariant() : QVariant(text); }

void writeLinks(store::Dataset &question, const QStringList &points)
{
    const QStringList fields = linkFields(points);
    for (int i = 0; i < fields.size(); ++i)
        question.setValue(QStringLiteral("K%1").arg(i + 3), fields.at(i));
}

// Leaves a dataset that a failed save left half edited as it was.
void cancelEdits(std::initializer_list<store::Dataset *> datasets)
{
    for (store::Dataset *d : datasets)
        if (d && d->isOpen() && d->state() != store::Dataset::State::Browse)
            d->cancel();
}

} // namespace

EntryResult addOwnQuestion(store::Connection &connection, const QString &chapterCode, const QuestionContent &content)
{
    store::Transaction transaction(connection);
    const int sequence = lastOwnSequence(connection) + 1;
    if (sequence > kLastSequence)
        return {QString(), true};
    const QString id = insertOwnQuestion(connection, chapterCode, content, sequence);
    transaction.commit();
    return {id, false};
}

QString insertOwnQuestion(store::Connection &connection, const QString &chapterCode, const QuestionContent &content,
                          int sequence)
{
    const QString id = ownQuestionId(chapterCode, content.type, content.options, sequence);
    const QStringList links = linkFields(content.points);
    QVariantList values{id, content.key, content.options, chapterCode, content.type};
    for (const QString &link : links)
        values << link;
    connection.execute(QStringLiteral("insert into tab_answ (A1, A2, A2_1, A10, A13, K3, K4, K5, K6, K7, K8, K9, K10, "
                                      "K11, K12, A14, E2, E2_1, E3, E4, F1, xx, csbs, ecount) values (?, ?, ?, ?, ?, "
                                      "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '', '', '', 0, 0, 2, 0, '', 0)"),
                       store::Params::byPosition(values));
    connection.execute(QStringLiteral("insert into tab_exer (A1, A15, jx) values (?, ?, ?)"),
                       store::Params::byPosition({id, content.body, textOrNull(content.explanation)}));
    countInChapters(connection, chapterCode, 1);
    if (!content.points.isEmpty())
        store::recountLinks(connection, content.points);
    search::reindexQuestions(connection, {id});
    return id;
}

void countInChapters(store::Connection &connection, const QString &chapterCode, int change)
{
    connection.execute(QStringLiteral("update tab_kmmc set C3 = C3 + ? where C1 in (?, ?, ?, ?)"),
                       store::Params::byPosition({change, chapterCode, chapterCode.left(4), chapterCode.left(2),
                                                  chapterCode.left(1)}));
}

void saveEdit(store::Dataset &question, store::Dataset &text, store::Dataset *stem, const QuestionContent &content,
              const QString &stemText)
{
    store::Connection &connection = *question.connection();
    QStringList touched = filledLinks(question);
    try {
        store::Transaction transaction(connection);
        text.edit();
        text.setValue(QStringLiteral("A15"), content.body);
        text.setValue(QStringLiteral("jx"), textOrNull(content.explanation));
        text.post();
        question.edit();
        question.setValue(QStringLiteral("A2_1"), content.options);
        question.setValue(QStringLiteral("A2"), content.key);
        question.setValue(QStringLiteral("A13"), content.type);
        writeLinks(question, content.points);
        question.setValue(QStringLiteral("ecount"), question.fieldByName(QStringLiteral("ecount")).asInteger() + 1);
        question.post();
        const QString id = question.fieldByName(QStringLiteral("A1")).asString();
        if (stem && stem->isOpen() && !stem->isEmpty()) {
            stem->edit();
            stem->setValue(QStringLiteral("A15"), stemText);
            stem->post();
            search::reindexGroup(connection, stem->fieldByName(QStringLiteral("A1")).asString());
        }
        search::reindexQuestions(connection, {id});
        touched += content.points;
        if (!touched.isEmpty())
            store::recountLinks(connection, touched);
        transaction.commit();
    } catch (...) {
        cancelEdits({&question, &text, stem});
        throw;
    }
}

QStringList filledLinks(const store::Dataset &question)
{
    QStringList points;
    for (int k = 3; k <= 12; ++k) {
        const QString id = question.fieldByName(QStringLiteral("K%1").arg(k)).asString().trimmed();
        if (!id.isEmpty())
            points << id;
    }
    return points;
}

} // namespace authoring
