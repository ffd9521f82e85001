#pragma once

#include <QString>
#include <QStringList>

namespace store { class Connection; }

// The counters a bank must keep consistent whatever instant a marking was
// interrupted at, for a bank that started with no progress and no voided
// questions. The answer history and the memory states count with them.
// Each broken rule is one line of the result.
QStringList brokenCounterRules(store::Connection &bank);
