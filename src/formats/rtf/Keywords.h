#pragma once

#include <string_view>

namespace rtf {

// The control words the reader acts on. Everything else is skipped.
enum class Keyword {
    Unknown,
    // document
    Rtf, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode, Binary,
    // destinations with their own handling
    FontTable, ColorTable, Picture, ShapePicture, SkippedDestination,
    // font and colour tables
    Font, FontCharset, FontCodePage, Red, Green, Blue,
    // characters
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, Super, Sub, NoSuperSub, Hidden,
    FontSize, ForeColor, BackColor,
    LowAnsi, HighAnsi, DoubleByte, NoCharClass, AssocFont, AssocFontSize, AssocBold, AssocItalic,
    // paragraphs
    Par, Line, Tab, ParagraphDefault, AlignLeft, AlignCenter, AlignRight, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceBefore, SpaceAfter,
    // tables
    InTable, Cell, Row, RowDefault, CellRight, NestedCell, NestedRow,
    // pictures
    PngBlip, JpegBlip, OtherBlip, PicWidthGoal, PicHeightGoal, PicWidth, PicHeight,
    PicScaleX, PicScaleY,
    // special characters
    Character,
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    char16_t character = 0; // for Keyword::Character
};

KeywordInfo lookupKeyword(std::string_view word);

} // namespace rtf
