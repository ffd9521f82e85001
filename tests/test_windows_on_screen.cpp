// Opens every window of the program from its real opener, on a screen of one
// class (the first argument: 1024 or 800), and fails when a window reaches
// beyond the screen's available area, when a control shows a text wider than
// itself, when Escape does not close a window that has 关闭 or 取消, or when a
// message comes in Qt's own message box instead of the program's.
#include "AnswerPages.h"
#include "DataModule.h"
#include "DemoBank.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "Look.h"
#include "MessageRecorder.h"
#include "PageViewer.h"
#include "Screens.h"
#include "ShellOpener.h"
#include "Startup.h"
#include "SystemMessageBox.h"
#include "TFrmStart.h"
#include "Clock.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QtTest>

namespace {

QStringList problems;

// Records every Qt message box that is shown: the program draws its own.
class SystemBoxWatch : public QObject {
protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched))
            problems << QStringLiteral("a message in Qt's box: %1").arg(static_cast<QMessageBox *>(watched)->text());
        return false;
    }
};

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        QTest::qWait(10);
    }
}

QString shownText(const QString &text)
{
    QString shown = text;
    return shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
}

int widestLine(const QFontMetrics &metrics, const QString &text)
{
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest;
}

// Why `widget` shows its text cut off, or an empty string.
QString clippedText(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull()
            || (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(label->text())))
            return {};
        const int room = label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent());
        const int needed = widestLine(label->fontMetrics(), shownText(label->text()));
        return needed > room + 1 ? QStringLiteral("%1 needs %2 px, has %3").arg(label->text()).arg(needed).arg(room)
                                 : QString();
    }
    const auto *button = qobject_cast<const QAbstractButton *>(widget);
    if (!button || button->text().isEmpty())
        return {};
    int needed = widestLine(button->fontMetrics(), shownText(button->text()));
    int room = button->width() - 2;
    if (qobject_cast<const QRadioButton *>(button) || qobject_cast<const QCheckBox *>(button)) {
        needed = button->sizeHint().width();
        room = button->width();
    } else if (!button->icon().isNull()) {
        needed += button->iconSize().width() + 4;
    }
    return needed > room ? QStringLiteral("%1 needs %2 px, has %3").arg(button->text()).arg(needed).arg(room)
                         : QString();
}

void inspect(QWidget *window, const QString &name)
{
    settle();
    const QRect available = window->screen()->availableGeometry();
    if (!available.contains(window->frameGeometry()))
        problems << QStringLiteral("%1 lies at %2,%3 %4×%5, beyond the screen")
                        .arg(name)
                        .arg(window->frameGeometry().x())
                        .arg(window->frameGeometry().y())
                        .arg(window->frameGeometry().width())
                        .arg(window->frameGeometry().height());
    for (QWidget *child : window->findChildren<QWidget *>()) {
        if (!child->isVisible() || child->window() != window)
            continue;
        if (const QString why = clippedText(child); !why.isEmpty())
            problems << QStringLiteral("%1/%2: %3").arg(name, child->objectName(), why);
    }
    SaveScreen(*window, name);
}

// Escape closes a secondary window, as its 关闭 or 取消 would.
void closeByEscape(QWidget *window, const QString &name)
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window ? focus : window, Qt::Key_Escape);
    settle();
    if (window->isVisible()) {
        problems << name + QStringLiteral(": Escape leaves it open");
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->done(QDialog::Rejected);
        else
            window->close();
    }
}

using Inside = std::function<void(QWidget *)>;

// Runs `open`, which shows a modal window and returns when it closes; while
// the window is up it is inspected, `inside` runs on it, and Escape closes it
// unless `inside` closed it already.
void visit(const QString &name, const std::function<void()> &open, const Inside &inside = {})
{
    QWidget *before = QApplication::activeModalWidget();
    bool seen = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window || window == before || !window->isVisible())
            return;
        poll.stop();
        seen = true;
        inspect(window, name);
        if (inside)
            inside(window);
        if (window->isVisible())
            closeByEscape(window, name);
    });
    poll.start();
    open();
    poll.stop();
    if (!seen)
        problems << name + QStringLiteral(": no window opened");
}

void click(QWidget *window, const char *button)
{
    auto *b = window->findChild<QAbstractButton *>(QLatin1String(button));
    if (!b || !b->isEnabled()) {
        problems << QStringLiteral("%1: no enabled %2").arg(window->objectName(), QLatin1String(button));
        return;
    }
    b->click();
}

// Opens a window from a button of `window`.
void visitFrom(QWidget *window, const char *button, const QString &name, const Inside &inside = {})
{
    visit(name, [window, button] { click(window, button); }, inside);
}

practice::AnswerPages *answerPages(QWidget *window, const QString &name)
{
    auto *pages = window->findChild<practice::AnswerPages *>(QStringLiteral("Notebook1"));
    if (!pages)
        problems << QStringLiteral("%1: %2 opened instead %3")
                        .arg(name, window->objectName(),
                             window->findChild<QLabel *>("fcLabel1") ? window->findChild<QLabel *>("fcLabel1")->text()
                                                                     : QString());
    return pages;
}

// Every option of a page with six lies wholly inside the window's view.
void allOptionsInView(QWidget *window, const QString &name, practice::AnswerPages *pages)
{
    const int shown = pages->currentIndex();
    const int offered = pages->optionCount();
    pages->setCurrentIndex(1);
    pages->offerOptions(6);
    settle();
    QWidget *board = pages->currentWidget();
    for (QAbstractButton *option : board->findChildren<QAbstractButton *>()) {
        if (option->isHidden())
            continue;
        const QRect inWindow(option->mapTo(window, QPoint(0, 0)), option->size());
        const QRect inPages(option->mapTo(pages, QPoint(0, 0)), option->size());
        if (!pages->rect().contains(inPages) || !window->rect().contains(inWindow))
            problems << QStringLiteral("%1: option %2 is cut off").arg(name, option->text());
    }
    pages->setCurrentIndex(shown);
    pages->offerOptions(offered);
}

// A reviewed answer: the chosen option stays pressed, and looks it, while it cannot be changed.
void chosenOptionShowsPressed(QWidget *window, const QString &name)
{
    auto *chosen = window->findChild<QAbstractButton *>("fcBG_oneB");
    auto *other = window->findChild<QAbstractButton *>("fcBG_oneC");
    if (!chosen->isChecked() || chosen->isEnabled()) {
        problems << name + QStringLiteral(": the chosen option is not shown pressed and disabled");
        return;
    }
    const QImage pressed = chosen->grab().toImage();
    const QImage released = other->grab().toImage();
    if (pressed.pixelColor(pressed.width() / 2, 5) == released.pixelColor(released.width() / 2, 5))
        problems << name + QStringLiteral(": the chosen option looks like the others");
}

} // namespace

class TestWindowsOnScreen : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<DemoBank> demo;
    Session session;

    void command(const QString &name, const QString &title, const Inside &inside = {})
    {
        visit(title, [this, name] { session.mainWindow->ShockwaveFlash1FSCommand(name, QString()); }, inside);
    }

private slots:
    void initTestCase()
    {
        qApp->installEventFilter(new SystemBoxWatch);
        demo = std::make_unique<DemoBank>();
        for (const auto &[from, to] : {std::pair{QStringLiteral(QUILLET_PIC_DIR), QStringLiteral("pic")},
                                       std::pair{QStringLiteral(QUILLET_HTM_DIR), QStringLiteral("htm")}}) {
            QDir source(from);
            QDir(demo->folder()).mkpath(to);
            for (const QFileInfo &file : source.entryInfoList(QDir::Files))
                QFile::copy(file.filePath(), demo->folder() + "/" + to + "/" + file.fileName());
        }
        QDir(demo->folder()).mkpath("htm/help");
        QFile::copy(QStringLiteral(QUILLET_HTM_DIR) + "/help/index.htm", demo->folder() + "/htm/help/index.htm");
        store::setToday(QDate(2026, 12, 8));
        session = StartQuillet(demo->folder());
        QVERIFY(session.running());
        ScreenClass = ScreenClassFor(QGuiApplication::primaryScreen()->size());
        QCOMPARE(ScreenClass, QString(qgetenv("QUILLET_TEST_SCREEN_CLASS")));
        session.mainWindow->show();
        settle();
        problems.clear();
        MessageRecorder::clear();
    }

    void mainWindowFits()
    {
        inspect(session.mainWindow.get(), "main");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void practiceAndItsWindows()
    {
        problems.clear();
        command("lx", "selector", [](QWidget *selector) {
            // A chapter with questions of every kind: 第二章 of the first subject.
            auto *grid = selector->findChild<QTableView *>("DBGrid1");
            QVERIFY(DataModule->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("1002")));
            grid->setCurrentIndex(grid->model()->index(DataModule->Cn1Table_kmmc.recNo() - 1, 0));
            visitFrom(selector, "SpeedButton1", "practice", [](QWidget *practice) {
                practice::AnswerPages *pages = answerPages(practice, "practice");
                if (!pages)
                    return;
                allOptionsInView(practice, "practice", pages);
                pages->setCurrentIndex(0);
                click(practice, "fcBG_oneA");
                click(practice, "epEfTrBtn3");
                settle();
                visitFrom(practice, "epEfTrBtn5", "notes");
                visitFrom(practice, "epEfTrBtn8", "practice-settings");
                visitFrom(practice, "epEfTrBtn11", "question-edit");
                for (int i = 0; i < 40; ++i) {
                    auto *points = practice->findChild<QAbstractButton *>("epEfTrBtn9");
                    auto *explanation = practice->findChild<QAbstractButton *>("epEfTrBtn4");
                    if (points->isEnabled() && explanation->isEnabled())
                        break;
                    click(practice, "epEfTrBtn2");
                    click(practice, "fcBG_oneA");
                    click(practice, "epEfTrBtn3");
                    settle();
                }
                visitFrom(practice, "epEfTrBtn9", "related-points");
                visitFrom(practice, "epEfTrBtn4", "explanation");
            });
            QVERIFY(DataModule->Cn1Table_kmmc.locate(QStringLiteral("C1"), QStringLiteral("100201")));
            grid->setCurrentIndex(grid->model()->index(DataModule->Cn1Table_kmmc.recNo() - 1, 0));
            visitFrom(selector, "SpeedButton5", "question-entry", [](QWidget *entry) {
                visitFrom(entry, "SpeedButton4", "message-empty-question");
                visitFrom(entry, "SpeedButton2", "entry-instructions");
                visitFrom(entry, "BtnAddFg", "point-picker");
            });
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void examAndReview()
    {
        problems.clear();
        // Every paper is kept, so that 查阅试卷 has one to open.
        DataModule->ADOCn1.execute(QStringLiteral("update tab_plan set LeastMark = 0"));
        DataModule->Cn1Table_plan.close();
        command("mnks", "exam", [](QWidget *exam) {
            practice::AnswerPages *pages = answerPages(exam, "exam");
            if (!pages)
                return;
            allOptionsInView(exam, "exam", pages);
            click(exam, "fcBG_oneB");
            MessageRecorder::queueAnswer(1); // 确定要交卷吗？
            click(exam, "epEfTrBtn3");
            settle();
            inspect(exam, "exam-review");
            chosenOptionShowsPressed(exam, "exam-review");
            for (int i = 0; i < 60 && !exam->findChild<QAbstractButton *>("epEfTrBtn9")->isEnabled(); ++i)
                click(exam, "epEfTrBtn2");
            visitFrom(exam, "epEfTrBtn9", "exam-related-points");
            ui::FileDialogRecorder::clear();
            visitFrom(exam, "epEfTrBtn10", "file-dialog");
        });
        command("cj", "paper-list", [](QWidget *list) {
            visitFrom(list, "SpeedButton1", "paper-list-settings");
            visitFrom(list, "SpeedButton2", "paper-review");
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void studyPlanCalendarShowsWholeMonthsInChinese()
    {
        problems.clear();
        command("szjh", "study-plan", [](QWidget *plan) {
            auto *date = plan->findChild<QDateEdit *>();
            QCalendarWidget *calendar = date->calendarWidget();
            calendar->window()->adjustSize();
            calendar->window()->show(); // the date edit's pop-up, as its button opens it
            settle();
            if (!calendar->isVisible()) {
                problems << "study-plan: the calendar does not open";
                return;
            }
            auto *days = calendar->findChild<QTableView *>("qt_calendar_calendarview");
            const QAbstractItemModel *model = days->model();
            const QRect last = days->visualRect(model->index(model->rowCount() - 1, model->columnCount() - 1));
            if (last.bottom() > days->viewport()->height())
                problems << "study-plan: the calendar's last row is cut off";
            if (calendar->locale().language() != QLocale::Chinese)
                problems << "study-plan: the calendar is not in Chinese";
            inspect(calendar->window(), "study-plan-calendar");
            calendar->window()->hide();
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void menuWindows()
    {
        problems.clear();
        const QPair<QString, QString> windows[] = {
            {"ksdg", "laws"},        {"szks", "exam-settings"}, {"rz", "study-log"},
            {"tj", "chart"},         {"music", "music"},        {"sztime", "answer-times"}, {"about", "about"},
            {"sj", "upgrade"},       {"bf", "backup"},          {"help", "help"},        {"fg", "laws-page"},
            {"lxfs", "contacts-page"}};
        for (const auto &[name, title] : windows)
            command(name, title);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void messagesComeInTheProgramsBox()
    {
        problems.clear();
        QMessageBox::StandardButton answer = QMessageBox::NoButton;
        visit("quit-question", [&answer] {
            answer = SystemMessageBox("提示", "还未完成今日学习计划，要退出吗？", QMessageBox::Question,
                                      QMessageBox::Ok | QMessageBox::Cancel);
        });
        QCOMPARE(answer, QMessageBox::Cancel); // Escape
        QCOMPARE(MessageRecorder::shown().last().buttons, QStringList({"确定", "取消"}));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }
};

int main(int argc, char **argv)
{
    // The screen of the class under test: offscreen, of that size.
    const QString screenClass = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("1024");
    const QSize size = screenClass == QLatin1String("800") ? QSize(800, 600) : QSize(1024, 768);
    QTemporaryFile config(QDir::tempPath() + "/quillet-screen-XXXXXX.json");
    config.open();
    config.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1, "height": %2,
                                    "logicalDpi": 96, "logicalBpp": 32, "dpr": 1}]})")
                     .arg(size.width())
                     .arg(size.height())
                     .toUtf8());
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
    qputenv("QUILLET_TEST_SCREEN_CLASS", screenClass.toLatin1());
    QuilletApplication app(argc, argv);
    ui::applyLook(app);
    LoadChineseTranslations(app);
    TestWindowsOnScreen test;
    QStringList arguments = app.arguments();
    if (arguments.size() > 1)
        arguments.removeAt(1);
    return QTest::qExec(&test, arguments);
}

#include "test_windows_on_screen.moc"
