#include "Connection.h"

#include "Error.h"
#include "JetSql.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QUrl>
#include <QRegularExpression>
#include <sqlite3.h>

namespace store {

namespace {

QString sqliteMessage(sqlite3 *db, const QString &context)
{
    const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("no connection");
    return context.isEmpty() ? msg : msg + QStringLiteral(" — ") + context;
}

Error sqliteError(sqlite3 *db, const QString &context)
{
    return Error(sqliteMessage(db, context), db ? conditionOfResult(sqlite3_extended_errcode(db)) : Condition::Other);
}

std::function<bool(const QString &)> &writeCheck()
{
    static std::function<bool(const QString &)> check;
    return check;
}

} // namespace

Statement::Statement(sqlite3 *db, const QString &sql, const Params &params) : m_db(db)
{
    if (!db)
        throw Error(QStringLiteral("数据库未连接"));
    const QByteArray text = jet::translate(sql).toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, &tail) != SQLITE_OK)
        throw sqliteError(db, sql);
    if (!m_stmt)
        throw Error(QStringLiteral("empty statement: ") + sql);
    bind(params);
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

void Statement::bind(const Params &params)
{
    for (int i = 0; i < params.positional.size(); ++i)
        bindValue(i + 1, params.positional.at(i));
    for (const auto &p : params.named) {
        QString name = p.first;
        if (!name.startsWith(QLatin1Char(':')))
            name.prepend(QLatin1Char(':'));
        const int index = sqlite3_bind_parameter_index(m_stmt, name.toUtf8().constData());
        if (index == 0)
            throw Error(QStringLiteral("unknown parameter %1").arg(name));
        bindValue(index, p.second);
    }
}

void Statement::bindValue(int index, const QVariant &v)
{
    int rc = SQLITE_OK;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(m_stmt, index);
    } else {
        switch (v.userType()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            rc = sqlite3_bind_int64(m_stmt, index, v.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_stmt, index, v.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            rc = sqlite3_bind_blob64(m_stmt, index, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
            break;
        }
        case QMetaType::QDate:
            rc = sqlite3_bind_text(m_stmt, index, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                   SQLITE_TRANSIENT);
            break;
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            const QString text = dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                                          : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            rc = sqlite3_bind_text(m_stmt, index, text.toUtf8().constData(), -1, SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray s = v.toString().toUtf8();
            rc = sqlite3_bind_text(m_stmt, index, s.constData(), int(s.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK)
        throw sqliteError(m_db, QStringLiteral("binding parameter %1").arg(index));
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw sqliteError(m_db, QString::fromUtf8(sqlite3_sql(m_stmt)));
}

int Statement::columnCount() const { return sqlite3_column_count(m_stmt); }

QString Statement::columnName(int i) const { return QString::fromUtf8(sqlite3_column_name(m_stmt, i)); }

QString Statement::originTable(int i) const
{
    const char *t = sqlite3_column_table_name(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::originColumn(int i) const
{
    const char *c = sqlite3_column_origin_name(m_stmt, i);
    return c ? QString::fromUtf8(c) : QString();
}

QVariant Statement::value(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i)),
                                          sqlite3_column_bytes(m_stmt, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, i)),
                                   sqlite3_column_bytes(m_stmt, i)));
    default:
        return QVariant();
    }
}

Connection::Connection(QObject *parent) : QObject(parent) {}

Connection::~Connection() { close(); }

QString Connection::dataSourceOf(const QString &connectionString)
{
    // "Key=Value;" pieces; a value in double quotes may hold ';' (a doubled quote is a quote).
    int i = 0;
    const int n = int(connectionString.size());
    while (i < n) {
        const int eq = connectionString.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString key = connectionString.mid(i, eq - i).trimmed();
        QString value;
        int j = eq + 1;
        while (j < n && connectionString.at(j) == QLatin1Char(' '))
            ++j;
        if (j < n && connectionString.at(j) == QLatin1Char('"')) {
            for (++j; j < n; ++j) {
                if (connectionString.at(j) == QLatin1Char('"')) {
                    if (j + 1 < n && connectionString.at(j + 1) == QLatin1Char('"')) {
                        value += QLatin1Char('"');
                        ++j;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += connectionString.at(j);
            }
            const int end = connectionString.indexOf(QLatin1Char(';'), j);
            i = end < 0 ? n : end + 1;
        } else {
            const int end = connectionString.indexOf(QLatin1Char(';'), j);
            value = connectionString.mid(j, (end < 0 ? n : end) - j).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (key.compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return value;
    }
    return QString();
}


// The file cannot be written, or a log beside it cannot be made. Our own
// refusals (a damaged or foreign file) never count.
bool Connection::refusedWriting(const Error &e) const
{
    if (!m_db || e.condition() == Condition::Damaged)
        return false;
    const int code = sqlite3_extended_errcode(m_db) & 0xff;
    return code == SQLITE_READONLY || code == SQLITE_CANTOPEN || code == SQLITE_PERM;
}

void setWriteCheck(std::function<bool(const QString &)> check) { writeCheck() = std::move(check); }

QString Connection::fileToOpen(bool createIfMissing)
{
    close();
    const QString file = dataSourceOf(m_connectionString);
    if (file.isEmpty())
        throw Error(QStringLiteral("连接字符串中没有数据源"));
    if (!createIfMissing && !QFileInfo(file).isFile())
        throw Error(QStringLiteral("找不到题库文件：%1").arg(file));
    return file;
}

void Connection::open(bool createIfMissing, const Acceptance &accept)
{
    const QString file = fileToOpen(createIfMissing);
    if (!writeCheck() || writeCheck()(file)) {
        try {
            // URI names let ATTACH open a file read-only; a plain path still names a plain file.
            openFile(file.toUtf8(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | (createIfMissing ? SQLITE_OPEN_CREATE : 0),
                     accept);
            // SQLite opens a file it may not write for reading only, without a word.
            if (!sqlite3_db_readonly(m_db, "main")) {
                prepareForWriting();
                return;
            }
        } catch (const Error &e) {
            if (createIfMissing || !refusedWriting(e)) {
                close();
                throw;
            }
        }
        close();
    }
    openForReading(file, accept);
}

void Connection::openReadOnly() { openForReading(fileToOpen(false), {}); }

void Connection::openForReading(const QString &file, const Acceptance &accept)
{
    const QByteArray uri = QByteArrayLiteral("file:") + QUrl::toPercentEncoding(file, "/") + "?mode=ro";
    try {
        openFile(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, accept);
    } catch (const Error &e) {
        if (!refusedWriting(e)) {
            close();
            throw;
        }
        close();
        // A logged bank in a folder we may not write: nobody can change it, so read it as it lies.
        try {
            openFile(uri + "&immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, accept);
        } catch (...) {
            close();
            throw;
        }
    }
    m_readOnly = true;
}

void Connection::openFile(const QByteArray &name, int flags, const Acceptance &accept)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(name.constData(), &db, flags, nullptr) != SQLITE_OK) {
        const Error error = sqliteError(db, QString::fromUtf8(name));
        sqlite3_close(db);
        throw error;
    }
    m_db = db;
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 3000);
    jet::registerFunctions(db);
    execute(QStringLiteral("PRAGMA trusted_schema=OFF"));
    // Reading the schema is what tells a bank from a corrupt or foreign file.
    scalar(QStringLiteral("select count(*) from sqlite_master"));
    // Decided before anything is written, so a file that is not ours stays as it was.
    if (accept && !accept(*this))
        throw Error(QStringLiteral("不是题库文件：%1").arg(QString::fromUtf8(name)), Condition::Damaged);
}

void Connection::prepareForWriting()
{
    scalar(QStringLiteral("PRAGMA journal_mode=WAL"));
    // Every answer is committed to disk before the window moves on: a power cut loses nothing answered.
    execute(QStringLiteral("PRAGMA synchronous=FULL"));
}

void Connection::close()
{
    if (!m_db)
        return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_keys.clear();
    m_depth = 0;
    m_readOnly = false;
}

sqlite3 *Connection::handle() const
{
    if (!m_db)
        throw Error(QStringLiteral("数据库未连接"));
    return m_db;
}

int Connection::execute(const QString &sql, const Params &params)
{
    static const QRegularExpression ddl(QStringLiteral(R"(^\s*(create|drop|alter)\b)"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (ddl.match(sql).hasMatch())
        m_keys.clear();
    Statement st(handle(), sql, params);
    while (st.step()) {
    }
    return sqlite3_changes(m_db);
}

QVariant Connection::scalar(const QString &sql, const Params &params)
{
    Statement st(handle(), sql, params);
    return st.step() && st.columnCount() > 0 ? st.value(0) : QVariant();
}

QStringList Connection::tableNames()
{
    QStringList names;
    Statement st(handle(), QStringLiteral("select name from sqlite_master where type='table' and name not like "
                                          "'sqlite_%' order by name"),
                 {});
    while (st.step())
        names << st.value(0).toString();
    return names;
}

bool Connection::tableExists(const QString &name)
{
    return scalar(QStringLiteral("select count(*) from sqlite_master where type='table' and name = ? collate nocase"),
                  Params::byPosition({name}))
               .toInt() > 0;
}

QStringList Connection::columnNames(const QString &table)
{
    QStringList names;
    Statement st(handle(), QStringLiteral("select name from pragma_table_info(?)"), Params::byPosition({table}));
    while (st.step())
        names << st.value(0).toString();
    return names;
}

QStringList Connection::primaryKey(const QString &table)
{
    const auto cached = m_keys.constFind(table.toLower());
    if (cached != m_keys.constEnd())
        return *cached;
    QStringList key;
    Statement st(handle(), QStringLiteral("select name from pragma_table_info(?) where pk > 0 order by pk"),
                 Params::byPosition({table}));
    while (st.step())
        key << st.value(0).toString();
    m_keys.insert(table.toLower(), key);
    return key;
}

qint64 Connection::lastInsertRowId() const { return sqlite3_last_insert_rowid(handle()); }

void Connection::beginTransaction()
{
    execute(m_depth == 0 ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Connection::commit()
{
    if (m_depth == 0)
        throw Error(QStringLiteral("no transaction to commit"));
    --m_depth;
    execute(m_depth == 0 ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE sp%1").arg(m_depth));
    if (m_depth == 0)
        emit committed();
}

void Connection::rollback()
{
    if (m_depth == 0)
        throw Error(QStringLiteral("no transaction to roll back"));
    --m_depth;
    // Datasets must hear of the rollback even when the statement itself fails.
    struct Notify {
        Connection *c;
        ~Notify() { emit c->rolledBack(); }
    } notify{this};
    if (sqlite3_get_autocommit(handle())) {
        // SQLite already undid the whole transaction (a full disk, an I/O error).
        m_depth = 0;
        return;
    }
    if (m_depth == 0) {
        execute(QStringLiteral("ROLLBACK"));
    } else {
        execute(QStringLiteral("ROLLBACK TO sp%1").arg(m_depth));
        execute(QStringLiteral("RELEASE sp%1").arg(m_depth));
    }
}

Transaction::~Transaction()
{
    if (m_done)
        return;
    try {
        m_conn.rollback();
    } catch (...) {
        // The connection may already be gone; nothing more can be undone.
    }
}

void Transaction::commit()
{
    m_conn.commit();
    m_done = true;
}

QString quoted(const QString &text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

QString quotedName(const QString &name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace store
