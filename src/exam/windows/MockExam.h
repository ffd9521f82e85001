#pragma once

#include <QString>

// The main menu's mock exam of a subject ("mnks" … "mnks5"): builds a paper
// and sits it in the exam window; returns when the window closes. A paper
// that cannot be built or opened leaves nothing behind.
void mnks(int subject);

// Opens a kept paper in the exam window for review; false when it cannot be opened.
bool reviewPaper(const QString &tableName, const QString &title, double score, const QString &timeText);
