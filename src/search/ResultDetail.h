#pragma once

#include "QueryText.h"
#include "Searcher.h"

class QTextDocument;
namespace store {
class Connection;
}

namespace search {

class BankNames;

// The whole of a found question (its group's stem, body with options, key,
// explanation and the learner's note) or exam point (title, section, text),
// from the bank's rich text, with the query's words marked.
void fillDetail(QTextDocument *document, store::Connection &c, const Hit &hit, const BankNames &names,
                const QueryText &query);

} // namespace search
