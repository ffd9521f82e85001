#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QVector>

// A document as the recognizer sees it: lines of plain text, each remembering
// the character formats, pictures and tables it came with so that the part of
// a line that becomes a stem or an option keeps its rich content.
namespace formats::import {

// A picture stands in the text as U+FFFC.
inline constexpr QChar kObject = QChar(0xFFFC);

struct Span {
    int from = 0;
    int length = 0;
    QTextCharFormat format;
    int picture = -1; // index into SourceDocument::pictures for a U+FFFC
};

struct SourceLine {
    int number = 0;      // line of a text file, paragraph of a document
    QString text;        // a table's line holds its cells' text, tab-separated, rows on separate lines
    QVector<Span> spans; // in order; text outside every span is plain
    int table = -1;      // index into SourceDocument::tables when the line is a table
};

struct SourceTable {
    QVector<QVector<QVector<SourceLine>>> rows; // row → cell → the cell's lines
};

// The plain text of each cell of a table row, its lines joined by blanks.
inline QStringList cellTexts(const QVector<QVector<SourceLine>> &row)
{
    QStringList cells;
    for (const auto &cell : row) {
        QStringList texts;
        for (const SourceLine &line : cell)
            texts << line.text;
        cells << texts.join(QLatin1Char(' ')).trimmed();
    }
    return cells;
}

struct SourcePicture {
    QByteArray data;
    QString name;
};

struct SourceDocument {
    QVector<SourceLine> lines;
    QVector<SourceTable> tables;
    QVector<SourcePicture> pictures;
};

} // namespace formats::import
