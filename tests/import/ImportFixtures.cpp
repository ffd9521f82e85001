#include "ImportFixtures.h"

#include "ZipArchive.h"

#include <QDir>
#include <QFile>

#include <ctime>

namespace fixtures {

namespace {

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

const char *const kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Default Extension="png" ContentType="image/png"/>
</Types>)";

const char *const kWordNamespaces =
    R"(xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" )"
    R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
    R"(xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" )"
    R"(xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture" )"
    R"(xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math")";

} // namespace

QString run(const QString &text, const QString &properties)
{
    QString out = QStringLiteral("<w:r>");
    if (!properties.isEmpty())
        out += QStringLiteral("<w:rPr>") + properties + QStringLiteral("</w:rPr>");
    const QStringList breaks = text.split(QLatin1Char('\n'));
    for (int b = 0; b < breaks.size(); ++b) {
        if (b > 0)
            out += QStringLiteral("<w:br/>");
        const QStringList tabs = breaks.at(b).split(QLatin1Char('\t'));
        for (int t = 0; t < tabs.size(); ++t) {
            if (t > 0)
                out += QStringLiteral("<w:tab/>");
            if (!tabs.at(t).isEmpty())
                out += QStringLiteral("<w:t xml:space=\"preserve\">") + escaped(tabs.at(t)) + QStringLiteral("</w:t>");
        }
    }
    return out + QStringLiteral("</w:r>");
}

QString paragraph(const QString &text)
{
    return QStringLiteral("<w:p>") + run(text) + QStringLiteral("</w:p>");
}

QString listParagraph(const QString &text, int numId, int level)
{
    return QStringLiteral("<w:p><w:pPr><w:numPr><w:ilvl w:val=\"%1\"/><w:numId w:val=\"%2\"/></w:numPr></w:pPr>")
               .arg(level).arg(numId)
           + run(text) + QStringLiteral("</w:p>");
}

QByteArray zip(const QVector<QPair<QString, QByteArray>> &parts)
{
    docx::ZipArchive archive;
    for (const auto &[name, data] : parts)
        archive.add(name, data);
    return archive.finish();
}

QByteArray docx(const QString &body, const QString &numbering, const QVector<QByteArray> &media)
{
    QVector<QPair<QString, QByteArray>> parts;
    parts << qMakePair(QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes));
    parts << qMakePair(QStringLiteral("_rels/.rels"),
                       QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)"));
    parts << qMakePair(QStringLiteral("word/document.xml"),
                       (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:document ")
                        + QLatin1String(kWordNamespaces) + QStringLiteral("><w:body>") + body
                        + QStringLiteral("</w:body></w:document>")).toUtf8());
    QString relationships = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
    for (int i = 0; i < media.size(); ++i) {
        relationships += QStringLiteral("<Relationship Id=\"rIdImg%1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" Target=\"media/image%1.png\"/>").arg(i + 1);
        parts << qMakePair(QStringLiteral("word/media/image%1.png").arg(i + 1), media.at(i));
    }
    parts << qMakePair(QStringLiteral("word/_rels/document.xml.rels"), (relationships + QStringLiteral("</Relationships>")).toUtf8());
    if (!numbering.isEmpty())
        parts << qMakePair(QStringLiteral("word/numbering.xml"),
                           (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:numbering ") + QLatin1String(kWordNamespaces)
                            + QStringLiteral(">") + numbering + QStringLiteral("</w:numbering>")).toUtf8());
    return zip(parts);
}

QByteArray xlsx(const QVector<QStringList> &rows, const QString &sheetName)
{
    QStringList strings;
    QString sheet = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>");
    for (int r = 0; r < rows.size(); ++r) {
        sheet += QStringLiteral("<row r=\"%1\">").arg(r + 1);
        for (int c = 0; c < rows.at(r).size(); ++c) {
            const QString cell = rows.at(r).at(c);
            if (cell.isEmpty())
                continue;
            const QString reference = QString(QChar(u'A' + c)) + QString::number(r + 1);
            sheet += QStringLiteral("<c r=\"%1\" t=\"s\"><v>%2</v></c>").arg(reference).arg(strings.size());
            strings << cell;
        }
        sheet += QStringLiteral("</row>");
    }
    sheet += QStringLiteral("</sheetData></worksheet>");
    QString shared = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    for (const QString &s : strings)
        shared += QStringLiteral("<si><t xml:space=\"preserve\">") + escaped(s) + QStringLiteral("</t></si>");
    shared += QStringLiteral("</sst>");
    return zip({
        {QStringLiteral("[Content_Types].xml"), QByteArray(kContentTypes)},
        {QStringLiteral("xl/workbook.xml"),
         (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets><sheet name=\"")
          + escaped(sheetName) + QStringLiteral("\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>")).toUtf8()},
        {QStringLiteral("xl/_rels/workbook.xml.rels"),
         QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)")},
        {QStringLiteral("xl/sharedStrings.xml"), shared.toUtf8()},
        {QStringLiteral("xl/worksheets/sheet1.xml"), sheet.toUtf8()},
    });
}

qint64 cpuMilliseconds()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

QString write(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace fixtures
