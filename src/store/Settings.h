#pragma once

#include <QString>

namespace store {

class Connection;

// Settings of our own kept in the bank (not in the original tables), as text.
namespace settings {

QString value(Connection &c, const QString &key, const QString &fallback = QString());
void setValue(Connection &c, const QString &key, const QString &value);

} // namespace settings
} // namespace store
