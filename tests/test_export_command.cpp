#include "BankTestCase.h"
#include "ExportPaperCommand.h"
#include "FileDialogs.h"
#include "MessageRecorder.h"
#include "PaperFixture.h"
#include "ShellOpener.h"
#include "TFrmProgress.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <zip.h>

class TestExportCommand : public BankTestCase
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void savesUnderTheWaitWindowAndOpensTheDocument();
    void cancelledDialogWritesNothing();
    void failureWarnsAndLeavesNoFile();
    void withoutAProgramForWordTheLearnerIsToldWhereTheFileIs();
    void proposedNameIsSafe();

private:
    exam::PaperRef paper;
    QStringList opened;
    QStringList waitTexts;
    std::unique_ptr<QTemporaryDir> folder;
    QString outPath(const QString &name) const { return folder->filePath(name); }
};

void TestExportCommand::init()
{
    openFreshBank();
    folder = std::make_unique<QTemporaryDir>();
    PaperFixture fixture(dm->ADOCn1, 4, QStringLiteral("2026年12月08日造价工程师·工程造价计价与控制[4]"));
    for (int i = 1; i <= 3; ++i)
        fixture.add(QStringLiteral("20010111000%1").arg(i), 11, "A", QStringLiteral("题%1").arg(i));
    paper = exam::storedPaper(dm->ADOCn1, fixture.table());
    MessageRecorder::clear();
    ui::FileDialogRecorder::clear();
    opened.clear();
    waitTexts.clear();
    ui::setPageOpener([this](const QString &path) {
        opened << path;
        return true;
    });
}

void TestExportCommand::cleanup()
{
    ui::setPageOpener({});
    closeBank();
}

void TestExportCommand::savesUnderTheWaitWindowAndOpensTheDocument()
{
    const QString path = outPath("chosen"); // the suffix is added
    ui::FileDialogRecorder::queueAnswer(path);
    // Showing the wait window lets queued events run: this one sees it up.
    QTimer::singleShot(0, [this] {
        if (TFrmProgress::instance().isVisible())
            waitTexts << TFrmProgress::instance().Label1->text();
    });
    QVERIFY(exam::ExportPaperToWord(nullptr, dm->ADOCn1, paper.table, paper.title));
    QVERIFY(QFile::exists(path + ".docx"));
    QCOMPARE(opened, QStringList{path + ".docx"});
    QCOMPARE(waitTexts, QStringList{QStringLiteral("正在导出试卷，请等待...")});
    QVERIFY(!TFrmProgress::instance().isVisible());

    const QList<ui::FileDialogRequest> asked = ui::FileDialogRecorder::asked();
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().save);
    QVERIFY(asked.first().dir.endsWith(QStringLiteral("/2026年12月08日造价工程师·工程造价计价与控制[4].docx")));
    QVERIFY(asked.first().filter.contains("*.docx"));
    QVERIFY(MessageRecorder::shown().isEmpty());

    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path + ".docx").constData(), ZIP_RDONLY, &error);
    QVERIFY(zip);
    QVERIFY(zip_name_locate(zip, "word/document.xml", 0) >= 0);
    zip_discard(zip);
}

void TestExportCommand::cancelledDialogWritesNothing()
{
    ui::FileDialogRecorder::queueAnswer(QString());
    QVERIFY(!exam::ExportPaperToWord(nullptr, dm->ADOCn1, paper.table, paper.title));
    QVERIFY(opened.isEmpty());
    QVERIFY(MessageRecorder::shown().isEmpty());
    QVERIFY(QDir(folder->path()).isEmpty());
}

void TestExportCommand::failureWarnsAndLeavesNoFile()
{
    const QString path = outPath("paper.docx");
    dm->ADOCn1.execute("drop table " + paper.table); // the paper went away under the window
    ui::FileDialogRecorder::queueAnswer(path);
    MessageRecorder::queueAnswer(QMessageBox::Ok);
    QVERIFY(!exam::ExportPaperToWord(nullptr, dm->ADOCn1, paper.table, paper.title));
    const QList<MessageRecord> shown = MessageRecorder::shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().kind, MessageRecord::Kind::SystemBox);
    QCOMPARE(shown.first().caption, QStringLiteral("警告"));
    QCOMPARE(shown.first().text, QStringLiteral("导出试题发生错误，请退出后重试！"));
    QCOMPARE(shown.first().icon, int(QMessageBox::Warning));
    QVERIFY(!QFile::exists(path));
    QVERIFY(QDir(folder->path()).isEmpty());
    QVERIFY(opened.isEmpty());
    QVERIFY(!TFrmProgress::instance().isVisible());
}

void TestExportCommand::withoutAProgramForWordTheLearnerIsToldWhereTheFileIs()
{
    const QString path = outPath("paper.docx");
    ui::FileDialogRecorder::queueAnswer(path);
    ui::setPageOpener([](const QString &) { return false; });
    MessageRecorder::queueAnswer(3);
    QVERIFY(exam::ExportPaperToWord(nullptr, dm->ADOCn1, paper.table, paper.title));
    QVERIFY(QFile::exists(path));
    const QList<MessageRecord> shown = MessageRecorder::shown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().kind, MessageRecord::Kind::OwnBox);
    QVERIFY2(shown.first().text.contains(QDir::toNativeSeparators(path)), qPrintable(shown.first().text));
}

void TestExportCommand::proposedNameIsSafe()
{
    const QString proposed = exam::proposedDocumentPath(QStringLiteral("a/b:c*?\"<>|d"));
    QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("a_b_c______d.docx"));
    QCOMPARE(QFileInfo(exam::proposedDocumentPath(QStringLiteral("  "))).fileName(), QStringLiteral("试卷.docx"));
}

QTEST_MAIN(TestExportCommand)
#include "test_export_command.moc"
