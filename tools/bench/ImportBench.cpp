#include "ImportBench.h"

#include "DataModule.h"
#include "ImportBatches.h"
#include "TFrmImport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidget>

namespace {

const int kQuestions = 1000;

// A question set as courses hand them out: numbered stems, four options a
// line, the answer and an explanation under each question.
QString writeDocument(const QString &folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("练习题1000.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    QByteArray text = "一、单项选择题\n";
    for (int n = 1; n <= kQuestions; ++n) {
        text += QStringLiteral("%1．某工程第%1号构件的混凝土工程量计算中，下列说法正确的是（  ）。\n").arg(n).toUtf8();
        for (const char letter : {'A', 'B', 'C', 'D'})
            text += QStringLiteral("%1．说法%1：按设计图示尺寸以体积计算，第%2项\n").arg(QChar(letter)).arg(n).toUtf8();
        text += QStringLiteral("答案：%1\n解析：依据工程量计算规范第%2条。\n").arg(QChar('A' + n % 4)).arg(n).toUtf8();
    }
    file.write(text);
    return path;
}

} // namespace

QVector<Measurement> importingADocument(int runs, const QString &folder, const QString &section)
{
    const QString path = writeDocument(folder);
    Measurement showing = measure(QStringLiteral("recognize and show a 1,000-question document"), runs, [&] {
        TFrmImport window(nullptr, section);
        window.show();
        window.openFile(path);
        QCoreApplication::processEvents();
    });
    showing.target = 1000;

    TFrmImport window(nullptr, section);
    window.openFile(path);
    const QString backups = QDir(folder).filePath(QStringLiteral("import-backups"));
    qint64 batch = 0;
    Measurement writing = measure(
        QStringLiteral("import 1,000 questions (with its backup)"), qMax(3, runs / 5),
        [&] {
            if (window.plan())
                batch = importing::importPlan(DataModule->ADOCn1, *window.plan(), path, backups).batch;
        },
        [&] {
            if (batch != 0)
                importing::undoBatch(DataModule->ADOCn1, batch, backups);
            batch = 0;
            QDir(backups).removeRecursively();
        });
    writing.target = 2000;
    return {showing, writing};
}
