#include "Dataset.h"

#include "Error.h"

#include <cmath>

namespace store {

namespace {
QString notANumber(const QVariant &v, const char *kind)
{
    return QStringLiteral("'%1' is not a valid %2 value").arg(v.toString(), QLatin1String(kind));
}
} // namespace

namespace convert {

QString toText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.userType()) {
    case QMetaType::Double:
        return QString::number(v.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate);
    case QMetaType::QByteArray:
        return QString::fromUtf8(v.toByteArray());
    default:
        return v.toString();
    }
}

qint64 toLargeInt(const QVariant &v)
{
    if (v.isNull())
        return 0;
    switch (v.userType()) {
    case QMetaType::Double:
        return qint64(std::nearbyint(v.toDouble()));
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::Bool:
        return v.toLongLong();
    default: {
        const QString s = toText(v).trimmed();
        if (s.isEmpty())
            throw Error(notANumber(v, "integer"));
        bool ok = false;
        const qint64 n = s.toLongLong(&ok);
        if (!ok)
            throw Error(notANumber(v, "integer"));
        return n;
    }
    }
}

double toFloat(const QVariant &v)
{
    if (v.isNull())
        return 0.0;
    if (v.userType() == QMetaType::Double || v.userType() == QMetaType::LongLong || v.userType() == QMetaType::Int)
        return v.toDouble();
    bool ok = false;
    const double d = toText(v).trimmed().toDouble(&ok);
    if (!ok)
        throw Error(notANumber(v, "floating point"));
    return d;
}

QDate toDate(const QVariant &v)
{
    if (v.isNull())
        return QDate();
    if (v.userType() == QMetaType::QDate)
        return v.toDate();
    return QDate::fromString(toText(v).left(10), Qt::ISODate);
}

} // namespace convert

QString Field::name() const { return m_dataset->m_snap->columns.at(m_column).name; }
QVariant Field::value() const { return m_dataset->cell(m_column); }
bool Field::isNull() const { return value().isNull(); }
QString Field::asString() const { return convert::toText(value()); }
int Field::asInteger() const { return int(convert::toLargeInt(value())); }
qint64 Field::asLargeInt() const { return convert::toLargeInt(value()); }
double Field::asFloat() const { return convert::toFloat(value()); }
QDate Field::asDate() const { return convert::toDate(value()); }

QByteArray Field::asBytes() const
{
    const QVariant v = value();
    return v.userType() == QMetaType::QByteArray ? v.toByteArray() : asString().toUtf8();
}

int Field::blobSize() const { return value().isNull() ? 0 : int(asBytes().size()); }

void Field::setValue(const QVariant &v) const { const_cast<Dataset *>(m_dataset)->setCell(m_column, v); }

} // namespace store
