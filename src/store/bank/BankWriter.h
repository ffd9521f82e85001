#pragma once

#include "Content.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <functional>

namespace bank {

// Question ids: 12 characters for a lone question (section, type, number);
// grouped questions share a 16-character stem key and add their number.
QString questionId(const QString &section, int type, int number);
QString groupKey(const QString &section, int type, int number);

// Writes the whole content into a new bank file. The file appears only when
// everything was written and checked; an existing file is refused unless
// `replace` is set.
void buildBank(const Content &content, const QString &bankFile, bool replace, const QDate &buildDay);

// The highest numbers a bank already gives its questions and groups, so that
// the questions of an upgrade continue them instead of starting at 1 again.
struct Numbering {
    QHash<QString, int> lone;   // section + two-digit type -> highest question number
    QHash<QString, int> groups; // section -> highest group number

    // Counts a question id or a group key as taken; other ids are not ours to number.
    void take(const QString &id);
    // Takes every question id and group key of a bank file.
    void takeAllOf(const QString &bankFile);
};

struct UpgradeFileOrder {
    QString sjbs; // upgrade identifier
    QString cpbs; // product identifier
    Numbering after;
    // Called on the finished file before it is moved into place; throws
    // store::Error to refuse it (for a file that would not apply).
    std::function<void(const QString &file)> vet;
};

// Writes content into a new upgrade file whose tab_sj holds only the upgrade
// and product identifiers, numbering questions after `order.after`; checked
// like a bank's content, then vetted.
void buildUpgradeFile(const Content &content, const QString &file, const UpgradeFileOrder &order, bool replace,
                      const QDate &buildDay);

} // namespace bank
