#include "TFrmLxxt.h"

#include "DataModule.h"
#include "Error.h"
#include "TFrmDlg.h"
#include "TfrmTedit.h"

#include <QPushButton>

namespace {

const practice::PracticeVariant kChapterPractice{
    QStringLiteral("FrmLxxt"),  QStringLiteral("练习新题"), QStringLiteral("请先做出答案！"),
    QStringLiteral("题目作废"), true, true,
    QStringLiteral("Lb_zs"),    QStringLiteral("Lb_ts"),    QStringLiteral("Lb_zb"),
    QStringLiteral("epEfTrBtn99"), QStringLiteral("epEfTrBtn7"),
    QSize(923, 585), QSize(780, 490), Qt::Horizontal};

} // namespace

TFrmLxxt::TFrmLxxt(QWidget *parent) : TFrmLxxt(kChapterPractice, parent) {}

practice::PracticeVariant TFrmLxxt::chapterVariant() { return kChapterPractice; }

TFrmLxxt::TFrmLxxt(const practice::PracticeVariant &variant, QWidget *parent) : PracticeWindow(variant, parent)
{
    setWindowTitle(variant.caption);
    epEfTrBtn11->show();
    connect(epEfTrBtn11, &QPushButton::clicked, this, &TFrmLxxt::epEfTrBtn11Click);
}

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
        ShowMessageBox(QStringLiteral("错误"), e.learnerMessage(), 1, QStringLiteral("NO"), 2);
    }
    if (timing)
        Timer1->start();
}
