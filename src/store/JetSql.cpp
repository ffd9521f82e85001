#include "JetSql.h"

#include "Error.h"

#include <QRegularExpression>
#include <QStringList>
#include <cmath>
#include <sqlite3.h>

namespace store::jet {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Copies quoted literals untouched and hands every bare word to `onWord`.
template <typename F> QString mapWords(const QString &sql, F onWord)
{
    QString out;
    out.reserve(sql.size() + 16);
    int i = 0;
    const int n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == close) {
                    if (close != QLatin1Char(']') && j + 1 < n && sql.at(j + 1) == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (isWordChar(c)) {
            int j = i;
            while (j < n && isWordChar(sql.at(j)))
                ++j;
            out += onWord(sql.mid(i, j - i), sql, j);
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QChar nextNonSpace(const QString &s, int from)
{
    while (from < s.size() && s.at(from).isSpace())
        ++from;
    return from < s.size() ? s.at(from) : QChar();
}

QString renameJetCalls(const QString &sql)
{
    return mapWords(sql, [](const QString &word, const QString &all, int end) {
        if (nextNonSpace(all, end) == QLatin1Char('(')) {
            if (word.compare(QLatin1String("left"), Qt::CaseInsensitive) == 0)
                return QStringLiteral("jet_left");
            if (word.compare(QLatin1String("right"), Qt::CaseInsensitive) == 0)
                return QStringLiteral("jet_right");
        }
        return word;
    });
}

// Splits the column list of CREATE TABLE at top-level commas.
QStringList splitTopLevel(const QString &body)
{
    QStringList parts;
    int depth = 0;
    int start = 0;
    for (int i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            parts << body.mid(start, i - start);
            start = i + 1;
        }
    }
    parts << body.mid(start);
    return parts;
}

QString mapColumnDefinition(const QString &def)
{
    static const QRegularExpression column(QStringLiteral(R"(^(\s*(?:"[^"]*"|\[[^\]]*\]|\w+)\s+)(\w+)(\s*\(\s*\d+(?:\s*,\s*\d+)?\s*\))?)"));
    static const QStringList constraints = {"PRIMARY", "CONSTRAINT", "UNIQUE", "CHECK", "FOREIGN"};
    const auto m = column.match(def);
    if (!m.hasMatch())
        return def;
    const QString first = m.captured(1).trimmed().toUpper();
    if (constraints.contains(first))
        return def;
    const QString type = m.captured(2);
    const QString mapped = sqliteTypeOf(type);
    if (mapped == type.toUpper())
        return def;
    return m.captured(1) + mapped + def.mid(m.capturedEnd(0));
}

QString mapCreateTable(const QString &sql)
{
    static const QRegularExpression head(QStringLiteral(R"(^\s*CREATE\s+TABLE\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!head.match(sql).hasMatch())
        return sql;
    const int open = sql.indexOf(QLatin1Char('('));
    const int close = sql.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open)
        return sql;
    QStringList defs = splitTopLevel(sql.mid(open + 1, close - open - 1));
    for (QString &d : defs)
        d = mapColumnDefinition(d);
    return sql.left(open + 1) + defs.join(QLatin1Char(',')) + sql.mid(close);
}

QString dropDeleteStar(const QString &sql)
{
    static const QRegularExpression star(QStringLiteral(R"(^(\s*delete)\s+\*\s+(from\b))"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(star, QStringLiteral("\\1 \\2"));
    return out;
}

QString textArg(sqlite3_value *v) { return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v))); }

void resultText(sqlite3_context *ctx, const QString &s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_result_text(ctx, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}

bool anyNull(int argc, sqlite3_value **argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

void jetLeft(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).left(qMax(0, sqlite3_value_int(argv[1]))));
}

void jetRight(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    resultText(ctx, textArg(argv[0]).right(qMax(0, sqlite3_value_int(argv[1]))));
}

void jetLen(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, textArg(argv[0]).size());
}

void jetMid(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    const QString s = textArg(argv[0]);
    const int start = sqlite3_value_int(argv[1]);
    if (start < 1)
        return sqlite3_result_error(ctx, "Invalid procedure call (mid start < 1)", -1);
    const int length = argc > 2 ? sqlite3_value_int(argv[2]) : -1;
    resultText(ctx, s.mid(start - 1, length));
}

// CInt rounds half to even and refuses what is not a number or does not fit 16 bits.
void jetCint(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    if (anyNull(argc, argv))
        return sqlite3_result_null(ctx);
    bool ok = true;
    double d = 0;
    if (sqlite3_value_numeric_type(argv[0]) == SQLITE_TEXT) {
        d = textArg(argv[0]).trimmed().toDouble(&ok);
    } else {
        d = sqlite3_value_double(argv[0]);
    }
    if (!ok)
        return sqlite3_result_error(ctx, "Data type mismatch in criteria expression (CINT)", -1);
    const double r = std::nearbyint(d);
    if (r < -32768 || r > 32767)
        return sqlite3_result_error(ctx, "Overflow (CINT)", -1);
    sqlite3_result_int(ctx, int(r));
}

void add(sqlite3 *db, const char *name, int args, void (*fn)(sqlite3_context *, int, sqlite3_value **))
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    if (sqlite3_create_function(db, name, args, flags, nullptr, fn, nullptr, nullptr) != SQLITE_OK)
        throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

QString sqliteTypeOf(const QString &jetType)
{
    const QString t = jetType.toUpper();
    static const QStringList text = {"MEMO", "LONGTEXT", "DATETIME", "DATE", "TIME", "CHAR", "VARCHAR", "TEXT", "NOTE"};
    static const QStringList integer = {"SMALLINT", "INTEGER", "INT", "LONG", "BYTE", "BIT", "YESNO", "COUNTER",
                                        "AUTOINCREMENT", "SHORT", "TINYINT"};
    static const QStringList real = {"DOUBLE", "SINGLE", "FLOAT", "REAL", "CURRENCY", "MONEY", "NUMERIC", "DECIMAL"};
    static const QStringList blob = {"IMAGE", "OLEOBJECT", "LONGBINARY", "BINARY", "VARBINARY", "BLOB"};
    if (text.contains(t))
        return QStringLiteral("TEXT");
    if (integer.contains(t))
        return QStringLiteral("INTEGER");
    if (real.contains(t))
        return QStringLiteral("REAL");
    if (blob.contains(t))
        return QStringLiteral("BLOB");
    return t;
}

// "left(A10,6) = '100101'" cannot use an index; the same test with the range of codes that
// share the prefix beside it can, so a chapter's questions are found without reading the bank.
// Only A10, which is text in every table that has it: a range on a number column would mean
// something else.
QString addChapterRanges(const QString &sql)
{
    static const QRegularExpression prefixTest(
        QStringLiteral("\\bleft\\s*\\(\\s*((?:\\w+\\.)?A10)\\s*,\\s*(\\d+)\\s*\\)\\s*=\\s*'([^']+)'"),
        QRegularExpression::CaseInsensitiveOption);
    QString out;
    int from = 0;
    for (auto it = prefixTest.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString column = m.captured(1), prefix = m.captured(3);
        out += sql.mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
        if (m.captured(2).toInt() != prefix.size() || prefix.back().unicode() == 0xFFFF) {
            out += m.captured();
            continue;
        }
        QString next = prefix;
        next.back() = QChar(prefix.back().unicode() + 1);
        out += QStringLiteral("(%1 and %2 >= '%3' and %2 < '%4')").arg(m.captured(), column, prefix, next);
    }
    return out + sql.mid(from);
}

QString translate(const QString &sql)
{
    return renameJetCalls(addChapterRanges(mapCreateTable(dropDeleteStar(sql))));
}

void registerFunctions(sqlite3 *db)
{
    add(db, "jet_left", 2, jetLeft);
    add(db, "jet_right", 2, jetRight);
    add(db, "len", 1, jetLen);
    add(db, "mid", 2, jetMid);
    add(db, "mid", 3, jetMid);
    add(db, "cint", 1, jetCint);
}

} // namespace store::jet
