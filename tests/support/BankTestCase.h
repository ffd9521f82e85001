#pragma once

#include "DataModule.h"
#include "FixtureBank.h"

#include <QObject>
#include <memory>

// A fresh fixture bank and data module per test, "today" fixed at 2026-12-08.
class BankTestCase : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<FixtureBank> bank;
    std::unique_ptr<TDM1> dm;

    void openFreshBank();
    void closeBank() { dm.reset(); }
    QVariant db(const QString &sql) { return dm->ADOCn1.scalar(sql); }
};
