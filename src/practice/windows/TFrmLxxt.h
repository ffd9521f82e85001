#pragma once

#include "PracticeWindow.h"

// Chapter practice: the questions the chapter selector chose, with the
// chapter's hint on the board and "修改本题" for the question on display.
class TFrmLxxt : public practice::PracticeWindow {
    Q_OBJECT
public:
    explicit TFrmLxxt(QWidget *parent = nullptr);

    // The chapter practice window's variant, for windows that differ only a little.
    static practice::PracticeVariant chapterVariant();

protected:
    TFrmLxxt(const practice::PracticeVariant &variant, QWidget *parent);

private:
    void epEfTrBtn11Click();
};
