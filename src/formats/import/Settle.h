#pragma once

#include "Markers.h"
#include "Recognized.h"

namespace formats::import {

// What was found about a question besides its text.
struct Evidence {
    int headingType = 0;        // from the section heading or 题型 column: 11, 14, 41, kSubjective, 0
    QString headingKind;        // "多选" "不定项" "案例" …
    bool optionsAllowed = true; // false under a subjective heading
    Key key;                    // explicit, listed or bracketed key; invalid = none
    bool keyConflict = false;   // two places give different keys
    QString answerText;         // a written answer that is no key (a subjective question's reference answer)
    QString answerTextRtf;
};

// Decides type and key of a question whose stem, options and explanation are
// filled in, and adds the reasons for doubt to its problems.
void settle(RecognizedQuestion &question, const Evidence &evidence, int subject);

namespace reasons {
inline QString noKey() { return QStringLiteral("没有找到答案"); }
inline QString keyNotInOptions() { return QStringLiteral("答案不在选项中"); }
inline QString oneOption() { return QStringLiteral("只有一个选项"); }
inline QString noOptions() { return QStringLiteral("没有找到选项"); }
inline QString noStem() { return QStringLiteral("没有找到题干"); }
inline QString keyConflict() { return QStringLiteral("答案前后不一致"); }
inline QString unknownType() { return QStringLiteral("无法判断题型"); }
inline QString singleWithSeveral() { return QStringLiteral("单选题给出了多个答案"); }
inline QString multipleWithOne() { return QStringLiteral("多选题只有一个答案"); }
inline QString emptyOption() { return QStringLiteral("有选项内容为空"); }
inline QString unreadablePicture() { return QStringLiteral("含有无法读取的图片或公式"); }
inline QString typeMismatch() { return QStringLiteral("题型与题目内容不符"); }
} // namespace reasons

} // namespace formats::import
