#pragma once

#include "Docx.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace docx {

class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// The .docx package (a zip of XML parts and media) of a document.
QByteArray toPackage(const Document &document);

// Writes the package to `path` through a temporary file beside it that is
// renamed only once complete: on failure nothing new is left at `path`.
void save(const Document &document, const QString &path);

} // namespace docx
