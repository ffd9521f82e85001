#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>

class QPainter;
class QPrinter;

namespace chart {

// The platform's printers, behind a seam: tests list their own and send the page to a PDF file.
struct PrinterAccess {
    std::function<QStringList()> printerNames;
    std::function<void(QPrinter &)> choosePrinter; // points the printer at its target
};
// Members left empty fall back to the platform's printer list and default printer.
void setPrinterAccess(const PrinterAccess &access);
QStringList printerNames();

// What is printed or saved: its size and how to draw it.
struct Picture {
    QSize size;
    std::function<void(QPainter &)> paint;
};

enum class PrintResult { Printed, NoPrinter, Failed };
// Prints the picture scaled to fill the page with its shape kept.
PrintResult printPicture(const Picture &picture);

// The picture format for a file name: PNG and JPEG by their suffix, BMP for any other.
QByteArray pictureFormatFor(const QString &path);
// A name without a suffix gets ".bmp".
QString withPictureSuffix(const QString &path);
bool savePicture(const Picture &picture, const QString &path);

} // namespace chart
