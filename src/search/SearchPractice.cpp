#include "SearchPractice.h"

#include "Connection.h"

namespace search {

namespace {

practice::PracticeVariant searchVariant()
{
    practice::PracticeVariant v = TFrmLxxt::chapterVariant();
    v.objectName = QStringLiteral("FrmSearchLxxt");
    v.caption = QStringLiteral("搜索练习");
    v.boardShowsChapter = false;
    return v;
}

} // namespace

QString practiceSql(const QStringList &questionIds)
{
    const QString select = QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,"
                                          "e3,e4,f1,xx,csbs,ecount from tab_answ where ");
    if (questionIds.isEmpty())
        return select + QStringLiteral("0");
    QStringList quoted, order;
    for (int i = 0; i < questionIds.size(); ++i) {
        const QString id = store::quoted(questionIds.at(i));
        quoted << id;
        order << QStringLiteral("when %1 then %2").arg(id).arg(i);
    }
    return select + QStringLiteral("a1 in (%1) order by case a1 %2 end").arg(quoted.join(QLatin1Char(',')),
                                                                          order.join(QLatin1Char(' ')));
}

SearchPracticeWindow::SearchPracticeWindow(QWidget *parent) : TFrmLxxt(searchVariant(), parent) {}

} // namespace search
