#pragma once

#include "DocumentBuilder.h"
#include "Keywords.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QTextCharFormat>

#include <map>
#include <string_view>
#include <vector>

class QTextDocument;

namespace rtf {

// One pass over RTF bytes. Every loop advances through the input, and every
// table it fills is capped, so hostile input costs time and memory in
// proportion to its length at most.
class Parser
{
public:
    // `literalUtf8`: bytes above 0x7F outside escapes are UTF-8 text, as when
    // the RTF came to us as an already decoded string.
    Parser(const QByteArray &data, bool literalUtf8, QTextDocument *document);
    void run();

private:
    enum class Destination { Text, Skip, FontTable, ColorTable, Picture };

    // \rtlch and \ltrch end a class: the \af after them names the font of
    // right-to-left text, which is not ours to apply.
    enum class CharClass { None, Low, High, Double };

    struct CharState {
        bool bold = false, italic = false, underline = false, strike = false, hidden = false;
        int verticalAlign = 0; // 1 superscript, 2 subscript
        int halfPoints = 24;
        int font = -1; // the document's default font
        int foreground = 0, background = 0;
        // Word and LibreOffice give each class of characters (\loch, \hich,
        // \dbch) a font of its own: \af, or \f when the class is the one the
        // following text is in. \afs \ab \ai after \dbch size and style the
        // double-byte characters.
        CharClass charClass = CharClass::None;
        int loFont = -1, hiFont = -1, dbFont = -1;
        int dbHalfPoints = 0, dbBold = -1, dbItalic = -1;

        void setClassFont(int font);
        int textFont() const; // the font whose code page the text bytes are in
        bool hasDoubleByteProperties() const;
        CharState forDoubleByte() const;
        CharState forSingleByte() const;
        bool operator==(const CharState &o) const;
    };
    struct ParaState {
        Qt::Alignment align = Qt::AlignLeft;
        int leftIndent = 0, rightIndent = 0, firstIndent = 0, spaceBefore = 0, spaceAfter = 0;
        bool inTable = false;
    };
    struct State {
        Destination destination = Destination::Text;
        CharState chars;
        ParaState para;
        int unicodeSkip = 1;
    };
    struct Font {
        QString name;
        int codePage = 0;
    };
    struct Picture {
        Keyword kind = Keyword::Unknown;
        QByteArray data;
        int pendingNibble = -1;
        int widthGoal = 0, heightGoal = 0, width = 0, height = 0, scaleX = 100, scaleY = 100;
    };

    void openGroup();
    void closeGroup();
    void controlSequence();
    void controlSymbol(char symbol);
    void controlWord(std::string_view word, bool hasParam, int param);
    bool phantomControlWord(Keyword keyword, int param, bool ignorable);
    void textKeyword(Keyword keyword, bool hasParam, int param);
    void tableKeyword(Keyword keyword, int param);
    void pictureKeyword(Keyword keyword, int param);
    void textBytes();
    void literalUtf8Bytes();
    void byte(char b);
    void skipBinary(int length);

    void appendChar(char32_t c);
    void decodeBytes();
    void flushRun();
    void endParagraph();
    void commitFont();
    void finishPicture();

    int codePage() const;
    int definedCells() const { return int(cellRights_.size()); }
    QTextCharFormat charFormat(const CharState &chars);
    void addRun(const QString &text);
    QTextBlockFormat blockFormat() const;

    const char *pos_;
    const char *end_;
    const bool literalUtf8_;
    DocumentBuilder builder_;

    State state_;
    std::vector<State> stack_;
    int phantomDepth_ = 0;    // groups opened beyond the nesting limit
    int phantomSkipFrom_ = 0; // phantom depth of an ignored destination, 0 for none
    bool ignorableNext_ = false;
    int skipChars_ = 0; // fallback characters after \uN still to skip
    bool started_ = false;
    bool done_ = false;
    bool lastWasPar_ = false;

    int documentCodePage_ = 936;
    int defaultFont_ = 0;
    std::map<int, Font> fonts_;
    int fontIndex_ = -1, fontCharset_ = -1, fontCodePage_ = 0;
    QByteArray fontNameBytes_;
    QString fontName_;
    std::vector<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;
    std::vector<int> cellRights_;
    Picture picture_;

    QByteArray bytes_; // text bytes not yet decoded
    QString run_;      // decoded text in the current character format
    struct CachedFormat {
        CharState chars;
        QTextCharFormat format;
    };
    std::vector<CachedFormat> formats_; // the few formats of the current runs
};

} // namespace rtf
