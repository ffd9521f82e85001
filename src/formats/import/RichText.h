#pragma once

#include "Recognized.h"
#include "Source.h"

#include <QString>
#include <QVector>

namespace formats::import {

// A stretch [from, to) of one source line; `newParagraph` starts a paragraph
// before it (the first piece of a text always stands in its first paragraph).
struct Piece {
    int line = 0; // index into SourceDocument::lines
    int from = 0;
    int to = 0;
    bool newParagraph = true;
};

// Adds a piece that holds any text.
inline void appendPiece(QVector<Piece> &pieces, const Piece &piece)
{
    if (piece.to > piece.from)
        pieces << piece;
}

// Turns pieces of the source back into text: plain for matching and the
// preview, RTF (through the project's RTF writer) for the bank.
class RichText
{
public:
    explicit RichText(const SourceDocument &document) : document_(document) {}

    // The piece with the blanks at both of its ends left out.
    Piece trimmed(int line, int from, int to, bool newParagraph = true) const;
    QString plain(const QVector<Piece> &pieces) const;
    QString rtf(const QVector<Piece> &pieces) const;
    // A picture in the pieces that could not be read (a formula object, an unknown format).
    bool hasUnreadablePicture(const QVector<Piece> &pieces) const;

private:
    const SourceDocument &document_;
};

// RTF of plain text, paragraphs at line ends.
QString plainRtf(const QString &text);
// The RTF of a question read as plain text, from its stem, options and explanation.
void fillPlainRtf(RecognizedQuestion &question);

} // namespace formats::import
