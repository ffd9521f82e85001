#pragma once

#include <QByteArray>
#include <QString>

namespace formats::import {

// The text of a plain-text file in UTF-8 (with or without BOM), UTF-16 (LE or
// BE, with a BOM or recognized by its zero bytes) or GBK. Throws ImportError
// for a binary file or bytes that are none of these.
QString decodeText(const QByteArray &bytes);

} // namespace formats::import
