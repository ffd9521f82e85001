#include "Expect.h"
#include "ImportFixtures.h"
#include "Recognized.h"
#include "RtfReader.h"
#include "TestImages.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>

using formats::import::Recognition;
using formats::import::recognizeFile;
using fixtures::paragraph;
using fixtures::run;

class TestImportOffice : public QObject
{
    Q_OBJECT

private slots:
    void wordParagraphsAndLineBreaks();
    void wordAutomaticNumbering();
    void wordRichTextSurvives();
    void wordAnswerTable();
    void wordPaperFromAWordProcessor();
    void excelHeaderInAnyOrder();
    void excelFlagsAndSubjectiveRows();
    void thousandQuestionWordDocument();

private:
    Recognition recognizeDocx(const QByteArray &bytes, int subject = 1);
    QTemporaryDir dir;
};

Recognition TestImportOffice::recognizeDocx(const QByteArray &bytes, int subject)
{
    return recognizeFile(fixtures::write(dir.path(), QStringLiteral("q.docx"), bytes), subject);
}

void TestImportOffice::wordParagraphsAndLineBreaks()
{
    const QString body = paragraph(QStringLiteral("一、单项选择题"))
                         + paragraph(QStringLiteral("1．工程造价的第二种含义是指（　）。"))
                         + paragraph(QStringLiteral("A．建设投资\nB．工程价格\nC．总投资\nD．固定资产"))
                         + paragraph(QStringLiteral("【答案】B"))
                         + paragraph(QStringLiteral("【解析】从市场交易角度。"))
                         + paragraph(QStringLiteral("2．下列说法正确的是（ D ）。"))
                         + paragraph(QStringLiteral("A．甲\tB．乙\tC．丙\tD．丁"));
    const Recognition r = recognizeDocx(fixtures::docx(body));
    QCOMPARE(r.questions.size(), 2);
    EXPECT_QUESTION(r.questions[0], 11, "工程造价的第二种含义是指（　）。", (QStringList{"建设投资", "工程价格", "总投资", "固定资产"}), "B");
    QCOMPARE(r.questions[0].explanation, QStringLiteral("从市场交易角度。"));
    QCOMPARE(r.questions[0].line, 2);
    QCOMPARE(r.questions[0].section, QStringLiteral("一、单项选择题"));
    EXPECT_CLEAN(r.questions[0]);
    EXPECT_QUESTION(r.questions[1], 11, "下列说法正确的是（  ）。", (QStringList{"甲", "乙", "丙", "丁"}), "D");
    QCOMPARE(r.questions[1].line, 6);
}

void TestImportOffice::wordAutomaticNumbering()
{
    // Questions numbered "1." and options "A." by Word's lists, not in the text.
    const QString numbering = QStringLiteral(
        "<w:abstractNum w:abstractNumId=\"0\">"
        "<w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/><w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl>"
        "<w:lvl w:ilvl=\"1\"><w:start w:val=\"1\"/><w:numFmt w:val=\"upperLetter\"/><w:lvlText w:val=\"%2.\"/></w:lvl>"
        "</w:abstractNum><w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>");
    QString body;
    for (int q = 1; q <= 2; ++q) {
        body += fixtures::listParagraph(QStringLiteral("第%1题的题干（ ）").arg(q), 1, 0);
        for (const QString &o : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            body += fixtures::listParagraph(o, 1, 1);
        body += paragraph(QStringLiteral("答案：%1").arg(q == 1 ? QStringLiteral("C") : QStringLiteral("AB")));
    }
    const Recognition r = recognizeDocx(fixtures::docx(body, numbering));
    QCOMPARE(r.questions.size(), 2);
    EXPECT_QUESTION(r.questions[0], 11, "第1题的题干（ ）", (QStringList{"甲", "乙", "丙"}), "C");
    // The option letters restart under the second question.
    EXPECT_QUESTION(r.questions[1], 14, "第2题的题干（ ）", (QStringList{"甲", "乙", "丙"}), "AB");
    EXPECT_CLEAN(r.questions[1]);
}

void TestImportOffice::wordRichTextSurvives()
{
    const QByteArray png = encodedImage(8, 6, "PNG");
    const QString picture = QStringLiteral(
        "<w:r><w:drawing><wp:inline><wp:extent cx=\"76200\" cy=\"57150\"/><a:graphic><a:graphicData>"
        "<pic:pic><pic:blipFill><a:blip r:embed=\"rIdImg1\"/></pic:blipFill></pic:pic>"
        "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>");
    const QString table = QStringLiteral(
        "<w:tbl><w:tr><w:tc><w:p>%1</w:p></w:tc><w:tc><w:p>%2</w:p></w:tc></w:tr>"
        "<w:tr><w:tc><w:p>%3</w:p></w:tc><w:tc><w:p>%4</w:p></w:tc></w:tr></w:tbl>")
                              .arg(run(QStringLiteral("项目")), run(QStringLiteral("费用")), run(QStringLiteral("挖方")), run(QStringLiteral("100")));
    const QString body =
        QStringLiteral("<w:p>") + run(QStringLiteral("1. 某基础")) + run(QStringLiteral("土方"), QStringLiteral("<w:b/>"))
        + run(QStringLiteral("体积为")) + run(QStringLiteral("120"), QStringLiteral("<w:i/><w:u w:val=\"single\"/>"))
        + run(QStringLiteral("m")) + run(QStringLiteral("3"), QStringLiteral("<w:vertAlign w:val=\"superscript\"/>"))
        + run(QStringLiteral("，红字"), QStringLiteral("<w:color w:val=\"FF0000\"/>")) + QStringLiteral("</w:p>")
        + table + QStringLiteral("<w:p>") + picture + QStringLiteral("</w:p>")
        + paragraph(QStringLiteral("A. H")) .replace(QStringLiteral("</w:r></w:p>"), QStringLiteral("</w:r>")
                                                     + run(QStringLiteral("2"), QStringLiteral("<w:vertAlign w:val=\"subscript\"/>"))
                                                     + run(QStringLiteral("O")) + QStringLiteral("</w:p>"))
        + paragraph(QStringLiteral("B. 水泥")) + paragraph(QStringLiteral("答案：A"));
    const Recognition r = recognizeDocx(fixtures::docx(body, {}, {png}));
    QCOMPARE(r.questions.size(), 1);
    const auto &q = r.questions[0];
    EXPECT_QUESTION(q, 11, "某基础土方体积为120m3，红字\n项目\t费用\n挖方\t100", (QStringList{"H2O", "水泥"}), "A");
    EXPECT_CLEAN(q);

    QTextDocument stem;
    rtf::RtfReader::read(q.stemRtf.toLatin1(), &stem);
    QMap<QString, QTextCharFormat> formats;
    bool hasImage = false;
    for (QTextBlock b = stem.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            formats.insert(it.fragment().text(), it.fragment().charFormat());
            hasImage = hasImage || it.fragment().charFormat().isImageFormat();
        }
    QVERIFY(formats.value(QStringLiteral("土方")).font().bold() || formats.value(QStringLiteral("土方")).fontWeight() >= QFont::Bold);
    QVERIFY(formats.value(QStringLiteral("120")).fontItalic());
    QVERIFY(formats.value(QStringLiteral("120")).fontUnderline());
    QCOMPARE(formats.value(QStringLiteral("3")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    QCOMPARE(formats.value(QStringLiteral("，红字")).foreground().color(), QColor(Qt::red));
    QVERIFY(hasImage);
    QTextCursor cursor(&stem);
    bool hasTable = false;
    for (QTextFrame *child : stem.rootFrame()->childFrames())
        hasTable = hasTable || qobject_cast<QTextTable *>(child);
    QVERIFY(hasTable);

    QTextDocument option;
    rtf::RtfReader::read(q.optionsRtf[0].toLatin1(), &option);
    bool subscript = false;
    for (auto it = option.begin().begin(); !it.atEnd(); ++it)
        subscript = subscript || (it.fragment().text() == QLatin1String("2")
                                  && it.fragment().charFormat().verticalAlignment() == QTextCharFormat::AlignSubScript);
    QVERIFY(subscript);

    // A formula object Word cannot show here is flagged, not dropped silently.
    const QString object = QStringLiteral("<w:p>") + run(QStringLiteral("1. 计算")) +
                           QStringLiteral("<w:r><w:object><v:shape xmlns:v=\"urn:schemas-microsoft-com:vml\"><v:imagedata r:id=\"rIdImg1\"/></v:shape></w:object></w:r></w:p>")
                           + paragraph(QStringLiteral("A.1 B.2")) + paragraph(QStringLiteral("答案：A"));
    const Recognition formula = recognizeDocx(fixtures::docx(object, {}, {QByteArray("\x01\x00\x09\x00 not a picture", 20)}));
    QCOMPARE(formula.questions.size(), 1);
    QCOMPARE(formula.questions[0].problems, QStringList{"含有无法读取的图片或公式"});
}

void TestImportOffice::wordAnswerTable()
{
    QString body = paragraph(QStringLiteral("一、单项选择题"));
    for (int i = 1; i <= 4; ++i)
        body += paragraph(QStringLiteral("%1. 第%1题（ ）").arg(i)) + paragraph(QStringLiteral("A.甲 B.乙 C.丙 D.丁"));
    body += paragraph(QStringLiteral("参考答案"));
    QString rows[2] = {QStringLiteral("<w:tc><w:p>%1</w:p></w:tc>").arg(run(QStringLiteral("题号"))),
                       QStringLiteral("<w:tc><w:p>%1</w:p></w:tc>").arg(run(QStringLiteral("答案")))};
    const QStringList keys{"D", "C", "B", "A"};
    for (int i = 0; i < 4; ++i) {
        rows[0] += QStringLiteral("<w:tc><w:p>%1</w:p></w:tc>").arg(run(QString::number(i + 1)));
        rows[1] += QStringLiteral("<w:tc><w:p>%1</w:p></w:tc>").arg(run(keys[i]));
    }
    body += QStringLiteral("<w:tbl><w:tr>") + rows[0] + QStringLiteral("</w:tr><w:tr>") + rows[1] + QStringLiteral("</w:tr></w:tbl>");
    const Recognition r = recognizeDocx(fixtures::docx(body));
    QVERIFY(r.problems.isEmpty());
    QCOMPARE(r.questions.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(r.questions[i].key, keys[i]);
        EXPECT_CLEAN(r.questions[i]);
    }
}

// tests/data/import/paper.docx, written by python3-docx (see make_fixtures.py there).
void TestImportOffice::wordPaperFromAWordProcessor()
{
    const Recognition r = recognizeFile(QStringLiteral(QUILLET_IMPORT_DATA "/paper.docx"), 1);
    QVERIFY(r.problems.isEmpty());
    QCOMPARE(r.questions.size(), 5);
    EXPECT_QUESTION(r.questions[0], 11, "某工程混凝土用量为120m3，其中C30混凝土占（　　）。", (QStringList{"40%", "50%", "60%", "70%"}), "C");
    QCOMPARE(r.questions[0].explanation, QStringLiteral("见教材第三章"));
    QCOMPARE(r.questions[0].line, 3);
    QCOMPARE(r.questions[0].marks, 1.0);
    QVERIFY(r.questions[0].stemRtf.contains(QLatin1String("\\super")));
    QVERIFY(r.questions[0].stemRtf.contains(QRegularExpression(QStringLiteral(R"(\\b[\\ ])"))));
    QVERIFY(r.questions[0].explanationRtf.contains(QLatin1String("\\i")));
    EXPECT_QUESTION(r.questions[1], 11, "如图所示，该构件的名称是（　）。", (QStringList{"梁", "板", "柱", "墙"}), "A");
    QVERIFY(r.questions[1].stemRtf.contains(QLatin1String("\\pict")));
    EXPECT_QUESTION(r.questions[2], 14, "下列属于措施项目的有（　　）。", (QStringList{"脚手架", "模板", "钢筋", "垂直运输", "混凝土"}), "ABD");
    QVERIFY(r.questions[2].stemRtf.contains(QLatin1String("\\red255\\green0\\blue0")));
    QCOMPARE(r.questions[2].marks, 2.0);
    EXPECT_QUESTION(r.questions[3], 41, "暂列金额应由投标人自主确定。（　）", (QStringList{"正确", "错误"}), "B");
    EXPECT_QUESTION(r.questions[4], 41, "招标控制价应在招标文件中公布。（　）", (QStringList{"正确", "错误"}), "A");
    for (const auto &q : r.questions)
        EXPECT_CLEAN(q);
}

void TestImportOffice::excelHeaderInAnyOrder()
{
    const QVector<QStringList> rows = {
        {"2024 练习题", "", ""},
        {"答案", "选项B", "题干", "选项A", "选项C", "选项D", "题型", "章节", "分值", "解析"},
        {"B", "工程价格", "工程造价的第二种含义是指（ ）。", "建设投资", "总投资", "固定资产", "单选题", "第一章", "1", "市场角度"},
        {"A,C", "乙", "以下正确的有（ ）", "甲", "丙", "丁", "多选题", "第二章", "2", ""},
        {"错", "", "分支机构可以自己名义承接业务。", "", "", "", "判断题", "第二章", "1", ""},
    };
    const Recognition r = recognizeFile(fixtures::write(dir.path(), QStringLiteral("q.xlsx"), fixtures::xlsx(rows)), 1);
    QVERIFY(r.problems.isEmpty());
    QCOMPARE(r.questions.size(), 3);
    EXPECT_QUESTION(r.questions[0], 11, "工程造价的第二种含义是指（ ）。", (QStringList{"建设投资", "工程价格", "总投资", "固定资产"}), "B");
    QCOMPARE(r.questions[0].line, 3);
    QCOMPARE(r.questions[0].section, QStringLiteral("第一章"));
    QCOMPARE(r.questions[0].explanation, QStringLiteral("市场角度"));
    QCOMPARE(r.questions[0].marks, 1.0);
    EXPECT_CLEAN(r.questions[0]);
    EXPECT_QUESTION(r.questions[1], 14, "以下正确的有（ ）", (QStringList{"甲", "乙", "丙", "丁"}), "AC");
    QCOMPARE(r.questions[1].marks, 2.0);
    EXPECT_QUESTION(r.questions[2], 41, "分支机构可以自己名义承接业务。", (QStringList{"正确", "错误"}), "B");
    QCOMPARE(r.questions[2].line, 5);
}

void TestImportOffice::excelFlagsAndSubjectiveRows()
{
    const QVector<QStringList> rows = {
        {"题目", "A", "B", "C", "D", "正确答案", "类型"},
        {"没有答案的题", "甲", "乙", "丙", "丁", "", ""},
        {"答案在选项外", "甲", "乙", "", "", "D", ""},
        {"简述造价的含义", "", "", "", "", "两种含义……", "简答"},
        {"", "甲", "乙", "", "", "A", ""},
        {"选项在题干里（ ） A.甲 B.乙 C.丙", "", "", "", "", "C", ""},
    };
    const Recognition r = recognizeFile(fixtures::write(dir.path(), QStringLiteral("flags.xlsx"), fixtures::xlsx(rows)), 5);
    QCOMPARE(r.questions.size(), 4);
    QVERIFY(r.questions[0].problems.contains(QStringLiteral("没有找到答案")));
    QCOMPARE(r.questions[1].problems, QStringList{"答案不在选项中"});
    EXPECT_QUESTION(r.questions[2], 74, "简述造价的含义", QStringList(), "");
    QCOMPARE(r.questions[2].explanation, QStringLiteral("两种含义……"));
    EXPECT_QUESTION(r.questions[3], 11, "选项在题干里（ ）", (QStringList{"甲", "乙", "丙"}), "C");
    QCOMPARE(r.problems.size(), 1);
    QCOMPARE(r.problems[0].line, 5);
}

void TestImportOffice::thousandQuestionWordDocument()
{
    QString body = paragraph(QStringLiteral("一、单项选择题"));
    for (int i = 1; i <= 1000; ++i)
        body += paragraph(QStringLiteral("%1. 关于第%1个工程项目的造价，下列说法正确的是（ ）。").arg(i))
                + QStringLiteral("<w:p>") + run(QStringLiteral("A. 第一种说法"), QStringLiteral("<w:b/>")) + QStringLiteral("</w:p>")
                + paragraph(QStringLiteral("B. 第二种说法")) + paragraph(QStringLiteral("C. 第三种说法"))
                + paragraph(QStringLiteral("D. 第四种说法")) + paragraph(QStringLiteral("答案：C"))
                + paragraph(QStringLiteral("解析：本题考查第%1个知识点。").arg(i));
    const QString path = fixtures::write(dir.path(), QStringLiteral("big.docx"), fixtures::docx(body));
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = fixtures::cpuMilliseconds();
    const Recognition r = recognizeFile(path, 1);
    const qint64 ms = fixtures::cpuMilliseconds() - cpuStart;
    qInfo("1000-question Word document recognized in %lld ms of processor time (%lld ms on the clock)", ms, timer.elapsed());
    QCOMPARE(r.questions.size(), 1000);
    QCOMPARE(r.questions[999].key, QStringLiteral("C"));
    QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
}

QTEST_MAIN(TestImportOffice)
#include "test_import_office.moc"
