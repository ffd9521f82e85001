#pragma once

#include <QHash>
#include <QString>
#include <QVector>

namespace formats::import {

class SafeXml;

// Word's automatic list numbers ("1.", "A、", "一、"), which are not in the
// paragraph text but shown in front of it; questions and options are often
// numbered this way.
class DocxNumbering
{
public:
    void read(SafeXml &xml);
    // The label of the next paragraph of list `numId` at `level`, counting it.
    QString next(const QString &numId, int level);

private:
    struct Level {
        QString format = QStringLiteral("decimal");
        QString text;
        int start = 1;
    };
    QHash<QString, QVector<Level>> abstracts_; // abstractNumId → levels
    QHash<QString, QString> abstractOfNum_;    // numId → abstractNumId
    QHash<QString, QVector<int>> counters_;    // abstractNumId → counter per level
};

} // namespace formats::import
