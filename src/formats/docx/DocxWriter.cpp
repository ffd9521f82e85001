#include "DocxWriter.h"
#include "ZipArchive.h"

#include "BodyXml.h"

#include <QSaveFile>
#include <QSet>
#include <QXmlStreamWriter>


#include <algorithm>
#include <functional>

namespace docx {
namespace {

const QString &W = WordNamespace;
const QString PackageRels = QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships");
const QString OfficeRels = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

QByteArray xmlPart(const std::function<void(QXmlStreamWriter &)> &body)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument(QStringLiteral("1.0"), true);
    body(xml);
    xml.writeEndDocument();
    return bytes;
}

QString mediaName(const Document &document, int index)
{
    return QStringLiteral("media/image%1.%2").arg(index + 1).arg(document.pictures.at(index).extension);
}

QByteArray contentTypes(const Document &document)
{
    return xmlPart([&](QXmlStreamWriter &xml) {
        const QString ct = QStringLiteral("http://schemas.openxmlformats.org/package/2006/content-types");
        xml.writeDefaultNamespace(ct);
        xml.writeStartElement(ct, QStringLiteral("Types"));
        auto byExtension = [&](const QString &extension, const QString &type) {
            xml.writeEmptyElement(ct, QStringLiteral("Default"));
            xml.writeAttribute(QStringLiteral("Extension"), extension);
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        };
        byExtension(QStringLiteral("rels"), QStringLiteral("application/vnd.openxmlformats-package.relationships+xml"));
        byExtension(QStringLiteral("xml"), QStringLiteral("application/xml"));
        QSet<QString> extensions;
        for (const Picture &picture : document.pictures)
            extensions.insert(picture.extension);
        for (const QString &extension : {QStringLiteral("png"), QStringLiteral("jpeg")})
            if (extensions.contains(extension))
                byExtension(extension, QStringLiteral("image/") + extension);
        const QString wml = QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.");
        const std::pair<const char *, QString> parts[] = {
            {"/word/document.xml", wml + QStringLiteral("document.main+xml")},
            {"/word/styles.xml", wml + QStringLiteral("styles+xml")},
            {"/word/settings.xml", wml + QStringLiteral("settings+xml")},
            {"/word/fontTable.xml", wml + QStringLiteral("fontTable+xml")},
            {"/docProps/core.xml", QStringLiteral("application/vnd.openxmlformats-package.core-properties+xml")}};
        for (const auto &[part, type] : parts) {
            xml.writeEmptyElement(ct, QStringLiteral("Override"));
            xml.writeAttribute(QStringLiteral("PartName"), QLatin1String(part));
            xml.writeAttribute(QStringLiteral("ContentType"), type);
        }
        xml.writeEndElement();
    });
}

using Relationship = std::pair<QString, std::pair<QString, QString>>; // id, (type, target)

QByteArray relationships(const QVector<Relationship> &list)
{
    return xmlPart([&](QXmlStreamWriter &xml) {
        xml.writeDefaultNamespace(PackageRels);
        xml.writeStartElement(PackageRels, QStringLiteral("Relationships"));
        for (const auto &[id, typeAndTarget] : list) {
            xml.writeEmptyElement(PackageRels, QStringLiteral("Relationship"));
            xml.writeAttribute(QStringLiteral("Id"), id);
            xml.writeAttribute(QStringLiteral("Type"), typeAndTarget.first);
            xml.writeAttribute(QStringLiteral("Target"), typeAndTarget.second);
        }
        xml.writeEndElement();
    });
}

QByteArray packageRelationships()
{
    return relationships({
        {QStringLiteral("rId1"), {OfficeRels + QStringLiteral("/officeDocument"), QStringLiteral("word/document.xml")}},
        {QStringLiteral("rId2"),
         {QStringLiteral("http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties"),
          QStringLiteral("docProps/core.xml")}},
    });
}

QByteArray documentRelationships(const Document &document)
{
    QVector<Relationship> list = {
        {QStringLiteral("rIdStyles"), {OfficeRels + QStringLiteral("/styles"), QStringLiteral("styles.xml")}},
        {QStringLiteral("rIdSettings"), {OfficeRels + QStringLiteral("/settings"), QStringLiteral("settings.xml")}},
        {QStringLiteral("rIdFonts"), {OfficeRels + QStringLiteral("/fontTable"), QStringLiteral("fontTable.xml")}},
    };
    for (int i = 0; i < document.pictures.size(); ++i)
        list.append({pictureRelationshipId(i), {OfficeRels + QStringLiteral("/image"), mediaName(document, i)}});
    return relationships(list);
}

QByteArray styles(const Document &document)
{
    return xmlPart([&](QXmlStreamWriter &xml) {
        auto val = [&](const QString &name, const QString &value) { writeValue(xml, name, value); };
        xml.writeNamespace(W, QStringLiteral("w"));
        xml.writeStartElement(W, QStringLiteral("styles"));
        xml.writeStartElement(W, QStringLiteral("docDefaults"));
        xml.writeStartElement(W, QStringLiteral("rPrDefault"));
        xml.writeStartElement(W, QStringLiteral("rPr"));
        xml.writeEmptyElement(W, QStringLiteral("rFonts"));
        xml.writeAttribute(W, QStringLiteral("ascii"), document.defaultLatinFont);
        xml.writeAttribute(W, QStringLiteral("hAnsi"), document.defaultLatinFont);
        xml.writeAttribute(W, QStringLiteral("eastAsia"), faceName(document.defaultCjkFont));
        xml.writeAttribute(W, QStringLiteral("cs"), document.defaultLatinFont);
        const QString halfPoints = QString::number(qRound(document.defaultPointSize * 2));
        val(QStringLiteral("sz"), halfPoints);
        val(QStringLiteral("szCs"), halfPoints);
        xml.writeEmptyElement(W, QStringLiteral("lang"));
        xml.writeAttribute(W, QStringLiteral("val"), QStringLiteral("en-US"));
        xml.writeAttribute(W, QStringLiteral("eastAsia"), QStringLiteral("zh-CN"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeStartElement(W, QStringLiteral("style"));
        xml.writeAttribute(W, QStringLiteral("type"), QStringLiteral("paragraph"));
        xml.writeAttribute(W, QStringLiteral("default"), QStringLiteral("1"));
        xml.writeAttribute(W, QStringLiteral("styleId"), QStringLiteral("Normal"));
        val(QStringLiteral("name"), QStringLiteral("Normal"));
        xml.writeStartElement(W, QStringLiteral("pPr"));
        val(QStringLiteral("jc"), QStringLiteral("both"));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    });
}

QByteArray settings()
{
    return xmlPart([](QXmlStreamWriter &xml) {
        xml.writeNamespace(W, QStringLiteral("w"));
        xml.writeStartElement(W, QStringLiteral("settings"));
        writeValue(xml, QStringLiteral("defaultTabStop"), QStringLiteral("420"));
        writeValue(xml, QStringLiteral("characterSpacingControl"), QStringLiteral("compressPunctuation"));
        xml.writeEndElement();
    });
}

struct FontEntry {
    QString face;
    QString name; // as the text names it
    bool cjk;
};

void collectFonts(const Paragraph &p, QVector<FontEntry> &fonts)
{
    for (const Inline &piece : p.inlines) {
        const QString &name = piece.format.font;
        if (name.isEmpty())
            continue;
        const QString face = faceName(name);
        if (std::none_of(fonts.cbegin(), fonts.cend(), [&](const FontEntry &f) { return f.face == face; }))
            fonts.append({face, name, piece.format.fontIsCjk});
    }
}

QByteArray fontTable(const Document &document)
{
    QVector<FontEntry> fonts = {{faceName(document.defaultCjkFont), document.defaultCjkFont, true},
                                {faceName(document.defaultLatinFont), document.defaultLatinFont, false}};
    for (const Block &block : document.body) {
        if (const auto *p = std::get_if<Paragraph>(&block)) {
            collectFonts(*p, fonts);
            continue;
        }
        for (const QVector<Cell> &row : std::get<Table>(block).rows)
            for (const Cell &cell : row)
                for (const Paragraph &p : cell.paragraphs)
                    collectFonts(p, fonts);
    }
    return xmlPart([&](QXmlStreamWriter &xml) {
        xml.writeNamespace(W, QStringLiteral("w"));
        xml.writeStartElement(W, QStringLiteral("fonts"));
        for (const FontEntry &font : fonts) {
            xml.writeStartElement(W, QStringLiteral("font"));
            xml.writeAttribute(W, QStringLiteral("name"), font.face);
            auto val = [&](const QString &element, const QString &value) { writeValue(xml, element, value); };
            if (font.face != font.name)
                val(QStringLiteral("altName"), font.name);
            // GB2312 charset: Word picks the Chinese face, not a Latin one of the same name.
            val(QStringLiteral("charset"), font.cjk ? QStringLiteral("86") : QStringLiteral("00"));
            val(QStringLiteral("family"), font.cjk ? QStringLiteral("auto") : QStringLiteral("roman"));
            val(QStringLiteral("pitch"), QStringLiteral("variable"));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    });
}

QByteArray coreProperties(const Document &document)
{
    return xmlPart([&](QXmlStreamWriter &xml) {
        const QString cp = QStringLiteral("http://schemas.openxmlformats.org/package/2006/metadata/core-properties");
        const QString dc = QStringLiteral("http://purl.org/dc/elements/1.1/");
        xml.writeNamespace(cp, QStringLiteral("cp"));
        xml.writeNamespace(dc, QStringLiteral("dc"));
        xml.writeStartElement(cp, QStringLiteral("coreProperties"));
        xml.writeTextElement(dc, QStringLiteral("title"), xmlSafe(document.title));
        xml.writeEndElement();
    });
}

} // namespace

QByteArray toPackage(const Document &document)
{
    for (const Picture &picture : document.pictures)
        if (picture.extension != QLatin1String("png") && picture.extension != QLatin1String("jpeg"))
            throw Error(QStringLiteral("pictures must be PNG or JPEG, not ") + picture.extension);
    ZipArchive zip;
    zip.add(QStringLiteral("[Content_Types].xml"), contentTypes(document));
    zip.add(QStringLiteral("_rels/.rels"), packageRelationships());
    zip.add(QStringLiteral("docProps/core.xml"), coreProperties(document));
    zip.add(QStringLiteral("word/document.xml"), documentXml(document));
    zip.add(QStringLiteral("word/_rels/document.xml.rels"), documentRelationships(document));
    zip.add(QStringLiteral("word/styles.xml"), styles(document));
    zip.add(QStringLiteral("word/settings.xml"), settings());
    zip.add(QStringLiteral("word/fontTable.xml"), fontTable(document));
    for (int i = 0; i < document.pictures.size(); ++i)
        zip.add(QStringLiteral("word/") + mediaName(document, i), document.pictures.at(i).data);
    return zip.finish();
}

void save(const Document &document, const QString &path)
{
    const QByteArray package = toPackage(document);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    if (file.write(package) != package.size() || !file.commit())
        throw Error(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

} // namespace docx
