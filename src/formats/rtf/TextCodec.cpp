#include "TextCodec.h"

#include <QStringList>

#include <iconv.h>

#include <cerrno>
#include <map>

namespace rtf {
namespace {

QByteArray iconvName(int codePage)
{
    switch (codePage) {
    // Windows' code page 936 both ways (0x80 is the euro sign there), so that
    // whatever the writer puts as bytes reads back as the same character.
    case 936: return QByteArrayLiteral("CP936");
    case 950: return QByteArrayLiteral("BIG5");
    case 65001: return QByteArrayLiteral("UTF-8");
    case 10000: return QByteArrayLiteral("MACINTOSH");
    default: return "CP" + QByteArray::number(codePage);
    }
}

// One open conversion per code page and direction, kept for the thread's life:
// iconv_open is far more costly than a typical run of text.
class Converters
{
public:
    ~Converters() { closeAll(); }

    iconv_t get(int codePage, bool toUnicode)
    {
        const auto key = std::make_pair(codePage, toUnicode);
        auto it = open_.find(key);
        if (it == open_.end()) {
            if (open_.size() >= MaxOpen) // documents choose code pages; keep the table small
                closeAll();
            const QByteArray name = iconvName(codePage);
            iconv_t cd = toUnicode ? iconv_open("UTF-16LE", name.constData())
                                   : iconv_open(name.constData(), "UTF-16LE");
            it = open_.emplace(key, cd).first;
        }
        return it->second;
    }

    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

private:
    static constexpr std::size_t MaxOpen = 32;

    void closeAll()
    {
        for (auto &entry : open_)
            if (entry.second != invalid())
                iconv_close(entry.second);
        open_.clear();
    }

    std::map<std::pair<int, bool>, iconv_t> open_;
};

iconv_t converter(int codePage, bool toUnicode)
{
    thread_local Converters converters;
    return converters.get(codePage, toUnicode);
}

void appendLatin1(const char *bytes, int size, QString &out)
{
    out.append(QLatin1String(bytes, size));
}

} // namespace

void TextCodec::decode(int codePage, const char *bytes, int size, QString &out)
{
    int ascii = 0;
    while (ascii < size && static_cast<unsigned char>(bytes[ascii]) < 0x80)
        ++ascii;
    appendLatin1(bytes, ascii, out);
    if (ascii == size)
        return;
    bytes += ascii;
    size -= ascii;

    iconv_t cd = converter(codePage, true);
    if (cd == Converters::invalid()) {
        appendLatin1(bytes, size, out);
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);

    const int start = out.size();
    out.resize(start + size + 2); // never more UTF-16 units than input bytes + a pair
    char *in = const_cast<char *>(bytes);
    size_t inLeft = size_t(size);
    char *dest = reinterpret_cast<char *>(out.data() + start);
    size_t destLeft = size_t(size + 2) * 2;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dest, &destLeft) != size_t(-1))
            break;
        if (errno == E2BIG || destLeft < 2)
            break; // cannot happen with the room reserved above; stop rather than loop
        // An undecodable byte, or a lead byte with nothing after it.
        *reinterpret_cast<char16_t *>(dest) = 0xFFFD;
        dest += 2;
        destLeft -= 2;
        const bool truncated = errno == EINVAL;
        ++in;
        --inLeft;
        if (truncated && inLeft == 0)
            break;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    const qsizetype written = (reinterpret_cast<QChar *>(dest) - (out.data() + start));
    out.resize(start + written);
}

QString TextCodec::decode(int codePage, const QByteArray &bytes)
{
    QString text;
    decode(codePage, bytes.constData(), int(bytes.size()), text);
    return text;
}

bool TextCodec::encodeChar(int codePage, const QString &character, QByteArray &out)
{
    iconv_t cd = converter(codePage, false);
    if (cd == Converters::invalid())
        return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char *in = reinterpret_cast<char *>(const_cast<QChar *>(character.constData()));
    size_t inLeft = size_t(character.size()) * 2;
    char buffer[16];
    char *dest = buffer;
    size_t destLeft = sizeof buffer;
    if (iconv(cd, &in, &inLeft, &dest, &destLeft) == size_t(-1) || inLeft != 0)
        return false;
    // A table may map several characters to one byte sequence; only a
    // character that reads back as itself may be written as bytes.
    const QByteArray encoded(buffer, dest - buffer);
    if (decode(codePage, encoded) != character)
        return false;
    out.append(encoded);
    return true;
}

bool TextCodec::isDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool TextCodec::isCjkFontName(const QString &family)
{
    static const QStringList latinNamedCjk = {
        QStringLiteral("SimSun"), QStringLiteral("NSimSun"), QStringLiteral("SimHei"),
        QStringLiteral("KaiTi"), QStringLiteral("FangSong"), QStringLiteral("Microsoft YaHei"),
        QStringLiteral("DengXian"), QStringLiteral("KaiTi_GB2312"), QStringLiteral("FangSong_GB2312"),
    };
    for (QChar c : family)
        if (c.unicode() > 0x7F)
            return true;
    return latinNamedCjk.contains(family.trimmed(), Qt::CaseInsensitive);
}

int TextCodec::codePageOfCharset(int charset, int fallback)
{
    switch (charset) {
    case 0: return 1252; // ANSI_CHARSET is Western whatever the document's code page
    case 2: return 1252; // Symbol: its bullets and marks sit where Latin-1 has look-alikes
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return fallback;
    }
}

} // namespace rtf
