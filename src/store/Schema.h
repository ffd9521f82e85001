#pragma once

#include <QStringList>

namespace store {

class Connection;

// The question bank's tables, columns and indexes.
namespace schema {

constexpr int kVersion = 8;

// Tables every bank must have; a file without them is not a bank.
QStringList requiredTables();

// Creates every table and index in an empty database and stamps the version.
void create(Connection &c);

// True when the open database has every required table.
bool isBank(Connection &c);

// Brings an older bank up to kVersion; a newer one is refused with an error.
void migrate(Connection &c);

} // namespace schema
} // namespace store
