#pragma once

#include "Measure.h"

// The import of a 1,000-question text document into a section of the bank:
// recognizing it and showing the preview, and writing it as one batch.
QVector<Measurement> importingADocument(int runs, const QString &folder, const QString &section);
