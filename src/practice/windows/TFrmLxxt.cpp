#include "TFrmLxxt.h"

#include "Globals.h"

TFrmLxxt::TFrmLxxt(QWidget *parent) : PracticeWindow(parent)
{
    setObjectName(QStringLiteral("FrmLxxt"));
    setWindowTitle(QStringLiteral("练习新题"));
}

QString TFrmLxxt::missingAnswerMessage() const { return QStringLiteral("请先做出答案！"); }

QString TFrmLxxt::hintBoardText() const { return CurrentChapterCode; }
