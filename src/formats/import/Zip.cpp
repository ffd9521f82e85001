#include "Zip.h"

#include "Limits.h"
#include "Recognized.h"

#include <zip.h>

namespace formats::import {

struct ZipPackage::Archive {
    zip_t *zip = nullptr;
    QByteArray data; // libzip reads from this buffer without copying
    ~Archive()
    {
        if (zip)
            zip_discard(zip);
    }
};

namespace {

bool looksEncryptedOffice(const QByteArray &data)
{
    // An Office file protected by a password is an OLE compound file, not a zip.
    static const QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    return data.startsWith(ole);
}

} // namespace

ZipPackage::ZipPackage(const QByteArray &data, const QString &kind)
    : archive_(std::make_unique<Archive>()), kind_(kind)
{
    if (looksEncryptedOffice(data))
        throw ImportError(QStringLiteral("这个%1设置了密码或是旧版格式（.doc/.xls），无法读取。请在 Office 中去掉密码并另存为 .docx/.xlsx 后再导入。").arg(kind));
    archive_->data = data;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(archive_->data.constData(),
                                                    zip_uint64_t(archive_->data.size()), 0, &error);
    if (source)
        archive_->zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive_->zip) {
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        throw ImportError(QStringLiteral("这个%1已损坏或不是%1（无法作为压缩包打开）。").arg(kind));
    }
    zip_error_fini(&error);
}

ZipPackage::~ZipPackage() = default;

bool ZipPackage::contains(const QString &name) const
{
    return zip_name_locate(archive_->zip, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

QByteArray ZipPackage::read(const QString &name)
{
    const zip_int64_t index = zip_name_locate(archive_->zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0)
        return {};
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_->zip, zip_uint64_t(index), 0, &stat) != 0)
        throw ImportError(QStringLiteral("这个%1已损坏（%2 无法读取）。").arg(kind_, name));
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
        throw ImportError(QStringLiteral("这个%1已加密，无法读取。请去掉密码后再导入。").arg(kind_));
    if ((stat.valid & ZIP_STAT_SIZE) && stat.size > zip_uint64_t(limits::kPartBytes))
        throw ImportError(QStringLiteral("这个%1中的 %2 解压后超过 %3 MB，文件异常，已拒绝读取。")
                              .arg(kind_, name).arg(limits::kPartBytes >> 20));

    zip_file_t *file = zip_fopen_index(archive_->zip, zip_uint64_t(index), 0);
    if (!file)
        throw ImportError(QStringLiteral("这个%1已损坏（%2 无法解压）。").arg(kind_, name));
    QByteArray out;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            zip_fclose(file);
            throw ImportError(QStringLiteral("这个%1已损坏（%2 解压出错）。").arg(kind_, name));
        }
        if (n == 0)
            break;
        out.append(buffer, qsizetype(n));
        expanded_ += n;
        if (out.size() > limits::kPartBytes || expanded_ > limits::kPackageBytes) {
            zip_fclose(file);
            throw ImportError(QStringLiteral("这个%1解压后超过 %2 MB，文件异常（可能是“压缩炸弹”），已拒绝读取。")
                                  .arg(kind_).arg((out.size() > limits::kPartBytes ? limits::kPartBytes : limits::kPackageBytes) >> 20));
        }
    }
    // A damaged entry whose CRC does not match is reported by the close.
    if (zip_fclose(file) != 0)
        throw ImportError(QStringLiteral("这个%1已损坏（%2 校验失败）。").arg(kind_, name));
    return out;
}

QString resolvePartName(const QString &baseFolder, const QString &target)
{
    QString path = target.startsWith(QLatin1Char('/')) ? target.mid(1) : baseFolder + target;
    QStringList parts;
    for (const QString &part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            parts.isEmpty() ? void() : parts.removeLast();
        else if (part != QLatin1String("."))
            parts << part;
    }
    return parts.join(QLatin1Char('/'));
}

} // namespace formats::import
