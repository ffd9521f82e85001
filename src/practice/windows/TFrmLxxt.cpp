#include "TFrmLxxt.h"

namespace {

const practice::PracticeVariant kChapterPractice{
    QStringLiteral("FrmLxxt"),  QStringLiteral("练习新题"), QStringLiteral("请先做出答案！"),
    QStringLiteral("题目作废"), true, true,
    QStringLiteral("Lb_zs"),    QStringLiteral("Lb_ts"),    QStringLiteral("Lb_zb"),
    QStringLiteral("epEfTrBtn99"), QStringLiteral("epEfTrBtn7"),
    QSize(923, 585), QSize(780, 490), Qt::Horizontal};

} // namespace

TFrmLxxt::TFrmLxxt(QWidget *parent) : PracticeWindow(kChapterPractice, parent)
{
    setWindowTitle(kChapterPractice.caption);
}
