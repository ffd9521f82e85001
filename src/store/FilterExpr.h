#pragma once

#include <QRegularExpression>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace store {

// A dataset filter in ADO's syntax: comparisons of a field with a literal
// (= <> < > <= >=, like with * or % wildcards, is [not] null) joined by
// and/or/not and parentheses. A NULL field value never matches a comparison.
class FilterExpr {
public:
    using FieldLookup = std::function<QVariant(const QString &field)>;

    // Throws store::Error for text that is not a valid filter.
    static FilterExpr parse(const QString &text);

    bool matches(const FieldLookup &field) const;
    bool isEmpty() const { return !m_root; }

    struct Node;

private:
    std::shared_ptr<const Node> m_root;
};

// Compares two values as ADO does: numerically when both read as numbers,
// otherwise as case-insensitive text. Dates compare by their ISO text.
int compareValues(const QVariant &a, const QVariant &b);

// Jet's like: * and % match any run of characters, case-insensitive.
QRegularExpression likeRegex(const QString &pattern);
bool likeMatches(const QString &value, const QString &pattern);

} // namespace store
