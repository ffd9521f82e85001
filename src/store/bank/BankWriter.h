#pragma once

#include "Content.h"

#include <QDate>
#include <QString>

namespace bank {

// Question ids: 12 characters for a lone question (section, type, number);
// grouped questions share a 16-character stem key and add their number.
QString questionId(const QString &section, int type, int number);
QString groupKey(const QString &section, int type, int number);

// Writes the whole content into a new bank file. The file appears only when
// everything was written and checked; an existing file is refused unless
// `replace` is set.
void buildBank(const Content &content, const QString &bankFile, bool replace, const QDate &buildDay);

// Writes content into a new upgrade file whose tab_sj holds only the upgrade
// identifier sjbs and the product identifier cpbs; checked like a bank's content.
void buildUpgradeFile(const Content &content, const QString &file, const QString &sjbs, const QString &cpbs,
                      bool replace, const QDate &buildDay);

} // namespace bank
