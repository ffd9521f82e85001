#include "CjkFonts.h"
#include "RichEditor.h"
#include "RichView.h"
#include "RtfReader.h"
#include "RtfText.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QMimeData>
#include <QTextLayout>
#include <QtTest>

class TestRichText : public QObject
{
    Q_OBJECT

private slots:
    void windowsFontsRenderChinese_data();
    void windowsFontsRenderChinese();
    void viewShowsRtfAndPlainText();
    void editorLoadsEditsAndSavesRtf();
    void editorPastesAndCopiesRtf();
};

using richtext::RichEditor;
using richtext::RichView;

namespace {

const QByteArray GbkRtf = R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}}\f0\fs21 \'d4\'ad\'ce\'c4{\b bold}\par})";

} // namespace

void TestRichText::windowsFontsRenderChinese_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QStringList>("lookAlikes"); // installed fonts of the same design
    const QStringList serif = {"AR PL UMing CN"};
    const QStringList kai = {"AR PL UKai CN", "AR PL UMing CN"};
    const QStringList sans = {"WenQuanYi Micro Hei"};
    QTest::newRow("宋体") << "宋体" << serif;
    QTest::newRow("SimSun") << "SimSun" << serif;
    QTest::newRow("仿宋_GB2312") << "仿宋_GB2312" << serif;
    QTest::newRow("楷体") << "楷体" << kai;
    QTest::newRow("黑体") << "黑体" << sans;
    QTest::newRow("微软雅黑") << "微软雅黑" << sans;
    QTest::newRow("Times New Roman") << "Times New Roman" << QStringList{"Liberation Serif", "DejaVu Serif"};
    QTest::newRow("Arial") << "Arial" << QStringList{"Liberation Sans", "DejaVu Sans"};
}

void TestRichText::windowsFontsRenderChinese()
{
    QFETCH(QString, family);
    QFETCH(QStringList, lookAlikes);
    richtext::installCjkFontFallbacks();
    QFont font;
    font.setFamilies({family});
    font.setPointSize(12);
    QVERIFY2(lookAlikes.contains(QFontInfo(font).family()), qPrintable(QFontInfo(font).family()));
    // Every glyph of the laid-out text comes from a font that has it.
    QTextLayout layout(QString("造价工程师 Cost"), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun &run : layout.glyphRuns()) {
        for (quint32 index : run.glyphIndexes()) {
            QVERIFY2(index != 0, qPrintable(run.rawFont().familyName()));
            ++glyphs;
        }
    }
    QCOMPARE(glyphs, 10);
}

void TestRichText::viewShowsRtfAndPlainText()
{
    RichView view;
    view.setObjectName("Re1");
    QVERIFY(view.isReadOnly());
    QCOMPARE(view.document()->defaultFont().families().value(0), richtext::programCjkFamily());

    view.setContent(GbkRtf);
    QCOMPARE(view.toPlainText(), QString("原文bold"));
    view.setContent(QString("纯文本 {\\b 不是 RTF}"));
    QCOMPARE(view.toPlainText(), QString("纯文本 {\\b 不是 RTF}"));
    view.setContent(QVariant());
    QCOMPARE(view.toPlainText(), QString());
    view.setContent(QString::fromLatin1(GbkRtf));
    QCOMPARE(view.toPlainText(), QString("原文bold"));

    // The text keeps the font the RTF names; display resolves it to an installed one.
    QTextCursor cursor(view.document());
    cursor.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(cursor.charFormat().fontFamilies().toStringList(), QStringList{"宋体"});
    QVERIFY(QFontDatabase::hasFamily(QFontInfo(cursor.charFormat().font()).family()));

    // A font nobody has heard of shows in the program's CJK font.
    view.setContent(QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset134 \'b7\'bd\'d5\'fd\'d0\'a1\'b1\'ea\'cb\'ce;}}\f0 \'b1\'ea})"));
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().fontFamilies().toStringList(), QStringList{"方正小标宋"});
    QCOMPARE(QFontInfo(cursor.charFormat().font()).family(), richtext::programCjkFamily());
}

void TestRichText::editorLoadsEditsAndSavesRtf()
{
    RichEditor editor;
    QVERIFY(editor.isBlank());
    editor.setContent(GbkRtf);
    editor.moveCursor(QTextCursor::End);
    QInputMethodEvent typed; // Chinese arrives through the input method
    typed.setCommitString(QString("加"));
    QApplication::sendEvent(&editor, &typed);
    const QByteArray saved = editor.rtf();
    QVERIFY(rtf::RtfReader::isRtf(saved));
    QVERIFY(saved.contains("\\'bc\\'d3")); // 加 in GBK
    QCOMPARE(rtf::toPlainText(saved), QString("原文bold加"));
    QVERIFY(!editor.isBlank());
    editor.setContent(QString(" \n\t "));
    QVERIFY(editor.isBlank());
}

void TestRichText::editorPastesAndCopiesRtf()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");

    RichEditor editor;
    editor.setContent(QString("前"));
    editor.moveCursor(QTextCursor::End);
    auto *mime = new QMimeData;
    mime->setData("text/rtf", R"({\rtf1{\b \'d5\'b3}{\pict\pngblip )" + png.toHex() + "}}");
    QGuiApplication::clipboard()->setMimeData(mime);
    editor.paste();
    QCOMPARE(editor.toPlainText(), QString("前粘\uFFFC"));

    editor.selectAll();
    editor.copy();
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY2(copied->hasFormat("text/rtf"), qPrintable(copied->formats().join(",")));
    QTextDocument back;
    rtf::RtfReader::read(copied->data("text/rtf"), &back);
    QCOMPARE(back.toPlainText(), QString("前粘\uFFFC"));
    QVERIFY(back.toHtml().contains("<img"));
    QVERIFY(copied->data("text/rtf").contains("\\pngblip"));
}

QTEST_MAIN(TestRichText)
#include "test_richtext.moc"
