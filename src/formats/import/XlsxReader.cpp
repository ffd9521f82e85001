#include "XlsxReader.h"

#include "Deadline.h"
#include "Limits.h"
#include "Recognized.h"
#include "SafeXml.h"
#include "Zip.h"

#include <QHash>

namespace formats::import {

namespace {

const QString kKind = QStringLiteral("Excel 工作簿");

QStringList readSharedStrings(ZipPackage &zip, const QString &name, const Deadline &deadline)
{
    QStringList strings;
    const QByteArray data = zip.read(name);
    if (data.isEmpty())
        return strings;
    SafeXml xml(data, name, deadline);
    bool inText = false;
    int phonetic = 0;
    QString current;
    while (xml.next()) {
        if (xml.isStart(QLatin1StringView("si"))) {
            current.clear();
        } else if (xml.isEnd(QLatin1StringView("si"))) {
            strings << current;
        } else if (xml.isStart(QLatin1StringView("rPh"))) {
            ++phonetic; // the reading of the text, not its content
        } else if (xml.isEnd(QLatin1StringView("rPh"))) {
            --phonetic;
        } else if (xml.isStart(QLatin1StringView("t"))) {
            inText = true;
        } else if (xml.isEnd(QLatin1StringView("t"))) {
            inText = false;
        } else if (inText && phonetic == 0 && xml.token() == QXmlStreamReader::Characters) {
            current += xml.text();
        }
    }
    return strings;
}

// "C12" → 2 (columns from 0); -1 when the reference has no letters.
int columnOf(const QString &reference)
{
    int column = 0, letters = 0;
    for (const QChar c : reference) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            column = column * 26 + (c.unicode() - u'A' + 1);
            if (++letters > 3)
                return -1;
        } else {
            break;
        }
    }
    return letters ? column - 1 : -1;
}

QString cellValue(const QString &type, const QString &value, const QStringList &shared)
{
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int index = value.trimmed().toInt(&ok);
        return ok ? shared.value(index) : QString();
    }
    if (type == QLatin1String("b"))
        return value.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    if (type.isEmpty() || type == QLatin1String("n")) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            return QString::number(number, 'g', 15);
    }
    return value;
}

Sheet readSheet(ZipPackage &zip, const QString &name, const QString &title, const QStringList &shared,
                const Deadline &deadline)
{
    Sheet sheet;
    sheet.name = title;
    const QByteArray data = zip.read(name);
    if (data.isEmpty())
        return sheet;
    SafeXml xml(data, name, deadline);
    SheetRow row;
    QString type, value;
    int column = -1, nextColumn = 0;
    bool inValue = false, inRow = false;
    while (xml.next()) {
        if (xml.isStart(QLatin1StringView("row"))) {
            row = SheetRow();
            row.number = xml.attribute(QLatin1StringView("r")).toInt();
            if (row.number <= 0)
                row.number = sheet.rows.isEmpty() ? 1 : sheet.rows.last().number + 1;
            nextColumn = 0;
            inRow = true;
        } else if (xml.isEnd(QLatin1StringView("row"))) {
            inRow = false;
            bool any = false;
            for (const QString &cell : row.cells)
                any = any || !cell.trimmed().isEmpty();
            if (any)
                sheet.rows << row;
            if (sheet.rows.size() >= limits::kRows)
                break;
        } else if (inRow && xml.isStart(QLatin1StringView("c"))) {
            const int referenced = columnOf(xml.attribute(QLatin1StringView("r")));
            column = referenced >= 0 ? referenced : nextColumn;
            type = xml.attribute(QLatin1StringView("t"));
            value.clear();
        } else if (inRow && xml.isEnd(QLatin1StringView("c"))) {
            if (column >= 0 && column < limits::kColumns) {
                if (row.cells.size() <= column)
                    row.cells.resize(column + 1);
                row.cells[column] = cellValue(type, value, shared);
            }
            nextColumn = column + 1;
        } else if (xml.isStart(QLatin1StringView("v")) || xml.isStart(QLatin1StringView("t"))) {
            inValue = true;
        } else if (xml.isEnd(QLatin1StringView("v")) || xml.isEnd(QLatin1StringView("t"))) {
            inValue = false;
        } else if (inValue && xml.token() == QXmlStreamReader::Characters) {
            value += xml.text();
        }
    }
    return sheet;
}

} // namespace

QVector<Sheet> readXlsx(const QByteArray &data, const Deadline &deadline)
{
    ZipPackage zip(data, kKind);
    const QString workbookName = QStringLiteral("xl/workbook.xml");
    const QByteArray workbook = zip.read(workbookName);
    if (workbook.isEmpty())
        throw ImportError(QStringLiteral("这不是 Excel 工作簿（.xlsx）：文件中没有工作簿。"));

    QHash<QString, QString> targets;
    const QString relsName = QStringLiteral("xl/_rels/workbook.xml.rels");
    {
        SafeXml xml(zip.read(relsName), relsName, deadline);
        while (xml.next())
            if (xml.isStart(QLatin1StringView("Relationship")))
                targets.insert(xml.attribute(QLatin1StringView("Id")),
                               resolvePartName(QStringLiteral("xl/"), xml.attribute(QLatin1StringView("Target"))));
    }
    const QStringList shared = readSharedStrings(zip, QStringLiteral("xl/sharedStrings.xml"), deadline);

    QVector<Sheet> sheets;
    SafeXml xml(workbook, workbookName, deadline);
    QVector<QPair<QString, QString>> order; // title, part
    while (xml.next())
        if (xml.isStart(QLatin1StringView("sheet")))
            order << qMakePair(xml.attribute(QLatin1StringView("name")), targets.value(xml.attribute(QLatin1StringView("id"))));
    for (const auto &[title, part] : order)
        if (!part.isEmpty())
            sheets << readSheet(zip, part, title, shared, deadline);
    return sheets;
}

} // namespace formats::import
