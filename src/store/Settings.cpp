#include "Settings.h"

#include "Connection.h"

namespace store::settings {

QString value(Connection &c, const QString &key, const QString &fallback)
{
    const QVariant v = c.scalar(QStringLiteral("SELECT value FROM ql_settings WHERE key=:key"), {{QStringLiteral("key"), key}});
    return v.isNull() ? fallback : v.toString();
}

void setValue(Connection &c, const QString &key, const QString &value)
{
    c.execute(QStringLiteral("INSERT INTO ql_settings (key, value) VALUES (:key, :value)"
                             " ON CONFLICT(key) DO UPDATE SET value=excluded.value"),
              {{QStringLiteral("key"), key}, {QStringLiteral("value"), value}});
}

} // namespace store::settings
