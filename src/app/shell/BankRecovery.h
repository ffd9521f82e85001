#pragma once

#include "DataModule.h"

#include <memory>

// The data module when the bank opens and passes PRAGMA quick_check; otherwise
// offers to restore the newest sound backup and opens the restored bank.
// Null when there is no usable bank (the caller says so).
std::unique_ptr<TDM1> OpenBankOrOfferRestore(const QString &programFolder);

// The start-up backup: at most one a day, failures only noted.
void MakeDailyBackup(TDM1 &dataModule);
