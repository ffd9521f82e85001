#pragma once

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace store {

class Error;

// Parameters of a statement: by name (":A1" or "A1") or by position (1-based for "?").
struct Params {
    QVector<QPair<QString, QVariant>> named;
    QVariantList positional;

    Params() = default;
    Params(std::initializer_list<QPair<QString, QVariant>> byName) : named(byName) {}
    static Params byPosition(const QVariantList &values) { Params p; p.positional = values; return p; }
    bool isEmpty() const { return named.isEmpty() && positional.isEmpty(); }
};

// A prepared statement, finalized when it goes out of scope.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql, const Params &params);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool step(); // true while a row is available
    int columnCount() const;
    QString columnName(int i) const;
    QString originTable(int i) const;
    QString originColumn(int i) const;
    QVariant value(int i) const;
    sqlite3_stmt *handle() const { return m_stmt; }

private:
    void bind(const Params &params);
    void bindValue(int index, const QVariant &v);
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

// The one connection to a question bank. The connection string keeps the
// ADO-style "Key=Value;" pieces; "Data Source" names the bank file.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject *parent = nullptr);
    ~Connection() override;

    static QString dataSourceOf(const QString &connectionString);

    void setConnectionString(const QString &s) { m_connectionString = s; }
    QString connectionString() const { return m_connectionString; }
    // Decides whether an opened file is the kind the caller wants, before anything is written to it.
    using Acceptance = std::function<bool(Connection &)>;
    // Opens the file named by "Data Source"; never creates one unless asked.
    // A file that cannot be written is opened for reading only (see isReadOnly);
    // one that is damaged or refused by `accept` does not open and stays untouched.
    void open(bool createIfMissing = false, const Acceptance &accept = {});
    // Opens a file from outside (an upgrade, a backup) without writing to it.
    void openReadOnly();
    void close();
    bool isOpen() const { return m_db != nullptr; }
    // Open, but every write fails with Condition::ReadOnly.
    bool isReadOnly() const { return m_readOnly; }

    // Runs one statement, returns the number of rows changed.
    int execute(const QString &sql, const Params &params = {});
    // First column of the first row, or a null variant.
    QVariant scalar(const QString &sql, const Params &params = {});
    QStringList tableNames();
    bool tableExists(const QString &name);
    QStringList columnNames(const QString &table);
    QStringList primaryKey(const QString &table);
    qint64 lastInsertRowId() const;

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_depth > 0; }

    sqlite3 *handle() const;

signals:
    // A rollback undid writes; datasets holding posted rows re-read them.
    void rolledBack();
    // The outermost transaction was committed.
    void committed();

private:
    void openFile(const QByteArray &name, int flags, const Acceptance &accept);
    void openForReading(const QString &file, const Acceptance &accept);
    void prepareForWriting();
    bool refusedWriting(const Error &e) const;
    QString fileToOpen(bool createIfMissing);

    sqlite3 *m_db = nullptr;
    bool m_readOnly = false;
    QString m_connectionString;
    int m_depth = 0;
    QHash<QString, QStringList> m_keys; // primary key per lower-case table name

};

// All-or-nothing scope: commits only when commit() is called, rolls back otherwise
// (also when an exception leaves the scope). Nests through savepoints.
class Transaction {
public:
    explicit Transaction(Connection &c) : m_conn(c) { m_conn.beginTransaction(); }
    ~Transaction();
    void commit();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

private:
    Connection &m_conn;
    bool m_done = false;
};

// Whether the system lets this process write `file`; unset, SQLite finds out by
// itself. Stands in for a write-protected file where permissions do not bind.
void setWriteCheck(std::function<bool(const QString &file)> check);

QString quoted(const QString &text);     // 'text' with inner quotes doubled
QString quotedName(const QString &name); // "name" for identifiers

} // namespace store
