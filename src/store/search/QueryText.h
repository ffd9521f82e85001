#pragma once

#include <QString>
#include <QStringList>

namespace search {

// A query as the learner types it: words separated by blanks must all occur,
// "…" (or “…”) keeps a phrase together, a leading - (or －) excludes a word
// or phrase. Everything else is text to find, never syntax.
struct QueryText {
    QStringList terms;    // each must occur, in typed case, without duplicates
    QStringList excluded; // none may occur
    QString whole;        // the typed query, trimmed: a question or point id when it is one

    bool isEmpty() const { return terms.isEmpty(); }
};

QueryText parseQuery(const QString &typed);

} // namespace search
