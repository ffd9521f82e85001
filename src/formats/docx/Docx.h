#pragma once

#include <QByteArray>
#include <QColor>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <variant>

// An Office Open XML word-processing document as the program writes it:
// paragraphs of runs, tables and inline pictures, nothing else.
namespace docx {

struct CharFormat {
    enum class Vertical { Baseline, Super, Sub };

    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    Vertical vertical = Vertical::Baseline;
    double pointSize = 0;   // 0: the document's default size
    QColor color;           // invalid: automatic
    QColor highlight;       // invalid: none
    QString font;           // empty: the document's default fonts
    bool fontIsCjk = false; // the font is also the East Asian font of the run

    bool operator==(const CharFormat &o) const;
    bool operator!=(const CharFormat &o) const { return !(*this == o); }
};

struct Picture {
    QByteArray data;     // the encoded file
    QString extension;   // "png" or "jpeg"
    QSizeF size;         // shown size in pixels at 96 dpi
};

// One piece of a paragraph. Text holds no line or paragraph separators.
struct Inline {
    enum class Kind { Text, LineBreak, PageBreak, Tab, Picture };

    Kind kind = Kind::Text;
    QString text;
    CharFormat format;
    int picture = -1; // index into Document::pictures
};

struct Paragraph {
    enum class Align { Start, Center, End, Justify };

    QVector<Inline> inlines;
    Align align = Align::Start;
    double spaceBefore = 0; // points

    bool isEmpty() const { return inlines.isEmpty(); }
};

struct Cell {
    QVector<Paragraph> paragraphs; // at least one when written
};

struct Table {
    int columns = 0;
    QVector<QVector<Cell>> rows; // each row has `columns` cells
};

using Block = std::variant<Paragraph, Table>;

struct Document {
    QString title;
    QString defaultLatinFont = QStringLiteral("Times New Roman");
    QString defaultCjkFont = QStringLiteral("宋体");
    double defaultPointSize = 12;
    QVector<Block> body;
    QVector<Picture> pictures;

    int addPicture(const Picture &picture);
};

} // namespace docx
