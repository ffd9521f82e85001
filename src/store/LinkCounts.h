#pragma once

#include <QString>
#include <QStringList>

namespace store {

class Connection;

// How many questions link each exam point and each catalogue entry. A question
// links the points in K3, K4, … up to the first empty field. An entry (an item,
// the first 6 characters of a point, or a group, the first 2) counts every
// question once, however many of its points the question links: the same rule
// by which an answer raises an entry's q1, q2 and q4 once.

// (a1, p): one row per question and point it links.
QString linkPairsSql(const QString &schema = QStringLiteral("main"));
// (id, n): questions linking each point that has any.
QString pointLinkCountsSql(const QString &schema = QStringLiteral("main"));
// (id, n): questions linking each item and group that has any.
QString entryLinkCountsSql(const QString &schema = QStringLiteral("main"));

// Sets q of the given points and of their items and groups to the number of
// questions linking them; with no points given, of every point and entry.
void recountLinks(Connection &c, const QStringList &points = {}, const QString &schema = QStringLiteral("main"));

} // namespace store
