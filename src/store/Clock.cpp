#include "Clock.h"

namespace store {

namespace {
QDate fixedDay;
}

QDate today() { return fixedDay.isValid() ? fixedDay : QDate::currentDate(); }

void setToday(const QDate &day) { fixedDay = day; }

} // namespace store
