#include "PlanLogic.h"

#include "ColorRef.h"

#include <QRegularExpression>

namespace study {

namespace {
const quint32 kGreen = 2476900;
const quint32 kRed = 255;
const int kShownLimit = 1000;
const int kLargestTarget = 999;

// An empty edit counts as 0; anything else must be digits only.
bool readTarget(const QString &text, int &value)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        value = 0;
        return true;
    }
    bool ok = false;
    value = t.toInt(&ok);
    return ok && value >= 0 && !t.startsWith(QLatin1Char('+'));
}
} // namespace

int DaysUntil(const QDate &today, const QDate &examDay) { return int(today.daysTo(examDay)); }

Countdown CountdownFor(int days)
{
    Countdown c;
    c.number = days < kShownLimit ? QString::number(days) : QStringLiteral("999");
    if (days < 0) {
        c.headline = QStringLiteral("考试已结束！");
    } else if (days == 0) {
        c.headline = QStringLiteral("祝考试成功！");
    } else {
        c.headline = QStringLiteral("距离考试还有");
        c.numberShown = true;
        c.colour = ui::fromColorRef(days > 7 ? kGreen : kRed);
    }
    return c;
}

Countdown CountdownUnset()
{
    Countdown c;
    c.headline = QStringLiteral("请设定考试日期");
    return c;
}

QDate ParseStoredDate(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return QDate();
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

CheckedPlan CheckPlan(const PlanEntry &entry)
{
    CheckedPlan result;
    const bool byMinutes = entry.mark == 1;
    const bool questionsOk = readTarget(entry.questionsText, result.questions);
    const bool minutesOk = readTarget(entry.minutesText, result.minutes);
    const int chosen = byMinutes ? result.minutes : result.questions;
    if (!entry.examDay.isValid())
        result.problem = QStringLiteral("请设定考试日期！");
    else if (!(byMinutes ? minutesOk : questionsOk) || chosen < 1 || chosen > kLargestTarget)
        result.problem = byMinutes ? QStringLiteral("请输入每天的学习时间（1～999分钟）！")
                                   : QStringLiteral("请输入每天的作题数量（1～999道）！");
    else if (!questionsOk || !minutesOk)
        result.problem = QStringLiteral("每天的作题数量和学习时间只能是数字！");
    return result;
}

} // namespace study
