#include "TestImages.h"

#include <QBuffer>
#include <QImage>

QByteArray encodedImage(int width, int height, const char *format, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
