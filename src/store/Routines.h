#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The counter and helper routines every answering window shares. Yes/no
// arguments use the codes 1 (no) and 2 (yes). Database errors propagate as
// store::Error so that the caller's transaction rolls the whole answer back.

void LogAnswer(int firstToday, int wrong, int previouslyWrong);
void CountChapterAnswer(const QString &chapterCode, int firstEver, int wrong);
void CountPointAnswer(const QString &pointList, const QString &itemList, const QString &groupList, int firstEver,
                      int wrong);
void AddStudyTime(const QString &elapsed);
qint64 ParseHms(const QString &text);
int PaperTotalMarks();
bool FlashInstalled();
int AnswerPageOfType(int typeCode);
void SetVolumeLevel(int level);
void DropPaper(const QString &tableName);
void AllowZeroLength(const QString &tableName, const QString &connectionString);

// The music player registers here to receive the clamped volume level.
void SetVolumeSink(std::function<void(int)> sink);

// The three lists CountPointAnswer takes, built from a question's linked points:
// "('p1','p2')", their items (first 6 characters) and groups (first 2).
struct PointLists {
    QString points;
    QString items;
    QString groups;
    bool isEmpty() const { return points.isEmpty(); }
};
PointLists PointListsOf(const QStringList &pointIds);

// Linked points of the current row of a dataset with K3 … K12: up to the first empty one.
namespace store { class Dataset; }
QStringList LinkedPoints(const store::Dataset &row);

// hours:minutes:seconds with each part at least two digits.
QString FormatHms(qint64 totalSeconds);
QString PercentText(qint64 total, qint64 wrong);
