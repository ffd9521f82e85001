#include "SafeXml.h"

#include "Deadline.h"
#include "Limits.h"
#include "Recognized.h"

namespace formats::import {

SafeXml::SafeXml(const QByteArray &xml, const QString &partName, const Deadline &deadline)
    : reader_(xml), partName_(partName), deadline_(deadline)
{
    reader_.setNamespaceProcessing(true);
}

bool SafeXml::next()
{
    for (;;) {
        if ((++steps_ & 0xfff) == 0)
            deadline_.check();
        switch (reader_.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth_ > limits::kXmlDepth)
                throw ImportError(QStringLiteral("文件中的 %1 嵌套超过 %2 层，文件异常，已拒绝读取。")
                                      .arg(partName_).arg(limits::kXmlDepth));
            return true;
        case QXmlStreamReader::EndElement:
            --depth_;
            return true;
        case QXmlStreamReader::Characters:
            return true;
        case QXmlStreamReader::DTD:
        case QXmlStreamReader::EntityReference:
            throw ImportError(QStringLiteral("文件中的 %1 含有文档类型声明或实体定义，Office 文件不会有这些内容，已拒绝读取。")
                                  .arg(partName_));
        case QXmlStreamReader::EndDocument:
            return false;
        case QXmlStreamReader::Invalid:
            throw ImportError(QStringLiteral("文件已损坏：%1 不是完整的 XML（%2）。")
                                  .arg(partName_, reader_.errorString()));
        default:
            break;
        }
    }
}

QString SafeXml::attribute(QLatin1StringView localName) const
{
    for (const QXmlStreamAttribute &a : reader_.attributes())
        if (a.name() == localName)
            return a.value().toString();
    return {};
}

} // namespace formats::import
