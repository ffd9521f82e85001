#pragma once

#include "PaperExport.h"

class QWidget;

namespace exam {

// 生成文档 of the exam window in review: asks where to save (proposing
// "<title>.docx" in the documents folder), writes the paper under the wait
// window, then opens it with the desktop's program for Word documents. Any
// failure is reported in the warning box and leaves no file at the chosen
// name. True when the document was written.
// The sections are headed from the paper's own subject: a paper reopened
// from the review need not be of the subject of the last exam.
bool ExportPaperToWord(QWidget *parent, store::Connection &connection, const QString &table, const QString &title);

// Where the save dialog proposes to put the paper's document.
QString proposedDocumentPath(const QString &title);

} // namespace exam
