#include "BankCheck.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "ImportBatches.h"
#include "ImportFixtures.h"
#include "RtfReader.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

namespace {

const QString kSection = QStringLiteral("100103");

const char *const kDocument = "一、单项选择题\n"
                              "1．注册造价工程师的注册有效期为（  ）年。\n"
                              "A．2\nB．3\nC．4\nD．5\n"
                              "答案：C\n"
                              "2．工程造价咨询企业乙级资质可承接工程造价（  ）万元以下的项目。\n"
                              "A．2000\nB．5000\nC．8000\nD．10000\n"
                              "二、多项选择题\n"
                              "3．造价工程师的执业范围包括（  ）。\n"
                              "A．项目经济评价\nB．工程结算\nC．施工组织设计\nD．造价纠纷鉴定\n"
                              "答案：ABD\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QString errors;
};

Run bankTool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(QUILLET_BANK_TOOL), args);
    tool.waitForFinished(120000);
    return {tool.exitCode(), tool.readAllStandardOutput(), QString::fromUtf8(tool.readAllStandardError())};
}

} // namespace

// quillet-bank import on a copy of the demo bank, and a Word question's rich
// text on its way through the recognizer into the bank.
class TestImportCommand : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoBank> demo;
    QTemporaryDir files;

    QVariant scalar(const QString &sql)
    {
        store::Connection c;
        c.setConnectionString(TDM1::connectionStringFor(demo->bankFile()));
        c.openReadOnly();
        return c.scalar(sql);
    }

private slots:
    void init() { demo = std::make_unique<DemoBank>(); }
    void cleanup() { demo.reset(); }

    void dryRunPrintsJsonAndChangesNothing()
    {
        const QString file = fixtures::write(files.path(), "练习.txt", kDocument);
        const QByteArray before = DemoBank::bytesOf(demo->bankFile());
        const Run run = bankTool({"import", demo->bankFile(), file, kSection, "--dry-run", "--json"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
        QCOMPARE(DemoBank::bytesOf(demo->bankFile()), before);
        QVERIFY(!QFile::exists(demo->bankFile() + "-wal"));
        QVERIFY(!QDir(demo->backupFolder()).exists());
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        const QJsonArray questions = json.value("questions").toArray();
        QCOMPARE(questions.size(), 3);
        const QJsonObject third = questions.at(2).toObject();
        QCOMPARE(third.value("line").toInt(), 14);
        QCOMPARE(third.value("type").toInt(), 14);
        QCOMPARE(third.value("stem").toString(), QStringLiteral("造价工程师的执业范围包括（  ）。"));
        QCOMPARE(third.value("options").toArray().size(), 4);
        QCOMPARE(third.value("key").toString(), QStringLiteral("ABD"));
        QVERIFY(questions.at(1).toObject().value("problems").toArray().size() > 0);
        QVERIFY(json.value("problems").isArray());
        QVERIFY2(run.errors.contains("recognized 3 questions: 1 flagged"), qPrintable(run.errors));
    }

    void importWritesABatchThatPassesTheCheck()
    {
        const QString file = fixtures::write(files.path(), "练习.txt", kDocument);
        const Run run = bankTool({"import", demo->bankFile(), file, kSection});
        QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
        QVERIFY2(QString::fromUtf8(run.out).contains(QStringLiteral("已导入 2 道题到 [100103 第三节 造价工程师管理制度]")),
                 run.out.constData());
        QCOMPARE(scalar("select count(*) from tab_answ where A1 like 'US100103%' and F1 = 2").toInt(), 2);
        QCOMPARE(scalar("select file from ql_import_batch").toString(), QStringLiteral("练习.txt"));
        QCOMPARE(QDir(demo->backupFolder()).entryList({"*-import.mdb"}).size(), 1);
        QCOMPARE(bank::checkBank(demo->bankFile()).violations, QStringList());

        // The same file again: everything is a duplicate now, nothing is written.
        const Run again = bankTool({"import", demo->bankFile(), file, kSection});
        QCOMPARE(again.exitCode, 1);
        QVERIFY2(again.out.contains("2 already in the bank, 0 to import"), again.out.constData());
        QCOMPARE(scalar("select count(*) from ql_import_batch").toInt(), 1);
    }

    void badRequestsAreRefusedWithAMessage()
    {
        const QString file = fixtures::write(files.path(), "练习.txt", kDocument);
        Run run = bankTool({"import", demo->bankFile(), file, "1001"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.errors.contains(QStringLiteral("题库中没有小节“1001”")), qPrintable(run.errors));
        run = bankTool({"import", demo->bankFile(), fixtures::write(files.path(), "坏.docx", "PK\x03\x04 broken"),
                        kSection});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(!run.errors.trimmed().isEmpty());
        run = bankTool({"import", demo->bankFile(), file, kSection, "--quiet"});
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(scalar("select count(*) from tab_answ where A1 like 'US%'").toInt(), 0);
        QCOMPARE(scalar("select count(*) from ql_import_batch").toInt(), 0);
    }

    void wordRichTextReachesTheBank()
    {
        using fixtures::paragraph;
        using fixtures::run;
        const QString body =
            QStringLiteral("<w:p>") + run("1．某基础混凝土用量为120 m") + run("3", "<w:vertAlign w:val=\"superscript\"/>")
            + run("，其中") + run("垫层", "<w:b/>") + run("不计，其体积为（  ）。") + QStringLiteral("</w:p>")
            + paragraph("A．120") + paragraph("B．100") + paragraph("答案：A");
        const QString file = fixtures::write(files.path(), "混凝土.docx", fixtures::docx(body));
        TDM1 dm(demo->folder());
        QVERIFY(dm.connected);
        const importing::ImportPlan plan(formats::import::recognizeFile(file, 1),
                                         importing::ImportTarget::read(dm.ADOCn1, kSection));
        QCOMPARE(plan.counts().toImport, 1);
        const importing::ImportOutcome outcome =
            importing::importPlan(dm.ADOCn1, plan, file, demo->backupFolder());
        QTextDocument stored;
        rtf::RtfReader::read(dm.ADOCn1.scalar("select A15 from tab_exer where A1 = ?",
                                              store::Params::byPosition({outcome.ids.first()})),
                             &stored);
        QCOMPARE(stored.toPlainText(), QStringLiteral("某基础混凝土用量为120 m3，其中垫层不计，其体积为（  ）。\nA．120\nB．100"));
        bool bold = false;
        bool superscript = false;
        for (auto it = stored.firstBlock().begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            bold |= it.fragment().text() == QStringLiteral("垫层") && f.fontWeight() >= QFont::Bold;
            superscript |= it.fragment().text() == QStringLiteral("3")
                           && f.verticalAlignment() == QTextCharFormat::AlignSuperScript;
        }
        QVERIFY(bold);
        QVERIFY(superscript);
    }
};

QTEST_MAIN(TestImportCommand)
#include "test_import_command.moc"
