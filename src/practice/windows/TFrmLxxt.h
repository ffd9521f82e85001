#pragma once

#include "PracticeWindow.h"

// Chapter practice: the questions the chapter selector chose, with the
// chapter's hint on the board.
class TFrmLxxt : public practice::PracticeWindow {
    Q_OBJECT
public:
    explicit TFrmLxxt(QWidget *parent = nullptr);
};
