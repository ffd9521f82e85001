#include "Keywords.h"

#include <unordered_map>

namespace rtf {
namespace {

using Map = std::unordered_map<std::string_view, KeywordInfo>;

Map buildMap()
{
    Map map{
        {"rtf", {Keyword::Rtf}}, {"ansicpg", {Keyword::AnsiCodePage}}, {"deff", {Keyword::DefaultFont}},
        {"uc", {Keyword::UnicodeSkip}}, {"u", {Keyword::Unicode}}, {"bin", {Keyword::Binary}},
        {"fonttbl", {Keyword::FontTable}}, {"colortbl", {Keyword::ColorTable}},
        {"pict", {Keyword::Picture}}, {"shppict", {Keyword::ShapePicture}},
        {"f", {Keyword::Font}}, {"fcharset", {Keyword::FontCharset}}, {"cpg", {Keyword::FontCodePage}},
        {"red", {Keyword::Red}}, {"green", {Keyword::Green}}, {"blue", {Keyword::Blue}},
        {"plain", {Keyword::Plain}}, {"b", {Keyword::Bold}}, {"i", {Keyword::Italic}},
        {"ulnone", {Keyword::UnderlineNone}}, {"strike", {Keyword::Strike}}, {"striked", {Keyword::Strike}},
        {"super", {Keyword::Super}}, {"sub", {Keyword::Sub}}, {"nosupersub", {Keyword::NoSuperSub}},
        {"v", {Keyword::Hidden}},
        {"dbch", {Keyword::DoubleByte}}, {"loch", {Keyword::LowAnsi}}, {"hich", {Keyword::HighAnsi}},
        {"rtlch", {Keyword::NoCharClass}}, {"ltrch", {Keyword::NoCharClass}},
        {"af", {Keyword::AssocFont}}, {"afs", {Keyword::AssocFontSize}},
        {"ab", {Keyword::AssocBold}}, {"ai", {Keyword::AssocItalic}},
        {"fs", {Keyword::FontSize}}, {"cf", {Keyword::ForeColor}}, {"highlight", {Keyword::BackColor}},
        {"cb", {Keyword::BackColor}}, {"chcbpat", {Keyword::BackColor}},
        {"par", {Keyword::Par}}, {"sect", {Keyword::Par}}, {"page", {Keyword::Par}},
        {"line", {Keyword::Line}}, {"tab", {Keyword::Tab}}, {"pard", {Keyword::ParagraphDefault}},
        {"ql", {Keyword::AlignLeft}}, {"qc", {Keyword::AlignCenter}}, {"qr", {Keyword::AlignRight}},
        {"qj", {Keyword::AlignJustify}}, {"li", {Keyword::LeftIndent}}, {"ri", {Keyword::RightIndent}},
        {"fi", {Keyword::FirstIndent}}, {"sb", {Keyword::SpaceBefore}}, {"sa", {Keyword::SpaceAfter}},
        {"intbl", {Keyword::InTable}}, {"cell", {Keyword::Cell}}, {"row", {Keyword::Row}},
        {"trowd", {Keyword::RowDefault}}, {"cellx", {Keyword::CellRight}},
        {"nestcell", {Keyword::NestedCell}}, {"nestrow", {Keyword::NestedRow}},
        {"pngblip", {Keyword::PngBlip}}, {"jpegblip", {Keyword::JpegBlip}},
        {"picwgoal", {Keyword::PicWidthGoal}}, {"pichgoal", {Keyword::PicHeightGoal}},
        {"picw", {Keyword::PicWidth}}, {"pich", {Keyword::PicHeight}},
        {"picscalex", {Keyword::PicScaleX}}, {"picscaley", {Keyword::PicScaleY}},
        {"emdash", {Keyword::Character, 0x2014}}, {"endash", {Keyword::Character, 0x2013}},
        {"emspace", {Keyword::Character, 0x2003}}, {"enspace", {Keyword::Character, 0x2002}},
        {"qmspace", {Keyword::Character, 0x2005}}, {"bullet", {Keyword::Character, 0x2022}},
        {"lquote", {Keyword::Character, 0x2018}}, {"rquote", {Keyword::Character, 0x2019}},
        {"ldblquote", {Keyword::Character, 0x201C}}, {"rdblquote", {Keyword::Character, 0x201D}},
        {"zwj", {Keyword::Character, 0x200D}}, {"zwnj", {Keyword::Character, 0x200C}},
    };
    for (std::string_view word : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                  "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                  "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
        map.emplace(word, KeywordInfo{Keyword::Underline});
    for (std::string_view word : {"emfblip", "wmetafile", "macpict", "pmmetafile", "dibitmap",
                                  "wbitmap"})
        map.emplace(word, KeywordInfo{Keyword::OtherBlip});
    // Destinations whose text is not part of the body.
    for (std::string_view word :
         {"stylesheet", "info", "fldinst", "header", "headerl", "headerr", "headerf", "footer",
          "footerl", "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "xe",
          "tc", "txe", "rxe", "template", "filetbl", "revtbl", "listtable", "listoverridetable",
          "pgdsctbl", "rsidtbl", "generator", "nonshppict", "objdata", "objclass", "objname",
          "themedata", "colorschememapping", "latentstyles", "datastore", "xmlnstbl", "pn",
          "pntxta", "pntxtb", "private", "userprops", "docvar", "mmathPr", "nonesttables", "do",
          "sp", "sn", "sv", "shpinst", "picprop", "blipuid", "bkmkstart", "bkmkend",
          "ftnsep", "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "fchars", "lchars",
          "keywords", "title", "subject", "author", "operator", "comment",
          "doccomm", "hlinkbase", "company", "category", "manager"})
        map.emplace(word, KeywordInfo{Keyword::SkippedDestination});
    return map;
}

} // namespace

KeywordInfo lookupKeyword(std::string_view word)
{
    static const Map map = buildMap();
    const auto it = map.find(word);
    return it == map.end() ? KeywordInfo{} : it->second;
}

} // namespace rtf
