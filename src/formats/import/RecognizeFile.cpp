#include "Recognized.h"

#include "Aiken.h"
#include "Deadline.h"
#include "DocxReader.h"
#include "Gift.h"
#include "Limits.h"
#include "Recognizer.h"
#include "TableRecognizer.h"
#include "TextDecoder.h"
#include "XlsxReader.h"

#include <QFile>
#include <QFileInfo>

namespace formats::import {

namespace {

QString megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1);
}

SourceDocument textLines(const QString &text)
{
    SourceDocument document;
    const QStringList lines = text.split(QLatin1Char('\n'));
    document.lines.reserve(lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        SourceLine line;
        line.number = i + 1;
        line.text = lines.at(i);
        if (line.text.endsWith(QLatin1Char('\r')))
            line.text.chop(1);
        document.lines << line;
    }
    return document;
}

Recognition recognizeSheets(const QVector<Sheet> &sheets, int subject)
{
    Recognition result;
    bool any = false;
    for (const Sheet &sheet : sheets)
        any = recognizeSheet(sheet, subject, result) || any;
    if (!any)
        throw ImportError(QStringLiteral("表格中没有找到表头：第一行（前 10 行之内）应有“题干”（或“题目”“试题”）列，以及“选项A”…“选项F”、“答案”、“解析”等列。"));
    return result;
}

bool hasTableHeader(const QString &text)
{
    const Sheet sheet = parseDelimited(text.left(4096));
    Recognition probe;
    Sheet head;
    head.rows = sheet.rows.mid(0, 10);
    for (SheetRow &row : head.rows)
        if (row.cells.size() < 2)
            return false;
    return !head.rows.isEmpty() && recognizeSheet(head, 1, probe);
}

} // namespace

Recognition recognizeText(const QString &text, const QString &suffix, int subject, const Deadline &deadline)
{
    if (suffix == QLatin1String("gift") || looksLikeGift(text))
        return recognizeGift(text, subject);
    if (looksLikeAiken(text))
        return recognizeAiken(text, subject);
    if (hasTableHeader(text))
        return recognizeSheets({parseDelimited(text)}, subject);
    return recognizeDocument(textLines(text), subject, deadline);
}

Recognition recognizeFile(const QString &path, int subject)
{
    const Deadline deadline;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw ImportError(QStringLiteral("找不到文件：%1").arg(path));
    const QString suffix = info.suffix().toLower();
    if (suffix == QLatin1String("doc") || suffix == QLatin1String("xls") || suffix == QLatin1String("wps"))
        throw ImportError(QStringLiteral("不支持旧版的 .%1 文件，请在 Office 或 WPS 中另存为 .docx 或 .xlsx 后再导入。").arg(suffix));
    const bool package = suffix == QLatin1String("docx") || suffix == QLatin1String("xlsx") || suffix == QLatin1String("xlsm");
    const qint64 limit = package ? limits::kFileBytes : limits::kTextBytes;
    if (info.size() > limit)
        throw ImportError(QStringLiteral("文件太大（%1 MB），最多可导入 %2 MB 的%3文件。")
                              .arg(megabytes(info.size()), megabytes(limit), package ? QString() : QStringLiteral("文本")));
    if (info.size() == 0)
        throw ImportError(QStringLiteral("文件是空的：%1").arg(info.fileName()));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(QStringLiteral("无法打开文件：%1（%2）").arg(info.fileName(), file.errorString()));
    const QByteArray data = file.read(limit + 1);
    if (data.size() > limit)
        throw ImportError(QStringLiteral("文件太大，最多可导入 %1 MB。").arg(megabytes(limit)));

    Recognition result;
    if (suffix == QLatin1String("docx"))
        result = recognizeDocument(readDocx(data, deadline), subject, deadline);
    else if (package)
        result = recognizeSheets(readXlsx(data, deadline), subject);
    else
        result = recognizeText(decodeText(data), suffix, subject, deadline);
    if (result.questions.isEmpty() && result.problems.isEmpty())
        result.problems << RecognitionProblem{0, QStringLiteral("文件中没有识别出题目：题目应以“1.”“1、”“（1）”或“第1题”等题号开头。")};
    return result;
}

} // namespace formats::import
