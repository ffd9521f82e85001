#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace formats::import {

// A zip package held in memory, read part by part with the size limits
// applied while inflating, so a part that lies about its size is still stopped.
class ZipPackage
{
public:
    // Throws ImportError for data that is no zip archive. `kind` names the file
    // kind in messages ("Word 文档", "Excel 工作簿").
    ZipPackage(const QByteArray &data, const QString &kind);
    ~ZipPackage();

    bool contains(const QString &name) const;
    // The part's bytes; an empty array when the package has no such part.
    // Throws ImportError for an encrypted, damaged or oversized part.
    QByteArray read(const QString &name);

private:
    struct Archive;
    std::unique_ptr<Archive> archive_;
    QString kind_;
    qint64 expanded_ = 0;
};

// "word/document.xml" from a relationship target "document.xml" of "word/_rels/…".
QString resolvePartName(const QString &baseFolder, const QString &target);

} // namespace formats::import
