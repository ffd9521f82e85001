#include "AnswerHistory.h"

#include "MemoryStates.h"
#include "ReviewSettings.h"
#include "SqlBatch.h"

namespace store::review {

QString placeName(AnswerPlace place)
{
    switch (place) {
    case AnswerPlace::Practice:
        return QStringLiteral("practice");
    case AnswerPlace::PointPractice:
        return QStringLiteral("points");
    case AnswerPlace::Review:
        return QStringLiteral("review");
    case AnswerPlace::Exam:
        return QStringLiteral("exam");
    }
    return QString();
}

void recordAnswer(Connection &c, const AnsweredQuestion &answered, const QDateTime &at)
{
    const MemoryModel &model = modelOf(c);
    const double day = dayNumber(at);
    const double guess = guessOf(answered.type, answered.options);
    const StoredState before = loadState(c, answered.question);

    SqlBatch insert(c, "INSERT INTO ql_answer_history (at, question, answer, correct, place, paper, seconds, first,"
                       " predicted) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    insert.bind(1, at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    insert.bind(2, answered.question);
    insert.bind(3, answered.answer);
    insert.bind(4, answered.correct ? 1 : 0);
    insert.bind(5, placeName(answered.place));
    if (answered.paper.isEmpty())
        insert.bindNull(6);
    else
        insert.bind(6, answered.paper);
    if (answered.seconds < 0)
        insert.bindNull(7);
    else
        insert.bind(7, answered.seconds);
    insert.bind(8, answered.firstEver ? 1 : 0);
    if (before.found && before.state.seen())
        insert.bind(9, model.chanceRight(before.state, day, guess));
    else
        insert.bindNull(9);
    insert.run();

    saveState(c, answered.question, model.afterAnswer(before.state, day, answered.correct, guess), guess,
              answered.firstEver ? int(answered.correct) : -1);
}

} // namespace store::review
