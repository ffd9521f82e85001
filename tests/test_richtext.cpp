#include "CjkFonts.h"
#include "FileDialogs.h"
#include "RichEditBar.h"
#include "RichEditor.h"
#include "RichView.h"
#include "RtfReader.h"
#include "RtfText.h"

#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
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
    void editBarFormatsTheFocusedEditor();
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
    const QStringList serif = {"Noto Serif CJK SC"};
    const QStringList kai = {"AR PL UKai CN"};
    const QStringList sans = {"Noto Sans CJK SC"};
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
    QCOMPARE(view.document()->defaultFont().families().value(0), richtext::readingCjkFamily());

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

// Formatting chosen on the bar reaches the RTF that is saved, in the editor last focused.
void TestRichText::editBarFormatsTheFocusedEditor()
{
    QWidget window;
    auto *bar = new richtext::RichEditBar(&window);
    auto *body = new RichEditor(&window);
    auto *note = new RichEditor(&window);
    bar->attach(body);
    bar->attach(note);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->currentEditor(), body);
    note->setFocus();
    QTRY_COMPARE(bar->currentEditor(), note);

    note->setPlainText("重点难点");
    QTextCursor cursor = note->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    note->setTextCursor(cursor);
    bar->BtnBold->click();
    bar->BtnUnderline->click();
    const QColor swatchBefore = bar->BtnColor->icon().pixmap(14, 14).toImage().pixelColor(7, 7);
    bar->BtnColor->menu()->actions().at(1)->trigger(); // red
    // The swatch shows the colour at the cursor: red now, where it showed the text colour before.
    QCOMPARE(bar->BtnColor->icon().pixmap(14, 14).toImage().pixelColor(7, 7), QColor(192, 0, 0));
    QVERIFY(swatchBefore != QColor(192, 0, 0));
    QCOMPARE(bar->CbSize->currentText(), QString("10.5"));
    const int size20 = bar->CbSize->findData(20.0);
    bar->CbSize->setCurrentIndex(size20);
    emit bar->CbSize->activated(size20);
    const QByteArray saved = note->rtf();
    QVERIFY2(saved.contains("\\b") && saved.contains("\\ul") && saved.contains("\\fs40"), saved.constData());
    QVERIFY(saved.contains("\\red192\\green0\\blue0"));
    QVERIFY(saved.contains("\\fs21")); // the rest keeps the size it was shown in
    QTextDocument back;
    rtf::RtfReader::read(saved, &back);
    QTextCursor first(&back);
    first.setPosition(1);
    QVERIFY(first.charFormat().fontWeight() >= QFont::Bold);
    first.setPosition(4);
    QVERIFY(first.charFormat().fontWeight() < QFont::Bold);
    QVERIFY(body->isBlank());

    // The cursor's format shows on the bar.
    cursor.setPosition(1);
    note->setTextCursor(cursor);
    QVERIFY(bar->BtnBold->isChecked());

    QTemporaryDir dir;
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString path = dir.filePath("plan.png");
    QVERIFY(image.save(path));
    ui::FileDialogRecorder::queueAnswer(path);
    bar->BtnPicture->click();
    QVERIFY(note->toPlainText().contains(QChar::ObjectReplacementCharacter));
    QVERIFY(note->rtf().contains("\\pngblip"));
    ui::FileDialogRecorder::queueAnswer(QString()); // cancelled: nothing inserted
    const QString before = note->toPlainText();
    bar->BtnPicture->click();
    QCOMPARE(note->toPlainText(), before);
}

QTEST_MAIN(TestRichText)
#include "test_richtext.moc"
