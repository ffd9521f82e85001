#pragma once

#include "ImportPlan.h"

#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace store { class Connection; }

// Writing an import plan into the bank as one batch, and taking a batch back.
// Both make a backup first and run in one transaction: on any error the bank
// stays exactly as it was.
namespace importing {

struct ImportOutcome {
    qint64 batch = 0;
    QStringList ids;                   // the new questions, in file order
    QMap<QString, int> perSection;     // section code -> questions written there
};

// Writes every question the plan will import as the learner's own question
// (exactly like question entry) and records the batch under the file's name.
// ImportRefused when there is nothing to import or the learner's ids would run out.
ImportOutcome importPlan(store::Connection &connection, const ImportPlan &plan, const QString &fileName,
                         const QString &backupFolder, const QDateTime &now = QDateTime::currentDateTime());

// "已导入 12 道题到 [010101 第一节 …]。" for the result message.
QString outcomeText(const ImportOutcome &outcome, const ImportTarget &target);

struct BatchInfo {
    qint64 id = 0;
    QString file;
    QDateTime made;
    QString section;
    QString sectionName;
    int questions = 0; // still in the bank
    int answered = 0;  // of them, answered at least once
};

// Newest first.
QVector<BatchInfo> listBatches(store::Connection &connection);

struct UndoOutcome {
    int removed = 0;
    int answered = 0;
};

// Removes the batch's questions with their texts and takes them out of every
// counter: the question counts of chapters and exam points and, for answered
// questions, their answers in the chapter and exam-point counters. The day
// log keeps its history. ImportRefused for a batch that does not exist.
UndoOutcome undoBatch(store::Connection &connection, qint64 batch, const QString &backupFolder,
                      const QDateTime &now = QDateTime::currentDateTime());

} // namespace importing
