#pragma once

#include <QImage>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextTable;

namespace rtf {

// Writes what the RTF parser finds into a QTextDocument: runs, paragraphs,
// table cells and pictures. Knows nothing about RTF syntax.
class DocumentBuilder
{
public:
    static constexpr int MaxColumns = 63;
    static constexpr int MaxCells = 10'000; // per table; growing a QTextTable costs time per cell

    explicit DocumentBuilder(QTextDocument *document);

    // Called before any content with the paragraph's table flag, so that
    // cells open and close as the content moves in and out of rows.
    void placeContent(bool inTable, int definedCells);

    void addText(const QString &text, const QTextCharFormat &format);
    void addImage(const QImage &image, const QSizeF &size);
    void endParagraph(const QTextBlockFormat &format);
    void endCell(const QTextBlockFormat &format, int definedCells);
    void endRow();

    // A final \par only closes the last paragraph; it does not open a new one.
    void finish(const QTextBlockFormat &format, bool lastParagraphClosed);

private:
    void startTable(int columns);
    void leaveTable();

    QTextDocument *document_;
    QTextCursor cursor_;
    QTextTable *table_ = nullptr;
    int row_ = 0;
    int column_ = 0;
    bool rowEnded_ = false;
    bool cellChanged_ = false; // the cursor must move to cell (row_, column_)
    int imageCount_ = 0;
};

} // namespace rtf
