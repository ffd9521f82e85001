#include "Report.h"

#include "Connection.h"
#include "MemoryStates.h"
#include "PaperForecast.h"
#include "SqlBatch.h"

#include <QHash>
#include <algorithm>

namespace store::review {

namespace {

constexpr double kPassShare = 0.6;
constexpr int kPointColumns = 10;        // K3 … K12

// The learner's links of a question: K3 onward up to the first empty one.
QStringList pointsAt(const SqlBatch &row, int firstColumn)
{
    QStringList points;
    for (int i = 0; i < kPointColumns; ++i) {
        const QString p = row.text(firstColumn + i).trimmed();
        if (p.isEmpty())
            break;
        points << p;
    }
    return points;
}

const char *const kPointList = "a.K3, a.K4, a.K5, a.K6, a.K7, a.K8, a.K9, a.K10, a.K11, a.K12";

// Rows are only ever appended, so the highest id is their number (and costs one step).
int historyAnswers(Connection &c)
{
    return c.scalar(QStringLiteral("SELECT coalesce(max(id), 0) FROM ql_answer_history")).toInt();
}

struct Question {
    QString id, chapter;
    QStringList points;
    int subject = 0, type = 0;
    bool seen = false;
    double chance = 0;
    double weight = 0;
};

// Every question that is not voided with its chance now: from its memory state when
// answered, else from the prior built on the first answers of the others.
QVector<Question> questionsWithChances(Connection &c, const MemoryModel &model, double now, UnseenPrior &prior)
{
    QVector<Question> all;
    QVector<double> guesses;
    SqlBatch read(c, QByteArray("SELECT a.A1, a.A10, a.A13, a.A2_1, m.stability, m.difficulty, m.last_review,"
                                " m.reviews, m.last_correct, m.first_correct, ")
                         .append(kPointList)
                         .append(" FROM tab_answ a LEFT JOIN ql_memory m ON m.question = a.A1"
                                 " WHERE coalesce(a.F1, 0) <> 1")
                         .constData());
    while (read.next()) {
        Question q;
        q.id = read.text(0);
        q.chapter = read.text(1);
        q.subject = q.chapter.left(1).toInt();
        q.type = read.integer(2);
        q.points = pointsAt(read, 10);
        const double guess = guessOf(q.type, read.integer(3));
        if (!read.isNull(4) && read.integer(7) > 0) {
            q.chance = model.chanceRight(stateAt(read, 4), now, guess);
            q.seen = true;
        }
        if (!read.isNull(9))
            prior.addFirstAttempt(q.chapter, q.points, read.integer(9) != 0, guess);
        all.append(q);
        guesses.append(guess);
    }
    for (int i = 0; i < all.size(); ++i)
        if (!all[i].seen)
            all[i].chance = prior.chance(all[i].chapter, all[i].points, guesses[i]);
    return all;
}

QHash<QString, QString> namesOf(Connection &c, const char *sql)
{
    QHash<QString, QString> names;
    SqlBatch read(c, sql);
    while (read.next())
        names.insert(read.text(0), read.text(1).trimmed());
    return names;
}

// Per type of the subject's tab_tx: count and marks of a paper.
QHash<int, QPair<int, double>> paperTypes(Connection &c, int subject)
{
    QHash<int, QPair<int, double>> types;
    if (!c.tableExists(QStringLiteral("tab_tx%1").arg(subject)))
        return types;
    SqlBatch read(c, QByteArray("SELECT A1, B2, B3 FROM tab_tx").append(QByteArray::number(subject)).constData());
    while (read.next())
        types.insert(read.integer(0), {qMax(0, read.integer(1)), qMax(0.0, read.real(2))});
    return types;
}

QVector<WeakSpot> weakest(QHash<QString, WeakSpot> spots, const QHash<QString, QVector<const Question *>> &members)
{
    QVector<WeakSpot> list;
    for (auto it = spots.begin(); it != spots.end(); ++it) {
        WeakSpot &spot = it.value();
        if (spot.weight <= 0)
            continue;
        spot.mastery /= spot.weight; // summed weight × chance until here
        list.append(spot);
    }
    std::sort(list.begin(), list.end(), [](const WeakSpot &a, const WeakSpot &b) {
        return a.lost() != b.lost() ? a.lost() > b.lost() : a.code < b.code;
    });
    if (list.size() > kWeakSpots)
        list.resize(kWeakSpots);
    // Only the ones shown get their questions, weakest first, for their practice runs.
    for (WeakSpot &spot : list) {
        QVector<const Question *> qs = members.value(spot.code);
        std::sort(qs.begin(), qs.end(), [](const Question *a, const Question *b) {
            return a->chance != b->chance ? a->chance < b->chance : a->id < b->id;
        });
        for (const Question *q : qs)
            spot.questions << q->id;
    }
    return list;
}

void addTo(QHash<QString, WeakSpot> &spots, QHash<QString, QVector<const Question *>> &members, const QString &code,
           const QString &name, const Question &q)
{
    WeakSpot &spot = spots[code];
    spot.code = code;
    spot.name = name;
    spot.weight += q.weight;
    spot.mastery += q.weight * q.chance;
    members[code].append(&q);
}

Honesty honestyOf(Connection &c, const UnseenPrior &prior)
{
    Honesty h;
    SqlBatch read(c, QByteArray("SELECT h.correct, h.predicted, a.A10, a.A13, a.A2_1, ")
                         .append(kPointList)
                         .append(" FROM ql_answer_history h LEFT JOIN tab_answ a ON a.A1 = h.question"
                                 " ORDER BY h.id DESC LIMIT ")
                         .append(QByteArray::number(kHonestyAnswers))
                         .constData());
    double predicted = 0, right = 0;
    while (read.next()) {
        right += read.integer(0);
        predicted += read.isNull(1) ? prior.chance(read.text(2), pointsAt(read, 5), guessOf(read.integer(3), read.integer(4)))
                                    : read.real(1);
        ++h.answers;
    }
    if (h.answers > 0) {
        h.meanPredicted = predicted / h.answers;
        h.shareRight = right / h.answers;
    }
    return h;
}

// The answers the forgetting curve speaks for (the question last answered a day or more
// before), with R under these parameters, the latest ones last.
QVector<RecallRecord> recallRecords(const QVector<Attempt> &history, const Parameters &p)
{
    constexpr int kLatest = 4000;
    const MemoryModel model(p);
    QHash<QString, MemoryState> states;
    QVector<RecallRecord> records;
    for (const Attempt &a : history) {
        MemoryState &s = states[a.question];
        if (s.seen() && a.day - s.lastReview >= 1)
            records.append({model.retrievability(s, a.day), a.guess, a.correct});
        s = model.afterAnswer(s, a.day, a.correct, a.guess);
    }
    return records.mid(qMax(0, int(records.size()) - kLatest));
}

} // namespace

SubjectPrediction predictPaper(const QVector<PaperType> &types)
{
    SubjectPrediction p;
    QVector<MarkGroup> groups;
    for (const PaperType &t : types) {
        p.fullMarks += t.count * t.marks;
        // A pool smaller than the paper's count gives all it has.
        const int drawn = qMin(t.count, int(t.chances.size()));
        if (drawn == 0)
            continue;
        double sum = 0;
        for (double chance : t.chances)
            sum += chance;
        groups.append({drawn, t.marks, sum / t.chances.size()});
    }
    const ScoreForecast f = forecastScore(groups, kPassShare * p.fullMarks);
    p.score = f.mean;
    p.low = f.low;
    p.high = f.high;
    p.passChance = p.fullMarks > 0 ? f.passChance : 0;
    return p;
}

Report buildReport(Connection &c, const QDateTime &at)
{
    Report report;
    report.at = at;
    const MemoryModel &model = modelOf(c);
    report.parameters = model.parameters();
    report.fit = lastFit(c);
    report.target = targetRetention(c);
    report.historyAnswers = historyAnswers(c);

    UnseenPrior prior;
    QVector<Question> questions = questionsWithChances(c, model, dayNumber(at), prior);
    const QHash<QString, QString> chapterNames = namesOf(c, "SELECT C1, C2 FROM tab_kmmc");
    const QHash<QString, QString> pointNames = namesOf(c, "SELECT ftid, sn FROM tab_rule");

    for (int subject = 1; subject <= 5; ++subject) {
        const QHash<int, QPair<int, double>> types = paperTypes(c, subject);
        QHash<int, QVector<Question *>> pools;
        for (Question &q : questions)
            if (q.subject == subject && types.contains(q.type))
                pools[q.type].append(&q);
        QVector<PaperType> paper;
        int seen = 0, total = 0;
        QList<int> codes = types.keys();
        std::sort(codes.begin(), codes.end());
        for (int code : codes) {
            PaperType t{types[code].first, types[code].second, {}};
            const QVector<Question *> &pool = pools[code];
            for (Question *q : pool) {
                t.chances << q->chance;
                seen += q->seen ? 1 : 0;
                q->weight = pool.isEmpty() ? 0 : double(qMin(t.count, int(pool.size()))) * t.marks / pool.size();
            }
            total += int(pool.size());
            paper << t;
        }
        SubjectPrediction p = predictPaper(paper);
        p.subject = subject;
        p.name = chapterNames.value(QString::number(subject));
        p.questions = total;
        p.answered = seen;
        report.subjects << p;
    }

    QHash<QString, WeakSpot> chapters, points;
    QHash<QString, QVector<const Question *>> chapterMembers, pointMembers;
    for (const Question &q : questions) {
        if (q.weight <= 0)
            continue;
        addTo(chapters, chapterMembers, q.chapter, chapterNames.value(q.chapter, q.chapter), q);
        for (const QString &point : q.points)
            addTo(points, pointMembers, point, pointNames.value(point, point), q);
    }
    report.chapters = weakest(chapters, chapterMembers);
    report.points = weakest(points, pointMembers);
    report.honesty = honestyOf(c, prior);
    loadTrend(c, report);
    return report;
}

void storePredictions(Connection &c, Report &report)
{
    Transaction t(c);
    SqlBatch save(c, "INSERT INTO ql_prediction (subject, day, score, low, high, pass_chance, full_marks)"
                     " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT(subject, day) DO UPDATE SET"
                     " score=excluded.score, low=excluded.low, high=excluded.high, pass_chance=excluded.pass_chance,"
                     " full_marks=excluded.full_marks");
    for (const SubjectPrediction &p : report.subjects) {
        save.bind(1, p.subject);
        save.bind(2, report.at.date().toString(Qt::ISODate));
        save.bind(3, p.score);
        save.bind(4, p.low);
        save.bind(5, p.high);
        save.bind(6, p.passChance);
        save.bind(7, p.fullMarks);
        save.run();
    }
    t.commit();
    loadTrend(c, report);
}

void loadTrend(Connection &c, Report &report)
{
    report.trend.clear();
    SqlBatch read(c, "SELECT subject, day, score, full_marks FROM ql_prediction ORDER BY day, subject");
    while (read.next())
        report.trend.append({read.integer(0), QDate::fromString(read.text(1), Qt::ISODate), read.real(2), read.real(3)});
}

bool fitIfStale(Connection &c, const QDateTime &at)
{
    const int answers = historyAnswers(c);
    if (answers < kMinAnswersToFit)
        return false;
    const FitRecord last = lastFit(c);
    if (last.fittedAt.isValid() && answers < last.answers * 1.2 && last.fittedAt.daysTo(at) < 7)
        return false;
    QVector<Attempt> history;
    history.reserve(answers);
    SqlBatch read(c, "SELECT h.question, julianday(h.at) - 2440587.5, h.correct, coalesce(a.A13, 0),"
                     " coalesce(a.A2_1, 0) FROM ql_answer_history h LEFT JOIN tab_answ a ON a.A1 = h.question"
                     " ORDER BY h.id");
    while (read.next())
        history.append({read.text(0), read.real(1), read.integer(2) != 0, guessOf(read.integer(3), read.integer(4))});
    const Parameters start = modelOf(c).parameters();
    Parameters fitted = fit(history, start);
    calibrate(recallRecords(history, fitted), fitted);
    FitRecord record;
    record.fittedAt = at;
    record.answers = answers;
    record.logLossBefore = logLoss(history, Parameters::defaults());
    record.logLossAfter = logLoss(history, fitted);
    saveFit(c, fitted, record);
    return true;
}

} // namespace store::review
