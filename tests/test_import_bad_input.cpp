#include "ImportFixtures.h"
#include "Recognized.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using formats::import::ImportError;
using formats::import::recognizeFile;

// Every broken or hostile file ends in one clear message, quickly.
class TestImportBadInput : public QObject
{
    Q_OBJECT

private slots:
    void refusedWithAMessage_data();
    void refusedWithAMessage();
    void hugeTextFileIsRefusedBySizeAtOnce();
    void zipBombIsStoppedWhileInflating();

private:
    QTemporaryDir dir;
};

namespace {


QByteArray docxWithBody(const QByteArray &documentXml)
{
    return fixtures::zip({{QStringLiteral("word/document.xml"), documentXml}});
}

// The message the file is refused with ("" when it is accepted), and the processor time refusing took.
QString refusal(const QString &path, qint64 *milliseconds)
{
    const qint64 start = fixtures::cpuMilliseconds();
    QString message;
    try {
        recognizeFile(path, 1);
    } catch (const ImportError &e) {
        message = e.message();
    }
    *milliseconds = fixtures::cpuMilliseconds() - start;
    return message;
}

} // namespace

void TestImportBadInput::refusedWithAMessage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QByteArray good = fixtures::docx(fixtures::paragraph(QStringLiteral("1. 题（ ）\nA.甲 B.乙\n答案：A")));
    QTest::newRow("empty") << "e.txt" << QByteArray() << QStringLiteral("文件是空的");
    QTest::newRow("truncated docx") << "t.docx" << good.left(good.size() / 2) << QStringLiteral("已损坏");
    QByteArray flipped = good;
    for (qsizetype i = 60; i < flipped.size() / 2; i += 7)
        flipped[i] = char(flipped[i] ^ 0x5a);
    QTest::newRow("damaged docx") << "d.docx" << flipped << QStringLiteral("已损坏");
    QTest::newRow("encrypted docx") << "p.docx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(4096, '\0')
                                    << QStringLiteral("密码");
    QTest::newRow("encrypted xlsx") << "p.xlsx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(4096, '\0')
                                    << QStringLiteral("密码");
    QTest::newRow("text named docx") << "n.docx" << QByteArray("1. 题\nA.甲\n") << QStringLiteral("已损坏");
    QTest::newRow("zip without body") << "b.docx" << fixtures::zip({{QStringLiteral("x.xml"), "<x/>"}}) << QStringLiteral("没有正文");
    QTest::newRow("workbook without sheets") << "b.xlsx" << fixtures::zip({{QStringLiteral("x.xml"), "<x/>"}}) << QStringLiteral("没有工作簿");
    QTest::newRow("billion laughs")
        << "l.docx"
        << docxWithBody("<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><w:document xmlns:w=\"w\"><w:body><w:p><w:r><w:t>&c;</w:t></w:r></w:p></w:body></w:document>")
        << QStringLiteral("实体");
    QTest::newRow("external entity")
        << "x.docx"
        << docxWithBody("<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
                        "<w:document xmlns:w=\"w\"><w:body><w:p><w:r><w:t>&e;</w:t></w:r></w:p></w:body></w:document>")
        << QStringLiteral("实体");
    QTest::newRow("deep nesting") << "n.docx"
                                  << docxWithBody("<w:document xmlns:w=\"w\"><w:body>" + QByteArray("<w:p>").repeated(5000) + "</w:body></w:document>")
                                  << QStringLiteral("嵌套");
    QTest::newRow("broken xml") << "x.docx" << docxWithBody("<w:document xmlns:w=\"w\"><w:body><w:p>") << QStringLiteral("不是完整的 XML");
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char((i * 37) & 0xff);
    QTest::newRow("binary named txt") << "b.txt" << binary << QStringLiteral("不是文本文件");
    QTest::newRow("neither utf-8 nor gbk") << "g.txt" << QByteArray(2048, '\xff') << QStringLiteral("无法识别这个文件的文字编码");
    QTest::newRow("old word") << "o.doc" << QByteArray("whatever") << QStringLiteral("另存为 .docx");
    QTest::newRow("sheet without header") << "h.xlsx" << fixtures::xlsx({{"甲", "乙"}, {"丙", "丁"}}) << QStringLiteral("表头");
}

void TestImportBadInput::refusedWithAMessage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    qint64 ms = 0;
    const QString refused = refusal(fixtures::write(dir.path(), name, bytes), &ms);
    QVERIFY2(refused.contains(message), qPrintable(refused));
    QVERIFY(ms < 3000);
}

void TestImportBadInput::hugeTextFileIsRefusedBySizeAtOnce()
{
    const QString path = dir.filePath(QStringLiteral("huge.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(200ll * 1024 * 1024)); // sparse: costs no disk
    file.close();
    qint64 ms = 0;
    const QString refused = refusal(path, &ms);
    QVERIFY2(refused.contains(QStringLiteral("文件太大（200.0 MB）")), qPrintable(refused));
    QVERIFY(ms < 100);
}

void TestImportBadInput::zipBombIsStoppedWhileInflating()
{
    // 80 MB of blanks inside an ordinary-looking document shrink to well under 1 MB.
    QByteArray xml = "<w:document xmlns:w=\"w\"><w:body><w:p><w:r><w:t>";
    xml += QByteArray(80 * 1024 * 1024, ' ');
    xml += "</w:t></w:r></w:p></w:body></w:document>";
    const QByteArray bomb = docxWithBody(xml);
    xml.clear();
    QVERIFY(bomb.size() < 1024 * 1024);
    const QString path = fixtures::write(dir.path(), QStringLiteral("bomb.docx"), bomb);
    qint64 ms = 0;
    const QString refused = refusal(path, &ms);
    QVERIFY2(refused.contains(QStringLiteral("超过 64 MB")), qPrintable(refused));
    QVERIFY(ms < 3000);
}

QTEST_MAIN(TestImportBadInput)
#include "test_import_bad_input.moc"
