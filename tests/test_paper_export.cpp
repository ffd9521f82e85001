#include "BankTestCase.h"
#include "BankWriter.h"
#include "Content.h"
#include "DrawnPaper.h"
#include "DocxReadBack.h"
#include "Error.h"
#include "Globals.h"
#include "PaperExport.h"
#include "PaperFixture.h"
#include "TestImages.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestPaperExport : public BankTestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { closeBank(); }

    void questionsUnderTypeHeadings();
    void answerSection();
    void richExplanationKeepsItsFormatAndPicture();
    void exportLeavesTheSharedDatasetsAlone();
    void storedPaperNamesAndRefusals();
    void ninetySixQuestionsWellUnderASecond();
    void bankToolPrintsAStoredPaper();
    void drawWritesAFreshPaperAndLeavesTheBankAsItWas();
    void libreOfficePrintsItInASerifChineseFace();
    void demoBankPapersOfEverySubjectPrint();

private:
    QJsonObject exported();
    QString title = QStringLiteral("2026年12月08日造价工程师·工程造价管理基础理论与相关法规[1]");
    std::unique_ptr<PaperFixture> paper;
    QTemporaryDir out;
};

namespace {

QString pngRtf()
{
    const QByteArray png = encodedImage(30, 10, "PNG", Qt::green);
    return QStringLiteral("{\\pict\\pngblip\\picw30\\pich10 ") + QString::fromLatin1(png.toHex()) + QLatin1Char('}');
}

QString rtf(const QString &body)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fnil\\fcharset134 宋体;}}"
                          "{\\colortbl ;\\red255\\green0\\blue0;}\\f0\\fs24 ")
            + body + QStringLiteral("\\par}");
}

} // namespace

void TestPaperExport::init()
{
    openFreshBank();
    store::Connection &c = dm->ADOCn1;
    c.execute("update tab_tx1 set B1 = '单选题' where A1 = 11");
    c.execute("insert into tab_tx1 (A1,B1,B2,B3,time) values (41,'判断题',10,0.5,1)");
    c.execute("insert into tab_tx1 (A1,B1,B2,B3,time) values (65,'案例分析题',5,20,1)");
    c.execute("insert into tab_rule (id,ftid,sn,n,q) values ('010002','0100020002','施工许可证    ','第八条',1)");
    c.execute("insert into tab_title (A1,A15) values ('5001016500010000','案例背景材料')");
    paper = std::make_unique<PaperFixture>(c, 1, title);
    const QStringList skipFifth = {"0100010001", "0100020001", "", "0100020002"};
    paper->add("100101110001", 11, "A", rtf("第一题题干"),
               rtf("解析{\\b\\cf1 红色重点}说明" + pngRtf()), skipFifth);
    paper->add("100101110002", 11, "C", "第二题", QVariant(), {});
    paper->add("100101140001", 14, "ABD", "多选题", QString(), {"", "0100010001"});
    paper->add("100101410001", 41, "B", "判断一", QVariant(), {"9999999999", "0100020001"});
    paper->add("100101410002", 41, "A", "判断二");
    paper->add("5001016500010000-1", 65, "1", "案例问一", "案例解析");
    paper->add("5001016500010000-2", 65, "1", QVariant()); // its text is missing from the bank
    paper->add("5001016500020000-1", 65, "1", "无材料的问"); // its stem is missing
    paper->add("100101720001", 72, "1", "主观七二");
    paper->add("100101730001", 73, "0", "主观七三");
}

QJsonObject TestPaperExport::exported()
{
    const QString path = out.filePath("paper.docx");
    exam::exportPaper(dm->ADOCn1, exam::storedPaper(dm->ADOCn1, paper->table()), path);
    const QJsonObject json = readDocx(path);
    [&] { QVERIFY(!json.isEmpty()); }();
    [&] { QCOMPARE(json.value("problems").toArray().size(), 0); }();
    return json;
}

void TestPaperExport::questionsUnderTypeHeadings()
{
    const QStringList texts = paragraphTexts(exported());
    const QStringList expected = {
        title, "", "",
        "一、单选题[共60题，每题1分，总计60分]", "1、第一题题干", "2、第二题",
        "二、多项选择题[共20题，每题2分，总计40分]", "3、多选题",
        "三、判断题[共10题，每题0.5分，总计5分]", "4、判断一", "5、判断二",
        "四、案例分析题[共5题，每题20分，总计100分]",
        "案例背景材料", "6、案例问一", "案例背景材料", "7、", "8、无材料的问",
        "五、未知题型[共0题，每题0分，总计0分]", "9、主观七二",
        "--未知题型[共0题，每题0分，总计0分]", "10、主观七三",
        "答案：", "", "",
    };
    QCOMPARE(texts.mid(0, expected.size()), expected);
}

void TestPaperExport::answerSection()
{
    const QStringList texts = paragraphTexts(exported());
    const QStringList expected = {
        "答案：", "", "",
        "第1题", "试题答案：A", "试题解析：", "解析红色重点说明", "考点：",
        "第一章 总则 立法目的；", "第一条", "第二章 建筑许可 施工许可；", "第七条",
        "第二章 建筑许可 施工许可证；", "第八条",
        "第2题", "试题答案：C",
        "第3题", "试题答案：ABD",
        "第4题", "试题答案：错误", "考点：", "第二章 建筑许可 施工许可；", "第七条",
        "第5题", "试题答案：正确",
        "第6题", "试题解析：", "案例解析",
        "第7题", "第8题", "第9题", "第10题", "",
    };
    QCOMPARE(texts.mid(texts.indexOf("答案：")), expected);
}

void TestPaperExport::richExplanationKeepsItsFormatAndPicture()
{
    const QJsonObject json = exported();
    const QJsonObject red = runWith(json, "红色重点");
    QVERIFY(red.value("bold").toBool());
    QCOMPARE(red.value("color").toString(), QStringLiteral("FF0000"));
    QVERIFY(!runWith(json, "说明").value("bold").toBool());
    const QJsonArray pictures = picturesOf(json);
    QCOMPARE(pictures.size(), 1);
    QVERIFY(pictures.at(0).toObject().value("png").toBool());
    QCOMPARE(pictures.at(0).toObject().value("cx").toInt(), 30 * 9525);
    // The paper's title is the heading and the document's title.
    QCOMPARE(json.value("title").toString(), title);
    QVERIFY(runWith(json, title).value("bold").toBool());
}

void TestPaperExport::exportLeavesTheSharedDatasetsAlone()
{
    dm->Cn1Query_exam.setSql("select * from tab_exam1 order by A13,A1");
    dm->Cn1Query_exam.open();
    dm->Cn1Query_exam.setRecNo(4);
    dm->Cn1Query1.setSql("select a15 from tab_exer where a1 = '100101110002'");
    dm->Cn1Query1.open();
    exported();
    QCOMPARE(dm->Cn1Query_exam.recNo(), 4);
    QCOMPARE(dm->Cn1Query1.fieldByName("a15").asString(), QStringLiteral("第二题"));
    QVERIFY(!dm->ADOQ_kl.isOpen() && !dm->Cn1Query3.isOpen());
}

void TestPaperExport::storedPaperNamesAndRefusals()
{
    store::Connection &c = dm->ADOCn1;
    const exam::PaperRef stored = exam::storedPaper(c, "tab_exam1");
    QCOMPARE(stored.title, title);
    QCOMPARE(stored.subject, 1);
    PaperFixture untitled(c, 2, "x");
    untitled.add("300101110001", 11, "A", "土建", QVariant(), {}, "300101");
    c.execute("delete from tab_cj where A1 = 'tab_exam2'");
    const exam::PaperRef other = exam::storedPaper(c, "tab_exam2");
    QCOMPARE(other.title, QStringLiteral("tab_exam2"));
    QCOMPARE(other.subject, 3);

    for (const char *name : {"tab_cj", "tab_exam9", "tab_exam1; drop table tab_answ", "tab_exam1 --"})
        QVERIFY_THROWS_EXCEPTION(store::Error, exam::storedPaper(c, name));
    QVERIFY(c.tableExists("tab_answ"));
    QCOMPARE(exam::typeOrdinal(5), QStringLiteral("五、"));
    QCOMPARE(exam::typeOrdinal(6), QStringLiteral("--"));

    const QString unwritable = out.filePath("no/such/folder/paper.docx");
    QVERIFY_THROWS_EXCEPTION(std::exception, exam::exportPaper(c, stored, unwritable));
    QVERIFY(!QFile::exists(unwritable));
}

void TestPaperExport::ninetySixQuestionsWellUnderASecond()
{
    store::Connection &c = dm->ADOCn1;
    PaperFixture big(c, 3, "九十六题");
    const QString body = rtf(QStringLiteral("某建设项目的{\\b 工程费用}为 5000 万元，工程建设其他费用为 1200 万元，"
                                            "基本预备费率为 8%，则该项目的基本预备费为多少万元？\\par A．400\\par "
                                            "B．496\\par C．512\\par D．600"));
    {
        store::Transaction t(c);
        for (int i = 0; i < 96; ++i)
            big.add(QStringLiteral("2001011%1").arg(i, 5, 10, QLatin1Char('0')), i < 72 ? 11 : 14, "B", body,
                    rtf(QStringLiteral("基本预备费 = (工程费用 + 工程建设其他费用) × 基本预备费率 = 496 万元。")),
                    {"0100010001", "0100020001"}, "200101");
        t.commit();
    }
    QElapsedTimer timer;
    timer.start();
    exam::exportPaper(c, exam::storedPaper(c, big.table()), out.filePath("big.docx"));
    const qint64 ms = timer.elapsed();
    qInfo() << "96 questions exported in" << ms << "ms";
    QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
    QCOMPARE(paragraphTexts(readDocx(out.filePath("big.docx"))).filter(QRegularExpression("^第\\d+题$")).size(), 96);
}

void TestPaperExport::bankToolPrintsAStoredPaper()
{
    closeBank();
    auto run = [](const QStringList &args) {
        QProcess tool;
        tool.start(QStringLiteral(QUILLET_BANK_TOOL), args);
        tool.waitForFinished(60000);
        return std::pair{tool.exitCode(), QString::fromUtf8(tool.readAllStandardError())};
    };
    const QString path = out.filePath("cli.docx");
    const auto [ok, okErrors] = run({"paper", bank->bankFile(), "tab_exam1", path});
    QVERIFY2(ok == 0, qPrintable(okErrors));
    const QJsonObject json = readDocx(path);
    QVERIFY(paragraphTexts(json).contains("9、主观七二"));
    QCOMPARE(json.value("title").toString(), title);

    const QString refused = out.filePath("refused.docx");
    const auto [failed, errors] = run({"paper", bank->bankFile(), "tab_answ", refused});
    QCOMPARE(failed, 1);
    QVERIFY(errors.contains("tab_answ"));
    QVERIFY(!QFile::exists(refused));

    const QString drawn = out.filePath("drawn-cli.docx");
    QCOMPARE(run({"draw", bank->bankFile(), "1", drawn}).first, 0);
    QVERIFY(paragraphTexts(readDocx(drawn)).contains("试题答案：ABD"));
    QCOMPARE(run({"draw", bank->bankFile(), "9", refused}).first, 1);
    QVERIFY(!QFile::exists(refused));
}

void TestPaperExport::drawWritesAFreshPaperAndLeavesTheBankAsItWas()
{
    auto state = [this] {
        return db("select group_concat(name) from (select name from sqlite_master order by name)").toString() + "|"
                + db("select group_concat(A1 || A3) from tab_cj").toString() + "|"
                + db("select sum(E3) || '/' || sum(F1) from tab_answ").toString();
    };
    const QString before = state();
    const QString appDir = AppDir;
    const QString path = out.filePath("drawn.docx");
    const exam::PaperRef drawn = exam::drawPaperDocument(bank->bankFile(), 1, path);
    QCOMPARE(drawn.table, QStringLiteral("tab_exam2"));
    QVERIFY(drawn.title.endsWith("造价工程师·工程造价管理基础理论与相关法规[2]"));
    QCOMPARE(state(), before);
    QCOMPARE(DataModule, dm.get());
    QCOMPARE(AppDir, appDir);

    // Every subject-1 question of the fixture bank, under the bank's own headings.
    const QStringList texts = paragraphTexts(readDocx(path));
    QCOMPARE(texts.value(0), drawn.title);
    QCOMPARE(texts.value(3), QStringLiteral("一、单选题[共60题，每题1分，总计60分]"));
    QCOMPARE(texts.filter(QRegularExpression("^\\d+、")).size(), 5);
    QVERIFY(texts.contains("二、多项选择题[共20题，每题2分，总计40分]"));
    QVERIFY(texts.contains("试题答案：ABD"));

    QVERIFY_THROWS_EXCEPTION(std::exception, exam::drawPaperDocument(bank->bankFile(), 6, path + "x"));
    QVERIFY(!QFile::exists(path + "x"));
}

namespace {

QString output(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    process.waitForFinished(120000);
    if (process.exitCode() != 0)
        qWarning().noquote() << program << process.readAllStandardError();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

void TestPaperExport::libreOfficePrintsItInASerifChineseFace()
{
    const QString docx = out.filePath("render.docx");
    exam::exportPaper(dm->ADOCn1, exam::storedPaper(dm->ADOCn1, paper->table()), docx);
    output("soffice", {"-env:UserInstallation=file://" + out.filePath("profile"), "--headless", "--convert-to", "pdf",
                       "--outdir", out.path(), docx});
    const QString pdf = out.filePath("render.pdf");
    QVERIFY(QFile::exists(pdf));
    // The PDF's text spaces out Latin between Chinese; compare without blanks.
    auto page = [&](int n) {
        const QString n_ = QString::number(n);
        return output("pdftotext", {"-f", n_, "-l", n_, pdf, "-"}).remove(QRegularExpression("\\s"));
    };
    QVERIFY(page(1).contains("一、单选题[共60题，每题1分，总计60分]1、第一题题干"));
    QVERIFY(!page(1).contains("答案："));
    QVERIFY(page(2).startsWith("答案：第1题试题答案：A"));
    // 宋体 is printed in a Song-style serif: Noto Serif CJK, which the program
    // shows bank texts in, or AR PL UMing where LibreOffice prefers it.
    const QString fonts = output("pdffonts", {pdf});
    QVERIFY2(fonts.contains("NotoSerifCJK") || fonts.contains("UMing"), qPrintable(fonts));
}

void TestPaperExport::demoBankPapersOfEverySubjectPrint()
{
    const QString demo = out.filePath("demo.mdb");
    bank::buildBank(bank::readContent(QStringLiteral(QUILLET_CONTENT_DIR)), demo, true, QDate(2026, 12, 8));
    QStringList documents;
    for (int subject = 1; subject <= 5; ++subject) {
        documents << out.filePath(QStringLiteral("subject%1.docx").arg(subject));
        output(QStringLiteral(QUILLET_BANK_TOOL), {"draw", demo, QString::number(subject), documents.last()});
    }
    output("soffice", QStringList{"-env:UserInstallation=file://" + out.filePath("profile"), "--headless",
                                  "--convert-to", "pdf", "--outdir", out.path()}
                              + documents);
    for (QString document : documents) {
        const QString pdf = document.replace(".docx", ".pdf");
        const QString text = output("pdftotext", {pdf, "-"}).remove(QRegularExpression("\\s"));
        QVERIFY2(text.contains("一、") && text.contains("答案：第1题"), qPrintable(pdf));
        QVERIFY(output("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+([2-9]|\\d\\d)")));
    }
}

QTEST_MAIN(TestPaperExport)
#include "test_paper_export.moc"
