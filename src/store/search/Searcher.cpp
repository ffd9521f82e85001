#include "Searcher.h"

#include "Connection.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace search {

namespace {

// How much a word found in each column counts: title, body, stem, explanation, note.
const double kWeights[TextCache::Columns] = {10.0, 5.0, 2.0, 1.0, 2.0};
const int kMinIndexedLength = 3; // the trigram index finds nothing shorter

int lengthOf(const QString &term) { return int(term.toUcs4().size()); }

QString leftCodePoints(const QString &term, int n)
{
    const QList<uint> points = term.toUcs4();
    return points.size() <= n ? term : QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData()), n);
}

// Inside double quotes the index reads everything as text; a quote is doubled.
QString phrase(const QString &term)
{
    QString t = term;
    return QLatin1Char('"') + t.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

AnswerState stateOf(const QVariant &key, const QVariant &last)
{
    const QString answer = last.toString();
    if (answer.isEmpty())
        return AnswerState::NotDone;
    if (answer == QLatin1String("zero"))
        return AnswerState::Voided;
    return answer == key.toString() ? AnswerState::Right : AnswerState::Wrong;
}

qint64 dataVersion(store::Connection &c) { return c.scalar(QStringLiteral("PRAGMA data_version")).toLongLong(); }

QStringList foldedAll(const QStringList &terms)
{
    QStringList out;
    for (const QString &t : terms)
        out << folded(t);
    return out;
}

} // namespace

void Searcher::refreshFacts()
{
    const qint64 changes = sqlite3_total_changes64(m_c.handle());
    const qint64 version = dataVersion(m_c);
    if (changes == m_factsChanges && version == m_factsDataVersion && generation() == m_factsGeneration)
        return;
    m_facts.clear();
    store::Statement st(m_c.handle(),
                        QStringLiteral("select t.id, t.kind, t.ref, a.A10, a.A13, a.A2, a.E2 from ql_search_text t "
                                       "left join tab_answ a on t.kind = 1 and a.A1 = t.ref"),
                        {});
    while (st.step()) {
        const Kind kind = Kind(st.value(1).toInt());
        m_facts.insert(st.value(0).toLongLong(),
                       Facts{kind, st.value(2).toString(), st.value(3).toString(), st.value(3).toString().left(1).toInt(),
                             st.value(4).toInt(), stateOf(st.value(5), st.value(6))});
    }
    m_factsChanges = changes;
    m_factsDataVersion = version;
    m_factsGeneration = generation();
}

void Searcher::refreshTexts()
{
    const qint64 version = dataVersion(m_c);
    if (m_texts.isLoaded() && m_textsGeneration == generation() && m_textsDataVersion == version)
        return;
    m_texts.load(m_c);
    m_textsGeneration = generation();
    m_textsDataVersion = version;
}

Results Searcher::find(const QString &typed, const Filter &filter, int limit)
{
    Results results;
    results.query = parseQuery(typed);
    const QueryText &q = results.query;
    if (q.isEmpty())
        return results;
    refreshFacts();
    QVector<Candidate> candidates;
    {
        bool indexed = false;
        for (const QString &t : q.terms)
            indexed = indexed || lengthOf(t) >= kMinIndexedLength;
        if (indexed) {
            bool needsCheck = false;
            candidates = indexCandidates(q, &needsCheck);
            if (needsCheck) {
                refreshTexts();
                const QStringList terms = foldedAll(q.terms), excluded = foldedAll(q.excluded);
                candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                                [&](const Candidate &c) { return !passesTexts(c.row, terms, excluded); }),
                                 candidates.end());
            }
        } else {
            refreshTexts();
            candidates = scanCandidates(q);
        }
    }
    const qint64 idRow = idHit(q.whole);
    if (idRow) {
        candidates.erase(std::remove_if(candidates.begin(), candidates.end(),
                                        [idRow](const Candidate &c) { return c.row == idRow; }),
                         candidates.end());
        candidates.prepend({idRow, std::numeric_limits<double>::infinity()});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate &a, const Candidate &b) { return a.score > b.score; });
    for (const Candidate &c : std::as_const(candidates)) {
        const auto facts = m_facts.constFind(c.row);
        if (facts == m_facts.constEnd())
            continue;
        // An id typed whole is found whatever the filter says.
        if (c.row != idRow && !passes(*facts, filter))
            continue;
        if (results.hits.size() < limit)
            results.hits << Hit{c.row,          facts->kind,  facts->ref,   facts->chapter,
                                facts->subject, facts->type, facts->state, c.score};
        ++results.total;
    }
    return results;
}

bool Searcher::passes(const Facts &facts, const Filter &filter) const
{
    if (facts.kind == Kind::Point)
        return filter.scope != Filter::Scope::Questions && !filter.narrowsQuestions();
    if (filter.scope == Filter::Scope::Points)
        return false;
    if (filter.subject && facts.subject != filter.subject)
        return false;
    if (filter.type && facts.type != filter.type)
        return false;
    switch (filter.answered) {
    case Filter::Answered::Any:
        return true;
    case Filter::Answered::Done:
        return facts.state != AnswerState::NotDone;
    case Filter::Answered::Wrong:
        return facts.state == AnswerState::Wrong;
    case Filter::Answered::NotDone:
        return facts.state == AnswerState::NotDone;
    }
    return true;
}

QVector<Searcher::Candidate> Searcher::indexCandidates(const QueryText &q, bool *needsCheck)
{
    QStringList wanted, unwanted;
    for (const QString &t : q.terms) {
        const int length = lengthOf(t);
        if (length >= kMinIndexedLength && wanted.size() < IndexedWords) {
            wanted << phrase(leftCodePoints(t, IndexedWordLength));
            *needsCheck = *needsCheck || length > IndexedWordLength;
        } else {
            *needsCheck = true;
        }
    }
    for (const QString &t : q.excluded) {
        const int length = lengthOf(t);
        if (length >= kMinIndexedLength && length <= IndexedWordLength && unwanted.size() < IndexedWords)
            unwanted << phrase(t);
        else
            *needsCheck = true;
    }
    QString match = wanted.join(QStringLiteral(" AND "));
    if (!unwanted.isEmpty())
        match = QLatin1Char('(') + match + QStringLiteral(") NOT ") + unwanted.join(QStringLiteral(" NOT "));
    QVector<Candidate> out;
    store::Statement st(m_c.handle(),
                        QStringLiteral("select rowid, bm25(ql_search, %1, %2, %3, %4, %5) from ql_search "
                                       "where ql_search match ?")
                            .arg(kWeights[0]).arg(kWeights[1]).arg(kWeights[2]).arg(kWeights[3]).arg(kWeights[4]),
                        store::Params::byPosition({match}));
    while (st.step())
        out << Candidate{st.value(0).toLongLong(), -st.value(1).toDouble()};
    return out;
}

bool Searcher::passesTexts(qint64 row, const QStringList &terms, const QStringList &excluded)
{
    const int r = m_texts.rowOf(row);
    if (r < 0)
        return false;
    for (const QString &t : terms)
        if (!m_texts.rowContains(r, t))
            return false;
    for (const QString &t : excluded)
        if (m_texts.rowContains(r, t))
            return false;
    return true;
}

QVector<Searcher::Candidate> Searcher::scanCandidates(const QueryText &q)
{
    const QStringList terms = foldedAll(q.terms), excluded = foldedAll(q.excluded);
    // The longest word finds the fewest rows; the others are checked on those.
    const QString driver = *std::max_element(terms.begin(), terms.end(),
                                             [](const QString &a, const QString &b) { return a.size() < b.size(); });
    QVector<Candidate> out;
    for (int r : m_texts.rowsContaining(driver)) {
        const qint64 id = m_texts.rowId(r);
        if (passesTexts(id, terms, excluded))
            out << Candidate{id, scanScore(r, terms)};
    }
    return out;
}

// The index's own ranking (BM25) for rows it cannot rank: each word's count
// in each column, weighted by column, dampened by the column's length.
double Searcher::scanScore(int cacheRow, const QStringList &foldedTerms) const
{
    const double k1 = 1.2, b = 0.75;
    double score = 0;
    for (const QString &t : foldedTerms) {
        int counts[TextCache::Columns];
        m_texts.countIn(cacheRow, t, counts);
        for (int c = 0; c < TextCache::Columns; ++c) {
            if (!counts[c])
                continue;
            const double norm = 1 - b + b * m_texts.columnLength(cacheRow, c) / m_texts.averageLength(c);
            score += kWeights[c] * counts[c] * (k1 + 1) / (counts[c] + k1 * norm);
        }
    }
    return score;
}

qint64 Searcher::idHit(const QString &whole)
{
    if (whole.isEmpty() || whole.size() > 40 || whole.contains(QLatin1Char(' ')))
        return 0;
    store::Statement st(m_c.handle(),
                        QStringLiteral("select id from ql_search_text where ref in (?, ?, ?) order by kind limit 1"),
                        store::Params::byPosition({whole, whole.toUpper(), whole.toLower()}));
    return st.step() ? st.value(0).toLongLong() : 0;
}

Snippet Searcher::snippet(const Hit &hit, const QueryText &query, int width)
{
    store::Statement st(m_c.handle(), QStringLiteral("select title, body, stem, jx, note from ql_search_text where id=?"),
                        store::Params::byPosition({hit.row}));
    Snippet s;
    if (!st.step())
        return s;
    QString columns[TextCache::Columns];
    for (int c = 0; c < TextCache::Columns; ++c)
        columns[c] = st.value(c).toString();
    // The first column in reading order that holds a word; the body when none does.
    static const int kOrder[] = {0, 1, 2, 4, 3};
    int column = 1;
    int first = -1;
    for (int c : kOrder) {
        for (const QString &t : query.terms) {
            const int at = int(columns[c].indexOf(t, 0, Qt::CaseInsensitive));
            if (at >= 0 && (first < 0 || at < first))
                first = at;
        }
        if (first >= 0) {
            column = c;
            break;
        }
    }
    s.title = columns[0];
    QString text = columns[column];
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    int start = std::max(0, first - width / 4);
    if (start > 0 && text.size() - start < width)
        start = std::max(0, int(text.size()) - width);
    s.column = column;
    s.text = text.mid(start, width);
    const int offset = start > 0 ? 1 : 0;
    if (start > 0)
        s.text.prepend(QChar(0x2026));
    if (start + width < text.size())
        s.text.append(QChar(0x2026));
    for (const QString &t : query.terms) {
        qsizetype at = offset;
        while ((at = s.text.indexOf(t, at, Qt::CaseInsensitive)) >= 0) {
            s.marks << qMakePair(int(at), int(t.size()));
            at += t.size();
        }
    }
    std::sort(s.marks.begin(), s.marks.end());
    return s;
}

} // namespace search
