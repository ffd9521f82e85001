#pragma once

#include <QDate>

namespace store { class Connection; }

// A few weeks of study as practice leaves it in a bank: a log row for most of
// the days up to today (a rest day now and then) and counters on the
// top-level chapters. The figures vary from row to row but are the same on every run.
void WriteStudyHistory(store::Connection &bank, const QDate &today, int days = 24);
