#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

namespace store {
class Connection;
}

// A stored mock-exam paper built the way paper generation builds one: its
// score row in tab_cj and its own table tab_exam<k>.
class PaperFixture {
public:
    PaperFixture(store::Connection &connection, int number, const QString &title);

    QString table() const { return m_table; }
    // A paper row; the question's text goes to tab_exer unless `text` is null.
    void add(const QString &id, int type, const QString &key, const QVariant &text,
             const QVariant &explanation = QVariant(), const QStringList &points = {},
             const QString &chapter = QStringLiteral("100101"));

private:
    store::Connection &m_connection;
    QString m_table;
};
