#include "RtfWriter.h"

#include "RtfText.h"
#include "TextCodec.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <cmath>
#include <vector>

namespace rtf {
namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int GbkCharset = 134;
const QString DefaultFont = QStringLiteral("宋体");

int toTwips(double pixels)
{
    return int(std::lround(pixels * TwipsPerPixel));
}

void appendUnicode(QByteArray &out, char16_t unit)
{
    // \uN takes a signed 16-bit value; '?' is the fallback for \uc1 readers.
    out += "\\u" + QByteArray::number(int(qint16(unit))) + '?';
}

class Writer
{
public:
    explicit Writer(const QTextDocument &document) : document_(document)
    {
        fonts_.push_back({DefaultFont, true});
    }

    QByteArray run()
    {
        writeFrame(document_.rootFrame());
        QByteArray out = "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052";
        out += "{\\fonttbl";
        for (std::size_t i = 0; i < fonts_.size(); ++i) {
            out += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset"
                    + QByteArray::number(fonts_[i].cjk ? GbkCharset : 0) + ' ';
            appendText(out, fonts_[i].name, fonts_[i].cjk);
            out += ";}";
        }
        out += "}\n{\\colortbl ;";
        for (const QColor &c : colors_)
            out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
                    + "\\blue" + QByteArray::number(c.blue()) + ';';
        out += "}\n\\viewkind4\\uc1\n";
        out += body_;
        out += "}\n";
        return out;
    }

private:
    struct Font {
        QString name;
        bool cjk;
    };

    void writeFrame(QTextFrame *frame)
    {
        const bool root = frame == document_.rootFrame();
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                if (auto *table = qobject_cast<QTextTable *>(child))
                    writeTable(table);
                else
                    writeFrame(child);
                continue;
            }
            const QTextBlock block = it.currentBlock();
            if (root && block.length() <= 1 && isPlaceholderBlock(it))
                continue;
            writeBlock(block, false);
            body_ += "\\par\n";
        }
    }

    // QTextDocument keeps an empty block before a table at its start and
    // after a table at its end; RTF has no such paragraphs.
    static bool isPlaceholderBlock(QTextFrame::iterator it)
    {
        QTextFrame::iterator next = it;
        ++next;
        if (next.atEnd())
            return it != it.parentFrame()->begin() && previousIsFrame(it);
        return it == it.parentFrame()->begin() && next.currentFrame() != nullptr;
    }

    static bool previousIsFrame(QTextFrame::iterator it)
    {
        --it;
        return it.currentFrame() != nullptr;
    }

    void writeTable(QTextTable *table)
    {
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        for (int row = 0; row < table->rows(); ++row) {
            body_ += "\\trowd\\trgaph108";
            int right = 0;
            for (int column = 0; column < table->columns(); ++column) {
                const QTextLength width = column < widths.size() ? widths[column] : QTextLength();
                right += width.type() == QTextLength::FixedLength ? toTwips(width.rawValue()) : 1800;
                body_ += "\\cellx" + QByteArray::number(right);
            }
            body_ += '\n';
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                if (cell.row() == row && cell.column() == column)
                    writeCell(cell);
                else
                    body_ += "\\pard\\intbl";
                body_ += "\\cell\n";
            }
            body_ += "\\row\n";
        }
        body_ += "\\pard\n";
    }

    void writeCell(const QTextTableCell &cell)
    {
        bool first = true;
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            const QTextBlock block = it.currentBlock();
            if (!block.isValid())
                continue; // tables inside cells are not written
            if (!first)
                body_ += "\\par\n";
            writeBlock(block, true);
            first = false;
        }
    }

    void writeBlock(const QTextBlock &block, bool inTable)
    {
        const QTextBlockFormat f = block.blockFormat();
        body_ += "\\pard";
        if (inTable)
            body_ += "\\intbl";
        const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            body_ += "\\qc";
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            body_ += "\\qr";
        else if (align & Qt::AlignJustify)
            body_ += "\\qj";
        const std::pair<const char *, double> spacing[] = {
            {"\\li", f.leftMargin()}, {"\\ri", f.rightMargin()}, {"\\fi", f.textIndent()},
            {"\\sb", f.topMargin()}, {"\\sa", f.bottomMargin()}};
        for (const auto &[word, pixels] : spacing)
            if (const int twips = toTwips(pixels); twips != 0)
                body_ += word + QByteArray::number(twips);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat()) {
                for (int i = 0; i < fragment.length(); ++i)
                    writeImage(fragment.charFormat().toImageFormat());
            } else {
                writeRun(fragment.text(), fragment.charFormat());
            }
        }
    }

    void writeRun(const QString &text, const QTextCharFormat &f)
    {
        const int font = fontIndex(f);
        const QByteArray number = QByteArray::number(font);
        body_ += "{\\f" + number;
        if (fonts_[std::size_t(font)].cjk)
            body_ += "\\dbch\\af" + number; // also the East Asian font, for LibreOffice
        body_ += "\\fs" + QByteArray::number(halfPoints(f));
        if (f.fontWeight() > QFont::Normal)
            body_ += "\\b";
        if (f.fontItalic())
            body_ += "\\i";
        if (f.fontUnderline())
            body_ += "\\ul";
        if (f.fontStrikeOut())
            body_ += "\\strike";
        if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            body_ += "\\super";
        else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
            body_ += "\\sub";
        if (f.foreground().style() != Qt::NoBrush)
            body_ += "\\cf" + QByteArray::number(colorIndex(f.foreground().color()));
        if (f.background().style() != Qt::NoBrush)
            body_ += "\\highlight" + QByteArray::number(colorIndex(f.background().color()));
        body_ += ' ';
        appendText(body_, text, fonts_[std::size_t(font)].cjk);
        body_ += '}';
    }

    void writeImage(const QTextImageFormat &f)
    {
        const QVariant resource = document_.resource(QTextDocument::ImageResource, QUrl(f.name()));
        QImage image;
        if (resource.canConvert<QImage>())
            image = resource.value<QImage>();
        if (image.isNull() && resource.canConvert<QPixmap>())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull() && resource.userType() == QMetaType::QByteArray)
            image = QImage::fromData(resource.toByteArray());
        if (image.isNull())
            return;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return;
        const double width = f.width() > 0 ? f.width() : image.width();
        const double height = f.height() > 0 ? f.height() : image.height();
        body_ += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich"
                + QByteArray::number(image.height()) + "\\picwgoal"
                + QByteArray::number(toTwips(width)) + "\\pichgoal"
                + QByteArray::number(toTwips(height)) + '\n';
        const QByteArray hex = png.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128)
            body_ += hex.mid(i, 128) + '\n';
        body_ += '}';
    }

    int fontIndex(const QTextCharFormat &f)
    {
        QStringList families = f.fontFamilies().toStringList();
        if (families.isEmpty() && f.hasProperty(QTextFormat::FontFamily))
            families << f.property(QTextFormat::FontFamily).toString();
        const QString family = families.value(0).trimmed();
        if (family.isEmpty())
            return 0;
        for (std::size_t i = 0; i < fonts_.size(); ++i)
            if (fonts_[i].name == family)
                return int(i);
        fonts_.push_back({family, TextCodec::isCjkFontName(family)});
        return int(fonts_.size() - 1);
    }

    int colorIndex(const QColor &color)
    {
        const QRgb rgb = color.rgb();
        for (std::size_t i = 0; i < colors_.size(); ++i)
            if (colors_[i].rgb() == rgb)
                return int(i + 1);
        colors_.push_back(color);
        return int(colors_.size());
    }

    int halfPoints(const QTextCharFormat &f) const
    {
        double points = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : 0;
        if (points <= 0)
            points = document_.defaultFont().pointSizeF();
        if (points <= 0)
            points = 12;
        return int(std::lround(points * 2));
    }

    static void appendText(QByteArray &out, const QString &text, bool gbk)
    {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            switch (c) {
            case '\\': out += "\\\\"; continue;
            case '{': out += "\\{"; continue;
            case '}': out += "\\}"; continue;
            case '\t': out += "\\tab "; continue;
            case 0x00A0: out += "\\~"; continue;
            case 0x00AD: out += "\\-"; continue;
            case 0x2011: out += "\\_"; continue;
            case QChar::LineSeparator:
            case QChar::ParagraphSeparator:
            case '\n':
                out += "\\line ";
                continue;
            default:
                break;
            }
            if (c >= 0x20 && c < 0x80) {
                out += char(c);
                continue;
            }
            const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size()
                    && text[i + 1].isLowSurrogate();
            QByteArray encoded;
            if (gbk && !pair && TextCodec::encodeChar(TextCodec::Gbk, QString(QChar(c)), encoded)) {
                for (char b : encoded)
                    out += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
                continue;
            }
            appendUnicode(out, c);
            if (pair)
                appendUnicode(out, text[++i].unicode());
        }
    }

    const QTextDocument &document_;
    std::vector<Font> fonts_;
    std::vector<QColor> colors_;
    QByteArray body_;
};

} // namespace

QByteArray RtfWriter::write(const QTextDocument &document)
{
    return Writer(document).run();
}

QString RtfWriter::defaultFontFamily()
{
    return DefaultFont;
}

} // namespace rtf
