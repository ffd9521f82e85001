#include "ImportBatches.h"

#include "Backups.h"
#include "Connection.h"
#include "LinkCounts.h"
#include "QuestionBody.h"
#include "QuestionStore.h"
#include "SearchIndex.h"

#include <QFileInfo>

namespace importing {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

authoring::QuestionContent contentOf(const ImportPlan &plan, int index)
{
    const formats::import::RecognizedQuestion &question = plan.items().at(index).question;
    const authoring::QuestionType &type = *plan.typeOf(index);
    authoring::QuestionContent content;
    content.type = type.code;
    content.options = plan.optionCount(index);
    content.key = authoring::checkKey(type, content.options, question.key).key;
    content.body = bodyRtf(question);
    content.explanation = explanationRtf(question);
    return content;
}

// Ancestors the answer counters hit: every prefix of the chapter code.
QVariantList allPrefixes(const QString &chapter)
{
    QVariantList prefixes;
    for (int length = 1; length <= chapter.size(); ++length)
        prefixes << chapter.left(length);
    return prefixes;
}

QString placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("(") + marks.join(QLatin1Char(',')) + QStringLiteral(")");
}

QVariantList distinctPrefixes(const QStringList &points, int length)
{
    QVariantList prefixes;
    for (const QString &point : points)
        if (!prefixes.contains(point.left(length)))
            prefixes << point.left(length);
    return prefixes;
}

struct StoredQuestion {
    QString id;
    QString chapter;
    int attempts = 0;
    int owed = 0; // E4
    QStringList points;
};

// Wrong answers are not kept per question; E3 and E4 tell them. A first wrong
// answer sets E4 to -3, every later wrong one takes 1 off and every right one
// adds 1 while E4 is below 0, so with E4 < 0: E4 = -2 - wrong + right, and
// right = E3 - wrong. A right answer given at E4 = 0 is not seen, so this is
// the least number of wrong answers that fits.
int wrongAnswersOf(const StoredQuestion &q)
{
    if (q.owed >= 0)
        return 0;
    return qBound(1, (q.attempts - 2 - q.owed) / 2, q.attempts);
}

void takeAnswersOut(store::Connection &connection, const StoredQuestion &q)
{
    const QVariant section = connection.scalar(QStringLiteral("select D2 - D1 from tab_kmmc where C1 = ?"),
                                               store::Params::byPosition({q.chapter}));
    // A section never keeps more wrong answers than answers.
    const int wrong = qBound(0, qMax(wrongAnswersOf(q), section.toInt() + q.attempts), q.attempts);
    const QVariantList prefixes = allPrefixes(q.chapter);
    connection.execute(QStringLiteral("update tab_kmmc set C4 = max(C4 - 1, 0), D1 = max(D1 - ?, 0), "
                                      "D2 = max(D2 - ?, 0) where C1 in ")
                           + placeholders(int(prefixes.size())),
                       store::Params::byPosition(QVariantList{q.attempts, wrong} + prefixes));
    if (q.points.isEmpty())
        return;
    const QString counters = QStringLiteral("q1 = max(q1 - 1, 0), q2 = max(q2 - ?, 0), q4 = max(q4 - ?, 0)");
    const QVariantList amounts{q.attempts, wrong};
    QVariantList points;
    for (const QString &p : q.points)
        points << p;
    connection.execute(QStringLiteral("update tab_rule set ") + counters + QStringLiteral(" where ftid in ")
                           + placeholders(int(points.size())),
                       store::Params::byPosition(amounts + points));
    for (const int length : {6, 2}) {
        const QVariantList entries = distinctPrefixes(q.points, length);
        connection.execute(QStringLiteral("update tab_fgmc set ") + counters + QStringLiteral(" where id in ")
                               + placeholders(int(entries.size())),
                           store::Params::byPosition(amounts + entries));
    }
}

QVector<StoredQuestion> questionsOf(store::Connection &connection, qint64 batch)
{
    QVector<StoredQuestion> questions;
    store::Statement rows(connection.handle(),
                          QStringLiteral("select a.A1, a.A10, a.E3, a.E4, a.K3, a.K4, a.K5, a.K6, a.K7, "
                                         "a.K8, a.K9, a.K10, a.K11, a.K12 from tab_answ a join ql_import_question i "
                                         "on i.A1 = a.A1 where i.batch = ?"),
                          store::Params::byPosition({batch}));
    while (rows.step()) {
        StoredQuestion q;
        q.id = rows.value(0).toString();
        q.chapter = rows.value(1).toString();
        q.attempts = rows.value(2).toInt();
        q.owed = rows.value(3).toInt();
        for (int k = 4; k < 14; ++k) {
            const QString point = rows.value(k).toString().trimmed();
            if (point.isEmpty())
                break;
            q.points << point;
        }
        questions << q;
    }
    return questions;
}

void removeQuestion(store::Connection &connection, const StoredQuestion &q)
{
    if (q.attempts > 0)
        takeAnswersOut(connection, q);
    connection.execute(QStringLiteral("delete from tab_answ where A1 = ?"), store::Params::byPosition({q.id}));
    connection.execute(QStringLiteral("delete from tab_exer where A1 = ?"), store::Params::byPosition({q.id}));
    search::removeQuestions(connection, {q.id});
    // The memory model forgets the question; its answers stay in the history, as the day log keeps its days.
    connection.execute(QStringLiteral("delete from ql_memory where question = ?"), store::Params::byPosition({q.id}));
    authoring::countInChapters(connection, q.chapter, -1);
    if (!q.points.isEmpty())
        store::recountLinks(connection, q.points);
}

} // namespace

ImportOutcome importPlan(store::Connection &connection, const ImportPlan &plan, const QString &fileName,
                         const QString &backupFolder, const QDateTime &now)
{
    QVector<int> chosen;
    for (int i = 0; i < plan.items().size(); ++i)
        if (plan.willImport(i))
            chosen << i;
    if (chosen.isEmpty())
        throw ImportRefused(QStringLiteral("没有可以导入的题目。"));
    const int first = authoring::lastOwnSequence(connection) + 1;
    if (first + chosen.size() - 1 > authoring::kLastSequence)
        throw ImportRefused(QStringLiteral("最多只能录入9999道题！题库还能再加入 %1 道题，这次要导入 %2 道。")
                                .arg(qMax(0, authoring::kLastSequence - first + 1))
                                .arg(chosen.size()));
    backup::makeBackup(connection, backupFolder, backup::Kind::BeforeImport, now);
    ImportOutcome outcome;
    store::Transaction transaction(connection);
    connection.execute(QStringLiteral("insert into ql_import_batch (file, made, section) values (?, ?, ?)"),
                       store::Params::byPosition({QFileInfo(fileName).fileName(), now.toString(kTimeFormat),
                                                  plan.target().section}));
    outcome.batch = connection.lastInsertRowId();
    int sequence = first;
    for (const int index : std::as_const(chosen)) {
        const QString &chapter = plan.items().at(index).chapter;
        const QString id = authoring::insertOwnQuestion(connection, chapter, contentOf(plan, index), sequence++);
        connection.execute(QStringLiteral("insert into ql_import_question (A1, batch) values (?, ?)"),
                           store::Params::byPosition({id, outcome.batch}));
        outcome.ids << id;
        ++outcome.perSection[chapter];
    }
    transaction.commit();
    return outcome;
}

QString outcomeText(const ImportOutcome &outcome, const ImportTarget &target)
{
    QStringList places;
    for (auto it = outcome.perSection.constBegin(); it != outcome.perSection.constEnd(); ++it)
        places << QStringLiteral("[%1 %2] %3 道").arg(it.key(), target.sectionNames.value(it.key())).arg(it.value());
    if (places.size() == 1)
        return QStringLiteral("已导入 %1 道题到 [%2 %3]。")
            .arg(outcome.ids.size())
            .arg(outcome.perSection.firstKey(), target.sectionNames.value(outcome.perSection.firstKey()));
    return QStringLiteral("已导入 %1 道题：%2。").arg(outcome.ids.size()).arg(places.join(QStringLiteral("，")));
}

QVector<BatchInfo> listBatches(store::Connection &connection)
{
    QVector<BatchInfo> batches;
    store::Statement rows(
        connection.handle(),
        QStringLiteral("select b.id, b.file, b.made, b.section, ifnull(k.C2, ''), "
                       "(select count(*) from ql_import_question i join tab_answ a on a.A1 = i.A1 where i.batch = b.id), "
                       "(select count(*) from ql_import_question i join tab_answ a on a.A1 = i.A1 where i.batch = b.id "
                       "and a.E3 > 0) from ql_import_batch b left join tab_kmmc k on k.C1 = b.section "
                       "order by b.made desc, b.id desc"),
        {});
    while (rows.step()) {
        BatchInfo b;
        b.id = rows.value(0).toLongLong();
        b.file = rows.value(1).toString();
        b.made = QDateTime::fromString(rows.value(2).toString(), kTimeFormat);
        b.section = rows.value(3).toString();
        b.sectionName = rows.value(4).toString().trimmed();
        b.questions = rows.value(5).toInt();
        b.answered = rows.value(6).toInt();
        batches << b;
    }
    return batches;
}

UndoOutcome undoBatch(store::Connection &connection, qint64 batch, const QString &backupFolder, const QDateTime &now)
{
    if (connection.scalar(QStringLiteral("select count(*) from ql_import_batch where id = ?"),
                          store::Params::byPosition({batch}))
            .toInt()
        == 0)
        throw ImportRefused(QStringLiteral("没有这一批导入的题目。"));
    backup::makeBackup(connection, backupFolder, backup::Kind::BeforeImport, now);
    UndoOutcome outcome;
    store::Transaction transaction(connection);
    for (const StoredQuestion &q : questionsOf(connection, batch)) {
        removeQuestion(connection, q);
        ++outcome.removed;
        outcome.answered += q.attempts > 0 ? 1 : 0;
    }
    connection.execute(QStringLiteral("delete from ql_import_question where batch = ?"),
                       store::Params::byPosition({batch}));
    connection.execute(QStringLiteral("delete from ql_import_batch where id = ?"), store::Params::byPosition({batch}));
    transaction.commit();
    return outcome;
}

} // namespace importing
