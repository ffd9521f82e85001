#include "StudyHistory.h"

#include "Connection.h"
#include "Routines.h"

#include <QVariantList>

void WriteStudyHistory(store::Connection &bank, const QDate &today, int days)
{
    store::Transaction t(bank);
    for (int i = 0; i < days; ++i) {
        if (i % 6 == 4)
            continue; // a rest day
        const QDate day = today.addDays(i - days + 1);
        const int attempts = 18 + (i * 37) % 47;
        const int wrong = attempts * (38 - i) / 100;
        const int minutes = 20 + (i * 23) % 50;
        bank.execute(QStringLiteral("insert into tab_rz (A1, A2, A3, A4, B1, B2, D1) values (?, ?, ?, ?, ?, ?, ?)"),
                     store::Params::byPosition({day, attempts, wrong, PercentText(attempts, wrong),
                                                attempts * 4 / 5, wrong * 3 / 4, FormatHms(minutes * 60 + i)}));
    }
    // Later chapters are less worked through, as a learner goes through the book in order.
    bank.execute(QStringLiteral(
        "update tab_kmmc set C4 = C3 * ((bh * 29) % 70 + 10) / 100 where C7 = '0'"));
    bank.execute(QStringLiteral("update tab_kmmc set D1 = C4 * 2 + bh % 7, D2 = (C4 * 2 + bh % 7) * (bh % 5 + 2) / 10 "
                                "where C7 = '0'"));
    t.commit();
}
