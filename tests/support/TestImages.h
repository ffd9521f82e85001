#pragma once

#include <QByteArray>
#include <QColor>

// A picture of one colour, encoded as a file of the given format ("PNG", "JPEG").
QByteArray encodedImage(int width, int height, const char *format, QColor color = Qt::red);
