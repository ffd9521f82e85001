#pragma once

#include "QuestionRules.h"
#include "Recognized.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>
#include <stdexcept>

namespace store { class Connection; }

// What an import will write, before it touches the bank: the recognized
// questions with the learner's corrections, where each one goes, and why a
// question is flagged or cannot be imported.
namespace importing {

// A request the bank cannot carry out; the message is for the learner.
class ImportRefused : public std::runtime_error {
public:
    explicit ImportRefused(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

extern const QString kDuplicateReason; // "与题库中的题目重复"

// What the bank says about the section the questions go to.
struct ImportTarget {
    QString section;                            // the chosen 6-character chapter
    QString sectionName;
    QVector<authoring::QuestionType> types;     // of the section's subject
    QHash<QString, QString> sectionsByHeading;  // code or name of a section of that subject -> code
    QHash<QString, QString> sectionNames;       // code -> name
    QSet<QString> bankTexts;                    // comparisonText of every question in the bank

    // Reads it from the bank; ImportRefused when `section` is not a section of the bank.
    static ImportTarget read(store::Connection &connection, const QString &section);
};

struct ImportItem {
    formats::import::RecognizedQuestion question; // with the learner's corrections
    QString chapter;        // the section it goes to
    bool duplicate = false; // its text is already in the bank
    bool excluded = false;  // left out by the learner (flagged questions start out left out)
    bool corrected = false; // the learner set its type or key
};

struct ImportCounts {
    int recognized = 0;
    int flagged = 0;
    int duplicates = 0;
    int toImport = 0;
};

class ImportPlan {
public:
    ImportPlan(const formats::import::Recognition &recognition, const ImportTarget &target);

    const ImportTarget &target() const { return m_target; }
    const QVector<ImportItem> &items() const { return m_items; }
    const QVector<formats::import::RecognitionProblem> &unplaced() const { return m_unplaced; }

    // Why the question cannot be written as it stands; empty when it can.
    QString blocker(int index) const;
    // The reasons shown beside the question: the recognizer's (until the
    // learner corrects it), the duplicate flag, and the blocker.
    QStringList problemsOf(int index) const;
    bool isFlagged(int index) const { return !problemsOf(index).isEmpty(); }
    bool willImport(int index) const { return !m_items.at(index).excluded && blocker(index).isEmpty(); }
    ImportCounts counts() const;

    // Option buttons the question gets: 1 for a self-assessed type, 2 for true/false.
    int optionCount(int index) const;
    const authoring::QuestionType *typeOf(int index) const;

    // Keeps what the learner decided in an earlier plan of the same file (read
    // again after an import or for another section): corrections, and questions
    // left out stay out.
    void carryOver(const ImportPlan &earlier);

    void setExcluded(int index, bool excluded);
    void setType(int index, int type);
    // Stores the key as question entry would; a key it refuses stays as typed and blocks the question.
    void setKey(int index, const QString &typed);

private:
    ImportTarget m_target;
    QVector<ImportItem> m_items;
    QVector<formats::import::RecognitionProblem> m_unplaced;
};

} // namespace importing
