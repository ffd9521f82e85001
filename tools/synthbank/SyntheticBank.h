#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// A question bank of any size with the shape of a real one, for measuring and
// stress-testing: five subjects with a four-level chapter tree, a catalogue of
// groups, sections and points, questions of the common types linked to up to
// three points, grouped questions with shared stems, and no progress yet.
struct SyntheticBankShape {
    int questions = 50000;
    int sectionsPerSubject = 4; // chapter levels below a subject: 4 × 10 × 10 ≈ 2,000 chapters in all
    int chaptersPerSection = 10;
    int partsPerChapter = 10;
    int pointGroups = 30;       // 30 groups × 10 sections × 10 points = 3,000 points
    int sectionsPerGroup = 10;
    int pointsPerSection = 10;
    int firstChapterQuestions = 0; // questions put into the first chapter before the others are filled evenly
    unsigned seed = 1;
};

struct SyntheticBank {
    QString file;
    QStringList leafChapters; // six-character chapter codes that hold questions
    QStringList points;       // every point code (tab_rule.ftid)
};

// Writes a new bank file (refuses an existing one) and returns what it holds;
// progress hears of every 10,000 questions written.
using BuildProgress = std::function<void(int done, int total)>;
SyntheticBank createSyntheticBank(const QString &file, const SyntheticBankShape &shape = {},
                                  const BuildProgress &progress = {});
