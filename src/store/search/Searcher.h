#pragma once

#include "QueryText.h"
#include "SearchIndex.h"
#include "TextCache.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace store {
class Connection;
}

namespace search {

// The learner's last answer to a question.
enum class AnswerState { NotDone, Right, Wrong, Voided };

struct Filter {
    enum class Answered { Any, Done, Wrong, NotDone };
    enum class Scope { All, Questions, Points };
    int subject = 0; // 1 … 5, 0 for all
    int type = 0;    // a question-type code, 0 for all
    Answered answered = Answered::Any;
    Scope scope = Scope::All;

    // Anything but the scope set: exam points have none of these, so they drop out.
    bool narrowsQuestions() const { return subject != 0 || type != 0 || answered != Answered::Any; }
};

struct Hit {
    qint64 row = 0; // ql_search_text.id
    Kind kind = Kind::Question;
    QString ref;    // question id or point code
    QString chapter; // A10 of a question
    int subject = 0;
    int type = 0;
    AnswerState state = AnswerState::NotDone;
    double score = 0; // higher is better
};

struct Results {
    QueryText query;
    QVector<Hit> hits; // best first, at most the limit asked for
    int total = 0;     // every hit that passed the filter
};

// Where a hit's words are in its text, for showing.
struct Snippet {
    int column = 0;               // 0 title, 1 body, 2 stem, 3 explanation, 4 note
    QString title;                // an exam point's title, whichever column the words are in
    QString text;                 // a window of the column's plain text, ellipses included
    QVector<QPair<int, int>> marks; // (start, length) of each word found in `text`
};

// Answers queries on one bank. Keeps what it read (the question facts, and
// for short words the texts) until the bank or the index changes.
class Searcher {
public:
    explicit Searcher(store::Connection &c) : m_c(c) {}

    Results find(const QString &typed, const Filter &filter = {}, int limit = 500);
    Snippet snippet(const Hit &hit, const QueryText &query, int width = 80);

    // The longest word the trigram index is asked for; longer ones are
    // narrowed by their start there and checked whole in the texts.
    static constexpr int IndexedWordLength = 64;
    static constexpr int IndexedWords = 16;

private:
    struct Facts {
        Kind kind;
        QString ref, chapter;
        int subject, type;
        AnswerState state;
    };
    struct Candidate {
        qint64 row;
        double score;
    };

    void refreshFacts();
    void refreshTexts();
    QVector<Candidate> indexCandidates(const QueryText &q, bool *needsCheck);
    QVector<Candidate> scanCandidates(const QueryText &q);
    bool passesTexts(qint64 row, const QStringList &terms, const QStringList &excluded);
    double scanScore(int cacheRow, const QStringList &foldedTerms) const;
    qint64 idHit(const QString &whole);
    bool passes(const Facts &facts, const Filter &filter) const;

    store::Connection &m_c;
    QHash<qint64, Facts> m_facts;
    qint64 m_factsChanges = -1;
    qint64 m_factsDataVersion = -1;
    quint64 m_factsGeneration = 0;
    TextCache m_texts;
    quint64 m_textsGeneration = 0;
    qint64 m_textsDataVersion = -1;
};

} // namespace search
