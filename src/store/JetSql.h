#pragma once

#include <QString>

struct sqlite3;

// The Jet dialect our statements are written in, on top of SQLite.
namespace store::jet {

// Rewrites the few Jet forms SQLite does not know: left()/right() calls,
// "delete * from", and Jet column types in CREATE TABLE (mapped to the
// SQLite type with the right affinity: a MEMO "0123" stays the text "0123").
QString translate(const QString &sql);

// Jet's left, right, len, mid and CINT as SQLite functions.
void registerFunctions(sqlite3 *db);

// SQLite type for a Jet column type word ("MEMO" -> "TEXT"); unknown words unchanged.
QString sqliteTypeOf(const QString &jetType);

} // namespace store::jet
