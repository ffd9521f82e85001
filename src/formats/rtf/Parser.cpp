#include "Parser.h"

#include "TextCodec.h"

#include <algorithm>

namespace rtf {
namespace {

constexpr std::size_t MaxDepth = 128;
constexpr int MaxWordLength = 32;
constexpr int MaxColors = 1024;
constexpr int MaxFontNameBytes = 256;
constexpr int MaxCells = DocumentBuilder::MaxColumns;
constexpr qsizetype MaxPictureBytes = 32 * 1024 * 1024;
constexpr int MaxTwips = 31680; // 22 inches, the widest RTF page

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool flag(bool hasParam, int param)
{
    return !hasParam || param != 0;
}

int twips(int param)
{
    return std::clamp(param, -MaxTwips, MaxTwips);
}

} // namespace

void Parser::run()
{
    while (pos_ < end_ && !done_) {
        switch (*pos_) {
        case '{':
            ++pos_;
            openGroup();
            break;
        case '}':
            ++pos_;
            closeGroup();
            break;
        case '\\':
            ++pos_;
            controlSequence();
            break;
        default:
            textBytes();
        }
    }
    flushRun();
    builder_.finish(blockFormat(), lastWasPar_);
}

void Parser::openGroup()
{
    flushRun();
    skipChars_ = 0;
    ignorableNext_ = false;
    if (!started_) {
        started_ = true;
        stack_.push_back(state_); // the document group; closing it ends the document
        return;
    }
    if (phantomDepth_ > 0 || stack_.size() >= MaxDepth) {
        ++phantomDepth_;
        return;
    }
    stack_.push_back(state_);
}

void Parser::closeGroup()
{
    flushRun();
    skipChars_ = 0;
    ignorableNext_ = false;
    if (phantomDepth_ > 0) {
        if (phantomSkipFrom_ == phantomDepth_)
            phantomSkipFrom_ = 0;
        --phantomDepth_;
        return;
    }
    if (stack_.empty()) {
        done_ = true;
        return;
    }
    const Destination closing = state_.destination;
    state_ = stack_.back();
    stack_.pop_back();
    if (closing == Destination::FontTable)
        commitFont();
    else if (closing == Destination::Picture && state_.destination != Destination::Picture)
        finishPicture();
    if (stack_.empty())
        done_ = true;
}

void Parser::controlSequence()
{
    if (pos_ >= end_)
        return;
    if (!isLetter(*pos_)) {
        controlSymbol(*pos_++);
        return;
    }
    const char *wordStart = pos_;
    while (pos_ < end_ && isLetter(*pos_))
        ++pos_;
    const std::string_view word(wordStart, std::size_t(std::min<std::ptrdiff_t>(pos_ - wordStart,
                                                                                 MaxWordLength)));
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (pos_ + 1 < end_ && *pos_ == '-' && isDigit(pos_[1])) {
        negative = true;
        ++pos_;
    }
    while (pos_ < end_ && isDigit(*pos_)) {
        hasParam = true;
        value = std::min<qint64>(value * 10 + (*pos_ - '0'), 0x7fffffff);
        ++pos_;
    }
    if (pos_ < end_ && *pos_ == ' ')
        ++pos_;
    controlWord(word, hasParam, int(negative ? -value : value));
}

void Parser::controlSymbol(char symbol)
{
    const bool readsByte = symbol == '\'' || symbol == '\\' || symbol == '{' || symbol == '}';
    if (skipChars_ > 0 && !readsByte) {
        --skipChars_; // a symbol stands for one fallback character
        return;
    }
    switch (symbol) {
    case '\'': {
        const int high = pos_ < end_ ? hexValue(pos_[0]) : -1;
        if (high < 0)
            return;
        ++pos_;
        const int low = pos_ < end_ ? hexValue(pos_[0]) : -1;
        if (low < 0)
            return; // a truncated escape stands for nothing
        ++pos_;
        byte(char(high * 16 + low));
        return;
    }
    case '\\':
    case '{':
    case '}':
        byte(symbol);
        return;
    case '*':
        ignorableNext_ = true;
        return;
    case '~':
        appendChar(0x00A0);
        return;
    case '-':
        appendChar(0x00AD);
        return;
    case '_':
        appendChar(0x2011);
        return;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        return;
    default:
        return;
    }
}

void Parser::controlWord(std::string_view word, bool hasParam, int param)
{
    const KeywordInfo info = lookupKeyword(word);
    const bool ignorable = ignorableNext_;
    ignorableNext_ = false;
    if (info.keyword == Keyword::Binary) {
        if (skipChars_ > 0)
            --skipChars_;
        skipBinary(param);
        return;
    }
    if (skipChars_ > 0) {
        --skipChars_; // a control word stands for one fallback character
        return;
    }
    if (phantomDepth_ > 0 && !phantomControlWord(info.keyword, param, ignorable))
        return;
    if (state_.destination == Destination::Skip)
        return;

    switch (info.keyword) {
    case Keyword::FontTable:
        flushRun();
        state_.destination = Destination::FontTable;
        return;
    case Keyword::ColorTable:
        flushRun();
        state_.destination = Destination::ColorTable;
        colors_.clear();
        return;
    case Keyword::Picture:
        flushRun();
        state_.destination = Destination::Picture;
        picture_ = Picture();
        return;
    case Keyword::SkippedDestination:
        flushRun();
        state_.destination = Destination::Skip;
        return;
    case Keyword::ShapePicture:
        return; // its \pict is read like any other
    default:
        break;
    }
    if (ignorable) {
        flushRun();
        state_.destination = Destination::Skip;
        return;
    }
    switch (state_.destination) {
    case Destination::Text:
        textKeyword(info.keyword, hasParam, param);
        if (info.keyword == Keyword::Character)
            appendChar(info.character);
        return;
    case Destination::FontTable:
        if (info.keyword == Keyword::Font) {
            commitFont();
            fontIndex_ = param;
        } else if (info.keyword == Keyword::FontCharset) {
            fontCharset_ = param;
        } else if (info.keyword == Keyword::FontCodePage) {
            fontCodePage_ = param;
        } else if (info.keyword == Keyword::Unicode && hasParam) {
            fontName_ += TextCodec::decode(codePage(), fontNameBytes_);
            fontNameBytes_.clear();
            fontName_ += QChar(char16_t(param < 0 ? param + 0x10000 : param));
            skipChars_ = state_.unicodeSkip;
        }
        return;
    case Destination::ColorTable:
        if (info.keyword == Keyword::Red)
            red_ = std::clamp(param, 0, 255), colorGiven_ = true;
        else if (info.keyword == Keyword::Green)
            green_ = std::clamp(param, 0, 255), colorGiven_ = true;
        else if (info.keyword == Keyword::Blue)
            blue_ = std::clamp(param, 0, 255), colorGiven_ = true;
        return;
    case Destination::Picture:
        pictureKeyword(info.keyword, param);
        return;
    case Destination::Skip:
        return;
    }
}

// Beyond the nesting limit groups share the innermost state: their text is
// kept, their formatting ignored, and their destinations skipped whole.
bool Parser::phantomControlWord(Keyword keyword, int param, bool ignorable)
{
    if (phantomSkipFrom_ != 0 || state_.destination != Destination::Text)
        return false;
    switch (keyword) {
    case Keyword::Par:
    case Keyword::Line:
    case Keyword::Tab:
    case Keyword::Character:
    case Keyword::Unicode:
        return !ignorable;
    case Keyword::UnicodeSkip:
        state_.unicodeSkip = std::clamp(param, 0, 16);
        return false;
    case Keyword::FontTable:
    case Keyword::ColorTable:
    case Keyword::Picture:
    case Keyword::SkippedDestination:
        phantomSkipFrom_ = phantomDepth_;
        return false;
    default:
        if (ignorable)
            phantomSkipFrom_ = phantomDepth_;
        return false;
    }
}

void Parser::textKeyword(Keyword keyword, bool hasParam, int param)
{
    switch (keyword) {
    case Keyword::Unknown:
    case Keyword::Character:
        return;
    case Keyword::Unicode:
        if (!hasParam)
            return;
        // Negative values are the upper half of the 16-bit range.
        appendChar(param < 0 ? char32_t(param + 0x10000) : char32_t(param));
        skipChars_ = state_.unicodeSkip;
        return;
    case Keyword::Tab:
        appendChar(U'\t');
        return;
    case Keyword::Line:
        appendChar(QChar::LineSeparator);
        return;
    default:
        break;
    }
    flushRun();
    CharState &c = state_.chars;
    ParaState &p = state_.para;
    switch (keyword) {
    case Keyword::AnsiCodePage:
        if (param > 0)
            documentCodePage_ = param;
        return;
    case Keyword::DefaultFont: defaultFont_ = param; return;
    case Keyword::UnicodeSkip: state_.unicodeSkip = std::clamp(param, 0, 16); return;
    case Keyword::Plain: c = CharState(); return;
    case Keyword::Bold: c.bold = flag(hasParam, param); return;
    case Keyword::Italic: c.italic = flag(hasParam, param); return;
    case Keyword::Underline: c.underline = flag(hasParam, param); return;
    case Keyword::UnderlineNone: c.underline = false; return;
    case Keyword::Strike: c.strike = flag(hasParam, param); return;
    case Keyword::Super: c.verticalAlign = 1; return;
    case Keyword::Sub: c.verticalAlign = 2; return;
    case Keyword::NoSuperSub: c.verticalAlign = 0; return;
    case Keyword::Hidden: c.hidden = flag(hasParam, param); return;
    case Keyword::LowAnsi: c.charClass = CharClass::Low; return;
    case Keyword::HighAnsi: c.charClass = CharClass::High; return;
    case Keyword::DoubleByte: c.charClass = CharClass::Double; return;
    case Keyword::NoCharClass: c.charClass = CharClass::None; return;
    case Keyword::AssocFont: c.setClassFont(param); return;
    case Keyword::AssocFontSize:
        if (c.charClass == CharClass::Double)
            c.dbHalfPoints = param > 0 ? std::min(param, 3276) : 0;
        return;
    case Keyword::AssocBold:
        if (c.charClass == CharClass::Double)
            c.dbBold = flag(hasParam, param);
        return;
    case Keyword::AssocItalic:
        if (c.charClass == CharClass::Double)
            c.dbItalic = flag(hasParam, param);
        return;
    case Keyword::FontSize: c.halfPoints = param > 0 ? std::min(param, 3276) : 24; return;
    case Keyword::Font:
        c.font = param;
        c.setClassFont(param);
        return;
    case Keyword::ForeColor: c.foreground = param; return;
    case Keyword::BackColor: c.background = param; return;
    case Keyword::Par: endParagraph(); return;
    case Keyword::ParagraphDefault: p = ParaState(); return;
    case Keyword::AlignLeft: p.align = Qt::AlignLeft; return;
    case Keyword::AlignCenter: p.align = Qt::AlignHCenter; return;
    case Keyword::AlignRight: p.align = Qt::AlignRight; return;
    case Keyword::AlignJustify: p.align = Qt::AlignJustify; return;
    case Keyword::LeftIndent: p.leftIndent = twips(param); return;
    case Keyword::RightIndent: p.rightIndent = twips(param); return;
    case Keyword::FirstIndent: p.firstIndent = twips(param); return;
    case Keyword::SpaceBefore: p.spaceBefore = twips(param); return;
    case Keyword::SpaceAfter: p.spaceAfter = twips(param); return;
    default:
        tableKeyword(keyword, param);
    }
}

void Parser::tableKeyword(Keyword keyword, int param)
{
    switch (keyword) {
    case Keyword::InTable:
        state_.para.inTable = true;
        return;
    case Keyword::RowDefault:
        cellRights_.clear();
        return;
    case Keyword::CellRight:
        if (definedCells() < MaxCells)
            cellRights_.push_back(param);
        return;
    case Keyword::Cell:
        builder_.endCell(blockFormat(), definedCells());
        lastWasPar_ = false;
        return;
    case Keyword::Row:
        builder_.endRow();
        return;
    case Keyword::NestedCell: // nested tables are flattened into their outer cell
        appendChar(U'\t');
        return;
    case Keyword::NestedRow:
        appendChar(QChar::LineSeparator);
        return;
    default:
        return;
    }
}

void Parser::pictureKeyword(Keyword keyword, int param)
{
    switch (keyword) {
    case Keyword::PngBlip:
    case Keyword::JpegBlip:
    case Keyword::OtherBlip:
        picture_.kind = keyword;
        return;
    case Keyword::PicWidthGoal: picture_.widthGoal = twips(param); return;
    case Keyword::PicHeightGoal: picture_.heightGoal = twips(param); return;
    case Keyword::PicWidth: picture_.width = param; return;
    case Keyword::PicHeight: picture_.height = param; return;
    case Keyword::PicScaleX: picture_.scaleX = std::clamp(param, 1, 1000); return;
    case Keyword::PicScaleY: picture_.scaleY = std::clamp(param, 1, 1000); return;
    default: return;
    }
}

void Parser::skipBinary(int length)
{
    const qint64 available = end_ - pos_;
    const qint64 count = std::clamp<qint64>(length, 0, available);
    if (phantomDepth_ == 0 && state_.destination == Destination::Picture
        && picture_.data.size() + count <= MaxPictureBytes)
        picture_.data.append(pos_, qsizetype(count));
    pos_ += count;
}

void Parser::textBytes()
{
    while (pos_ < end_) {
        const char b = *pos_;
        if (b == '{' || b == '}' || b == '\\')
            return;
        if (literalUtf8_ && (b & 0x80)) {
            literalUtf8Bytes();
            continue;
        }
        ++pos_;
        if (b == '\r' || b == '\n' || b == 0)
            continue;
        if (b == '\t') {
            if (skipChars_ > 0)
                --skipChars_;
            else if (phantomSkipFrom_ == 0)
                appendChar(U'\t');
            continue;
        }
        byte(b);
    }
}

void Parser::literalUtf8Bytes()
{
    const char *start = pos_;
    while (pos_ < end_ && (*pos_ & 0x80))
        ++pos_;
    const QString text = QString::fromUtf8(start, pos_ - start);
    for (QChar c : text) {
        if (skipChars_ > 0)
            --skipChars_;
        else if (phantomSkipFrom_ == 0 && state_.destination == Destination::Text)
            appendChar(c.unicode());
    }
}

void Parser::byte(char b)
{
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    if (phantomSkipFrom_ != 0)
        return;
    switch (state_.destination) {
    case Destination::Text:
        bytes_.append(b);
        return;
    case Destination::FontTable:
        if (b == ';')
            commitFont();
        else if (fontNameBytes_.size() < MaxFontNameBytes)
            fontNameBytes_.append(b);
        return;
    case Destination::ColorTable:
        if (b == ';' && int(colors_.size()) < MaxColors) {
            colors_.push_back(colorGiven_ ? QColor(red_, green_, blue_) : QColor());
            red_ = green_ = blue_ = 0;
            colorGiven_ = false;
            formats_.clear();
        }
        return;
    case Destination::Picture: {
        const int nibble = hexValue(b);
        if (nibble < 0)
            return;
        if (picture_.pendingNibble < 0) {
            picture_.pendingNibble = nibble;
        } else {
            if (picture_.data.size() < MaxPictureBytes)
                picture_.data.append(char(picture_.pendingNibble * 16 + nibble));
            picture_.pendingNibble = -1;
        }
        return;
    }
    case Destination::Skip:
        return;
    }
}

} // namespace rtf
