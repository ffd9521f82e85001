#include "DocumentCursor.h"

#include "RichTextBlocks.h"

namespace docx {

DocumentCursor::DocumentCursor(Document &document) : document_(document)
{
    if (document_.body.isEmpty() || !std::holds_alternative<Paragraph>(document_.body.last()))
        document_.body.append(Paragraph());
}

Paragraph &DocumentCursor::current()
{
    return std::get<Paragraph>(document_.body.last());
}

void DocumentCursor::typeText(const QString &text, const CharFormat &format)
{
    QString piece;
    auto flush = [&] {
        if (!piece.isEmpty())
            current().inlines.append({Inline::Kind::Text, piece, format});
        piece.clear();
    };
    for (QChar c : text) {
        if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) {
            flush();
            newParagraph();
        } else if (c == QChar::LineSeparator) {
            flush();
            current().inlines.append({Inline::Kind::LineBreak, QString(), format});
        } else if (c == QLatin1Char('\t')) {
            flush();
            current().inlines.append({Inline::Kind::Tab, QString(), format});
        } else {
            piece += c;
        }
    }
    flush();
}

void DocumentCursor::newParagraph()
{
    document_.body.append(Paragraph());
}

void DocumentCursor::pageBreak()
{
    current().inlines.append({Inline::Kind::PageBreak, QString(), {}});
}

void DocumentCursor::setAlignment(Paragraph::Align align)
{
    current().align = align;
}

void DocumentCursor::setSpaceBefore(double points)
{
    current().spaceBefore = points;
}

void DocumentCursor::insertRichText(const QTextDocument &text)
{
    QVector<Block> blocks = blocksOf(text, document_);
    if (blocks.size() == 1 && std::get_if<Paragraph>(&blocks.first())
        && std::get<Paragraph>(blocks.first()).isEmpty())
        return;
    for (int i = 0; i < blocks.size(); ++i) {
        Block &block = blocks[i];
        if (i == 0 && std::holds_alternative<Paragraph>(block)) {
            Paragraph &first = std::get<Paragraph>(block);
            if (current().isEmpty())
                current().align = first.align;
            current().inlines += first.inlines;
            continue;
        }
        // A table pasted first takes the place of an empty current paragraph.
        if (i == 0 && current().isEmpty())
            document_.body.removeLast();
        document_.body.append(std::move(block));
    }
    if (!std::holds_alternative<Paragraph>(document_.body.last()))
        document_.body.append(Paragraph());
}

} // namespace docx
