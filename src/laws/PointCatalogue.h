#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace store { class Dataset; class Query; }

// The data side of the exam-point browser: the catalogue of groups and
// sections with their counters, a section's points, the key-point rule and
// the question set of one point.
namespace laws {

struct CatalogueRow {
    QString id; // 2 characters: a group; 6: a section
    QString name;
    int q = 0, q1 = 0, q2 = 0, q4 = 0;
};

// Every catalogue row in bh order, read on `query`.
QVector<CatalogueRow> readCatalogue(store::Query &query);

// A counter as the grid shows it: right-aligned in 9 characters.
QString counterCell(int value);

// The first name that contains the trimmed text; -1 for blank text or no match.
int findRow(const QStringList &names, const QString &text);

// Groups have codes of one or two characters and hold no points.
bool isGroupId(const QString &id);

// Points of the section, counted on `query`.
int sectionPointCount(store::Query &query, const QString &sectionId);
// The section's average number of questions per point, at least 1; 1 when
// the question count cell does not read as a number.
int keyPointThreshold(const QString &questionCountCell, int points);
QString keyPointFilter(int threshold);

QString sectionPointsSql(const QString &sectionId);

// A point's list entry: its title, followed by "(q)" when questions are linked.
QString pointEntry(const QString &storedTitle, int questions);
// The title of a list entry: the text before the first "(".
QString pointTitle(const QString &entry);
// The note bar under a point, and whether 练习 may start on it.
struct PointNote {
    QString text;
    bool practicable = false;
};
PointNote pointNote(const store::Dataset &point);
// For an entry that shows no question count, without reading the point.
PointNote pointNoteWithoutQuestions();

// The questions linked to the point through K3 … K12, voided ones included.
QString pointPracticeSql(const QString &pointCode);

} // namespace laws
