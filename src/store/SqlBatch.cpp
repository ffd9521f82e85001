#include "SqlBatch.h"

#include "Connection.h"
#include "Error.h"

#include <sqlite3.h>

namespace store {

SqlBatch::SqlBatch(Connection &c, const char *sql) : m_c(c)
{
    if (sqlite3_prepare_v2(c.handle(), sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail();
}

SqlBatch::~SqlBatch() { sqlite3_finalize(m_stmt); }

void SqlBatch::fail() const
{
    sqlite3 *db = m_c.handle();
    throw Error(QString::fromUtf8(sqlite3_errmsg(db)), conditionOfResult(sqlite3_extended_errcode(db)));
}

void SqlBatch::failAndReset()
{
    sqlite3 *db = m_c.handle();
    const Error e(QString::fromUtf8(sqlite3_errmsg(db)), conditionOfResult(sqlite3_extended_errcode(db)));
    sqlite3_reset(m_stmt);
    throw e;
}

void SqlBatch::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    if (sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        fail();
}

void SqlBatch::bind(int index, double value)
{
    if (sqlite3_bind_double(m_stmt, index, value) != SQLITE_OK)
        fail();
}

void SqlBatch::bind(int index, int value)
{
    if (sqlite3_bind_int(m_stmt, index, value) != SQLITE_OK)
        fail();
}

void SqlBatch::bindNull(int index)
{
    if (sqlite3_bind_null(m_stmt, index) != SQLITE_OK)
        fail();
}

void SqlBatch::run()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        failAndReset();
    sqlite3_reset(m_stmt);
}

bool SqlBatch::next()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        failAndReset();
    sqlite3_reset(m_stmt);
    return false;
}

QString SqlBatch::text(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return bytes ? QString::fromUtf8(bytes, sqlite3_column_bytes(m_stmt, column)) : QString();
}

double SqlBatch::real(int column) const { return sqlite3_column_double(m_stmt, column); }

int SqlBatch::integer(int column) const { return sqlite3_column_int(m_stmt, column); }

bool SqlBatch::isNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

} // namespace store
