#include "QuestionStore.h"

#include "Connection.h"
#include "Dataset.h"
#include "Routines.h"
#include "SearchIndex.h"

#include <QSet>

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

// Sections and groups count the questions of their points: q is the sum over them.
void sumIntoCatalogue(store::Connection &connection, const QStringList &points)
{
    QSet<QString> entries;
    for (const QString &point : points)
        entries << point.left(6) << point.left(2);
    for (const QString &entry : std::as_const(entries))
        connection.execute(QStringLiteral("update tab_fgmc set q = (select ifnull(sum(q), 0) from tab_rule where "
                                          "substr(ftid, 1, length(tab_fgmc.id)) = tab_fgmc.id) where id = ?"),
                           store::Params::byPosition({entry}));
}

} // namespace

EntryResult addOwnQuestion(store::Connection &connection, const QString &chapterCode, const QuestionContent &content)
{
    store::Transaction transaction(connection);
    const int sequence = lastOwnSequence(connection) + 1;
    if (sequence > kLastSequence)
        return {QString(), true};
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
    connection.execute(QStringLiteral("update tab_kmmc set C3 = C3 + 1 where C1 in (?, ?, ?, ?)"),
                       store::Params::byPosition({chapterCode, chapterCode.left(4), chapterCode.left(2),
                                                  chapterCode.left(1)}));
    for (const QString &point : content.points)
        connection.execute(QStringLiteral("update tab_rule set q = q + 1 where ftid = ?"),
                           store::Params::byPosition({point}));
    sumIntoCatalogue(connection, content.points);
    search::reindexQuestions(connection, {id});
    transaction.commit();
    return {id, false};
}

void saveEdit(store::Dataset &question, store::Dataset &text, store::Dataset *stem, const QuestionContent &content,
              const QString &stemText)
{
    store::Connection &connection = *question.connection();
    QStringList touched = LinkedPoints(question);
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
        recountPoints(connection, touched);
        transaction.commit();
    } catch (...) {
        cancelEdits({&question, &text, stem});
        throw;
    }
}

void recountPoints(store::Connection &connection, const QStringList &points)
{
    for (const QString &point : points)
        connection.execute(QStringLiteral("update tab_rule set q = (select count(*) from tab_answ where ? in "
                                          "(K3, K4, K5, K6, K7, K8, K9, K10, K11, K12)) where ftid = ?"),
                           store::Params::byPosition({point, point}));
    sumIntoCatalogue(connection, points);
}

} // namespace authoring
