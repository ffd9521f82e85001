#pragma once

#include "Records.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

namespace bank {

struct Where {
    QString file;
    int line = 0;
};

struct QuestionType {
    int code = 0;
    QString name;
    int count = 0;
    int marks = 0;
    double minutes = 1.0;
};

struct Chapter {
    QString code;
    QString name;
    QString hint;
    QStringList guide;
    bool chart = false;
};

struct Question {
    int type = 0;
    QString chapter;
    QStringList stem;
    QStringList options; // A, B, … in order
    QString key;
    QStringList explanation;
    QStringList points;
    int group = -1; // index into Subject::groups, or -1
    Where where;
};

struct Group {
    QString chapter;
    QStringList stem;
    Where where;
};

struct Subject {
    int number = 0;
    QVector<QuestionType> types;
    QVector<Chapter> chapters;
    QVector<Question> questions;
    QVector<Group> groups;
};

struct Point {
    QString code;
    QString title;
    QStringList text;
};

struct CatalogueEntry { // a law (2 characters) or one of its items (6)
    QString code;
    QString name;
};

struct Plan {
    int mode = 0;
    int questions = 50;
    int minutes = 60;
    int examInDays = 150;
    int leastMark = 60;
    int examMinutes = 150;
    QString productId;
};

struct Content {
    Plan plan;
    QVector<Subject> subjects; // 1 … 5
    QVector<CatalogueEntry> catalogue;
    QVector<Point> points;
};

// Reads and validates a content folder; throws SourceErrors listing every fault found.
Content readContent(const QString &folder);
// The same for the content of an upgrade file: only the subjects with a folder.
Content readUpgradeContent(const QString &folder);

bool isSubjectiveType(int code);
bool isChoiceType(int code);

} // namespace bank
