#include "MockExam.h"

#include "DataModule.h"
#include "Error.h"
#include "Globals.h"
#include "PaperBuilder.h"
#include "Routines.h"
#include "TFrmDlg.h"
#include "TFrmExam.h"
#include "TFrmProgress.h"
#include "WaitCursor.h"

#include <QTimer>

namespace {

void errorBox(const QString &text) { ShowMessageBox(QStringLiteral("错误"), text, 1, QStringLiteral("NO"), 2); }

// Shows the window modally with the hourglass until it is on screen.
void sit(TFrmExam &window, ui::WaitCursor &hourglass)
{
    QTimer::singleShot(0, &window, [&hourglass] { hourglass.restore(); });
    window.exec();
    hourglass.restore();
}

} // namespace

void mnks(int subject)
{
    ui::WaitCursor hourglass;
    CurrentSubject = subject;
    store::Table &types = DataModule->Cn1Table_tx;
    types.close();
    types.setTableName(QStringLiteral("tab_tx") + QString::number(subject));
    exam::BuiltPaper built;
    QString failure;
    {
        // The wait window stays on top: it goes before any box or the exam window shows.
        ProgressScope progress(QStringLiteral("正在初始化数据..."));
        try {
            built = exam::buildPaper(subject, [&progress](const QString &text) { progress.setText(text); });
        } catch (const exam::PaperError &e) {
            failure = e.text;
        } catch (const store::Error &e) {
            failure = e.condition() == store::Condition::Other ? QStringLiteral("建立数据表时发生错误！")
                                                               : e.learnerMessage();
        }
    }
    if (!failure.isEmpty()) {
        hourglass.restore();
        errorBox(failure);
        return;
    }
    TFrmExam window;
    window.InitPaper(built.name.table, built.name.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
    if (!window.OpenPaper()) {
        DropPaper(built.name.table);
        return;
    }
    sit(window, hourglass);
}

bool reviewPaper(const QString &tableName, const QString &title, double score, const QString &timeText)
{
    ui::WaitCursor hourglass;
    TFrmExam window;
    window.InitPaper(tableName, title, QStringLiteral("old"), score, timeText);
    if (!window.OpenPaper())
        return false;
    sit(window, hourglass);
    return true;
}
