#pragma once

#include <QString>
#include <QVector>

namespace store {
class Connection;
}

namespace search {

// Every index row's texts in memory, case-folded, for what the trigram index
// cannot answer: one- and two-character words, and checking long or many
// words on the rows the index found. A scan of it takes a few milliseconds
// where reading the table back takes a hundred.
class TextCache {
public:
    static constexpr int Columns = 5; // title, body, stem, jx, note

    void load(store::Connection &c);
    bool isLoaded() const { return m_loaded; }
    void clear();

    int rowCount() const { return int(m_rows.size()); }
    qint64 rowId(int row) const { return m_rows.at(row).id; }
    // The row holding rowid `id`, or -1.
    int rowOf(qint64 id) const;

    // Rows whose text holds `term` (folded), in row order.
    QVector<int> rowsContaining(const QString &foldedTerm) const;
    bool rowContains(int row, const QString &foldedTerm) const;
    // Occurrences of the term in each column of the row, and the columns' lengths.
    void countIn(int row, const QString &foldedTerm, int counts[Columns]) const;
    int columnLength(int row, int column) const;
    double averageLength(int column) const { return m_average[column]; }

private:
    struct Row {
        qint64 id;
        int start[Columns + 1]; // column c spans [start[c], start[c + 1] - 1); a '\0' ends each
    };
    int rowAt(int position) const;

    QString m_text;
    QVector<Row> m_rows;
    double m_average[Columns] = {};
    bool m_loaded = false;
};

// The form in which texts and terms are compared: case-folded.
QString folded(const QString &text);

} // namespace search
