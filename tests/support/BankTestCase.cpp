#include "BankTestCase.h"

#include "Clock.h"

#include <QtTest>

void BankTestCase::openFreshBank()
{
    dm.reset();
    bank = std::make_unique<FixtureBank>();
    dm = std::make_unique<TDM1>(bank->folder());
    QVERIFY(dm->connected);
    store::setToday(QDate(2026, 12, 8));
}
