#include "SearchIndex.h"

#include "Connection.h"
#include "Error.h"
#include "PlainText.h"
#include "Settings.h"

#include <QHash>
#include <sqlite3.h>

#include <atomic>

namespace search {

namespace {

// Bumped when the shape of the index rows changes, so that banks indexed by
// an older program are indexed again.
const QString kStateKey = QStringLiteral("search_index");
const QString kStateBuilt = QStringLiteral("1");
// Pending index data kept in memory before it is written out as a segment:
// the default 1 MB makes a large build merge segments over and over.
const int kBuildHashBytes = 32 * 1024 * 1024;
const int kDefaultHashBytes = 1024 * 1024;
const int kProgressStep = 2000;

std::atomic<quint64> g_generation{0};

QVariant orNull(const QString &s) { return s.isEmpty() ? QVariant() : QVariant(s); }

QString stemKeyOf(const QString &id) { return id.contains(QLatin1Char('-')) ? id.left(16) : QString(); }

QVariantList textParams(const RowTexts &t)
{
    return {orNull(t.title), orNull(t.body), orNull(t.stem), orNull(t.jx), orNull(t.note)};
}

RowTexts textsOfRow(store::Statement &st, int first)
{
    return {st.value(first).toString(), st.value(first + 1).toString(), st.value(first + 2).toString(),
            st.value(first + 3).toString(), st.value(first + 4).toString()};
}

// Index rows change only here: the full-text index must be told the old
// texts of a row before they are replaced or removed.
class RowWriter {
public:
    explicit RowWriter(store::Connection &c) : m_c(c) {}

    void put(Kind kind, const QString &ref, const RowTexts &texts)
    {
        qint64 id = 0;
        RowTexts old;
        if (find(kind, ref, &id, &old)) {
            if (old == texts)
                return;
            unindex(id, old);
            m_c.execute(QStringLiteral("update ql_search_text set title=?, body=?, stem=?, jx=?, note=? where id=?"),
                        store::Params::byPosition(textParams(texts) + QVariantList{id}));
        } else {
            m_c.execute(QStringLiteral("insert into ql_search_text (kind, ref, title, body, stem, jx, note) "
                                       "values (?, ?, ?, ?, ?, ?, ?)"),
                        store::Params::byPosition(QVariantList{int(kind), ref} + textParams(texts)));
            id = m_c.lastInsertRowId();
        }
        m_c.execute(QStringLiteral("insert into ql_search (rowid, title, body, stem, jx, note) values (?, ?, ?, ?, ?, ?)"),
                    store::Params::byPosition(QVariantList{id} + textParams(texts)));
        ++g_generation;
    }

    void remove(Kind kind, const QString &ref)
    {
        qint64 id = 0;
        RowTexts old;
        if (!find(kind, ref, &id, &old))
            return;
        unindex(id, old);
        m_c.execute(QStringLiteral("delete from ql_search_text where id=?"), store::Params::byPosition({id}));
        ++g_generation;
    }

private:
    bool find(Kind kind, const QString &ref, qint64 *id, RowTexts *texts)
    {
        store::Statement st(m_c.handle(),
                            QStringLiteral("select id, title, body, stem, jx, note from ql_search_text "
                                           "where kind=? and ref=?"),
                            store::Params::byPosition({int(kind), ref}));
        if (!st.step())
            return false;
        *id = st.value(0).toLongLong();
        *texts = textsOfRow(st, 1);
        return true;
    }

    void unindex(qint64 id, const RowTexts &old)
    {
        m_c.execute(QStringLiteral("insert into ql_search (ql_search, rowid, title, body, stem, jx, note) "
                                   "values ('delete', ?, ?, ?, ?, ?, ?)"),
                    store::Params::byPosition(QVariantList{id} + textParams(old)));
    }

    store::Connection &m_c;
};

// The build's one insert, prepared once for every row.
class RowInsert {
public:
    explicit RowInsert(sqlite3 *db) : m_db(db)
    {
        const char sql[] = "insert into ql_search_text (kind, ref, title, body, stem, jx, note) values (?, ?, ?, ?, ?, ?, ?)";
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            fail();
    }
    ~RowInsert() { sqlite3_finalize(m_stmt); }
    RowInsert(const RowInsert &) = delete;
    RowInsert &operator=(const RowInsert &) = delete;

    void run(Kind kind, const QString &ref, const RowTexts &t)
    {
        sqlite3_bind_int(m_stmt, 1, int(kind));
        bindText(2, ref);
        int i = 3;
        for (const QString *text : {&t.title, &t.body, &t.stem, &t.jx, &t.note})
            bindText(i++, *text);
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        if (rc != SQLITE_DONE)
            fail();
    }

private:
    void bindText(int index, const QString &text)
    {
        if (text.isEmpty()) {
            sqlite3_bind_null(m_stmt, index);
            return;
        }
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    [[noreturn]] void fail()
    {
        const int rc = sqlite3_extended_errcode(m_db);
        throw store::Error(QString::fromUtf8(sqlite3_errmsg(m_db)), store::conditionOfResult(rc));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// Stems are shared by a group's questions; each is converted once.
class StemTexts {
public:
    explicit StemTexts(store::Connection &c) : m_c(c) {}

    QString of(const QString &questionId)
    {
        const QString key = stemKeyOf(questionId);
        if (key.isEmpty())
            return QString();
        auto it = m_cache.find(key);
        if (it == m_cache.end())
            it = m_cache.insert(key, plainTextOf(m_c.scalar(QStringLiteral("select A15 from tab_title where A1=?"),
                                                             store::Params::byPosition({key}))));
        return it.value();
    }

private:
    store::Connection &m_c;
    QHash<QString, QString> m_cache;
};

const char kQuestionColumns[] = "select a.A1, a.A14, e.A15, e.jx from tab_answ a left join tab_exer e on e.A1 = a.A1";

RowTexts questionTexts(store::Statement &row, StemTexts &stems)
{
    RowTexts t;
    t.note = plainTextOf(row.value(1));
    t.body = plainTextOf(row.value(2));
    t.jx = plainTextOf(row.value(3));
    t.stem = stems.of(row.value(0).toString());
    return t;
}

RowTexts pointTexts(store::Statement &row)
{
    RowTexts t;
    t.title = row.value(1).toString().trimmed();
    t.body = plainTextOf(row.value(2));
    return t;
}

int count(store::Connection &c, const QString &sql) { return c.scalar(sql).toInt(); }

// Each row as its source holds it now; a source row that is gone takes its index row along.
template <typename TextsOf>
void reindex(store::Connection &c, Kind kind, const QStringList &refs, const QString &sql, TextsOf textsOf)
{
    RowWriter writer(c);
    for (const QString &ref : refs) {
        store::Statement row(c.handle(), sql, store::Params::byPosition({ref}));
        if (row.step())
            writer.put(kind, ref, textsOf(row));
        else
            writer.remove(kind, ref);
    }
}

void removeRows(store::Connection &c, Kind kind, const QStringList &refs)
{
    RowWriter writer(c);
    for (const QString &ref : refs)
        writer.remove(kind, ref);
}

void setHashSize(store::Connection &c, int bytes)
{
    c.execute(QStringLiteral("insert into ql_search (ql_search, rank) values ('hashsize', ?)"),
              store::Params::byPosition({bytes}));
}

} // namespace

quint64 generation() { return g_generation.load(); }

bool isBuilt(store::Connection &c)
{
    if (!c.tableExists(QStringLiteral("ql_search_text")))
        return false;
    if (store::settings::value(c, kStateKey) != kStateBuilt)
        return false;
    const int questions = count(c, QStringLiteral("select count(*) from tab_answ"));
    const int points = count(c, QStringLiteral("select count(*) from tab_rule"));
    return count(c, QStringLiteral("select count(*) from ql_search_text where kind=1")) == questions &&
           count(c, QStringLiteral("select count(*) from ql_search_text where kind=2")) == points;
}

void build(store::Connection &c, const Progress &progress)
{
    store::Transaction transaction(c);
    c.execute(QStringLiteral("delete from ql_search_text"));
    c.execute(QStringLiteral("insert into ql_search (ql_search) values ('delete-all')"));
    const int questions = count(c, QStringLiteral("select count(*) from tab_answ"));
    const int points = count(c, QStringLiteral("select count(*) from tab_rule"));
    // Converting the rich text and indexing it take about as long as each other.
    const int total = 2 * (questions + points);
    int done = 0, reported = 0;
    auto report = [&](int step) {
        done += step;
        if (progress && (done - reported >= kProgressStep || done == total)) {
            reported = done;
            progress(done, total);
        }
    };
    if (progress)
        progress(0, total);

    RowInsert insert(c.handle());
    StemTexts stems(c);
    {
        store::Statement rows(c.handle(), QString::fromLatin1(kQuestionColumns) + QStringLiteral(" order by a.A1"), {});
        while (rows.step()) {
            insert.run(Kind::Question, rows.value(0).toString(), questionTexts(rows, stems));
            report(1);
        }
    }
    {
        store::Statement rows(c.handle(), QStringLiteral("select ftid, sn, n from tab_rule order by ftid"), {});
        while (rows.step()) {
            insert.run(Kind::Point, rows.value(0).toString(), pointTexts(rows));
            report(1);
        }
    }

    setHashSize(c, kBuildHashBytes);
    const qint64 last = c.scalar(QStringLiteral("select ifnull(max(id), 0) from ql_search_text")).toLongLong();
    for (qint64 from = 0; from < last; from += kProgressStep) {
        const int n = c.execute(QStringLiteral("insert into ql_search (rowid, title, body, stem, jx, note) "
                                               "select id, title, body, stem, jx, note from ql_search_text "
                                               "where id > ? and id <= ?"),
                                store::Params::byPosition({from, from + kProgressStep}));
        report(n);
    }
    // One segment: the smallest index, and the fastest to query.
    c.execute(QStringLiteral("insert into ql_search (ql_search) values ('optimize')"));
    setHashSize(c, kDefaultHashBytes);
    store::settings::setValue(c, kStateKey, kStateBuilt);
    transaction.commit();
    ++g_generation;
}

bool ensureBuilt(store::Connection &c, const Progress &progress)
{
    if (isBuilt(c))
        return false;
    build(c, progress);
    return true;
}

void reindexQuestions(store::Connection &c, const QStringList &ids)
{
    StemTexts stems(c);
    reindex(c, Kind::Question, ids, QString::fromLatin1(kQuestionColumns) + QStringLiteral(" where a.A1 = ?"),
            [&stems](store::Statement &row) { return questionTexts(row, stems); });
}

void removeQuestions(store::Connection &c, const QStringList &ids) { removeRows(c, Kind::Question, ids); }

void reindexGroup(store::Connection &c, const QString &stemKey)
{
    QStringList ids;
    store::Statement st(c.handle(), QStringLiteral("select A1 from tab_answ where substr(A1, 1, 16) = ? and instr(A1, '-') > 0"),
                        store::Params::byPosition({stemKey}));
    while (st.step())
        ids << st.value(0).toString();
    reindexQuestions(c, ids);
}

void reindexPoints(store::Connection &c, const QStringList &codes)
{
    reindex(c, Kind::Point, codes, QStringLiteral("select ftid, sn, n from tab_rule where ftid = ?"), pointTexts);
}

void removePoints(store::Connection &c, const QStringList &codes) { removeRows(c, Kind::Point, codes); }

} // namespace search
