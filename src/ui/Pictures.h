#pragma once

#include <QImage>
#include <QString>
#include <QVector>

// Every picture of the program, drawn by code: the number-button glyphs that
// are written to pic/*.bmp, the message icons and the program emblem.
namespace pics {

enum class Glyph { Up, Down, Right, Wrong, Over, DownRight, DownWrong, TypeUp, TypeDown };

QImage glyph(Glyph kind);

struct GlyphFile {
    QString fileName; // under pic/
    Glyph kind;
};
// The glyph files the practice and exam windows load, in a fixed order.
QVector<GlyphFile> glyphFiles();

enum class MessageIcon { Notice = 0, Warning = 1, Error = 2 };
QImage messageIcon(MessageIcon kind, int size = 32);

QImage emblem(int size);

QImage hourglass(int size);

} // namespace pics
