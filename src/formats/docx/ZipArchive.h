#pragma once

#include <QByteArray>
#include <QString>

#include <list>

struct zip;
struct zip_source;

namespace docx {

// A zip built in memory with libzip. Throws docx::Error when libzip fails.
class ZipArchive
{
public:
    ZipArchive();
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    void add(const QString &name, const QByteArray &data);
    QByteArray finish();

private:
    zip_source *source_ = nullptr;
    zip *archive_ = nullptr;
    std::list<QByteArray> data_; // stable addresses until the archive is closed
};

} // namespace docx
