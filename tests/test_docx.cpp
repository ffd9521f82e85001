#include "DocumentCursor.h"
#include "DocxReadBack.h"
#include "DocxWriter.h"
#include "RtfReader.h"
#include "TestImages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>

class TestDocx : public QObject
{
    Q_OBJECT

private slots:
    void typedTextKeepsItsFormat();
    void paragraphsBreaksAndTitle();
    void richTextContinuesTheCurrentParagraph();
    void richTextTablesAndPictures();
    void picturesOfBothKindsAndTheirSize();
    void textUnsafeForXmlIsDropped();
    void oddRichTextsGiveAValidPackage();
    void failedSaveLeavesNothingBehind();

private:
    QJsonObject written(const docx::Document &document, const QString &name = QStringLiteral("out.docx"));
    QTemporaryDir dir;
};

namespace {

docx::CharFormat with(void (*set)(docx::CharFormat &))
{
    docx::CharFormat f;
    set(f);
    return f;
}

} // namespace

QJsonObject TestDocx::written(const docx::Document &document, const QString &name)
{
    const QString path = dir.filePath(name);
    docx::save(document, path);
    const QJsonObject json = readDocx(path);
    [&] { QVERIFY2(!json.isEmpty(), "the independent reader could not read the document"); }();
    const QJsonArray problems = json.value(QStringLiteral("problems")).toArray();
    [&] { QVERIFY2(problems.isEmpty(), qPrintable(QJsonDocument(problems).toJson())); }();
    return json;
}

void TestDocx::typedTextKeepsItsFormat()
{
    docx::Document document;
    docx::DocumentCursor cursor(document);
    cursor.typeText(QStringLiteral("粗体"), with([](docx::CharFormat &f) { f.bold = true; }));
    cursor.typeText(QStringLiteral("斜体"), with([](docx::CharFormat &f) { f.italic = true; }));
    cursor.typeText(QStringLiteral("下划线"), with([](docx::CharFormat &f) { f.underline = true; }));
    cursor.typeText(QStringLiteral("十六磅红字"), with([](docx::CharFormat &f) {
        f.pointSize = 16;
        f.color = QColor(0xC0, 0, 0x10);
    }));
    cursor.typeText(QStringLiteral("黑体字"), with([](docx::CharFormat &f) {
        f.font = QStringLiteral("黑体");
        f.fontIsCjk = true;
    }));
    cursor.typeText(QStringLiteral("Arial"), with([](docx::CharFormat &f) { f.font = QStringLiteral("Arial"); }));
    cursor.typeText(QStringLiteral("默认"));
    const QJsonObject json = written(document);

    const QJsonObject bold = runWith(json, QStringLiteral("粗体"));
    QVERIFY(bold.value("bold").toBool());
    QVERIFY(!bold.value("italic").toBool());
    QVERIFY(runWith(json, QStringLiteral("斜体")).value("italic").toBool());
    QVERIFY(runWith(json, QStringLiteral("下划线")).value("underline").toBool());
    const QJsonObject red = runWith(json, QStringLiteral("十六磅红字"));
    QCOMPARE(red.value("size").toDouble(), 16.0);
    QCOMPARE(red.value("color").toString(), QStringLiteral("C00010"));
    QCOMPARE(runWith(json, QStringLiteral("黑体字")).value("east_asia").toString(), QStringLiteral("SimHei"));
    const QJsonObject latin = runWith(json, QStringLiteral("Arial"));
    QCOMPARE(latin.value("font").toString(), QStringLiteral("Arial"));
    QVERIFY(latin.value("east_asia").isNull());
    const QJsonObject plain = runWith(json, QStringLiteral("默认"));
    QVERIFY(plain.value("size").isNull() && plain.value("color").isNull() && !plain.value("bold").toBool());

    // Chinese faces under their Latin names, the Chinese ones kept as alternatives.
    const QJsonObject fonts = json.value("fonts").toObject();
    QCOMPARE(fonts.value(QStringLiteral("SimSun")).toString(), QStringLiteral("宋体"));
    QCOMPARE(fonts.value(QStringLiteral("SimHei")).toString(), QStringLiteral("黑体"));
    QVERIFY(fonts.contains(QStringLiteral("Arial")));
}

void TestDocx::paragraphsBreaksAndTitle()
{
    docx::Document document;
    document.title = QStringLiteral("2026年12月08日试卷[3]");
    docx::DocumentCursor cursor(document);
    cursor.typeText(QStringLiteral("标题"));
    cursor.setAlignment(docx::Paragraph::Align::Center);
    for (int i = 0; i < 3; ++i)
        cursor.newParagraph();
    cursor.setSpaceBefore(6);
    cursor.typeText(QStringLiteral("a\tb") + QChar(QChar::LineSeparator) + QStringLiteral("c\nd"));
    cursor.newParagraph();
    cursor.pageBreak();
    cursor.typeText(QStringLiteral("答案："));
    const QJsonObject json = written(document);

    QCOMPARE(json.value("title").toString(), document.title);
    QCOMPARE(paragraphTexts(json), (QStringList{"标题", "", "", "a\tb\nc", "d", "答案："}));
    const QJsonArray paragraphs = paragraphsOf(json);
    QVERIFY(paragraphs.at(0).toObject().value("align").toString().startsWith("CENTER"));
    QCOMPARE(paragraphs.at(3).toObject().value("space_before").toDouble(), 6.0);
    QCOMPARE(paragraphs.at(4).toObject().value("space_before").toDouble(), 0.0);
    int breaks = 0;
    for (const QJsonValue &paragraph : paragraphs)
        for (const QJsonValue &run : paragraph.toObject().value("runs").toArray())
            breaks += run.toObject().value("page_break").toBool();
    QCOMPARE(breaks, 1);
    QVERIFY(paragraphs.last().toObject().value("runs").toArray().first().toObject().value("page_break").toBool());
}

void TestDocx::richTextContinuesTheCurrentParagraph()
{
    QTextDocument rich;
    rtf::RtfReader::read(QByteArray("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}"
                                    "{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs24 {\\b\\cf1 \\'ba\\'ec\\'d7\\'d6}"
                                    " plain\\par\\qc second\\par}"),
                         &rich);
    QTextDocument empty;
    rtf::RtfReader::read(QByteArray("{\\rtf1\\ansi }"), &empty);

    docx::Document document;
    docx::DocumentCursor cursor(document);
    cursor.typeText(QStringLiteral("1、"));
    cursor.insertRichText(rich);
    cursor.newParagraph();
    cursor.insertRichText(empty);
    cursor.typeText(QStringLiteral("after"));
    const QJsonObject json = written(document);

    QCOMPARE(paragraphTexts(json), (QStringList{"1、红字 plain", "second", "after"}));
    const QJsonObject red = runWith(json, QStringLiteral("红字"));
    QVERIFY(red.value("bold").toBool());
    QCOMPARE(red.value("color").toString(), QStringLiteral("FF0000"));
    QCOMPARE(red.value("size").toDouble(), 12.0);
    QCOMPARE(red.value("east_asia").toString(), QStringLiteral("SimSun"));
    QVERIFY(paragraphsOf(json).at(1).toObject().value("align").toString().startsWith("CENTER"));
}

void TestDocx::richTextTablesAndPictures()
{
    const QByteArray png = encodedImage(40, 20, "PNG").toHex();
    QTextDocument rich;
    rtf::RtfReader::read("{\\rtf1 before\\par\\trowd\\cellx1000\\cellx2000\\intbl A1\\cell B1\\cell\\row"
                         "\\trowd\\cellx1000\\cellx2000\\intbl A2\\cell {\\b B2}\\cell\\row\\pard after "
                         "{\\pict\\pngblip\\picw40\\pich20\\picwgoal600\\pichgoal300 " + png + "}\\par}",
                         &rich);
    docx::Document document;
    docx::DocumentCursor cursor(document);
    cursor.insertRichText(rich);
    cursor.newParagraph();
    cursor.insertRichText(rich); // the same picture again: stored once per paste
    const QJsonObject json = written(document);

    QJsonArray tables;
    for (const QJsonValue &block : json.value("body").toArray())
        if (block.toObject().contains("table"))
            tables.append(block.toObject().value("table"));
    QCOMPARE(tables.size(), 2);
    const QJsonArray rows = tables.first().toArray();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).toArray().at(1).toArray().at(0).toObject().value("text").toString(), QStringLiteral("B2"));
    QVERIFY(runWith(json, QStringLiteral("B2")).value("bold").toBool());
    QCOMPARE(paragraphTexts(json).mid(0, 6), (QStringList{"before", "A1", "B1", "A2", "B2", "after "}));

    const QJsonArray pictures = picturesOf(json);
    QCOMPARE(pictures.size(), 2);
    QCOMPARE(json.value("inline_shapes").toInt(), 2);
    for (const QJsonValue &p : pictures) {
        QVERIFY(p.toObject().value("png").toBool());
        QCOMPARE(p.toObject().value("content_type").toString(), QStringLiteral("image/png"));
        QCOMPARE(p.toObject().value("cx").toInt(), 40 * 9525);
        QCOMPARE(p.toObject().value("cy").toInt(), 20 * 9525);
    }
}

void TestDocx::picturesOfBothKindsAndTheirSize()
{
    docx::Document document;
    const int jpeg = document.addPicture({encodedImage(8, 6, "JPEG", Qt::blue), QStringLiteral("jpeg"), QSizeF()});
    const int wide = document.addPicture({encodedImage(2000, 100, "PNG"), QStringLiteral("png"), QSizeF(2000, 100)});
    docx::Paragraph p;
    for (int picture : {jpeg, wide})
        p.inlines.append({docx::Inline::Kind::Picture, QString(), {}, picture});
    document.body = {p};
    const QJsonObject json = written(document);

    const QJsonArray pictures = picturesOf(json);
    QCOMPARE(pictures.size(), 2);
    const QJsonObject first = pictures.at(0).toObject();
    QVERIFY(first.value("jpeg").toBool());
    QCOMPARE(first.value("content_type").toString(), QStringLiteral("image/jpeg"));
    // No size given: the picture's own pixels.
    QCOMPARE(first.value("cx").toInt(), 8 * 9525);
    QCOMPARE(first.value("cy").toInt(), 6 * 9525);
    // Wider than the text: scaled down to the text width, aspect kept.
    const QJsonObject second = pictures.at(1).toObject();
    const int textWidthEmu = (11906 - 2 * 1800) * 635;
    QCOMPARE(second.value("cx").toInt(), textWidthEmu);
    QCOMPARE(second.value("cy").toInt(), qRound(textWidthEmu / 20.0));
}

void TestDocx::textUnsafeForXmlIsDropped()
{
    docx::Document document;
    document.title = QStringLiteral("t\x01itle");
    docx::DocumentCursor cursor(document);
    cursor.typeText(QStringLiteral("a\x01\x1f") + QChar(0xD800) + QStringLiteral("b") + QChar(0xFFFF)
                    + QString::fromUcs4(U"𠀀c"));
    const QJsonObject json = written(document);
    QCOMPARE(paragraphTexts(json), QStringList{QString::fromUcs4(U"ab𠀀c")});
    QCOMPARE(json.value("title").toString(), QStringLiteral("title"));
}

void TestDocx::oddRichTextsGiveAValidPackage()
{
    docx::Document document;
    docx::DocumentCursor cursor(document);
    const QDir corpus(QStringLiteral(QUILLET_RTF_CORPUS));
    const QStringList files = corpus.entryList({QStringLiteral("*.rtf")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        QFile file(corpus.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QTextDocument rich;
        rtf::RtfReader::read(file.readAll(), &rich);
        cursor.typeText(name);
        cursor.insertRichText(rich);
        cursor.newParagraph();
    }
    const QJsonObject json = written(document);
    for (const QString &name : files)
        QVERIFY2(!runWith(json, name).isEmpty(), qPrintable(name));
}

void TestDocx::failedSaveLeavesNothingBehind()
{
    QTemporaryDir folder;
    docx::Document good;
    docx::DocumentCursor(good).typeText(QStringLiteral("旧文档"));
    const QString path = folder.filePath(QStringLiteral("kept.docx"));
    docx::save(good, path);
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();

    docx::Document bad;
    bad.addPicture({QByteArray("GIF89a"), QStringLiteral("gif"), QSizeF(1, 1)});
    QVERIFY_THROWS_EXCEPTION(docx::Error, docx::save(bad, path));
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), before);

    QVERIFY_THROWS_EXCEPTION(docx::Error, docx::save(good, folder.filePath(QStringLiteral("missing/x.docx"))));
    const QStringList left = QDir(folder.path()).entryList(QDir::Files);
    QCOMPARE(left, QStringList{QStringLiteral("kept.docx")});
}

QTEST_MAIN(TestDocx)
#include "test_docx.moc"
