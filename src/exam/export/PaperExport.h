#pragma once

#include "Docx.h"

#include <QString>

namespace store {
class Connection;
}

namespace exam {

// A mock-exam paper as the export needs it: its table, its title and the
// subject whose question types (tab_tx<subject>) head its sections.
struct PaperRef {
    QString table;
    QString title;
    int subject = 1;
};

// A paper kept in the bank: the title from its score row (the table name
// when it has none) and the subject from its questions' chapter codes.
// Throws store::Error when the name is not a paper table of the bank.
PaperRef storedPaper(store::Connection &connection, const QString &table);

// The printed paper: the title, the questions under numbered type headings,
// then after a page break the answers with keys, explanations and exam points.
// Reads the bank only. Throws store::Error on a database error.
docx::Document paperDocument(store::Connection &connection, const PaperRef &paper);

// Writes the paper's document to `path`; a failure leaves nothing new there.
// Throws store::Error or docx::Error.
void exportPaper(store::Connection &connection, const PaperRef &paper, const QString &path);

// The heading ordinal of the n-th type of a paper: 一、 … 五、, then "--".
QString typeOrdinal(int n);

} // namespace exam
