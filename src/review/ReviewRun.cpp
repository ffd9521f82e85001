#include "ReviewRun.h"

#include "DataModule.h"
#include "DueQueue.h"
#include "Error.h"
#include "Globals.h"
#include "ReviewSettings.h"
#include "TFrmDlg.h"
#include "WaitCursor.h"

#include <QScopeGuard>

namespace {

practice::PracticeVariant reviewVariant(const QString &caption, store::review::AnswerPlace place)
{
    return {QStringLiteral("FrmReview"),
            caption,
            QStringLiteral("请先做出答案！"),
            QStringLiteral("题目作废"),
            true,
            false,
            QStringLiteral("Lb_zs"),
            QStringLiteral("Lb_ts"),
            QStringLiteral("Lb_zb"),
            QStringLiteral("epEfTrBtn99"),
            QStringLiteral("epEfTrBtn7"),
            QSize(923, 585),
            QSize(780, 490),
            Qt::Horizontal,
            place};
}

void notice(const QString &text) { ShowMessageBox(QStringLiteral("提示"), text, 1, QStringLiteral("NO"), 0); }

} // namespace

TFrmReview::TFrmReview(const QString &caption, store::review::AnswerPlace place, QWidget *parent)
    : PracticeWindow(reviewVariant(caption, place), parent)
{
    setWindowTitle(caption);
}

namespace review {

bool practise(const QStringList &questions, const QString &caption, const QString &board,
              store::review::AnswerPlace place, QWidget *opener)
{
    ui::WaitCursor hourglass;
    PracticeSql = store::review::orderedRunSql(DataModule->ADOCn1, questions);
    TFrmReview window(caption, place);
    if (!window.PrepareSession()) {
        hourglass.restore();
        notice(QStringLiteral("恭喜你，习题已做完！"));
        return false;
    }
    const auto showAgain = qScopeGuard([opener] {
        if (opener)
            opener->show();
    });
    if (opener)
        opener->hide();
    window.setBoardText(board);
    hourglass.restore();
    window.exec();
    return true;
}

bool runTodaysReview(QWidget *opener)
{
    store::Connection &c = DataModule->ADOCn1;
    const QDateTime now = store::review::now();
    const int left = store::review::reviewLeft(c, now.date());
    const QVector<store::review::DueQuestion> due =
        left > 0 ? store::review::dueQueue(c, now, left) : QVector<store::review::DueQuestion>();
    if (due.isEmpty()) {
        notice(QStringLiteral("今天没有需要复习的题目！"));
        return false;
    }
    QStringList ids;
    int wrong = 0;
    for (const store::review::DueQuestion &d : due) {
        ids << d.question;
        wrong += d.lastWrong ? 1 : 0;
    }
    const QString board = QStringLiteral("今日复习：%1 道题，上次做错的 %2 道排在前面，其余按遗忘程度排列。")
                              .arg(ids.size())
                              .arg(wrong);
    return practise(ids, QStringLiteral("今日复习"), board, store::review::AnswerPlace::Review, opener);
}

} // namespace review
