#include "RichTextBlocks.h"

#include "TextCodec.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

namespace docx {
namespace {

QString extensionOf(const QByteArray &data)
{
    if (data.startsWith("\x89PNG\r\n\x1a\n"))
        return QStringLiteral("png");
    if (data.startsWith("\xff\xd8\xff"))
        return QStringLiteral("jpeg");
    return QString();
}

class Converter
{
public:
    Converter(const QTextDocument &text, Document &target) : text_(text), target_(target) {}

    QVector<Block> blocks()
    {
        QVector<Block> out;
        addFrame(text_.rootFrame(), out);
        return out;
    }

private:
    void addFrame(QTextFrame *frame, QVector<Block> &out)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                if (auto *table = qobject_cast<QTextTable *>(child))
                    out.append(tableOf(*table));
                else
                    addFrame(child, out);
            } else if (it.currentBlock().isValid()) {
                out.append(paragraphOf(it.currentBlock()));
            }
        }
    }

    // Cells hold paragraphs only: a table inside a cell gives its paragraphs.
    void addParagraphs(QTextFrame::iterator it, QVector<Paragraph> &out)
    {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame())
                addParagraphs(child->begin(), out);
            else if (it.currentBlock().isValid())
                out.append(paragraphOf(it.currentBlock()));
        }
    }

    Table tableOf(const QTextTable &table)
    {
        Table out;
        out.columns = table.columns();
        for (int r = 0; r < table.rows(); ++r) {
            QVector<Cell> row;
            for (int c = 0; c < table.columns(); ++c) {
                const QTextTableCell cell = table.cellAt(r, c);
                Cell converted;
                // A cell spanning several grid places shows its content in its first one.
                if (cell.row() == r && cell.column() == c)
                    addParagraphs(cell.begin(), converted.paragraphs);
                row.append(converted);
            }
            out.rows.append(row);
        }
        return out;
    }

    Paragraph paragraphOf(const QTextBlock &block)
    {
        Paragraph p;
        const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            p.align = Paragraph::Align::Center;
        else if (align & Qt::AlignJustify)
            p.align = Paragraph::Align::Justify;
        else if (align & (Qt::AlignRight | Qt::AlignTrailing))
            p.align = Paragraph::Align::End;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const int picture = pictureOf(format.toImageFormat());
                if (picture >= 0)
                    for (int i = 0; i < fragment.length(); ++i)
                        p.inlines.append({Inline::Kind::Picture, QString(), charFormatOf(format), picture});
            } else {
                addText(fragment.text(), charFormatOf(format), p);
            }
        }
        return p;
    }

    static void addText(const QString &text, const CharFormat &format, Paragraph &p)
    {
        QString run;
        auto flush = [&] {
            if (!run.isEmpty())
                p.inlines.append({Inline::Kind::Text, run, format});
            run.clear();
        };
        for (QChar c : text) {
            if (c == QChar::LineSeparator || c == QLatin1Char('\n')) {
                flush();
                p.inlines.append({Inline::Kind::LineBreak, QString(), format});
            } else if (c == QLatin1Char('\t')) {
                flush();
                p.inlines.append({Inline::Kind::Tab, QString(), format});
            } else if (c != QChar::ObjectReplacementCharacter) {
                run += c;
            }
        }
        flush();
    }

    int pictureOf(const QTextImageFormat &format)
    {
        const auto known = pictures_.constFind(format.name());
        if (known != pictures_.cend())
            return known.value();
        const QVariant resource = text_.resource(QTextDocument::ImageResource, QUrl(format.name()));
        Picture picture;
        QImage image;
        if (resource.userType() == QMetaType::QByteArray) {
            picture.data = resource.toByteArray();
            picture.extension = extensionOf(picture.data);
            image = QImage::fromData(picture.data);
        } else if (resource.canConvert<QImage>()) {
            image = resource.value<QImage>();
        }
        if (image.isNull() && resource.canConvert<QPixmap>())
            image = resource.value<QPixmap>().toImage();
        if (image.isNull())
            return -1;
        if (picture.extension.isEmpty()) {
            picture.data.clear();
            QBuffer buffer(&picture.data);
            buffer.open(QIODevice::WriteOnly);
            if (!image.save(&buffer, "PNG"))
                return -1;
            picture.extension = QStringLiteral("png");
        }
        QSizeF size(format.width(), format.height());
        if (size.width() <= 0 && size.height() > 0)
            size.setWidth(size.height() * image.width() / image.height());
        else if (size.height() <= 0 && size.width() > 0)
            size.setHeight(size.width() * image.height() / image.width());
        else if (size.width() <= 0)
            size = image.size();
        picture.size = size;
        const int index = target_.addPicture(picture);
        pictures_.insert(format.name(), index);
        return index;
    }

    const QTextDocument &text_;
    Document &target_;
    QHash<QString, int> pictures_; // resource name -> picture index
};

} // namespace

CharFormat charFormatOf(const QTextCharFormat &f)
{
    CharFormat out;
    out.bold = f.fontWeight() > QFont::Normal;
    out.italic = f.fontItalic();
    out.underline = f.fontUnderline();
    out.strike = f.fontStrikeOut();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out.vertical = CharFormat::Vertical::Super;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out.vertical = CharFormat::Vertical::Sub;
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        out.pointSize = f.fontPointSize();
    if (f.foreground().style() != Qt::NoBrush)
        out.color = f.foreground().color();
    if (f.background().style() != Qt::NoBrush)
        out.highlight = f.background().color();
    QStringList families = f.fontFamilies().toStringList();
    if (families.isEmpty() && f.hasProperty(QTextFormat::FontFamily))
        families << f.property(QTextFormat::FontFamily).toString();
    out.font = families.value(0).trimmed();
    out.fontIsCjk = !out.font.isEmpty() && rtf::TextCodec::isCjkFontName(out.font);
    return out;
}

QVector<Block> blocksOf(const QTextDocument &text, Document &target)
{
    return Converter(text, target).blocks();
}

} // namespace docx
