#pragma once

#include "Measure.h"

namespace store {
class Connection;
}

// The search index on the bench's bank: building it from nothing, and
// queries of one, two and six characters answered from it.
QVector<Measurement> searchMeasurements(store::Connection &bank, int runs);
