#include "TFrmLxxt.h"

#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "TFrmDlg.h"
#include "TfrmTedit.h"

#include <QPushButton>

TFrmLxxt::TFrmLxxt(QWidget *parent) : PracticeWindow(parent)
{
    setObjectName(QStringLiteral("FrmLxxt"));
    setWindowTitle(QStringLiteral("练习新题"));
    epEfTrBtn11->show();
    connect(epEfTrBtn11, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn11Click);
}

QString TFrmLxxt::missingAnswerMessage() const { return QStringLiteral("请先做出答案！"); }

QString TFrmLxxt::hintBoardText() const { return CurrentChapterCode; }

void TFrmLxxt::epEfTrBtn11Click()
{
    if (currentRecord() <= 0)
        return;
    // The answer time does not run while the question is being edited; once
    // it has run out it stays out.
    const bool timing = Timer1->isActive();
    Timer1->stop();
    DataModule->Cn1Query_tm.setRecNo(currentRecord());
    try {
        TfrmTedit edit(this);
        if (edit.exec() == QDialog::Accepted)
            refreshCurrentQuestion();
    } catch (const store::Error &e) {
        ShowMessageBox(QStringLiteral("错误"), e.message(), 1, QStringLiteral("NO"), 2);
    }
    if (timing)
        Timer1->start();
}
