#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <stdexcept>

namespace bank {

// A fault in a source file, located by file and line.
struct SourceError {
    QString file;
    int line = 0;
    QString message;
    QString toString() const { return QStringLiteral("%1:%2: %3").arg(file).arg(line).arg(message); }
};

class SourceErrors : public std::runtime_error {
public:
    explicit SourceErrors(QVector<SourceError> errors)
        : std::runtime_error("content errors"), list(std::move(errors))
    {
    }
    QVector<SourceError> list;
};

struct RecordField {
    QString name;
    QStringList paragraphs; // the value, one entry per line
    int line = 0;
    QString text() const { return paragraphs.join(QLatin1Char('\n')); }
};

// "[kind argument]" followed by "field: value" lines.
struct Record {
    QString kind;
    QString argument;
    QString file;
    int line = 0;
    QVector<RecordField> fields;

    const RecordField *field(const QString &name) const;
    QString value(const QString &name) const; // "" when absent
};

// Reads one source file; syntax faults are appended to errors.
QVector<Record> readRecords(const QString &path, QVector<SourceError> &errors);

} // namespace bank
