#include "ReviewBench.h"

#include "Connection.h"
#include "DataModule.h"
#include "Report.h"
#include "ReviewSettings.h"
#include "ReviewSummary.h"
#include "TFrmReport.h"

#include <QCoreApplication>

void fillReviewHistory(store::Connection &c, int rows)
{
    const double today = store::review::dayNumber(store::review::now().date());
    store::Transaction t(c);
    c.execute(QStringLiteral("DELETE FROM ql_memory"));
    c.execute(QStringLiteral("DELETE FROM ql_answer_history"));
    c.execute(QStringLiteral("INSERT INTO ql_memory (question, stability, difficulty, last_review, reviews, last_correct,"
                             " due_day, first_correct) SELECT A1, 1 + abs(random() % 60), 3 + abs(random() % 6),"
                             " %1 - abs(random() % 60), 1 + abs(random() % 5), abs(random() % 4) > 0, 0,"
                             " abs(random() % 3) > 0 FROM tab_answ")
                  .arg(today, 0, 'f', 1));
    const int questions = c.scalar(QStringLiteral("SELECT count(*) FROM tab_answ")).toInt();
    c.execute(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1 - 1)"
                             " INSERT INTO ql_answer_history (at, question, answer, correct, place, first, predicted)"
                             " SELECT datetime('now', '-120 days', '+' || (i * 50) || ' seconds'),"
                             " (SELECT A1 FROM tab_answ WHERE rowid = 1 + i % %2), 'A', abs(random() % 4) > 0,"
                             " 'practice', i < %2, CASE WHEN i < %2 THEN NULL ELSE 0.75 END FROM n")
                  .arg(rows)
                  .arg(questions));
    store::review::FitRecord fresh; // saving it also works out every due day
    fresh.fittedAt = store::review::now();
    fresh.answers = rows;
    store::review::saveFit(c, store::review::Parameters::defaults(), fresh);
    t.commit();
}

Measurement dueCountOnTheMenu(int runs)
{
    Measurement m = measure(QStringLiteral("review: due count for the menu card"), runs, [] { review::reviewSummary(); });
    m.target = 20;
    return m;
}

Measurement openingTheReport(int runs)
{
    Measurement m = measure(QStringLiteral("review: open the learner report (200,000 answers)"), runs, [] {
        TFrmReport report;
        report.show();
        QCoreApplication::processEvents();
    });
    m.target = 200;
    return m;
}

Measurement fittingTheModel()
{
    return measure(QStringLiteral("fit the model to the answer history"), 1, [] {
        store::review::FitRecord stale;
        store::review::saveFit(DataModule->ADOCn1, store::review::Parameters::defaults(), stale);
        store::review::fitIfStale(DataModule->ADOCn1, store::review::now());
    });
}
