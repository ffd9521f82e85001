#include "Records.h"

#include <QFile>
#include <QRegularExpression>

namespace bank {

const RecordField *Record::field(const QString &name) const
{
    for (const RecordField &f : fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

QString Record::value(const QString &name) const
{
    const RecordField *f = field(name);
    return f ? f->text() : QString();
}

QVector<Record> readRecords(const QString &path, QVector<SourceError> &errors)
{
    QVector<Record> records;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errors.push_back({path, 0, QStringLiteral("cannot read the file: %1").arg(file.errorString())});
        return records;
    }
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QChar::ReplacementCharacter)) {
        errors.push_back({path, 0, QStringLiteral("the file is not valid UTF-8")});
        return records;
    }
    static const QRegularExpression header(QStringLiteral(R"(^\[\s*(/?[A-Za-z]+)\s*([^\]]*?)\s*\]\s*$)"));
    static const QRegularExpression fieldLine(QStringLiteral(R"(^([A-Za-z][A-Za-z0-9_-]*)\s*[:：]\s?(.*)$)"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int number = i + 1;
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("  ")) || line.startsWith(QLatin1Char('\t'))) {
            if (records.isEmpty() || records.last().fields.isEmpty())
                errors.push_back({path, number, QStringLiteral("continuation line without a field before it")});
            else
                records.last().fields.last().paragraphs << line.trimmed();
            continue;
        }
        const auto h = header.match(line);
        if (h.hasMatch()) {
            records.push_back({h.captured(1).toLower(), h.captured(2), path, number, {}});
            continue;
        }
        const auto f = fieldLine.match(line);
        if (f.hasMatch() && !records.isEmpty()) {
            records.last().fields.push_back({f.captured(1).toLower(), {f.captured(2).trimmed()}, number});
            continue;
        }
        errors.push_back({path, number,
                          records.isEmpty() ? QStringLiteral("text before the first [record] header")
                                            : QStringLiteral("expected \"field: value\", a [record] header or an "
                                                             "indented continuation line")});
    }
    return records;
}

} // namespace bank
