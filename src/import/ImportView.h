#pragma once

#include <QString>

class QTextDocument;
class QTreeWidgetItem;
namespace importing { class ImportPlan; }

// How the import window shows a planned question: its row in the list and
// the detail beside it.
namespace importview {

// Import box (checkable only when the question can be written), number and
// line, type, stem, key, problems; flagged rows in the warning colour.
void fillRow(QTreeWidgetItem &row, const importing::ImportPlan &plan, int index);
// The body as it will be stored, then key, explanation and problems.
void showDetail(QTextDocument &document, const importing::ImportPlan &plan, int index);
// One line per piece of text the recognizer could not place.
QString unplacedText(const importing::ImportPlan &plan);

} // namespace importview
