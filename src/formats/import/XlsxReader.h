#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace formats::import {

class Deadline;

struct SheetRow {
    int number = 0;    // the row number Excel shows
    QStringList cells; // by column, "" where empty
};

struct Sheet {
    QString name;
    QVector<SheetRow> rows; // rows with at least one cell, in order
};

// The worksheets of an .xlsx in workbook order, cell values as text.
// Throws ImportError for a package that cannot be read.
QVector<Sheet> readXlsx(const QByteArray &data, const Deadline &deadline);

} // namespace formats::import
