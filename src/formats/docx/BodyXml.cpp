#include "BodyXml.h"

#include <QBuffer>
#include <QHash>
#include <QImageReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cmath>

namespace docx {
namespace {

const QString &W = WordNamespace;
const QString R = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
const QString WP = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
const QString A = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/main");
const QString PIC = QStringLiteral("http://schemas.openxmlformats.org/drawingml/2006/picture");

constexpr qint64 EmuPerPixel = 9525; // at 96 dpi
constexpr qint64 EmuPerTwip = 635;

QString hexColor(const QColor &c)
{
    return c.name(QColor::HexRgb).mid(1).toUpper();
}

class BodyWriter
{
public:
    explicit BodyWriter(const Document &document) : document_(document), xml_(&bytes_) {}

    QByteArray write()
    {
        xml_.writeStartDocument(QStringLiteral("1.0"), true);
        xml_.writeNamespace(W, QStringLiteral("w"));
        xml_.writeNamespace(R, QStringLiteral("r"));
        xml_.writeNamespace(WP, QStringLiteral("wp"));
        xml_.writeNamespace(A, QStringLiteral("a"));
        xml_.writeNamespace(PIC, QStringLiteral("pic"));
        xml_.writeStartElement(W, QStringLiteral("document"));
        xml_.writeStartElement(W, QStringLiteral("body"));
        for (const Block &block : document_.body) {
            if (const auto *p = std::get_if<Paragraph>(&block))
                writeParagraph(*p, TextWidth);
            else
                writeTable(std::get<Table>(block));
        }
        // A body ends with a paragraph, as in every document Word writes.
        if (document_.body.isEmpty() || std::holds_alternative<Table>(document_.body.last()))
            writeParagraph({}, TextWidth);
        writeSection();
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeEndDocument();
        return bytes_;
    }

private:
    void attribute(const QString &name, const QString &value) { xml_.writeAttribute(W, name, value); }

    void empty(const QString &name) { xml_.writeEmptyElement(W, name); }
    void empty(const QString &name, const QString &val) { writeValue(xml_, name, val); }

    void writeParagraph(const Paragraph &p, int widthTwips)
    {
        xml_.writeStartElement(W, QStringLiteral("p"));
        if (p.align != Paragraph::Align::Start || p.spaceBefore > 0) {
            xml_.writeStartElement(W, QStringLiteral("pPr"));
            if (p.spaceBefore > 0) {
                xml_.writeEmptyElement(W, QStringLiteral("spacing"));
                attribute(QStringLiteral("before"), QString::number(qRound(p.spaceBefore * 20)));
            }
            static const char *const names[] = {"left", "center", "right", "both"};
            if (p.align != Paragraph::Align::Start)
                empty(QStringLiteral("jc"), QLatin1String(names[int(p.align)]));
            xml_.writeEndElement();
        }
        for (const Inline &piece : p.inlines)
            writeInline(piece, widthTwips);
        xml_.writeEndElement();
    }

    void writeInline(const Inline &piece, int widthTwips)
    {
        xml_.writeStartElement(W, QStringLiteral("r"));
        writeRunFormat(piece.format);
        switch (piece.kind) {
        case Inline::Kind::Text:
            xml_.writeStartElement(W, QStringLiteral("t"));
            xml_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
            xml_.writeCharacters(xmlSafe(piece.text));
            xml_.writeEndElement();
            break;
        case Inline::Kind::LineBreak:
            empty(QStringLiteral("br"));
            break;
        case Inline::Kind::PageBreak:
            xml_.writeEmptyElement(W, QStringLiteral("br"));
            attribute(QStringLiteral("type"), QStringLiteral("page"));
            break;
        case Inline::Kind::Tab:
            empty(QStringLiteral("tab"));
            break;
        case Inline::Kind::Picture:
            writePicture(piece.picture, widthTwips);
            break;
        }
        xml_.writeEndElement();
    }

    void writeRunFormat(const CharFormat &f)
    {
        if (f == CharFormat())
            return;
        xml_.writeStartElement(W, QStringLiteral("rPr"));
        if (!f.font.isEmpty()) {
            xml_.writeEmptyElement(W, QStringLiteral("rFonts"));
            const QString face = faceName(f.font);
            attribute(QStringLiteral("ascii"), face);
            attribute(QStringLiteral("hAnsi"), face);
            if (f.fontIsCjk)
                attribute(QStringLiteral("eastAsia"), face);
        }
        if (f.bold) {
            empty(QStringLiteral("b"));
            empty(QStringLiteral("bCs"));
        }
        if (f.italic) {
            empty(QStringLiteral("i"));
            empty(QStringLiteral("iCs"));
        }
        if (f.strike)
            empty(QStringLiteral("strike"));
        if (f.color.isValid())
            empty(QStringLiteral("color"), hexColor(f.color));
        if (f.pointSize > 0) {
            const QString halfPoints = QString::number(std::max(2L, std::lround(f.pointSize * 2)));
            empty(QStringLiteral("sz"), halfPoints);
            empty(QStringLiteral("szCs"), halfPoints);
        }
        if (f.underline)
            empty(QStringLiteral("u"), QStringLiteral("single"));
        if (f.highlight.isValid()) {
            xml_.writeEmptyElement(W, QStringLiteral("shd"));
            attribute(QStringLiteral("val"), QStringLiteral("clear"));
            attribute(QStringLiteral("color"), QStringLiteral("auto"));
            attribute(QStringLiteral("fill"), hexColor(f.highlight));
        }
        if (f.vertical != CharFormat::Vertical::Baseline)
            empty(QStringLiteral("vertAlign"),
                  f.vertical == CharFormat::Vertical::Super ? QStringLiteral("superscript")
                                                           : QStringLiteral("subscript"));
        xml_.writeEndElement();
    }

    QSize pictureExtent(const Picture &picture, int widthTwips) const
    {
        QSizeF size = picture.size;
        if (size.isEmpty()) {
            QBuffer buffer;
            buffer.setData(picture.data);
            size = QImageReader(&buffer).size();
        }
        if (size.isEmpty())
            size = QSizeF(96, 96);
        double cx = size.width() * EmuPerPixel;
        double cy = size.height() * EmuPerPixel;
        const double widest = double(widthTwips) * EmuPerTwip;
        if (cx > widest) {
            cy *= widest / cx;
            cx = widest;
        }
        return QSize(int(std::max(1.0, std::round(cx))), int(std::max(1.0, std::round(cy))));
    }

    void writePicture(int index, int widthTwips)
    {
        if (index < 0 || index >= document_.pictures.size())
            return;
        const Picture &picture = document_.pictures.at(index);
        const QSize extent = pictureExtent(picture, widthTwips);
        const QString cx = QString::number(extent.width());
        const QString cy = QString::number(extent.height());
        const QString id = QString::number(++drawingId_);
        const QString name = QStringLiteral("图片 ") + id;

        xml_.writeStartElement(W, QStringLiteral("drawing"));
        xml_.writeStartElement(WP, QStringLiteral("inline"));
        for (const char *side : {"distT", "distB", "distL", "distR"})
            xml_.writeAttribute(QLatin1String(side), QStringLiteral("0"));
        xml_.writeEmptyElement(WP, QStringLiteral("extent"));
        xml_.writeAttribute(QStringLiteral("cx"), cx);
        xml_.writeAttribute(QStringLiteral("cy"), cy);
        xml_.writeEmptyElement(WP, QStringLiteral("docPr"));
        xml_.writeAttribute(QStringLiteral("id"), id);
        xml_.writeAttribute(QStringLiteral("name"), name);
        xml_.writeStartElement(WP, QStringLiteral("cNvGraphicFramePr"));
        xml_.writeEmptyElement(A, QStringLiteral("graphicFrameLocks"));
        xml_.writeAttribute(QStringLiteral("noChangeAspect"), QStringLiteral("1"));
        xml_.writeEndElement();
        xml_.writeStartElement(A, QStringLiteral("graphic"));
        xml_.writeStartElement(A, QStringLiteral("graphicData"));
        xml_.writeAttribute(QStringLiteral("uri"), PIC);
        xml_.writeStartElement(PIC, QStringLiteral("pic"));
        xml_.writeStartElement(PIC, QStringLiteral("nvPicPr"));
        xml_.writeEmptyElement(PIC, QStringLiteral("cNvPr"));
        xml_.writeAttribute(QStringLiteral("id"), QStringLiteral("0"));
        xml_.writeAttribute(QStringLiteral("name"), name);
        xml_.writeEmptyElement(PIC, QStringLiteral("cNvPicPr"));
        xml_.writeEndElement();
        xml_.writeStartElement(PIC, QStringLiteral("blipFill"));
        xml_.writeEmptyElement(A, QStringLiteral("blip"));
        xml_.writeAttribute(R, QStringLiteral("embed"), pictureRelationshipId(index));
        xml_.writeStartElement(A, QStringLiteral("stretch"));
        xml_.writeEmptyElement(A, QStringLiteral("fillRect"));
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeStartElement(PIC, QStringLiteral("spPr"));
        xml_.writeStartElement(A, QStringLiteral("xfrm"));
        xml_.writeEmptyElement(A, QStringLiteral("off"));
        xml_.writeAttribute(QStringLiteral("x"), QStringLiteral("0"));
        xml_.writeAttribute(QStringLiteral("y"), QStringLiteral("0"));
        xml_.writeEmptyElement(A, QStringLiteral("ext"));
        xml_.writeAttribute(QStringLiteral("cx"), cx);
        xml_.writeAttribute(QStringLiteral("cy"), cy);
        xml_.writeEndElement();
        xml_.writeStartElement(A, QStringLiteral("prstGeom"));
        xml_.writeAttribute(QStringLiteral("prst"), QStringLiteral("rect"));
        xml_.writeEmptyElement(A, QStringLiteral("avLst"));
        xml_.writeEndElement();
        xml_.writeEndElement(); // spPr
        xml_.writeEndElement(); // pic
        xml_.writeEndElement(); // graphicData
        xml_.writeEndElement(); // graphic
        xml_.writeEndElement(); // inline
        xml_.writeEndElement(); // drawing
    }

    void writeBorders()
    {
        xml_.writeStartElement(W, QStringLiteral("tblBorders"));
        for (const char *side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
            xml_.writeEmptyElement(W, QLatin1String(side));
            attribute(QStringLiteral("val"), QStringLiteral("single"));
            attribute(QStringLiteral("sz"), QStringLiteral("4"));
            attribute(QStringLiteral("space"), QStringLiteral("0"));
            attribute(QStringLiteral("color"), QStringLiteral("auto"));
        }
        xml_.writeEndElement();
    }

    void writeTable(const Table &table)
    {
        const int columns = std::max(1, table.columns);
        const int columnWidth = TextWidth / columns;
        const QString width = QString::number(columnWidth);
        xml_.writeStartElement(W, QStringLiteral("tbl"));
        xml_.writeStartElement(W, QStringLiteral("tblPr"));
        xml_.writeEmptyElement(W, QStringLiteral("tblW"));
        attribute(QStringLiteral("w"), QString::number(columnWidth * columns));
        attribute(QStringLiteral("type"), QStringLiteral("dxa"));
        writeBorders();
        xml_.writeStartElement(W, QStringLiteral("tblLayout"));
        attribute(QStringLiteral("type"), QStringLiteral("fixed"));
        xml_.writeEndElement();
        xml_.writeEndElement();
        xml_.writeStartElement(W, QStringLiteral("tblGrid"));
        for (int c = 0; c < columns; ++c) {
            xml_.writeEmptyElement(W, QStringLiteral("gridCol"));
            attribute(QStringLiteral("w"), width);
        }
        xml_.writeEndElement();
        for (const QVector<Cell> &row : table.rows) {
            xml_.writeStartElement(W, QStringLiteral("tr"));
            for (int c = 0; c < columns; ++c) {
                xml_.writeStartElement(W, QStringLiteral("tc"));
                xml_.writeStartElement(W, QStringLiteral("tcPr"));
                xml_.writeEmptyElement(W, QStringLiteral("tcW"));
                attribute(QStringLiteral("w"), width);
                attribute(QStringLiteral("type"), QStringLiteral("dxa"));
                xml_.writeEndElement();
                const QVector<Paragraph> paragraphs = c < row.size() ? row.at(c).paragraphs : QVector<Paragraph>();
                // Leave room for the cell's margins.
                const int inner = std::max(1, columnWidth - 216);
                for (const Paragraph &p : paragraphs)
                    writeParagraph(p, inner);
                if (paragraphs.isEmpty())
                    writeParagraph({}, inner); // a cell holds at least one paragraph
                xml_.writeEndElement();
            }
            xml_.writeEndElement();
        }
        xml_.writeEndElement();
    }

    void writeSection()
    {
        xml_.writeStartElement(W, QStringLiteral("sectPr"));
        xml_.writeEmptyElement(W, QStringLiteral("pgSz"));
        attribute(QStringLiteral("w"), QString::number(PageWidth));
        attribute(QStringLiteral("h"), QString::number(PageHeight));
        xml_.writeEmptyElement(W, QStringLiteral("pgMar"));
        const QString tb = QString::number(MarginTopBottom);
        const QString lr = QString::number(MarginLeftRight);
        const std::pair<const char *, QString> margins[] = {
            {"top", tb}, {"right", lr}, {"bottom", tb}, {"left", lr},
            {"header", QStringLiteral("851")}, {"footer", QStringLiteral("992")}, {"gutter", QStringLiteral("0")}};
        for (const auto &[side, value] : margins)
            attribute(QLatin1String(side), value);
        xml_.writeEndElement();
    }

    const Document &document_;
    QByteArray bytes_;
    QXmlStreamWriter xml_;
    int drawingId_ = 0;
};

} // namespace

QString faceName(const QString &font)
{
    static const QHash<QString, QString> latin = {
        {QStringLiteral("宋体"), QStringLiteral("SimSun")},
        {QStringLiteral("新宋体"), QStringLiteral("NSimSun")},
        {QStringLiteral("黑体"), QStringLiteral("SimHei")},
        {QStringLiteral("楷体"), QStringLiteral("KaiTi")},
        {QStringLiteral("仿宋"), QStringLiteral("FangSong")},
        {QStringLiteral("楷体_GB2312"), QStringLiteral("KaiTi_GB2312")},
        {QStringLiteral("仿宋_GB2312"), QStringLiteral("FangSong_GB2312")},
        {QStringLiteral("微软雅黑"), QStringLiteral("Microsoft YaHei")},
    };
    return latin.value(font, font);
}

void writeValue(QXmlStreamWriter &xml, const QString &name, const QString &value)
{
    xml.writeEmptyElement(WordNamespace, name);
    xml.writeAttribute(WordNamespace, QStringLiteral("val"), value);
}

QString pictureRelationshipId(int index)
{
    return QStringLiteral("rIdPicture%1").arg(index + 1);
}

QString xmlSafe(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || u == 0xFFFE || u == 0xFFFF || (u < 0x20 && u != '\t')) {
            continue;
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray documentXml(const Document &document)
{
    return BodyWriter(document).write();
}

} // namespace docx
