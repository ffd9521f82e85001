#include "MessageRecorder.h"
#include "SystemMessageBox.h"
#include "TFrmAbout.h"
#include "TFrmDlg.h"
#include "TFrmProgress.h"

#include "Buttons.h"
#include "Globals.h"
#include "ShellOpener.h"

#include <QApplication>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>
#include <QtTest>

namespace {

// Acts on the modal window once it is up.
void whenModal(std::function<void(QWidget *)> action)
{
    QTimer::singleShot(0, [action] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        action(QApplication::activeModalWidget());
    });
}

QStringList shownButtons(const TFrmDlg &box)
{
    QStringList names;
    for (auto *button : {box.fcShapeBtn1, box.fcShapeBtn2, box.fcShapeBtn3})
        if (!button->isHidden())
            names << button->objectName();
    return names;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    TFrmDlg &box() { return TFrmDlg::instance(); }

    MessageRecord answerOwnBox(int layout, const QString &mode, int icon = 1)
    {
        MessageRecorder::queueAnswer(1);
        ShowMessageBox("提示", "没发现声卡！", layout, mode, icon);
        return MessageRecorder::shown().last();
    }

private slots:
    void init() { MessageRecorder::clear(); }

    void layoutsChooseTheButtons_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("0") << 0 << QStringList{"fcShapeBtn1", "fcShapeBtn2"} << QStringList{"确定", "取消"};
        QTest::newRow("1") << 1 << QStringList{"fcShapeBtn3"} << QStringList{"确定"};
        QTest::newRow("2") << 2 << QStringList{"fcShapeBtn1", "fcShapeBtn2", "fcShapeBtn3"}
                           << QStringList{"确定", "确定", "取消"};
        QTest::newRow("3") << 3 << QStringList{"fcShapeBtn1"} << QStringList{"确定"};
    }

    void layoutsChooseTheButtons()
    {
        QFETCH(int, layout);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, captions);
        const MessageRecord record = answerOwnBox(layout, "NO");
        QCOMPARE(shownButtons(box()), shown);
        QCOMPARE(record.buttons, captions); // left to right
        QCOMPARE(record.layout, layout);
        QCOMPARE(box().width(), layout == 3 ? 200 : 399);
    }

    void narrowBoxGetsItsWidthBackAndUnknownLayoutKeepsButtons()
    {
        answerOwnBox(3, "NO");
        QCOMPARE(box().width(), 200);
        answerOwnBox(1, "NO");
        QCOMPARE(box().width(), 399);
        answerOwnBox(7, "NO");
        QCOMPARE(shownButtons(box()), QStringList{"fcShapeBtn3"});
        QCOMPARE(box().width(), 399);
    }

    void examModeIsCaseSensitive()
    {
        answerOwnBox(2, "Exam");
        QCOMPARE(box().fcShapeBtn1->text(), QString("确定"));
        QCOMPARE(box().fcShapeBtn2->text(), QString("作废"));
        QCOMPARE(box().fcShapeBtn3->text(), QString("取消"));
        answerOwnBox(2, "exam");
        QCOMPARE(box().fcShapeBtn2->text(), QString("取消"));
        QCOMPARE(box().fcShapeBtn3->text(), QString("确定"));
    }

    void captionTextAndIconPage()
    {
        MessageRecorder::queueAnswer(3);
        QCOMPARE(ShowMessageBox("错误", "无法打开试题！", 1, "NO", 2), 3);
        QCOMPARE(box().windowTitle(), QString("错误"));
        QCOMPARE(box().Label1->text(), QString("错误"));
        QCOMPARE(box().fcLabel1->text(), QString("无法打开试题！"));
        QCOMPARE(box().epNoteBook1->currentIndex(), 2);
        const MessageRecord record = MessageRecorder::shown().last();
        QCOMPARE(record.kind, MessageRecord::Kind::OwnBox);
        QCOMPARE(record.caption, QString("错误"));
        QCOMPARE(record.icon, 2);
        QCOMPARE(record.answer, 3);
    }

    void messageIsShownAsPlainText()
    {
        MessageRecorder::queueAnswer(3);
        ShowMessageBox("提示", "<b>a</b>", 1, "NO", 0);
        QCOMPARE(box().fcLabel1->textFormat(), Qt::PlainText);
    }

    void longMessageGrowsTheBoxInsteadOfClipping()
    {
        const QString text = QString("这是一条很长的提示信息，需要换行显示。").repeated(6);
        MessageRecorder::queueAnswer(1);
        ShowMessageBox("提示", text, 0, "NO", 0);
        QVERIFY(box().height() > 110);
        const QRect label = box().fcLabel1->geometry();
        QVERIFY(label.height() >= box().fcLabel1->heightForWidth(label.width()));
        QVERIFY(label.bottom() < box().fcShapeBtn1->y());
        QVERIFY(box().fcShapeBtn1->geometry().bottom() < box().height());

        answerOwnBox(1, "NO"); // a short message brings the design height back
        QCOMPARE(box().height(), 110);
    }

    void realBoxReturnsTheButtonClicked()
    {
        whenModal([](QWidget *modal) { modal->findChild<QPushButton *>("fcShapeBtn2")->click(); });
        QCOMPARE(ShowMessageBox("提示", "确定要交卷吗？", 2, "Exam", 1), 2);
        QCOMPARE(MessageRecorder::shown().last().answer, 2);
        QVERIFY(!box().isVisible());
    }

    void escapeAnswersLikeTheCancellingButton()
    {
        whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(ShowMessageBox("提示", "要退出吗？", 0, "NO", 1), 2);
        whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(ShowMessageBox("提示", "到时间了", 1, "NO", 1), 3);
    }

    void enterAnswersWithTheLeftmostButton()
    {
        whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QCOMPARE(ShowMessageBox("提示", "要退出吗？", 0, "NO", 1), 1);
        whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Return); });
        QCOMPARE(ShowMessageBox("提示", "到时间了", 1, "NO", 1), 3);
    }

    void recorderAnswersSystemBoxesInTurn()
    {
        MessageRecorder::queueAnswer(QMessageBox::Cancel);
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        QCOMPARE(SystemMessageBox("提示", "还未完成今日学习计划，要退出吗？", QMessageBox::Question,
                                  QMessageBox::Ok | QMessageBox::Cancel),
                 QMessageBox::Cancel);
        QCOMPARE(SystemMessageBox("错误", "无法连接数据库！", QMessageBox::Critical), QMessageBox::Ok);
        const QList<MessageRecord> shown = MessageRecorder::shown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[0].kind, MessageRecord::Kind::SystemBox);
        QCOMPARE(shown[0].text, QString("还未完成今日学习计划，要退出吗？"));
        QCOMPARE(shown[0].icon, int(QMessageBox::Question));
        QCOMPARE(shown[0].buttons.size(), 2);
        QVERIFY(shown[0].buttons.contains("确定") && shown[0].buttons.contains("取消"));
        QCOMPARE(shown[1].caption, QString("错误"));
        QCOMPARE(shown[1].buttons.size(), 1);
        MessageRecorder::clear();
        QVERIFY(MessageRecorder::shown().isEmpty());
    }

    void systemStyleMessagesShowInTheProgramsOwnBox()
    {
        QString shownCaption, shownText;
        QStringList buttons;
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<TFrmDlg *>(modal);
            QVERIFY(box);
            shownCaption = box->Label1->text();
            shownText = box->fcLabel1->text();
            buttons = box->visibleButtonCaptions();
            QCOMPARE(box->epNoteBook1->currentIndex(), 0); // the notice icon
            box->findChild<QPushButton *>("fcShapeBtn3")->click();
        });
        QCOMPARE(SystemMessageBox("提示", "恭喜完成今日学习计划！", QMessageBox::Information), QMessageBox::Ok);
        QCOMPARE(shownCaption, QString("提示"));
        QCOMPARE(shownText, QString("恭喜完成今日学习计划！"));
        QCOMPARE(buttons, QStringList{"确定"});
        QCOMPARE(MessageRecorder::shown().last().answer, int(QMessageBox::Ok));

        // OK and Cancel keep their results; the warning and error icons keep theirs.
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<TFrmDlg *>(modal);
            buttons = box->visibleButtonCaptions();
            QCOMPARE(box->epNoteBook1->currentIndex(), 1);
            box->findChild<QPushButton *>("fcShapeBtn1")->click();
        });
        QCOMPARE(SystemMessageBox("提示", "即将删除试卷，要继续么？", QMessageBox::Warning,
                                  QMessageBox::Ok | QMessageBox::Cancel),
                 QMessageBox::Ok);
        QCOMPARE(buttons, QStringList({"确定", "取消"}));
        whenModal([&](QWidget *modal) {
            QCOMPARE(qobject_cast<TFrmDlg *>(modal)->epNoteBook1->currentIndex(), 2);
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QCOMPARE(SystemMessageBox("错误", "无法连接数据库！", QMessageBox::Critical, QMessageBox::Ok | QMessageBox::Cancel),
                 QMessageBox::Cancel);
    }

    void progressScopeHidesOnEveryPath()
    {
        TFrmProgress &window = TFrmProgress::instance();
        QCOMPARE(window.size(), QSize(358, 63));
        {
            ProgressScope outer("正在初始化数据...");
            QVERIFY(window.isVisible());
            QCOMPARE(window.Label1->text(), QString("正在初始化数据..."));
            {
                ProgressScope inner("正在提取数据...");
                outer.setText("正在建立数据表...");
                QCOMPARE(window.Label1->text(), QString("正在建立数据表..."));
            }
            QVERIFY(window.isVisible());
            QCOMPARE(window.Label1->text(), QString("正在初始化数据..."));
        }
        QVERIFY(!window.isVisible());
        try {
            ProgressScope scope("正在判卷...");
            throw std::runtime_error("disk full");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(!window.isVisible());
    }

    void aboutButtonsOpenTheirPages()
    {
        AppDir = "/opt/quillet/";
        QStringList opened;
        ui::setPageOpener([&](const QString &path) { opened << path; return true; });
        TFrmAbout about;
        QCOMPARE(about.windowTitle(), QString("关于"));
        about.epTransparentBtn1->click();
        about.epTransparentBtn2->click();
        about.epTransparentBtn3->click();
        QCOMPARE(opened, QStringList({"/opt/quillet/htm/制作群.htm", "/opt/quillet/htm/出版社简介.htm",
                                      "/opt/quillet/htm/公司简介.htm"}));
        QVERIFY(MessageRecorder::shown().isEmpty());
        ui::setPageOpener({});
    }

    void aboutReportsAPageThatCannotBeOpened()
    {
        ui::setPageOpener([](const QString &) { return false; });
        TFrmAbout about;
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        about.epTransparentBtn2->click();
        QCOMPARE(MessageRecorder::shown().size(), 1);
        QCOMPARE(MessageRecorder::shown().last().text, QString("无法打开安装程序！"));
        QCOMPARE(MessageRecorder::shown().last().kind, MessageRecord::Kind::SystemBox);
        ui::setPageOpener({});
    }

    void bothCloseButtonsCloseTheAboutWindow()
    {
        for (const char *name : {"epEfTrBtn1", "epTransparentBtn5"}) {
            TFrmAbout about;
            about.show();
            about.findChild<QPushButton *>(name)->click();
            QVERIFY2(!about.isVisible(), name);
        }
        TFrmAbout about;
        QCOMPARE(about.epEfTrBtn1->text(), QString("关 闭"));
        QCOMPARE(about.epTransparentBtn5->text(), QString("关    闭"));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
