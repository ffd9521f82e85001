#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// What an independent reader (python-docx, with zip and XML checks of the
// package) finds in a .docx; an empty object when the reader failed (the
// failure is printed).
QJsonObject readDocx(const QString &path);

// Every paragraph of the body in order, those of table cells included.
QJsonArray paragraphsOf(const QJsonObject &document);
QStringList paragraphTexts(const QJsonObject &document);
// The first run whose text contains `text`; empty when there is none.
QJsonObject runWith(const QJsonObject &document, const QString &text);
QJsonArray picturesOf(const QJsonObject &document);
