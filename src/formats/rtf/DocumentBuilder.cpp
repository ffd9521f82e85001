#include "DocumentBuilder.h"

#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace rtf {

DocumentBuilder::DocumentBuilder(QTextDocument *document)
    : document_(document), cursor_(document)
{
    cursor_.movePosition(QTextCursor::End);
}

void DocumentBuilder::placeContent(bool inTable, int definedCells)
{
    if (!inTable) {
        if (table_)
            leaveTable();
        return;
    }
    const int wanted = std::clamp(definedCells, 1, MaxColumns);
    if (!table_) {
        startTable(wanted);
    } else if (rowEnded_) {
        rowEnded_ = false;
        // An oversized table keeps its last row for the rest of its cells.
        if ((table_->rows() + 1) * table_->columns() <= MaxCells) {
            table_->appendRows(1);
            ++row_;
            column_ = 0;
            cellChanged_ = true;
        }
    }
    if (column_ >= table_->columns()) {
        const int needed = std::max(wanted, column_ + 1);
        if (needed <= MaxColumns && needed * table_->rows() <= MaxCells) {
            table_->appendColumns(needed - table_->columns());
        } else {
            column_ = table_->columns() - 1;
            cursor_ = table_->cellAt(row_, column_).lastCursorPosition();
            cursor_.insertText(QStringLiteral("\t")); // cells beyond the limit share the last one
            cellChanged_ = false;
        }
    }
    if (cellChanged_) {
        cursor_ = table_->cellAt(row_, column_).lastCursorPosition();
        cellChanged_ = false;
    }
}

void DocumentBuilder::startTable(int columns)
{
    QTextTableFormat format;
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorder(1);
    format.setCellSpacing(0);
    format.setCellPadding(3);
    format.setBorderCollapse(true);
    const bool replacesEmptyBlock = cursor_.block().length() <= 1
            && cursor_.block().previous().isValid()
            && !QTextCursor(cursor_.block().previous()).currentTable();
    const int emptyBlock = cursor_.position();
    table_ = cursor_.insertTable(1, columns, format);
    if (replacesEmptyBlock) {
        // The block a \par opened before the table holds nothing: the table
        // takes its place. (The document's first block always stays.)
        QTextCursor empty(document_);
        empty.setPosition(emptyBlock);
        empty.deletePreviousChar();
    }
    row_ = 0;
    column_ = 0;
    rowEnded_ = false;
    cellChanged_ = true;
}

void DocumentBuilder::leaveTable()
{
    cursor_ = table_->lastCursorPosition();
    cursor_.movePosition(QTextCursor::NextBlock);
    table_ = nullptr;
}

void DocumentBuilder::addText(const QString &text, const QTextCharFormat &format)
{
    if (text.isEmpty())
        return;
    cursor_.insertText(text, format);
}

void DocumentBuilder::addImage(const QImage &image, const QSizeF &size)
{
    const QString name = QStringLiteral("rtf-image:%1").arg(++imageCount_);
    document_->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(size.width());
    format.setHeight(size.height());
    cursor_.insertImage(format);
}

void DocumentBuilder::endParagraph(const QTextBlockFormat &format)
{
    cursor_.setBlockFormat(format);
    cursor_.insertBlock(format, cursor_.charFormat());
}

void DocumentBuilder::endCell(const QTextBlockFormat &format, int definedCells)
{
    placeContent(true, definedCells);
    cursor_.setBlockFormat(format);
    ++column_;
    cellChanged_ = true;
}

void DocumentBuilder::endRow()
{
    if (table_)
        rowEnded_ = true;
}

void DocumentBuilder::finish(const QTextBlockFormat &format, bool lastParagraphClosed)
{
    if (table_) {
        leaveTable();
        return;
    }
    if (lastParagraphClosed && cursor_.block().length() <= 1) {
        // Drop the block the final \par opened; the closed one keeps its format.
        cursor_.deletePreviousChar();
        return;
    }
    cursor_.setBlockFormat(format);
}

} // namespace rtf
