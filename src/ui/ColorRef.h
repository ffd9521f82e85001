#pragma once

#include <QColor>

namespace ui {

// A colour stored the Windows way: blue × 65536 + green × 256 + red.
inline QColor fromColorRef(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

} // namespace ui
