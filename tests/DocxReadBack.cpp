#include "DocxReadBack.h"

#include <QJsonDocument>
#include <QProcess>
#include <QtDebug>

QJsonObject readDocx(const QString &path)
{
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(QUILLET_DOCX_DUMP), path});
    if (!reader.waitForFinished(60000) || reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0) {
        qWarning().noquote() << "docx reader failed:" << reader.errorString() << reader.readAllStandardError();
        return {};
    }
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(reader.readAllStandardOutput(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "docx reader output:" << error.errorString();
    return json.object();
}

QJsonArray paragraphsOf(const QJsonObject &document)
{
    QJsonArray out;
    for (const QJsonValue &block : document.value(QStringLiteral("body")).toArray()) {
        const QJsonObject b = block.toObject();
        if (b.contains(QStringLiteral("paragraph"))) {
            out.append(b.value(QStringLiteral("paragraph")));
            continue;
        }
        for (const QJsonValue &row : b.value(QStringLiteral("table")).toArray())
            for (const QJsonValue &cell : row.toArray())
                for (const QJsonValue &p : cell.toArray())
                    out.append(p);
    }
    return out;
}

QStringList paragraphTexts(const QJsonObject &document)
{
    QStringList out;
    for (const QJsonValue &p : paragraphsOf(document))
        out << p.toObject().value(QStringLiteral("text")).toString();
    return out;
}

QJsonObject runWith(const QJsonObject &document, const QString &text)
{
    for (const QJsonValue &p : paragraphsOf(document))
        for (const QJsonValue &run : p.toObject().value(QStringLiteral("runs")).toArray())
            if (run.toObject().value(QStringLiteral("text")).toString().contains(text))
                return run.toObject();
    return {};
}

QJsonArray picturesOf(const QJsonObject &document)
{
    QJsonArray out;
    for (const QJsonValue &p : paragraphsOf(document))
        for (const QJsonValue &run : p.toObject().value(QStringLiteral("runs")).toArray())
            for (const QJsonValue &picture : run.toObject().value(QStringLiteral("pictures")).toArray())
                out.append(picture);
    return out;
}
