#include "DocumentDump.h"
#include "RtfReader.h"
#include "RtfText.h"
#include "RtfWriter.h"
#include "TextCodec.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

class TestRtfWriter : public QObject
{
    Q_OBJECT

private slots:
    void headerAndEncoding();
    void formattedRoundTrip();
    void readWriteReadIsStable_data();
    void readWriteReadIsStable();
    void tableRoundTrip();
    void imageRoundTrip();
    void plainTextHelpers();
    void codePage936ReadsBackWhatItWrites();
};

using rtf::RtfReader;
using rtf::RtfWriter;

void TestRtfWriter::headerAndEncoding()
{
    QTextDocument d;
    QTextCursor c(&d);
    c.insertText(QString("造价 € 한 😀 {x}\\"));
    const QByteArray rtf = RtfWriter::write(d);
    QVERIFY(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    QVERIFY(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"));
    QVERIFY(rtf.contains("\\'d4\\'ec\\'bc\\'db"));   // 造价 as GBK pairs
    QVERIFY(rtf.contains("\\'80"));                    // € is in code page 936
    QVERIFY(rtf.contains("\\u-10916?"));               // 한 is not
    QVERIFY(rtf.contains("\\u-10179?\\u-8704?"));      // a surrogate pair
    QVERIFY(rtf.contains("\\{x\\}\\\\"));
    for (char ch : rtf)
        QVERIFY(uchar(ch) < 0x80);
}

void TestRtfWriter::formattedRoundTrip()
{
    QTextDocument d;
    QFont twelvePoints = d.defaultFont();
    twelvePoints.setPointSize(12); // what runs without a size of their own are written with
    d.setDefaultFont(twelvePoints);
    QTextCursor c(&d);
    QTextBlockFormat centered;
    centered.setAlignment(Qt::AlignHCenter);
    centered.setLeftMargin(20);
    centered.setTextIndent(-10);
    centered.setTopMargin(4);
    c.setBlockFormat(centered);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(14);
    bold.setFontFamilies({"黑体"});
    bold.setForeground(QColor("#cc0000"));
    c.insertText("标题 Title", bold);
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    justified.setRightMargin(8);
    justified.setBottomMargin(6);
    c.insertBlock(justified);
    QTextCharFormat mixed;
    mixed.setFontItalic(true);
    mixed.setFontUnderline(true);
    mixed.setFontStrikeOut(true);
    mixed.setBackground(QColor("#ffff00"));
    mixed.setFontFamilies({"Times New Roman"});
    c.insertText("Latin 中文 mixed", mixed);
    QTextCharFormat super;
    super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText("2", super);
    QTextCharFormat sub;
    sub.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    c.insertText("i", sub);
    c.insertText(QString("tab\there") + QChar::LineSeparator + "nbsp\u00A0end", QTextCharFormat());
    c.insertBlock(QTextBlockFormat());
    c.insertBlock(QTextBlockFormat());
    c.insertText("after two empty ones");
    QTextDocument back;
    RtfReader::read(RtfWriter::write(d), &back);
    QCOMPARE(dumpDocument(back), QString(
             "P center li=20 fi=-10 sb=4\n"
             "  \"标题 Title\" b,14pt,黑体,fg#cc0000\n"
             "P justify ri=8 sa=6\n"
             "  \"Latin 中文 mixed\" i,u,s,12pt,Times New Roman,bg#ffff00\n"
             "  \"2\" sup,12pt,宋体\n"
             "  \"i\" sub,12pt,宋体\n"
             "  \"tab\there<br>nbsp\u00A0end\" 12pt,宋体\n"
             "P\n"
             "P\n"
             "  \"after two empty ones\" 12pt,宋体\n"));
}

void TestRtfWriter::readWriteReadIsStable_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("paragraphs") << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;}{\f1 Arial;}}{\colortbl;\red1\green2\blue3;}\f0\fs21 a{\b\cf1 b}\f1 c\par\qc\li300 d\par\par})");
    QTest::newRow("table at the start") << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;}}\trowd\cellx1000\cellx2000\intbl \'d6\'d0\cell x\par y\cell\row\trowd\cellx500\intbl z\cell\row})");
    QTest::newRow("table between text") << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;}} before\par\trowd\cellx1000\intbl a\cell\row\pard after\par})");
    QTest::newRow("empty") << QByteArray(R"({\rtf1})");
}

void TestRtfWriter::readWriteReadIsStable()
{
    QFETCH(QByteArray, rtf);
    QTextDocument first;
    RtfReader::read(rtf, &first);
    const QByteArray written = RtfWriter::write(first);
    QTextDocument second;
    RtfReader::read(written, &second);
    QCOMPARE(dumpDocument(second), dumpDocument(first));
    QCOMPARE(RtfWriter::write(second), written);
}

void TestRtfWriter::tableRoundTrip()
{
    QTextDocument d;
    QTextCursor c(&d);
    c.insertText("head");
    c.insertBlock();
    QTextTable *table = c.insertTable(2, 3);
    table->cellAt(0, 0).firstCursorPosition().insertText("名称");
    table->cellAt(1, 2).firstCursorPosition().insertText("100");
    QTextDocument back;
    RtfReader::read(RtfWriter::write(d), &back);
    const auto *read = qobject_cast<QTextTable *>(back.rootFrame()->childFrames().value(0));
    QVERIFY(read);
    QCOMPARE(read->rows(), 2);
    QCOMPARE(read->columns(), 3);
    QCOMPARE(read->cellAt(0, 0).firstCursorPosition().block().text(), QString("名称"));
    QCOMPARE(read->cellAt(1, 2).firstCursorPosition().block().text(), QString("100"));
    QCOMPARE(back.toPlainText(), d.toPlainText());
}

void TestRtfWriter::imageRoundTrip()
{
    QImage image(5, 3, QImage::Format_ARGB32);
    image.fill(QColor(10, 200, 30));
    QTextDocument d;
    QFont font = d.defaultFont();
    font.setPointSize(12);
    d.setDefaultFont(font);
    d.addResource(QTextDocument::ImageResource, QUrl("mem:pic"), image);
    QTextCursor c(&d);
    c.insertText("见图");
    QTextImageFormat f;
    f.setName("mem:pic");
    f.setWidth(50);
    f.setHeight(30);
    c.insertImage(f);
    const QByteArray rtf = RtfWriter::write(d);
    QVERIFY(rtf.contains("{\\pict\\pngblip\\picw5\\pich3\\picwgoal750\\pichgoal450"));
    QTextDocument back;
    RtfReader::read(rtf, &back);
    QCOMPARE(dumpDocument(back), QString("P\n  \"见图\" 12pt,宋体\n  [image 50x30]\n"));
    QImage readImage;
    for (auto it = back.begin().begin(); !it.atEnd(); ++it)
        if (it.fragment().charFormat().isImageFormat())
            readImage = back.resource(QTextDocument::ImageResource,
                                      QUrl(it.fragment().charFormat().toImageFormat().name()))
                                .value<QImage>();
    QCOMPARE(readImage.size(), QSize(5, 3));
    QCOMPARE(readImage.pixelColor(2, 1), QColor(10, 200, 30));
}

void TestRtfWriter::plainTextHelpers()
{
    const QByteArray rtf = rtf::fromPlainParagraphs({"第一段 {1}", "", "第三段"});
    QVERIFY(RtfReader::isRtf(rtf));
    QCOMPARE(rtf::toPlainText(rtf), QString("第一段 {1}\n\n第三段"));
    QCOMPARE(rtf::toPlainText(QByteArray(R"({\rtf1 a\line b\par c})")), QString("a\nb\nc"));
    QCOMPARE(rtf::toPlainText(rtf::fromPlainParagraphs({"控制\x1f符"})), QString("控制\x1f符"));
}

// Every character of code page 936, the euro sign (0x80) among them, comes
// back from the writer's bytes as itself; what the table cannot hold goes as \uN.
void TestRtfWriter::codePage936ReadsBackWhatItWrites()
{
    QString all = QStringLiteral("成本 € 100，约 ￥5 ‰ … 한 😀\n");
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const char pair[] = {char(lead), char(trail)};
            const QString c = rtf::TextCodec::decode(rtf::TextCodec::Gbk, QByteArray(pair, 2));
            if (c.size() == 1 && c != QChar(QChar::ReplacementCharacter))
                all += c;
        }
    QVERIFY(all.size() > 21000);
    QTextDocument d;
    QTextCursor(&d).insertText(all);
    const QByteArray written = RtfWriter::write(d);
    QVERIFY(written.contains("\\'b3\\'c9\\'b1\\'be \\'80 100"));
    QTextDocument back;
    RtfReader::read(written, &back);
    QCOMPARE(back.toPlainText(), d.toPlainText());
    QCOMPARE(rtf::TextCodec::decode(rtf::TextCodec::Gbk, QByteArray("\x80\xa2\xe3")), QString("€\uFFFD\uFFFD"));
}

QTEST_MAIN(TestRtfWriter)
#include "test_rtf_writer.moc"
