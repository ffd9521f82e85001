#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

namespace store {
class Connection;
}

namespace search {

// The names a result is shown with: subjects, chapters, question types and
// the catalogue's sections, read once when the search window opens.
class BankNames {
public:
    void load(store::Connection &c);

    QString subjectName(int subject) const;
    // "第一章 … › 第一节 …": the chapter and the section of a six-character code.
    QString chapterPath(const QString &code) const;
    QString typeName(int subject, int type) const;
    // The section an exam point belongs to (its first six characters).
    QString sectionOf(const QString &pointCode) const;
    // Every question type of the bank, by code, with its name in the first subject that has it.
    QVector<QPair<int, QString>> types() const { return m_types; }

private:
    QHash<QString, QString> m_chapters; // C1 → C2
    QHash<QString, QString> m_typeNames; // "subject/code" → B1
    QHash<QString, QString> m_catalogue; // tab_fgmc id → n
    QVector<QPair<int, QString>> m_types;
};

} // namespace search
