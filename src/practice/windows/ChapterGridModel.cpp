#include "ChapterGridModel.h"

namespace practice {

ChapterGridModel::ChapterGridModel(QObject *parent)
    : store::GridModel({{QStringLiteral("C2"), QStringLiteral("章节名称")},
                        {QStringLiteral("C3"), QStringLiteral("习题数目")},
                        {QStringLiteral("C4"), QStringLiteral("已做题数")},
                        {QStringLiteral("D1"), QStringLiteral("已做道次")},
                        {QStringLiteral("D2"), QStringLiteral("做错道次")},
                        {QStringLiteral("C6"), QStringLiteral("综合成绩"), true}},
                       parent)
{
}

} // namespace practice
