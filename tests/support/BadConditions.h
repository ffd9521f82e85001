#pragma once

#include <QByteArray>
#include <QString>

namespace store { class Connection; }

// Uses up every page the bank may have, as a disk with no room left would:
// the next write that needs a new page fails with Condition::DiskFull.
// "PRAGMA max_page_count = 1000000" gives the room back.
void fillTheDisk(store::Connection &c);

// A digest of the file's bytes; empty when it cannot be read.
QByteArray fileHash(const QString &path);
