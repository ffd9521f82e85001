#pragma once

#include <QDate>

namespace store {

// "Today" for every counter and date field: the calendar day without time.
QDate today();

// Fixes "today" (an invalid date returns to the real calendar); for tests and demos.
void setToday(const QDate &day);

} // namespace store
