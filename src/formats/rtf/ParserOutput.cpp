#include "Parser.h"

#include "TextCodec.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <tuple>

// The parser's output side: runs in their character format, paragraphs,
// fonts and pictures as they go to the document builder.
namespace rtf {
namespace {

constexpr int MaxFonts = 1024;
constexpr qint64 MaxPicturePixels = 40'000'000;
constexpr double TwipsPerPixel = 15.0;

} // namespace

void Parser::CharState::setClassFont(int index)
{
    switch (charClass) {
    case CharClass::Low: loFont = index; return;
    case CharClass::High: hiFont = index; return;
    case CharClass::Double: dbFont = index; return;
    case CharClass::None: return;
    }
}

int Parser::CharState::textFont() const
{
    const int classFont = charClass == CharClass::Low    ? loFont
            : charClass == CharClass::High             ? hiFont
            : charClass == CharClass::Double           ? dbFont
                                                       : -1;
    return classFont >= 0 ? classFont : font;
}

bool Parser::CharState::hasDoubleByteProperties() const
{
    return dbFont >= 0 || loFont >= 0 || dbHalfPoints > 0 || dbBold >= 0 || dbItalic >= 0;
}

// Characters outside the double-byte range are set in the \loch font.
Parser::CharState Parser::CharState::forSingleByte() const
{
    CharState c = *this;
    if (loFont >= 0)
        c.font = loFont;
    return c;
}

Parser::CharState Parser::CharState::forDoubleByte() const
{
    CharState c = *this;
    if (dbFont >= 0)
        c.font = dbFont;
    if (dbHalfPoints > 0)
        c.halfPoints = dbHalfPoints;
    if (dbBold >= 0)
        c.bold = dbBold;
    if (dbItalic >= 0)
        c.italic = dbItalic;
    return c;
}

bool Parser::CharState::operator==(const CharState &o) const
{
    const auto fields = [](const CharState &c) {
        return std::tie(c.bold, c.italic, c.underline, c.strike, c.hidden, c.verticalAlign,
                        c.halfPoints, c.font, c.foreground, c.background, c.charClass,
                        c.loFont, c.hiFont, c.dbFont, c.dbHalfPoints, c.dbBold, c.dbItalic);
    };
    return fields(*this) == fields(o);
}

Parser::Parser(const QByteArray &data, bool literalUtf8, QTextDocument *document)
    : pos_(data.constData()), end_(data.constData() + data.size()), literalUtf8_(literalUtf8),
      builder_(document)
{
}

void Parser::appendChar(char32_t c)
{
    if (state_.destination != Destination::Text || phantomSkipFrom_ != 0)
        return;
    decodeBytes();
    if (c > 0x10FFFF)
        c = QChar::ReplacementCharacter;
    if (QChar::requiresSurrogates(c))
        run_.append(QChar::highSurrogate(c)).append(QChar::lowSurrogate(c));
    else
        run_.append(QChar(char16_t(c)));
}

void Parser::decodeBytes()
{
    if (bytes_.isEmpty())
        return;
    TextCodec::decode(codePage(), bytes_.constData(), int(bytes_.size()), run_);
    bytes_.clear();
}

void Parser::flushRun()
{
    decodeBytes();
    if (state_.chars.hidden)
        run_.clear();
    if (run_.isEmpty())
        return;
    builder_.placeContent(state_.para.inTable, definedCells());
    addRun(run_);
    run_.clear();
    lastWasPar_ = false;
}

// Chinese characters take the associated double-byte properties, the rest
// the ordinary ones; spaces go with the text around them.
void Parser::addRun(const QString &text)
{
    const CharState &chars = state_.chars;
    if (!chars.hasDoubleByteProperties()) {
        builder_.addText(text, charFormat(chars));
        return;
    }
    const auto isDoubleByte = [](QChar c) { return c.unicode() >= 0x2E80; };
    qsizetype firstLetter = 0;
    while (firstLetter < text.size() && text[firstLetter].isSpace())
        ++firstLetter;
    bool doubleByte = firstLetter < text.size() && isDoubleByte(text[firstLetter]);
    qsizetype start = 0;
    for (qsizetype i = firstLetter; i <= text.size(); ++i) {
        if (i < text.size() && (text[i].isSpace() || isDoubleByte(text[i]) == doubleByte))
            continue;
        builder_.addText(text.mid(start, i - start),
                         charFormat(doubleByte ? chars.forDoubleByte() : chars.forSingleByte()));
        start = i;
        doubleByte = !doubleByte;
    }
}

void Parser::endParagraph()
{
    builder_.placeContent(state_.para.inTable, definedCells());
    builder_.endParagraph(blockFormat());
    lastWasPar_ = true;
}

void Parser::commitFont()
{
    if (fontIndex_ >= 0 && (int(fonts_.size()) < MaxFonts || fonts_.count(fontIndex_))) {
        Font &font = fonts_[fontIndex_];
        font.codePage = fontCodePage_ > 0
                ? fontCodePage_ : TextCodec::codePageOfCharset(fontCharset_, documentCodePage_);
        // Some writers declare a Chinese font as Western; its text is then in
        // the document's own code page, as its name shows.
        if (fontCodePage_ == 0 && font.codePage == TextCodec::Western && fontCharset_ == 0
            && TextCodec::isDoubleByte(documentCodePage_)
            && TextCodec::isCjkFontName(fontName_ + TextCodec::decode(documentCodePage_, fontNameBytes_)))
            font.codePage = documentCodePage_;
        font.name = (fontName_ + TextCodec::decode(font.codePage, fontNameBytes_)).trimmed();
        formats_.clear();
    }
    fontIndex_ = -1;
    fontCharset_ = -1;
    fontCodePage_ = 0;
    fontNameBytes_.clear();
    fontName_.clear();
}

void Parser::finishPicture()
{
    Picture picture = std::move(picture_);
    picture_ = Picture();
    if ((picture.kind != Keyword::PngBlip && picture.kind != Keyword::JpegBlip)
        || picture.data.isEmpty())
        return;
    QBuffer buffer(&picture.data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, picture.kind == Keyword::PngBlip ? "png" : "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > MaxPicturePixels)
        return;
    QImage image;
    if (!reader.read(&image))
        return;
    const double width = picture.widthGoal > 0 ? picture.widthGoal / TwipsPerPixel : image.width();
    const double height = picture.heightGoal > 0 ? picture.heightGoal / TwipsPerPixel
                                                 : image.height();
    builder_.placeContent(state_.para.inTable, definedCells());
    builder_.addImage(image, QSizeF(width * picture.scaleX / 100.0,
                                    height * picture.scaleY / 100.0));
    lastWasPar_ = false;
}

int Parser::codePage() const
{
    const int font = state_.chars.textFont();
    const auto it = fonts_.find(font >= 0 ? font : defaultFont_);
    return it != fonts_.end() ? it->second.codePage : documentCodePage_;
}

QTextCharFormat Parser::charFormat(const CharState &c)
{
    for (const CachedFormat &cached : formats_)
        if (cached.chars == c)
            return cached.format;
    QTextCharFormat f;
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    f.setFontStrikeOut(c.strike);
    if (c.verticalAlign == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.verticalAlign == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    f.setFontPointSize(c.halfPoints / 2.0);
    const auto font = fonts_.find(c.font >= 0 ? c.font : defaultFont_);
    if (font != fonts_.end() && !font->second.name.isEmpty())
        f.setFontFamilies(QStringList{font->second.name});
    const auto color = [this](int index) {
        return index > 0 && index < int(colors_.size()) ? colors_[std::size_t(index)] : QColor();
    };
    if (const QColor fg = color(c.foreground); fg.isValid())
        f.setForeground(fg);
    if (const QColor bg = color(c.background); bg.isValid())
        f.setBackground(bg);
    if (formats_.size() >= 4)
        formats_.erase(formats_.begin());
    formats_.push_back({c, f});
    return f;
}

QTextBlockFormat Parser::blockFormat() const
{
    const ParaState &p = state_.para;
    QTextBlockFormat f;
    if (p.align != Qt::AlignLeft)
        f.setAlignment(p.align);
    if (p.leftIndent)
        f.setLeftMargin(p.leftIndent / TwipsPerPixel);
    if (p.rightIndent)
        f.setRightMargin(p.rightIndent / TwipsPerPixel);
    if (p.firstIndent)
        f.setTextIndent(p.firstIndent / TwipsPerPixel);
    if (p.spaceBefore)
        f.setTopMargin(p.spaceBefore / TwipsPerPixel);
    if (p.spaceAfter)
        f.setBottomMargin(p.spaceAfter / TwipsPerPixel);
    return f;
}

} // namespace rtf
