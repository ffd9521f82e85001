#pragma once

#include "GridModel.h"

namespace practice {

// The rows of the chapter table as the selector's grid lists them: name,
// questions, done, attempts, wrong attempts and composite score.
class ChapterGridModel : public store::GridModel {
    Q_OBJECT
public:
    explicit ChapterGridModel(QObject *parent = nullptr);
};

} // namespace practice
