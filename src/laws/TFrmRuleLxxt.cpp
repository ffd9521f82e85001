#include "TFrmRuleLxxt.h"

namespace {

const practice::PracticeVariant kPointPractice{
    QStringLiteral("FrmRuleLxxt"), QStringLiteral("考点练习"), QStringLiteral("题还没做呢！"),
    QStringLiteral("本题作废"),    false, false,
    QStringLiteral("Label3"),      QStringLiteral("Label5"),   QStringLiteral("Label8"),
    QStringLiteral("epEfTrBtn7"),  QStringLiteral("epEfTrBtnwin"),
    QSize(905, 585), QSize(774, 489), Qt::Vertical, store::review::AnswerPlace::PointPractice};

} // namespace

TFrmRuleLxxt::TFrmRuleLxxt(QWidget *parent) : PracticeWindow(kPointPractice, parent) {}
