#pragma once

#include "QuestionRules.h"

#include <QString>
#include <QStringList>

namespace store {
class Connection;
class Dataset;
} // namespace store

// The writes of question entry and edit. Each save is one transaction: on a
// database error nothing of it stays and the store::Error reaches the caller.
namespace authoring {

struct QuestionContent {
    int type = 0;
    int options = 0;
    QString key;         // already checked (checkKey)
    QString body;        // RTF
    QString explanation; // RTF; null for none
    QStringList points;  // linked exam points in list order
};

struct EntryResult {
    QString id;                     // empty when nothing was written
    bool sequenceExhausted = false; // the learner's 9999 ids are used up
};

// A new question of the learner in `chapterCode`: its tab_answ and tab_exer
// rows (F1 = 2, counters 0), C3 + 1 on the chapter and its ancestors, and
// the question counts of its points, their sections and groups.
EntryResult addOwnQuestion(store::Connection &connection, const QString &chapterCode, const QuestionContent &content);

// The writes of addOwnQuestion for a sequence number the caller has checked,
// inside the caller's transaction; returns the new id. An import of many
// questions reads the last sequence once and numbers on from it.
QString insertOwnQuestion(store::Connection &connection, const QString &chapterCode, const QuestionContent &content,
                          int sequence);

// C3 of the chapter and of its 4-, 2- and 1-character ancestors changes by `change`.
void countInChapters(store::Connection &connection, const QString &chapterCode, int change);

// Saves an edit of the current rows of the practice window's datasets: the
// question (`question`, a row of tab_answ), its text (`text`, tab_exer) and,
// for a grouped question, the shared stem (`stem`, tab_title; null for
// none). ECOUNT grows by one. The links are packed into K3 … in list order;
// every point linked before or after, with its item and group, is recounted.
void saveEdit(store::Dataset &question, store::Dataset &text, store::Dataset *stem, const QuestionContent &content,
              const QString &stemText);

// Every non-empty field of K3 … K12 in order, also those after an empty one
// (rows from outside may have gaps): what the edit window lists.
QStringList filledLinks(const store::Dataset &question);

} // namespace authoring
