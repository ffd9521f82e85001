#pragma once

#include "AnswerHistory.h"

#include <QSize>
#include <qnamespace.h>
#include <QString>

namespace practice {

// What sets one practice window apart from the other on the shared machine.
struct PracticeVariant {
    QString objectName;
    QString caption;           // design caption, shown when the opener gives none
    QString missingAnswer;     // 完成 without an answer
    QString voidCaption;       // the void button while the question stands
    bool offersExplanation;    // 解析 is shown
    bool boardShowsChapter;    // the hint board shows CurrentChapterCode; otherwise the opener fills it
    // Object names of the "共 G 组 N 道题", "第 g 组" figures and of the close and desktop commands.
    QString groupsName, totalName, groupName;
    QString closeName, desktopName;
    QSize designSize, compactSize;
    Qt::Orientation gauge;     // the answer-time gauge
    store::review::AnswerPlace place = store::review::AnswerPlace::Practice; // kept with each answer
};

} // namespace practice
