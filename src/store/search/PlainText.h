#pragma once

#include <QString>
#include <QVariant>

namespace search {

// The text a learner reads in a bank field (RTF or plain, bytes or text),
// without formatting; null and blank give an empty string.
QString plainTextOf(const QVariant &value);

// The texts one index row holds.
struct RowTexts {
    QString title, body, stem, jx, note;

    bool operator==(const RowTexts &o) const
    {
        return title == o.title && body == o.body && stem == o.stem && jx == o.jx && note == o.note;
    }
    bool operator!=(const RowTexts &o) const { return !(*this == o); }
};

} // namespace search
