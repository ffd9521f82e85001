#pragma once

#include "BankNames.h"
#include "Searcher.h"

#include <QAbstractListModel>
#include <QStyledItemDelegate>

namespace search {

// The found questions and points, best first, each shown as its snippet with
// the words marked and a line with subject, chapter, type and the learner's
// last answer. Snippets are made when a row is first shown.
class ResultModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { SnippetHtmlRole = Qt::UserRole + 1, FactsHtmlRole, FactsTextRole };

    ResultModel(Searcher &searcher, const BankNames &names, QObject *parent = nullptr);

    void setResults(const Results &results);
    const Results &results() const { return m_results; }
    const Hit &hitAt(int row) const { return m_results.hits.at(row); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QString snippetHtml(int row) const;

    Searcher &m_searcher;
    const BankNames &m_names;
    Results m_results;
    mutable QHash<int, QString> m_snippets;
};

// The facts line of a result, e.g. "科目一 · 单项选择题 · 做错 · 第一章 … › 第一节 …".
QString factsOf(const Hit &hit, const BankNames &names);

// Marked words in bold on a light yellow ground, as in the detail view.
QString markedHtml(const Snippet &snippet);
QString stateText(AnswerState state);

// Draws a result row: the snippet, and below it the facts in a smaller grey line.
class ResultDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ResultDelegate(int bodyPixels, QObject *parent = nullptr)
        : QStyledItemDelegate(parent), m_bodyPixels(bodyPixels)
    {
    }
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    int m_bodyPixels;
};

} // namespace search
