#include "DocxReader.h"

#include "Deadline.h"
#include "DocxNumbering.h"
#include "Recognized.h"
#include "SafeXml.h"
#include "Zip.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImageReader>

namespace formats::import {

namespace {

const QString kKind = QStringLiteral("Word 文档");
constexpr int kLargestPictureSide = 10000;

bool isOn(const SafeXml &xml)
{
    const QString v = xml.attribute(QLatin1StringView("val"));
    return v.isEmpty() || (v != QLatin1String("0") && v != QLatin1String("false") && v != QLatin1String("off")
                           && v != QLatin1String("none"));
}

// Symbols of the Wingdings font that question files use for true and false.
QChar symbolChar(const QString &code)
{
    const uint c = code.toUInt(nullptr, 16) & 0xff;
    switch (c) {
    case 0xFC: return QChar(0x221A);  // √
    case 0xFB: case 0xFD: return QChar(0x00D7); // ×
    default: return {};
    }
}

QHash<QString, QString> readRelationships(ZipPackage &zip, const Deadline &deadline)
{
    QHash<QString, QString> targets;
    const QString name = QStringLiteral("word/_rels/document.xml.rels");
    const QByteArray data = zip.read(name);
    if (data.isEmpty())
        return targets;
    SafeXml xml(data, name, deadline);
    while (xml.next())
        if (xml.isStart(QLatin1StringView("Relationship"))
            && xml.attribute(QLatin1StringView("TargetMode")) != QLatin1String("External"))
            targets.insert(xml.attribute(QLatin1StringView("Id")),
                           resolvePartName(QStringLiteral("word/"), xml.attribute(QLatin1StringView("Target"))));
    return targets;
}

class BodyReader
{
public:
    BodyReader(SafeXml &xml, ZipPackage &zip, SourceDocument &document, DocxNumbering &numbering,
               QHash<QString, QString> relationships)
        : xml_(xml), zip_(zip), document_(document), numbering_(numbering), relationships_(std::move(relationships))
    {
    }

    // Paragraphs and tables up to the end of the element the reader stands in.
    void readBlocks(QVector<SourceLine> &out)
    {
        const int depth = xml_.depth();
        while (xml_.next() && xml_.depth() >= depth) {
            if (!xml_.isStart())
                continue;
            if (xml_.isStart(QLatin1StringView("p")))
                readParagraph(out);
            else if (xml_.isStart(QLatin1StringView("tbl")))
                out << readTable();
            else if (xml_.isStart(QLatin1StringView("sectPr")) || xml_.isStart(QLatin1StringView("del")))
                skipElement();
        }
    }

private:
    void skipElement()
    {
        const int depth = xml_.depth();
        while (xml_.next() && xml_.depth() >= depth) {
        }
    }

    void append(SourceLine &line, const QString &text, const QTextCharFormat &format, int picture = -1)
    {
        if (text.isEmpty())
            return;
        if (picture >= 0 || !format.properties().isEmpty())
            line.spans << Span{int(line.text.size()), int(text.size()), format, picture};
        line.text += text;
    }

    void readParagraph(QVector<SourceLine> &out)
    {
        const int depth = xml_.depth();
        SourceLine line;
        line.number = ++paragraphs_;
        QString numId;
        int level = 0;
        bool inRun = false, inText = false, inProperties = false;
        int superscript = 0, subscript = 0;
        QTextCharFormat format;
        while (xml_.next() && xml_.depth() >= depth) {
            if (xml_.token() == QXmlStreamReader::Characters) {
                if (inText) {
                    QTextCharFormat f = format;
                    if (superscript > 0)
                        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                    else if (subscript > 0)
                        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
                    append(line, xml_.text().toString(), f);
                }
                continue;
            }
            const QStringView name = xml_.name();
            if (xml_.isEnd()) {
                if (name == QLatin1String("t"))
                    inText = false;
                else if (name == QLatin1String("r"))
                    inRun = false;
                else if (name == QLatin1String("sup"))
                    --superscript;
                else if (name == QLatin1String("sub"))
                    --subscript;
                else if (name == QLatin1String("pPr")) {
                    inProperties = false;
                    if (!numId.isEmpty())
                        line.text = numbering_.next(numId, level) + QLatin1Char(' ') + line.text;
                }
                continue;
            }
            if (name == QLatin1String("pPr")) {
                inProperties = true;
            } else if (inProperties && name == QLatin1String("numId")) {
                numId = xml_.attribute(QLatin1StringView("val"));
            } else if (inProperties && name == QLatin1String("ilvl")) {
                level = xml_.attribute(QLatin1StringView("val")).toInt();
            } else if (inProperties && name == QLatin1String("rPr")) {
                skipElement(); // the paragraph mark's format
            } else if (name == QLatin1String("r")) {
                inRun = true;
                format = QTextCharFormat();
            } else if (name == QLatin1String("t")) {
                inText = true;
            } else if (name == QLatin1String("sup")) {
                ++superscript;
            } else if (name == QLatin1String("sub")) {
                ++subscript;
            } else if (name == QLatin1String("del") || name == QLatin1String("Fallback")
                       || name == QLatin1String("txbxContent") || name == QLatin1String("instrText")) {
                skipElement();
            } else if (inRun) {
                readRunPart(name.toString(), line, format, out);
            }
        }
        out << line;
    }

    void readRunPart(const QString &name, SourceLine &line, QTextCharFormat &format, QVector<SourceLine> &out)
    {
        if (name == QLatin1String("b")) {
            format.setFontWeight(isOn(xml_) ? QFont::Bold : QFont::Normal);
        } else if (name == QLatin1String("i")) {
            format.setFontItalic(isOn(xml_));
        } else if (name == QLatin1String("u")) {
            format.setFontUnderline(isOn(xml_));
        } else if (name == QLatin1String("strike")) {
            format.setFontStrikeOut(isOn(xml_));
        } else if (name == QLatin1String("vertAlign")) {
            const QString v = xml_.attribute(QLatin1StringView("val"));
            if (v == QLatin1String("superscript"))
                format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            else if (v == QLatin1String("subscript"))
                format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        } else if (name == QLatin1String("color")) {
            const QString v = xml_.attribute(QLatin1StringView("val"));
            const QColor colour(QLatin1Char('#') + v);
            if (v != QLatin1String("auto") && colour.isValid() && colour != Qt::black)
                format.setForeground(colour);
        } else if (name == QLatin1String("tab")) {
            append(line, QStringLiteral("\t"), format);
        } else if (name == QLatin1String("br") || name == QLatin1String("cr")) {
            const int number = line.number;
            out << line;
            line = SourceLine();
            line.number = number;
        } else if (name == QLatin1String("sym")) {
            const QChar c = symbolChar(xml_.attribute(QLatin1StringView("char")));
            if (!c.isNull())
                append(line, QString(c), format);
        } else if (name == QLatin1String("blip")) {
            addPicture(line, xml_.attribute(QLatin1StringView("embed")));
        } else if (name == QLatin1String("imagedata")) {
            addPicture(line, xml_.attribute(QLatin1StringView("id")));
        }
    }

    void addPicture(SourceLine &line, const QString &relationship)
    {
        int index = pictureOfRelationship_.value(relationship, -1);
        if (index < 0) {
            SourcePicture picture;
            picture.name = relationships_.value(relationship);
            if (!picture.name.isEmpty()) {
                const QByteArray data = zip_.read(picture.name);
                QBuffer buffer;
                buffer.setData(data);
                QImageReader reader(&buffer);
                const QSize size = reader.size();
                if (reader.canRead() && size.width() <= kLargestPictureSide && size.height() <= kLargestPictureSide)
                    picture.data = data;
            }
            index = int(document_.pictures.size());
            document_.pictures << picture;
            pictureOfRelationship_.insert(relationship, index);
        }
        append(line, QString(kObject), QTextCharFormat(), index);
    }

    SourceLine readTable()
    {
        const int depth = xml_.depth();
        SourceTable table;
        SourceLine line;
        line.number = paragraphs_ + 1;
        while (xml_.next() && xml_.depth() >= depth) {
            if (xml_.isStart(QLatin1StringView("tr"))) {
                table.rows.append(QVector<QVector<SourceLine>>());
            } else if (xml_.isStart(QLatin1StringView("tc")) && !table.rows.isEmpty()) {
                QVector<SourceLine> cell;
                readBlocks(cell);
                table.rows.last() << cell;
            } else if (xml_.isStart(QLatin1StringView("tblPr")) || xml_.isStart(QLatin1StringView("tblGrid"))) {
                skipElement();
            }
        }
        QStringList rowTexts;
        for (const auto &row : table.rows)
            rowTexts << cellTexts(row).join(QLatin1Char('\t'));
        line.text = rowTexts.join(QLatin1Char('\n'));
        line.table = int(document_.tables.size());
        document_.tables << table;
        return line;
    }

    SafeXml &xml_;
    ZipPackage &zip_;
    SourceDocument &document_;
    DocxNumbering &numbering_;
    QHash<QString, QString> relationships_;
    QHash<QString, int> pictureOfRelationship_;
    int paragraphs_ = 0;
};

} // namespace

SourceDocument readDocx(const QByteArray &data, const Deadline &deadline)
{
    ZipPackage zip(data, kKind);
    const QString bodyName = QStringLiteral("word/document.xml");
    const QByteArray body = zip.read(bodyName);
    if (body.isEmpty())
        throw ImportError(QStringLiteral("这不是 Word 文档（.docx）：文件中没有正文。"));

    DocxNumbering numbering;
    const QString numberingName = QStringLiteral("word/numbering.xml");
    const QByteArray numberingXml = zip.read(numberingName);
    if (!numberingXml.isEmpty()) {
        SafeXml xml(numberingXml, numberingName, deadline);
        numbering.read(xml);
    }

    SourceDocument document;
    SafeXml xml(body, bodyName, deadline);
    BodyReader reader(xml, zip, document, numbering, readRelationships(zip, deadline));
    while (xml.next())
        if (xml.isStart(QLatin1StringView("body")))
            reader.readBlocks(document.lines);
    return document;
}

} // namespace formats::import
