#include "DocumentDump.h"
#include "DocumentBuilder.h"
#include "RtfReader.h"
#include "RtfText.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextTable>
#include <QtTest>

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void wordPadDocument();
    void gbkText_data();
    void gbkText();
    void unicodeEscapes_data();
    void unicodeEscapes();
    void fontCharsets_data();
    void fontCharsets();
    void wordDocumentWithAsianFonts();
    void wordFontSwitching_data();
    void wordFontSwitching();
    void nestedFormatting();
    void paragraphs();
    void table();
    void tableRowsOfDifferentWidths();
    void associatedDoubleByteProperties();
    void pictures();
    void jpegPicture();
    void destinationsThatAreNotBody();
    void plainTextPassesThrough();
    void rtfAsDecodedString();
    void malformedInput_data();
    void malformedInput();
    void deepNesting();
    void manyCellsStayBounded();
    void manyCodePages();
    void typicalBodyIsFast();
};

using rtf::RtfReader;

namespace {

QTextDocument *read(const QByteArray &rtf)
{
    auto *document = new QTextDocument;
    RtfReader::read(rtf, document);
    return document;
}

QString plain(const QByteArray &rtf)
{
    return rtf::toPlainText(rtf);
}

// What WordPad on Chinese Windows writes for a short formatted note.
const QByteArray WordPadSample = R"RTF({\rtf1\ansi\ansicpg936\deff0\deflang1033\deflangfe2052{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}{\f1\fswiss\fcharset0 Arial;}{\f2\fnil\fcharset134 \'ba\'da\'cc\'e5;}}
{\colortbl ;\red255\green0\blue0;\red0\green0\blue255;}
{\*\generator Msftedit 5.41.21.2510;}\viewkind4\uc1\pard\lang2052\f0\fs21\'b9\'a4\'b3\'cc\'d4\'ec\'bc\'db\'b5\'c4{\b\'bc\'c6\'bc\'db}\'d2\'c0\'be\'dd\'a3\'ba\f1 GB 50500-2013\f0\par
\pard\qc\f2\fs28\cf1\'b5\'da\'b6\'fe\'d5\'c2\cf0\f0\fs21\par
\pard\li420\fi-420\cf2 A\'a1\'a2\'d6\'b1\'bd\'d3\'b7\'d1\cf0\par
}
)RTF";

// Word writes tables with row definitions before the cells and a
// \shppict/\nonshppict pair for each picture.
const QByteArray WordTableSample = R"RTF({\rtf1\ansi\ansicpg936\uc2\deff0{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f13\fnil\fcharset134 \'cb\'ce\'cc\'e5{\*\falt SimSun};}}
{\stylesheet{\ql \li0\ri0\widctlpar\aspalpha\snext0 Normal;}}{\*\rsidtbl \rsid1}{\info{\title x}{\author y}}
\pard\plain \ltrpar\ql \f13\fs21\lang1033\langfe2052 {\'b1\'ed\'b8\'f1}\par
\trowd \irow0\irowband0\ts11\trgaph108\cellx2000\cellx4000\pard\plain \intbl {\f13 \'cf\'ee\'c4\'bf\cell }{\f13 \'bd\'f0\'b6\'ee\cell }\pard\plain \intbl {\trowd \irow0\cellx2000\cellx4000\row }
\trowd \irow1\irowband1\ts11\trgaph108\cellx2000\cellx4000\pard\plain \intbl {\f13 A\par A2\cell }{100\cell }\pard\plain \intbl {\trowd \irow1\cellx2000\cellx4000\row }
\pard\plain \ltrpar {\f13 \'bd\'e1\'ca\'f8}\par
}
)RTF";

QByteArray pngHex(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QList<QTextImageFormat> images(const QTextDocument &document)
{
    QList<QTextImageFormat> found;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                found << it.fragment().charFormat().toImageFormat();
    return found;
}

} // namespace

void TestRtfReader::wordPadDocument()
{
    QScopedPointer<QTextDocument> d(read(WordPadSample));
    QCOMPARE(dumpDocument(*d),
             QString("P\n"
                     "  \"工程造价的\" 10.5pt,宋体\n"
                     "  \"计价\" b,10.5pt,宋体\n"
                     "  \"依据：\" 10.5pt,宋体\n"
                     "  \"GB 50500-2013\" 10.5pt,Arial\n"
                     "P center\n"
                     "  \"第二章\" 14pt,黑体,fg#ff0000\n"
                     "P li=28 fi=-28\n"
                     "  \"A、直接费\" 10.5pt,宋体,fg#0000ff\n"));
}

void TestRtfReader::gbkText_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("pairs, no code page given") << QByteArray(R"({\rtf1 \'d6\'d0\'ce\'c4})") << "中文";
    QTest::newRow("trail byte as a literal")
            << QByteArray(R"({\rtf1\ansi\ansicpg936 \'81A\'81\\\'81\{\'81\}x})") << "丄乗亄亇x";
    QTest::newRow("pair split by an unknown word")
            << QByteArray(R"({\rtf1 \'d6\lang2052\'d0})") << "中";
    QTest::newRow("fcharset 134 in a western document")
            << QByteArray(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset134 SimSun;}}\f0 caf\'e9 \f1\'d6\'d0})")
            << "café 中";
    QTest::newRow("cpg overrides charset")
            << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0\fcharset0\cpg1251 X;}}\f0\'c4\'e0})") << "Да";
    QTest::newRow("undecodable byte") << QByteArray(R"({\rtf1 a\'ff\'ffb})") << "a\uFFFD\uFFFDb";
    QTest::newRow("lone lead byte at the end") << QByteArray(R"({\rtf1 ab\'d6})") << "ab\uFFFD";
    QTest::newRow("hidden text") << QByteArray(R"({\rtf1 a{\v hidden}b\v c\v0 d})") << "abd";
    QTest::newRow("escaped specials")
            << QByteArray(R"({\rtf1 \{a\}\\b\~c\_d\emdash\ldblquote\rdblquote})")
            << "{a}\\b\u00A0c\u2011d\u2014\u201C\u201D";
}

void TestRtfReader::gbkText()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QTextDocument d;
    RtfReader::read(rtf, &d);
    QCOMPARE(d.begin().text(), expected);
}

void TestRtfReader::unicodeEscapes_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("uc1 fallback skipped") << QByteArray(R"({\rtf1 \u20013?\u25991?})") << "中文";
    QTest::newRow("uc2 skips a GBK pair") << QByteArray(R"({\rtf1\uc2\u20013\'d6\'d0x})") << "中x";
    QTest::newRow("uc0 skips nothing") << QByteArray(R"({\rtf1\uc0\u20013 x})") << "中x";
    QTest::newRow("negative value") << QByteArray(R"({\rtf1 \u-3916?})") << "\uF0B4";
    QTest::newRow("surrogate pair") << QByteArray(R"({\rtf1 \u-10179?\u-8704?})") << "😀";
    QTest::newRow("control word counts as one") << QByteArray(R"({\rtf1 \u8212\emdash x})") << "—x";
    QTest::newRow("control symbol counts as one") << QByteArray(R"({\rtf1 \u160\~x})") << " x"; // nbsp reads as a space
    QTest::newRow("group end stops the skip") << QByteArray(R"({\rtf1\uc3 {\u20013?}x})") << "中x";
    QTest::newRow("uc is scoped to its group") << QByteArray(R"({\rtf1 {\uc2 a}\u20013?b})") << "a中b";
    QTest::newRow("literal text after uc") << QByteArray(R"({\rtf1\uc1\u39064 ?z})") << "题z";
}

void TestRtfReader::unicodeEscapes()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plain(rtf), expected);
}

// Word 2007 and later declare fonts of several Asian charsets beside GBK; each
// font's bytes are in its own charset.
void TestRtfReader::fontCharsets_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    const QByteArray fonts = R"({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;})"
                             R"({\f1\froman\fcharset0 Times New Roman;}{\f2\fnil\fcharset136 PMingLiU;})"
                             R"({\f3\fnil\fcharset129 Batang;}{\f4\fnil\fcharset128 MS Mincho;}})";
    QTest::newRow("Big5") << fonts + R"(\f0\'d6\'d0\f2\'a4\'a4\'a4\'e5})" << "中中文";
    QTest::newRow("Korean") << fonts + R"(\f3\'c7\'d1\'b1\'b9\f0\'ce\'c4})" << "한국文";
    QTest::newRow("Shift-JIS, trail byte 7b") << fonts + R"(\f4\'93\'fa\'96\'7b\'82\'a0})" << "日本あ";
    QTest::newRow("Western in a GBK document") << fonts + R"(\f1 caf\'e9 \f0\'d6\'d0})" << "café 中";
    QTest::newRow("pair not split across a font change")
            << fonts + R"(\f2\'a4\'a4{\f4\'82\'a0}\'a4\'e5})" << "中あ文";
    QTest::newRow("default font is the document's") << QByteArray(R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset1 X;}}\f0\'d6\'d0})") << "中";
    QTest::newRow("Chinese font declared Western")
            << QByteArray(R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset0 \'cb\'ce\'cc\'e5;}{\f1\fcharset0 SimSun;}}\f0\'d6\'d0\f1\'ce\'c4})")
            << "中文";
    QTest::newRow("u escape with a Shift-JIS fallback")
            << fonts + R"(\uc2\f4\u12354\'82\'a0\f0\'ce\'c4})" << "あ文";
    QTest::newRow("u escape with a Big5 fallback in a GBK font")
            << fonts + R"(\uc2\f0\u20013\'a4\'a4\'ce\'c4})" << "中文";
    QTest::newRow("u escape with a Korean fallback, uc1")
            << fonts + R"(\f3\u54620\'3f\'c7\'d1})" << "한한";
}

void TestRtfReader::fontCharsets()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plain(rtf), expected);
}

// As Word writes a run: associated fonts for each character class, then the text.
void TestRtfReader::wordDocumentWithAsianFonts()
{
    const QByteArray rtf = R"RTF({\rtf1\adeflang1025\ansi\ansicpg936\uc2\adeff0\deff0\stshfdbch13\stshfloch0\stshfhich0
{\fonttbl{\f0\fbidi \froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}
{\f13\fbidi \fnil\fcharset134\fprq2{\*\panose 02010600030101010101}\'cb\'ce\'cc\'e5{\*\falt SimSun};}
{\f40\fbidi \fnil\fcharset136\fprq2 PMingLiU;}{\f41\fbidi \fnil\fcharset129\fprq2 Batang;}}
{\*\generator Microsoft Word 12.0;}\pard\plain \ltrpar\ql \rtlch\fcs1 \af0\afs24 \ltrch\fcs0 \fs21\lang1033\langfe2052
{\rtlch\fcs1 \af0 \ltrch\fcs0 \hich\af13\dbch\af13\loch\f13 \'b9\'a4\'b3\'cc}
{\rtlch\fcs1 \af0 \ltrch\fcs0 \hich\af0\dbch\af13\loch\f0 Caf\'e9 }
{\rtlch\fcs1 \af0 \ltrch\fcs0 \hich\af40\dbch\af40\loch\f40 \'a4\'e5}
{\rtlch\fcs1 \af0 \ltrch\fcs0 \hich\af41\dbch\af41\loch\f41 \'c7\'d1}
{\rtlch\fcs1 \af0 \ltrch\fcs0 \hich\af0\dbch\af13\loch\f0 \u36896\'d4\'ec}\par})RTF";
    QCOMPARE(plain(rtf), QString("工程Café 文한造"));
}

// Word and WPS name the font of each character class and put the class of
// the following text last: here the Big5 bytes belong to \dbch's f14.
void TestRtfReader::wordFontSwitching_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("the run alone")
            << QByteArray(R"({\loch\af2\hich\af2\dbch\f14 \'a4\'ba\'aee\'aeM\'a5\'f3})");
    QTest::newRow("after a paragraph in double-byte mode and a right-to-left font")
            << QByteArray(R"(\ltrch\fcs0 \loch\af0\hich\af0\dbch\af13 {\rtlch\fcs1 \af2 \ltrch\fcs0 \loch\af2\hich\af2\dbch\f14 \'a4\'ba\'aee\'aeM\'a5\'f3})");
    QTest::newRow("loch text, then dbch text in one group")
            << QByteArray(R"({\loch\af2\hich\af2\dbch\af14\loch\f2 \dbch\f14 \'a4\'ba\'aee\'aeM\'a5\'f3})");
}

void TestRtfReader::wordFontSwitching()
{
    QFETCH(QByteArray, body);
    const QByteArray rtf = R"RTF({\rtf1\ansi\ansicpg936\deff0{\fonttbl{\f0\froman\fcharset0 Times New Roman;}{\f2\fmodern\fcharset0 Courier New;}{\f13\fnil\fcharset134 \'cb\'ce\'cc\'e5;}{\f14\froman\fcharset136 PMingLiU;}}
\pard\plain )RTF" + body + R"RTF({\loch\af13\hich\af13\dbch\af13\loch\f2 Caf\'e9}\par})RTF";
    QScopedPointer<QTextDocument> d(read(rtf));
    QCOMPARE(d->begin().text(), QString("內容套件Café"));
    QTextCursor c(d.data());
    c.setPosition(1);
    QCOMPARE(c.charFormat().fontFamilies().toStringList(), QStringList{"PMingLiU"});
    c.setPosition(6);
    QCOMPARE(c.charFormat().fontFamilies().toStringList(), QStringList{"Courier New"});
}

void TestRtfReader::nestedFormatting()
{
    QScopedPointer<QTextDocument> d(read(R"RTF({\rtf1{\colortbl;\red0\green128\blue0;\red255\green255\blue0;}
{\b bold {\i both {\ul all\ulnone  none}} \strike gone\strike0 }plain {\fs40\super 2\nosupersub\sub 3}
\b on\plain  off {\cf1\highlight2 hi}})RTF"));
    QCOMPARE(dumpDocument(*d),
             QString("P\n"
                     "  \"bold \" b,12pt\n"
                     "  \"both \" b,i,12pt\n"
                     "  \"all\" b,i,u,12pt\n"
                     "  \" none\" b,i,12pt\n"
                     "  \" \" b,12pt\n"
                     "  \"gone\" b,s,12pt\n"
                     "  \"plain \" 12pt\n"
                     "  \"2\" sup,20pt\n"
                     "  \"3\" sub,20pt\n"
                     "  \"on\" b,12pt\n"
                     "  \" off \" 12pt\n"
                     "  \"hi\" 12pt,fg#008000,bg#ffff00\n"));
}

void TestRtfReader::paragraphs()
{
    QScopedPointer<QTextDocument> d(read(R"RTF({\rtf1\pard\qr\ri300\sb120\sa240 one\line two\tab x\par
\qj kept across par\par\pard\qc{\ql scoped}\par\par})RTF"));
    QCOMPARE(dumpDocument(*d),
             QString("P right ri=20 sb=8 sa=16\n"
                     "  \"one<br>two\tx\" 12pt\n"
                     "P justify ri=20 sb=8 sa=16\n"
                     "  \"kept across par\" 12pt\n"
                     "P center\n"
                     "  \"scoped\" 12pt\n"
                     "P center\n"));
}

void TestRtfReader::table()
{
    QScopedPointer<QTextDocument> d(read(WordTableSample));
    QCOMPARE(dumpDocument(*d),
             QString("P\n"
                     "  \"表格\" 10.5pt,宋体\n"
                     "table 2x2\n"
                     "  cell 0,0\n"
                     "    P\n"
                     "      \"项目\" 12pt,宋体\n"
                     "  cell 0,1\n"
                     "    P\n"
                     "      \"金额\" 12pt,宋体\n"
                     "  cell 1,0\n"
                     "    P\n"
                     "      \"A\" 12pt,宋体\n"
                     "    P\n"
                     "      \"A2\" 12pt,宋体\n"
                     "  cell 1,1\n"
                     "    P\n"
                     "      \"100\" 12pt,Times New Roman\n"
                     "P\n"
                     "  \"结束\" 12pt,宋体\n"));
}

void TestRtfReader::tableRowsOfDifferentWidths()
{
    QScopedPointer<QTextDocument> d(read(R"RTF({\rtf1\trowd\cellx1000\intbl a\cell\row
\trowd\cellx1000\cellx2000\cellx3000\intbl b\cell c\cell d\cell\row})RTF"));
    const QTextTable *table = qobject_cast<QTextTable *>(d->rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->rows(), 2);
    QCOMPARE(table->columns(), 3);
    QCOMPARE(table->cellAt(1, 2).firstCursorPosition().block().text(), QString("d"));
}

void TestRtfReader::associatedDoubleByteProperties()
{
    // LibreOffice and Word give Chinese runs their own font, size and weight
    // after \dbch, and Unicode text with code-page fallbacks.
    QScopedPointer<QTextDocument> d(read(R"RTF({\rtf1\ansi\deff3{\fonttbl{\f3\froman\fcharset0 DejaVu Serif;}{\f5\froman\fcharset134 \'cb\'ce\'cc\'e5;}{\f6\fnil\fcharset134 \'ba\'da\'cc\'e5;}}
\pard\plain \s0\rtlch\af9\afs24\alang1081 \ltrch\lang1033\langfe2052\hich\af3\loch\f3\fs24\dbch\af5\langfe2052\qc
{\hich\af6\loch\f6\dbch\afs32\ab\af6\dbch \uc2 \u31532\'b5\'da\u19968\'d2\'bb \u31456\'d5\'c2\uc1 }
\par \pard\plain \hich\af3\loch\f3\fs20\dbch\af5\afs28 {Cost \u36896\'3f\u20215\'3f 100}\par})RTF"));
    QCOMPARE(dumpDocument(*d),
             QString("P center\n"
                     "  \"第一 章\" b,16pt,黑体\n"
                     "P\n"
                     "  \"Cost \" 10pt,DejaVu Serif\n"
                     "  \"造价 \" 14pt,宋体\n"
                     "  \"100\" 10pt,DejaVu Serif\n"));
}

void TestRtfReader::pictures()
{
    const QByteArray hex = pngHex(4, 2).toHex();
    const QByteArray rtf = "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip\\picw4\\pich2\\picwgoal600\\pichgoal300 "
            + hex + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}b{\\pict\\pngblip\\bin"
            + QByteArray::number(pngHex(3, 3).size()) + " " + pngHex(3, 3)
            + "}{\\pict\\emfblip 0100}c}";
    QScopedPointer<QTextDocument> d(read(rtf));
    QCOMPARE(d->toPlainText(), QString("a\uFFFCb\uFFFCc"));
    const QList<QTextImageFormat> found = images(*d);
    QCOMPARE(found.size(), 2);
    QCOMPARE(QSizeF(found[0].width(), found[0].height()), QSizeF(40, 20));
    QCOMPARE(QSizeF(found[1].width(), found[1].height()), QSizeF(3, 3));
    const QImage first = d->resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>();
    QCOMPARE(first.size(), QSize(4, 2));
    QCOMPARE(first.pixelColor(0, 0), QColor(Qt::red));
}

void TestRtfReader::jpegPicture()
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "JPEG"));
    QScopedPointer<QTextDocument> d(read("{\\rtf1{\\pict\\jpegblip\\picscalex50\\picscaley50 "
                                         + jpeg.toHex() + "}}"));
    const QList<QTextImageFormat> found = images(*d);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].width(), 4.0);
}

void TestRtfReader::destinationsThatAreNotBody()
{
    const QByteArray rtf = R"RTF({\rtf1{\fonttbl{\f0 Arial;}{\f2\fcharset2 Symbol;}}{\stylesheet{\s1 Heading;}}{\info{\title T}}
{\header H}{\*\unknowndest U}{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt shown}} \unknownword kept
{\pntext\f2\'b7\tab}{\*\pn\pnlvlblt{\pntxtb X}}item{\footnote F}})RTF";
    QCOMPARE(plain(rtf), QString("shown kept·\titem"));
}

void TestRtfReader::plainTextPassesThrough()
{
    QCOMPARE(plain("a {b} \\par c\r\nsecond"), QString("a {b} \\par c\nsecond"));
    QCOMPARE(rtf::toPlainText(QString("  {\\rtf is inside")), QString("  {\\rtf is inside"));
    QCOMPARE(plain(QString("试题 UTF-8").toUtf8()), QString("试题 UTF-8"));
    QCOMPARE(plain(QByteArray("\xca\xd4\xcc\xe2 GBK")), QString("试题 GBK"));
    QCOMPARE(plain(QByteArray()), QString());
    QVERIFY(!RtfReader::isRtf(QByteArray("{\\rt")));
    QVERIFY(RtfReader::isRtf(QByteArray("{\\rtf1}")));
    QVERIFY(!RtfReader::isRtf(QByteArray(" {\\rtf1}")));
}

void TestRtfReader::rtfAsDecodedString()
{
    // RTF that went through a text column: literal Chinese next to escapes.
    QCOMPARE(rtf::toPlainText(QString("{\\rtf1\\ansi\\ansicpg936 直接{\\b 费}\\'d6\\'d0\\u25991?}")),
             QString("直接费中文"));
}

void TestRtfReader::malformedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing closing braces") << QByteArray(R"({\rtf1 {\b bold} text {\i open)") << "bold text open";
    QTest::newRow("text after the document") << QByteArray(R"({\rtf1 abc}} def})") << "abc";
    QTest::newRow("truncated hex escape") << QByteArray(R"({\rtf1 a\'4)") << "a";
    QTest::newRow("hex escape without digits") << QByteArray(R"({\rtf1 a\'zz})") << "azz";
    QTest::newRow("backslash at the end") << QByteArray(R"({\rtf1 a\)") << "a";
    QTest::newRow("unicode without number") << QByteArray(R"({\rtf1 a\u b})") << "ab";
    QTest::newRow("huge parameter") << QByteArray(R"({\rtf1\fs99999999999999 a\u99999999999 ?b})") << "a\uFFFDb";
    QTest::newRow("binary longer than the input") << QByteArray(R"({\rtf1 a\bin999999 xyz)") << "a";
    QTest::newRow("negative binary length") << QByteArray(R"({\rtf1 a\bin-5 b})") << "ab";
    QTest::newRow("picture that is not an image") << QByteArray(R"({\rtf1 a{\pict\pngblip 0102zz}b})") << "ab";
    QTest::newRow("overlong control word") << QByteArray("{\\rtf1 a\\" + QByteArray(5000, 'x') + " b}") << "ab";
    QTest::newRow("NUL bytes") << QByteArray("{\\rtf1 a\0b}", 11) << "ab";
}

void TestRtfReader::malformedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plain(rtf), expected);
}

void TestRtfReader::deepNesting()
{
    const int depth = 100000;
    const QByteArray rtf = "{\\rtf1 start" + QByteArray(depth, '{') + "\\b deep\\par\\'d6\\'d0{\\*\\x hidden}"
            + QByteArray(depth, '}') + " end}";
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(plain(rtf), QString("startdeep\n中 end"));
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    // Unbalanced the other way: never closed.
    QCOMPARE(plain("{\\rtf1 x" + QByteArray(depth, '{') + "y"), QString("xy"));
}

void TestRtfReader::manyCellsStayBounded()
{
    QByteArray rtf = "{\\rtf1\\trowd\\intbl ";
    for (int i = 0; i < 200; ++i)
        rtf += "c\\cell ";
    rtf += "\\row";
    for (int i = 0; i < 3000; ++i)
        rtf += "\\intbl r\\cell\\row";
    QScopedPointer<QTextDocument> d(read(rtf + "}"));
    const QTextTable *table = qobject_cast<QTextTable *>(d->rootFrame()->childFrames().value(0));
    QVERIFY(table);
    QCOMPARE(table->columns(), 63);
    QVERIFY(table->rows() * table->columns() <= rtf::DocumentBuilder::MaxCells);
    QVERIFY(d->toPlainText().count('c') == 200);
}

void TestRtfReader::manyCodePages()
{
    QByteArray fonts = "{\\fonttbl";
    QByteArray body;
    for (int i = 0; i < 200; ++i) {
        fonts += "{\\f" + QByteArray::number(i) + "\\cpg" + QByteArray::number(i % 2 ? 936 : 1250 + i) + " F;}";
        body += "\\f" + QByteArray::number(i) + " a";
    }
    QCOMPARE(plain("{\\rtf1" + fonts + "}" + body + "}"), QString(200, 'a'));
}

void TestRtfReader::typicalBodyIsFast()
{
    QByteArray rtf = WordPadSample;
    rtf.chop(3);
    while (rtf.size() < 5000)
        rtf += "\\pard\\f0\\fs21\\'b9\\'a4\\'b3\\'cc{\\b\\'bc\\'c6\\'bc\\'db} text \\'d2\\'c0\\'be\\'dd\\par\n";
    rtf += "}";
    QTextDocument d;
    RtfReader::read(rtf, &d);
    const int rounds = 200;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        RtfReader::read(rtf, &d);
    const double perRead = double(timer.nsecsElapsed()) / rounds / 1e6;
    qInfo("5 KB RTF read in %.3f ms", perRead);
    QVERIFY2(perRead < 5.0, qPrintable(QString::number(perRead)));
}

QTEST_MAIN(TestRtfReader)
#include "test_rtf_reader.moc"
