#pragma once

#include <QString>

struct sqlite3_stmt;

namespace store {

class Connection;

// One statement prepared once and run many times: bind, run (or read rows
// with next), bind again. For the bulk work that would otherwise prepare the
// same text thousands of times. Errors throw store::Error.
class SqlBatch {
public:
    SqlBatch(Connection &c, const char *sql);
    ~SqlBatch();
    SqlBatch(const SqlBatch &) = delete;
    SqlBatch &operator=(const SqlBatch &) = delete;

    void bind(int index, const QString &text);
    void bind(int index, double value);
    void bind(int index, int value);
    void bindNull(int index);
    // Runs a statement that returns no rows, then makes it ready for new values.
    void run();
    // Steps to the next row of a query; false at the end (and the query is ready again).
    bool next();
    QString text(int column) const;
    double real(int column) const;
    int integer(int column) const;
    bool isNull(int column) const;

private:
    void fail() const;
    void failAndReset();
    Connection &m_c;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace store
