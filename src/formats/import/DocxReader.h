#pragma once

#include "Source.h"

#include <QByteArray>

namespace formats::import {

class Deadline;

// The body of a .docx as lines: one per paragraph and per line break in it,
// automatic list numbers written out, tables as lines of their own, pictures
// read from the package. Throws ImportError for a package that cannot be read.
SourceDocument readDocx(const QByteArray &data, const Deadline &deadline);

} // namespace formats::import
