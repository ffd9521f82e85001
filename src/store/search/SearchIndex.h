#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace store {
class Connection;
}

// The bank's search index: the plain text of every question and exam point in
// ql_search_text and the trigram index ql_search over it. Every change of a
// question's or a point's texts calls one of the routines below inside the
// transaction that makes the change, so the index never lags the bank.
namespace search {

enum class Kind { Question = 1, Point = 2 };

// Called now and then while the index is built: rows done of rows in all.
using Progress = std::function<void(int done, int total)>;

// True when the index was built for this bank and still covers every
// question and point (an outside tool may have added or removed some).
bool isBuilt(store::Connection &c);

// Builds the index from nothing in one transaction.
void build(store::Connection &c, const Progress &progress = {});

// Builds the index when it is missing; returns true when it had to.
bool ensureBuilt(store::Connection &c, const Progress &progress = {});

// Writes the index rows of these questions from tab_answ, tab_exer and
// tab_title as they are now; a question no longer in tab_answ loses its row.
void reindexQuestions(store::Connection &c, const QStringList &ids);
void removeQuestions(store::Connection &c, const QStringList &ids);
// Every question sharing the stem tab_title.A1 = `stemKey`.
void reindexGroup(store::Connection &c, const QString &stemKey);
// The same for exam points (tab_rule.ftid).
void reindexPoints(store::Connection &c, const QStringList &codes);
void removePoints(store::Connection &c, const QStringList &codes);

// Grows by one whenever any index row changes in this process; readers that
// keep a copy of the texts compare it to know when to read them again.
quint64 generation();

} // namespace search
