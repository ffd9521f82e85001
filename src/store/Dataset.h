#pragma once

#include "Connection.h"
#include "FilterExpr.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

namespace store {

class Dataset;

// The hidden column through which a Table's rows are written back.
inline const QString kRowidColumn = QStringLiteral("__rowid__");

// One column of the current row, with the conversions the windows use.
// Reading a NULL gives "", 0 or an invalid date, as ADO fields do.
class Field {
public:
    Field(const Dataset *dataset, int column) : m_dataset(dataset), m_column(column) {}

    QString name() const;
    QVariant value() const;
    bool isNull() const;
    QString asString() const;
    int asInteger() const;
    qint64 asLargeInt() const;
    double asFloat() const;
    QDate asDate() const;
    QByteArray asBytes() const;
    int blobSize() const;
    void setValue(const QVariant &v) const;

private:
    const Dataset *m_dataset;
    int m_column;
};

// Converts values the way Field does; throws store::Error for text that is not a number.
namespace convert {
QString toText(const QVariant &v);
qint64 toLargeInt(const QVariant &v);
double toFloat(const QVariant &v);
QDate toDate(const QVariant &v);
} // namespace convert

// A static snapshot of rows, like ADO's static cursor: record numbers 1…N over
// the rows that pass the filter, in sort order. Edits are written back to the
// row's own table by primary key (or rowid, or all original values).
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(Connection *connection = nullptr, QObject *parent = nullptr);
    ~Dataset() override;

    void setConnection(Connection *c);
    Connection *connection() const { return m_connection; }

    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // Runs the query again and keeps the record number where possible.
    void refresh();

    int recordCount() const;
    int recNo() const;
    void setRecNo(int n);
    void first();
    void next();
    void prior();
    void last();
    bool eof() const;
    bool bof() const;
    bool isEmpty() const { return recordCount() == 0; }

    QStringList fieldNames() const;
    bool hasField(const QString &name) const;
    QVariant value(const QString &field) const;
    Field fieldByName(const QString &field) const;
    void setValue(const QString &field, const QVariant &v);

    State state() const { return m_state; }
    void edit();
    void append();
    void post();
    void cancel();
    void remove();

    void setFilter(const QString &text);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }
    void setSort(const QString &text);
    QString sort() const { return m_sortText; }
    // Moves to the first visible row whose field equals value; false (and no move) when none does.
    bool locate(const QString &field, const QVariant &value, bool caseInsensitive = true, bool partialKey = false);

    // A second cursor over the same rows; edits through either are seen by both.
    std::unique_ptr<Dataset> clone(QObject *parent = nullptr) const;

signals:
    void opened();
    void closed();
    void scrolled();
    void dataChanged();

protected:
    virtual QString selectSql() const = 0;
    virtual Params selectParams() const { return {}; }
    // Table an appended row goes to when the columns do not name one.
    virtual QString insertTable() const { return QString(); }

private:
    friend class Field;
    struct Column {
        QString name;
        QString table;
        QString origin;
    };
    struct Snapshot {
        QVector<Column> columns;
        QHash<QString, int> byName; // lower-case name -> column
        int rowidColumn = -1;
        QVector<QVector<QVariant>> rows;
        QVector<bool> deleted;
    };
    class CloneView;

    void requireOpen() const;
    void requireBrowse(const char *operation) const;
    int columnIndex(const QString &name) const;
    QVariant cell(int column) const;
    void setCell(int column, const QVariant &v);
    void rebuildView();
    void applyView(const QString &filterText, bool filtered, const QString &sortText);
    void moveTo(int pos);
    void fetch();
    void writeUpdate();
    void writeInsert();
    QString whereForRow(const QString &table, const QVector<QVariant> &row, Params &params) const;
    enum class Written { Updated, Inserted, Deleted };
    void noteWritten(int rowIndex, Written kind);
    void restoreAfterRollback();
    void rereadRow(int rowIndex);

    Connection *m_connection = nullptr;
    std::shared_ptr<Snapshot> m_snap;
    QVector<int> m_view;
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    QVector<QVariant> m_buffer;
    QSet<int> m_changed;
    QString m_filterText;
    FilterExpr m_filter;
    bool m_filtered = false;
    QString m_sortText;
    // Rows this dataset wrote inside the open transaction, so a rollback can put back exactly those.
    struct TransactionWrites {
        QSet<int> updated;
        QSet<int> inserted;
        QSet<int> deleted;
        bool isEmpty() const { return updated.isEmpty() && inserted.isEmpty() && deleted.isEmpty(); }
    };
    TransactionWrites m_written;
};

// A dataset defined by SQL text with named (:name) or positional parameters.
class Query : public Dataset {
    Q_OBJECT
public:
    explicit Query(Connection *connection = nullptr, QObject *parent = nullptr) : Dataset(connection, parent) {}

    void setSql(const QString &sql) { m_sql = sql; m_params = {}; }
    QString sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    void setParams(const Params &p) { m_params = p; }
    // Runs a statement that returns no rows; the number of rows changed.
    int execSql();

protected:
    QString selectSql() const override { return m_sql; }
    Params selectParams() const override { return m_params; }

private:
    QString m_sql;
    Params m_params;
};

// All rows of one table, ordered by its index field names.
class Table : public Dataset {
    Q_OBJECT
public:
    explicit Table(Connection *connection = nullptr, QObject *parent = nullptr) : Dataset(connection, parent) {}

    void setTableName(const QString &name) { m_table = name; }
    QString tableName() const { return m_table; }
    void setIndexFieldNames(const QString &fields) { m_index = fields; }

protected:
    QString selectSql() const override;
    QString insertTable() const override { return m_table; }

private:
    QString m_table;
    QString m_index;
};

} // namespace store
