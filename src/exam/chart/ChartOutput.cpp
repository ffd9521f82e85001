#include "ChartOutput.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace chart {

namespace {
PrinterAccess access;

QStringList platformPrinters() { return QPrinterInfo::availablePrinterNames(); }

void platformDefaultPrinter(QPrinter &printer)
{
    const QPrinterInfo chosen = QPrinterInfo::defaultPrinter();
    printer.setPrinterName(chosen.isNull() ? platformPrinters().value(0) : chosen.printerName());
}
} // namespace

void setPrinterAccess(const PrinterAccess &a) { access = a; }

QStringList printerNames() { return access.printerNames ? access.printerNames() : platformPrinters(); }

PrintResult printPicture(const Picture &picture)
{
    if (printerNames().isEmpty())
        return PrintResult::NoPrinter;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (access.choosePrinter)
        access.choosePrinter(printer);
    else
        platformDefaultPrinter(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintResult::Failed;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF size = picture.size;
    const qreal scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate((page.width() - size.width() * scale) / 2, (page.height() - size.height() * scale) / 2);
    painter.scale(scale, scale);
    picture.paint(painter);
    return painter.end() ? PrintResult::Printed : PrintResult::Failed;
}

QByteArray pictureFormatFor(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return "PNG";
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return "JPG";
    return "BMP";
}

QString withPictureSuffix(const QString &path)
{
    return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".bmp") : path;
}

bool savePicture(const Picture &picture, const QString &path)
{
    // BMP and JPEG have no transparency: the picture is flattened onto white.
    QImage image(picture.size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture.paint(painter);
    painter.end();
    return image.save(path, pictureFormatFor(path).constData());
}

} // namespace chart
