#pragma once

#include <QString>

class QTextDocument;

// A readable outline of a document's structure and formatting, so tests can
// compare two documents or check one against what a person expects to see.
QString dumpDocument(const QTextDocument &document);
