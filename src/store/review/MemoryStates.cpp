#include "MemoryStates.h"

#include "Clock.h"
#include "Connection.h"
#include "Error.h"
#include "ReviewSettings.h"
#include "SqlBatch.h"

#include <QDate>
#include <QVector>

namespace store::review {

namespace {

const char *const kTables[] = {
    // One row per counted answer, written in the marking's transaction.
    // place: practice, points, review or exam (then paper names its tab_exam<k>);
    // predicted: the chance the model gave before the answer, null for a first answer.
    "CREATE TABLE IF NOT EXISTS ql_answer_history (id INTEGER PRIMARY KEY, at TEXT NOT NULL, question TEXT NOT NULL,"
    " answer TEXT, correct INTEGER NOT NULL, place TEXT NOT NULL, paper TEXT, seconds INTEGER,"
    " first INTEGER NOT NULL DEFAULT 0, predicted REAL)",
    // What was reviewed on a day, for the day's plan.
    "CREATE INDEX IF NOT EXISTS ix_history_review ON ql_answer_history (at) WHERE place = 'review'",
    // due_day: the day number on which the chance falls below the target retention.
    "CREATE TABLE IF NOT EXISTS ql_memory (question TEXT NOT NULL PRIMARY KEY, stability REAL NOT NULL,"
    " difficulty REAL NOT NULL, last_review REAL NOT NULL, reviews INTEGER NOT NULL, last_correct INTEGER NOT NULL,"
    " due_day REAL NOT NULL, first_correct INTEGER)",
    // Covers the due count: no row of the table is read.
    "CREATE INDEX IF NOT EXISTS ix_memory_due ON ql_memory (due_day, last_review)",
    // The report's prediction of a paper drawn that day, one per subject and day.
    "CREATE TABLE IF NOT EXISTS ql_prediction (subject INTEGER NOT NULL, day TEXT NOT NULL, score REAL NOT NULL,"
    " low REAL NOT NULL, high REAL NOT NULL, pass_chance REAL NOT NULL, full_marks REAL NOT NULL,"
    " PRIMARY KEY (subject, day))",
};

const char *const kSaveState =
    "INSERT INTO ql_memory (question, stability, difficulty, last_review, reviews, last_correct, due_day, first_correct)"
    " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) ON CONFLICT(question) DO UPDATE SET stability=excluded.stability,"
    " difficulty=excluded.difficulty, last_review=excluded.last_review, reviews=excluded.reviews,"
    " last_correct=excluded.last_correct, due_day=excluded.due_day,"
    " first_correct=coalesce(ql_memory.first_correct, excluded.first_correct)";

// firstCorrect: how the question's first answer ever went (-1: not known here).
void bindState(SqlBatch &save, const QString &question, const MemoryState &s, double due, int firstCorrect = -1)
{
    save.bind(1, question);
    save.bind(2, s.stability);
    save.bind(3, s.difficulty);
    save.bind(4, s.lastReview);
    save.bind(5, s.reviews);
    save.bind(6, s.lastCorrect ? 1 : 0);
    save.bind(7, due);
    if (firstCorrect < 0)
        save.bindNull(8);
    else
        save.bind(8, firstCorrect);
    save.run();
}

} // namespace

void createReviewTables(Connection &c)
{
    for (const char *sql : kTables)
        c.execute(QString::fromUtf8(sql));
    seedFromOldProgress(c);
}

double guessOf(int type, int options) { return guessRate(type, options); }

int seedFromOldProgress(Connection &c)
{
    const MemoryModel &model = modelOf(c);
    const double target = targetRetention(c);
    const double today = dayNumber(store::today());
    SqlBatch read(c, "SELECT a.A1, a.E3, a.E2 = a.A2, a.E1, a.A13, a.A2_1 FROM tab_answ a"
                     " WHERE a.E2 <> '' AND a.E2 <> 'zero' AND a.F1 <> 1"
                     " AND NOT EXISTS (SELECT 1 FROM ql_memory m WHERE m.question = a.A1)");
    SqlBatch save(c, kSaveState);
    int written = 0;
    while (read.next()) {
        const QDate day = QDate::fromString(read.text(3), Qt::ISODate);
        const MemoryState s =
            model.fromOldProgress(qMax(1, read.integer(1)), read.integer(2) != 0, day.isValid() ? dayNumber(day) : today);
        bindState(save, read.text(0), s, model.dueDay(s, target, guessOf(read.integer(4), read.integer(5))));
        ++written;
    }
    return written;
}

MemoryState stateAt(const SqlBatch &row, int first)
{
    MemoryState s;
    s.stability = row.real(first);
    s.difficulty = row.real(first + 1);
    s.lastReview = row.real(first + 2);
    s.reviews = row.integer(first + 3);
    s.lastCorrect = row.integer(first + 4) != 0;
    return s;
}

StoredState loadState(Connection &c, const QString &question)
{
    SqlBatch read(c, "SELECT stability, difficulty, last_review, reviews, last_correct FROM ql_memory WHERE question = ?1");
    read.bind(1, question);
    StoredState stored;
    if (!read.next())
        return stored;
    stored.found = true;
    stored.state = stateAt(read, 0);
    return stored;
}

void forgetState(Connection &c, const QString &question)
{
    SqlBatch forget(c, "DELETE FROM ql_memory WHERE question = ?1");
    forget.bind(1, question);
    forget.run();
}

void saveState(Connection &c, const QString &question, const MemoryState &state, double guess, int firstCorrect)
{
    SqlBatch save(c, kSaveState);
    bindState(save, question, state, modelOf(c).dueDay(state, targetRetention(c), guess), firstCorrect);
}

void recomputeDueDays(Connection &c)
{
    const MemoryModel &model = modelOf(c);
    const double target = targetRetention(c);
    struct Due {
        QString question;
        double day;
    };
    QVector<Due> days;
    {
        SqlBatch read(c, "SELECT m.question, m.stability, m.difficulty, m.last_review, m.reviews, m.last_correct,"
                         " coalesce(a.A13, 0), coalesce(a.A2_1, 0) FROM ql_memory m"
                         " LEFT JOIN tab_answ a ON a.A1 = m.question");
        while (read.next())
            days.append({read.text(0), model.dueDay(stateAt(read, 1), target, guessOf(read.integer(6), read.integer(7)))});
    }
    SqlBatch save(c, "UPDATE ql_memory SET due_day = ?2 WHERE question = ?1");
    for (const Due &due : days) {
        save.bind(1, due.question);
        save.bind(2, due.day);
        save.run();
    }
}

} // namespace store::review
