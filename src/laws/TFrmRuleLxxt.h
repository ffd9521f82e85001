#pragma once

#include "PracticeWindow.h"

// Exam-point practice: every question linked to one point, counted as in
// chapter practice. The opener puts the point's title on the board.
class TFrmRuleLxxt : public practice::PracticeWindow {
    Q_OBJECT
public:
    explicit TFrmRuleLxxt(QWidget *parent = nullptr);
};
