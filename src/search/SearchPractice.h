#pragma once

#include "TFrmLxxt.h"

#include <QStringList>

namespace search {

// The practice run of search results: these questions, in this order.
QString practiceSql(const QStringList &questionIds);

// The chapter practice machine on the search results: the board shows the
// query instead of a chapter's hint.
class SearchPracticeWindow : public TFrmLxxt {
    Q_OBJECT
public:
    explicit SearchPracticeWindow(QWidget *parent = nullptr);
};

} // namespace search
