#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Every failure of the store layer: SQLite's own message, or ours for misuse
// (unknown field, editing a closed dataset, a bad filter).
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

} // namespace store
