#pragma once

#include <QString>

namespace upgrade {

// Copies every user table of a Jet file into a new SQLite file, each column
// with the SQLite type its Jet type maps to, in one transaction.
// Throws store::Error when the Jet file cannot be read.
void copyJetToSqlite(const QString &jetFile, const QString &sqliteFile);

} // namespace upgrade
