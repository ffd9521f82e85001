#pragma once

#include "Dataset.h"

#include <QStringList>

// The data side of the related-points window of a question: the linked
// point codes, their titles and texts, and the section of the point selected.
namespace practice {

class RelatedPoints {
public:
    explicit RelatedPoints(store::Connection *connection);

    // Reads the question's K3 … K12; an empty link is skipped, not the end of the list.
    // True when at least one point is linked.
    bool loadLinks(const QString &questionId);
    QStringList codes() const { return m_codes; }

    // Opens the linked points that exist; titles in the order the query returns them.
    // The first point is selected.
    void openPoints();
    QStringList titles() const { return m_titles; }
    // The open points, one row per title; the text view binds to its field "n".
    store::Query &points() { return m_points; }

    // Moves to the point of title `index`; the section name follows that point's own row.
    void select(int index);
    QString pointText() const;
    // Name of the selected point's section; kept from before when its section row is missing,
    // empty until one was found.
    QString sectionName() const { return m_sectionName; }

private:
    void readSectionOfCurrent();

    store::Query m_points;  // the question's links, then the linked points
    store::Query m_section; // the section of a point
    QStringList m_codes;
    QStringList m_titles;
    QString m_sectionName;
};

} // namespace practice
