#include "JetReader.h"

#include "Error.h"

#include <QDateTime>
#include <QFile>
#include <cmath>
#include <mdbtools.h>

namespace upgrade {

namespace {

// Wide enough for one page of an OLE value, which libmdb copies into the bound buffer.
const int kOleChunkBuffer = 1 << 20;
const int kRowOffsetMask = 0x1fff;

QString sqliteTypeOf(int jetType)
{
    switch (jetType) {
    case MDB_BOOL:
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return QStringLiteral("INTEGER");
    case MDB_FLOAT:
    case MDB_DOUBLE:
    case MDB_MONEY:
    case MDB_NUMERIC:
        return QStringLiteral("REAL");
    case MDB_OLE:
    case MDB_BINARY:
        return QStringLiteral("BLOB");
    default:
        return QStringLiteral("TEXT");
    }
}

// libmdb returns g_malloc'ed text.
QString takeText(char *text)
{
    const QString s = QString::fromUtf8(text ? text : "");
    g_free(text);
    return s;
}

struct TableDef {
    MdbTableDef *def = nullptr;
    ~TableDef()
    {
        if (def)
            mdb_free_tabledef(def);
    }
};

} // namespace

struct JetReader::Handle {
    MdbHandle *mdb = nullptr;
    QString path;

    MdbTableDef *openTable(const QString &name) const
    {
        QByteArray n = name.toUtf8();
        MdbTableDef *t = mdb_read_table_by_name(mdb, n.data(), MDB_TABLE);
        if (!t)
            throw store::Error(QStringLiteral("Jet 文件中没有表 %1").arg(name));
        mdb_read_columns(t);
        return t;
    }

    // Text and memo are converted into a buffer libmdb sizes from its bind size:
    // make it large enough for every character of this value. Never below the
    // library's default, which its own catalog reader relies on.
    QString textAt(int start, int size, int type) const
    {
        qint64 bytes = size;
        if (type == MDB_MEMO && size >= MDB_MEMO_OVERHEAD)
            bytes = qMax<qint64>(bytes, mdb_get_int32(mdb->pg_buf, start) & 0x3fffffff);
        mdb_set_bind_size(mdb, size_t(qMax<qint64>(MDB_BIND_SIZE, bytes * 3 + 16)));
        return takeText(mdb_col_to_string(mdb, mdb->pg_buf, start, type, size));
    }

    QVariant valueOf(MdbColumn *col, const MdbField &f) const
    {
        if (col->col_type == MDB_BOOL)
            return qlonglong(f.is_null ? 0 : 1); // a boolean's value is its null bit
        if (f.is_null)
            return QVariant();
        unsigned char *buf = mdb->pg_buf;
        switch (col->col_type) {
        case MDB_BYTE:
            return qlonglong(mdb_get_byte(buf, f.start));
        case MDB_INT:
            return qlonglong(qint16(mdb_get_int16(buf, f.start)));
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return qlonglong(qint32(mdb_get_int32(buf, f.start)));
        case MDB_FLOAT:
            return double(mdb_get_single(buf, f.start));
        case MDB_DOUBLE:
            return mdb_get_double(buf, f.start);
        case MDB_MONEY:
            return takeText(mdb_money_to_string(mdb, f.start)).toDouble();
        case MDB_NUMERIC:
            return takeText(mdb_numeric_to_string(mdb, f.start, col->col_scale, col->col_prec)).toDouble();
        case MDB_DATETIME:
            return dateTimeOf(mdb_get_double(buf, f.start));
        case MDB_BINARY:
            return QByteArray(reinterpret_cast<const char *>(buf) + f.start, f.siz);
        case MDB_OLE: {
            if (f.siz < MDB_MEMO_OVERHEAD)
                return QByteArray();
            size_t length = 0;
            void *bytes = mdb_ole_read_full(mdb, col, &length);
            const QByteArray value(static_cast<const char *>(bytes), qsizetype(length));
            free(bytes);
            return value;
        }
        case MDB_REPID:
            return takeText(mdb_uuid_to_string(buf, f.start));
        case MDB_TEXT:
            if (f.siz <= 0)
                return QString(QLatin1String(""));
            return textAt(f.start, f.siz, MDB_TEXT);
        case MDB_MEMO:
            if (f.siz < MDB_MEMO_OVERHEAD)
                return QString(QLatin1String(""));
            return textAt(f.start, f.siz, MDB_MEMO);
        default:
            return takeText(mdb_col_to_string(mdb, buf, f.start, col->col_type, f.siz));
        }
    }
};

JetReader::JetReader(const QString &path) : m_handle(std::make_unique<Handle>())
{
    m_handle->path = path;
    if (!looksLikeJetFile(path))
        throw store::Error(QStringLiteral("不是 Jet 数据库文件：%1").arg(path));
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb || !mdb_read_catalog(m_handle->mdb, MDB_TABLE)) {
        if (m_handle->mdb)
            mdb_close(m_handle->mdb);
        m_handle->mdb = nullptr;
        throw store::Error(QStringLiteral("无法读取 Jet 数据库文件：%1").arg(path));
    }
}

JetReader::~JetReader()
{
    if (m_handle->mdb)
        mdb_close(m_handle->mdb);
}

QStringList JetReader::tableNames() const
{
    QStringList names;
    GPtrArray *catalog = m_handle->mdb->catalog;
    for (guint i = 0; i < catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
        if (mdb_is_user_table(entry))
            names << QString::fromUtf8(entry->object_name);
    }
    return names;
}

QVector<JetColumn> JetReader::columns(const QString &table) const
{
    TableDef t{m_handle->openTable(table)};
    QVector<JetColumn> result;
    for (guint i = 0; i < t.def->num_cols; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(t.def->columns, i));
        result.append({QString::fromUtf8(col->name), col->col_type, col->col_size, sqliteTypeOf(col->col_type)});
    }
    return result;
}

void JetReader::readRows(const QString &table, const std::function<void(const QVariantList &)> &row) const
{
    MdbHandle *mdb = m_handle->mdb;
    TableDef t{m_handle->openTable(table)};
    const int count = int(t.def->num_cols);
    // Only OLE columns are bound: libmdb keeps their value header in the bound buffer.
    std::vector<QByteArray> oleBuffers;
    for (int i = 0; i < count; ++i) {
        auto *col = static_cast<MdbColumn *>(g_ptr_array_index(t.def->columns, i));
        if (col->col_type == MDB_OLE) {
            oleBuffers.emplace_back(kOleChunkBuffer, '\0');
            mdb_bind_column(t.def, i + 1, oleBuffers.back().data(), nullptr);
        }
    }
    std::vector<MdbField> fields(size_t(qMax(count, 1)));
    mdb_rewind_table(t.def);
    while (mdb_fetch_row(t.def)) {
        // The row just fetched is on the current page; crack it again to learn which fields are null.
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, int(t.def->cur_row) - 1, &start, &length) != 0)
            throw store::Error(QStringLiteral("Jet 文件 %1 的表 %2 已损坏").arg(m_handle->path, table));
        const int cracked = mdb_crack_row(t.def, start & kRowOffsetMask, length, fields.data());
        if (cracked < count)
            throw store::Error(QStringLiteral("Jet 文件 %1 的表 %2 已损坏").arg(m_handle->path, table));
        QVariantList values;
        values.reserve(count);
        for (int i = 0; i < count; ++i)
            values << QVariant();
        for (int i = 0; i < count; ++i) {
            const MdbField &f = fields[size_t(i)];
            if (f.colnum < 0 || f.colnum >= count)
                continue;
            auto *col = static_cast<MdbColumn *>(g_ptr_array_index(t.def->columns, f.colnum));
            values[f.colnum] = m_handle->valueOf(col, f);
        }
        row(values);
    }
}

QDateTime JetReader::dateTimeOf(double jetDays)
{
    const double whole = std::trunc(jetDays);
    const qint64 seconds = qint64(std::llround(std::fabs(jetDays - whole) * 86400.0));
    const QDate day = QDate(1899, 12, 30).addDays(qint64(whole));
    return QDateTime(day, QTime(0, 0), Qt::UTC).addSecs(seconds);
}

bool looksLikeJetFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(20);
    return head.size() == 20 && (head.mid(4, 16) == QByteArray("Standard Jet DB\0", 16) ||
                                 head.mid(4, 16) == QByteArray("Standard ACE DB\0", 16));
}

} // namespace upgrade
