#include "ZipArchive.h"

#include "DocxWriter.h"

#include <zip.h>

#include <algorithm>

namespace docx {

ZipArchive::ZipArchive()
{
    zip_error_t error;
    zip_error_init(&error);
    source_ = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (source_) {
        zip_source_keep(source_); // outlives the archive: the bytes are read from it after closing
        archive_ = zip_open_from_source(source_, ZIP_TRUNCATE, &error);
    }
    const QString reason = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    if (!archive_)
        throw Error(QStringLiteral("cannot start the document package: ") + reason);
}

ZipArchive::~ZipArchive()
{
    if (archive_)
        zip_discard(archive_);
    if (source_)
        zip_source_free(source_);
}

void ZipArchive::add(const QString &name, const QByteArray &data)
{
    // libzip reads the data only when the archive is closed.
    const QByteArray &kept = *data_.insert(data_.end(), data);
    zip_source_t *part = zip_source_buffer(archive_, kept.constData(), zip_uint64_t(kept.size()), 0);
    const QByteArray utf8 = name.toUtf8();
    if (!part || zip_file_add(archive_, utf8.constData(), part, ZIP_FL_ENC_UTF_8) < 0) {
        if (part)
            zip_source_free(part);
        throw Error(QStringLiteral("cannot add %1 to the document package: %2")
                            .arg(name, QString::fromUtf8(zip_strerror(archive_))));
    }
}

QByteArray ZipArchive::finish()
{
    if (zip_close(archive_) < 0)
        throw Error(QStringLiteral("cannot finish the document package: ") + QString::fromUtf8(zip_strerror(archive_)));
    archive_ = nullptr;
    QByteArray bytes;
    if (zip_source_open(source_) < 0)
        throw Error(QStringLiteral("cannot read the document package back"));
    zip_source_seek(source_, 0, SEEK_END);
    const zip_int64_t size = zip_source_tell(source_);
    zip_source_seek(source_, 0, SEEK_SET);
    bytes.resize(qsizetype(std::max<zip_int64_t>(size, 0)));
    const zip_int64_t read = zip_source_read(source_, bytes.data(), zip_uint64_t(bytes.size()));
    zip_source_close(source_);
    if (size < 0 || read != size)
        throw Error(QStringLiteral("cannot read the document package back"));
    return bytes;
}

} // namespace docx
