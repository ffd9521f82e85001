#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace upgrade {

// A column of a Jet table: its name, the Jet type code and the SQLite type it is stored as.
struct JetColumn {
    QString name;
    int jetType = 0;
    int size = 0;
    QString sqliteType; // TEXT, INTEGER, REAL or BLOB
};

// Reads the user tables of a Jet 3/4 (.mdb) file through libmdb. Values come
// as null, qlonglong, double, QString (text and memo, decoded from the file's
// Unicode), QDateTime in UTC (date/time) or QByteArray (OLE and binary, every byte).
class JetReader {
public:
    explicit JetReader(const QString &path); // throws store::Error when the file is not a readable Jet file
    ~JetReader();
    JetReader(const JetReader &) = delete;
    JetReader &operator=(const JetReader &) = delete;

    QStringList tableNames() const;
    QVector<JetColumn> columns(const QString &table) const;
    // Calls row() with one value per column, in column order, for every row of the table.
    void readRows(const QString &table, const std::function<void(const QVariantList &)> &row) const;

    // Jet stores a moment as days since 1899-12-30; the fraction is the time of day
    // (for days before that, the fraction still counts forward from midnight).
    static QDateTime dateTimeOf(double jetDays);

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

// True when the file begins like a Jet or ACE database.
bool looksLikeJetFile(const QString &path);

} // namespace upgrade
