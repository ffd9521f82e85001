#pragma once

#include <QtGlobal>

// Bounds that keep a hostile or broken file from taking the program down:
// whatever passes them is read in a few seconds at most.
namespace formats::import::limits {

// Largest file read at all (checked before reading, so a huge file is refused at once).
constexpr qint64 kFileBytes = 64ll * 1024 * 1024;
// Largest text file: 16 MB of text is tens of thousands of questions.
constexpr qint64 kTextBytes = 16ll * 1024 * 1024;
// Largest expanded part of a .docx/.xlsx, and all parts read together (zip bombs).
constexpr qint64 kPartBytes = 64ll * 1024 * 1024;
constexpr qint64 kPackageBytes = 256ll * 1024 * 1024;
// Deepest XML element nesting accepted.
constexpr int kXmlDepth = 256;
// Most questions taken from one file; the rest is reported.
constexpr int kQuestions = 20000;
// Most cells of a sheet row and rows of a sheet looked at.
constexpr int kColumns = 256;
constexpr int kRows = 100000;
// Wall-clock budget of reading and recognizing one file.
constexpr int kMilliseconds = 15000;

} // namespace formats::import::limits
