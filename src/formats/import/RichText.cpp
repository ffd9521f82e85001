#include "RichText.h"

#include "RtfWriter.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

namespace formats::import {

namespace {

QString pictureName(int index)
{
    return QStringLiteral("import-picture-%1").arg(index);
}

void insertRange(QTextCursor &cursor, const SourceDocument &document, const SourceLine &line, int from, int to)
{
    int position = from;
    auto insertPlain = [&](int end) {
        if (end > position)
            cursor.insertText(line.text.mid(position, end - position), QTextCharFormat());
    };
    for (const Span &span : line.spans) {
        const int spanEnd = span.from + span.length;
        if (spanEnd <= position || span.from >= to)
            continue;
        insertPlain(qMax(position, span.from));
        position = qMax(position, span.from);
        const int end = qMin(spanEnd, to);
        if (span.picture >= 0) {
            const SourcePicture &picture = document.pictures.value(span.picture);
            if (!picture.data.isEmpty()) {
                const QString name = pictureName(span.picture);
                cursor.document()->addResource(QTextDocument::ImageResource, QUrl(name), picture.data);
                QTextImageFormat image;
                image.setName(name);
                cursor.insertImage(image);
            }
        } else {
            cursor.insertText(line.text.mid(position, end - position), span.format);
        }
        position = end;
    }
    insertPlain(to);
}

void insertTable(QTextCursor &cursor, const SourceDocument &document, const SourceTable &table)
{
    int columns = 0;
    for (const auto &row : table.rows)
        columns = qMax(columns, int(row.size()));
    if (table.rows.isEmpty() || columns == 0)
        return;
    QTextTableFormat format;
    format.setBorder(1);
    format.setCellPadding(2);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    QTextTable *textTable = cursor.insertTable(int(table.rows.size()), columns, format);
    for (int r = 0; r < table.rows.size(); ++r) {
        for (int c = 0; c < table.rows[r].size(); ++c) {
            QTextCursor cell = textTable->cellAt(r, c).firstCursorPosition();
            bool first = true;
            for (const SourceLine &line : table.rows[r][c]) {
                if (!first)
                    cell.insertBlock();
                first = false;
                if (line.table >= 0)
                    cell.insertText(line.text); // a table in a cell keeps its text only
                else
                    insertRange(cell, document, line, 0, int(line.text.size()));
            }
        }
    }
    cursor.movePosition(QTextCursor::End);
}

} // namespace

Piece RichText::trimmed(int line, int from, int to, bool newParagraph) const
{
    const QString &text = document_.lines.at(line).text;
    to = qMin(to, int(text.size()));
    while (from < to && text.at(from).isSpace())
        ++from;
    while (to > from && text.at(to - 1).isSpace())
        --to;
    return Piece{line, from, to, newParagraph};
}

QString RichText::plain(const QVector<Piece> &pieces) const
{
    QString out;
    for (const Piece &piece : pieces) {
        if (piece.newParagraph && !out.isEmpty())
            out += QLatin1Char('\n');
        out += QStringView(document_.lines.at(piece.line).text).mid(piece.from, piece.to - piece.from);
    }
    out.remove(kObject);
    return out.trimmed();
}

QString RichText::rtf(const QVector<Piece> &pieces) const
{
    if (pieces.isEmpty())
        return {};
    bool rich = false;
    for (const Piece &piece : pieces) {
        const SourceLine &line = document_.lines.at(piece.line);
        rich = rich || line.table >= 0 || !line.spans.isEmpty();
    }
    if (!rich)
        return plainRtf(plain(pieces));

    QTextDocument document;
    QTextCursor cursor(&document);
    bool first = true;
    for (const Piece &piece : pieces) {
        const SourceLine &line = document_.lines.at(piece.line);
        if (piece.newParagraph && !first)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        first = false;
        if (line.table >= 0)
            insertTable(cursor, document_, document_.tables.at(line.table));
        else
            insertRange(cursor, document_, line, piece.from, piece.to);
    }
    return QString::fromLatin1(rtf::RtfWriter::write(document));
}

bool RichText::hasUnreadablePicture(const QVector<Piece> &pieces) const
{
    for (const Piece &piece : pieces)
        for (const Span &span : document_.lines.at(piece.line).spans)
            if (span.picture >= 0 && span.from >= piece.from && span.from < piece.to
                && document_.pictures.value(span.picture).data.isEmpty())
                return true;
    return false;
}

void fillPlainRtf(RecognizedQuestion &q)
{
    q.stemRtf = plainRtf(q.stem);
    q.optionsRtf.clear();
    for (const QString &option : q.options)
        q.optionsRtf << plainRtf(option);
    q.explanationRtf = plainRtf(q.explanation);
}

QString plainRtf(const QString &text)
{
    if (text.isEmpty())
        return {};
    QTextDocument document;
    document.setPlainText(text);
    return QString::fromLatin1(rtf::RtfWriter::write(document));
}

} // namespace formats::import
