#include "Error.h"
#include "Hourglass.h"
#include "MessageRecorder.h"
#include "Startup.h"

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QtTest>

namespace {

class Throwing : public QObject {
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw store::Error("数据库已锁定");
        return QObject::event(e);
    }
};

QPointer<QDialog> lastWindow;

class ProbeWindow : public QDialog {
public:
    ProbeWindow() { lastWindow = this; }
};

} // namespace

class TestErrorHandling : public QObject {
    Q_OBJECT

private slots:
    void escapedErrorsAreShownAndTheProgramGoesOn()
    {
        MessageRecorder::clear();
        MessageRecorder::queueAnswer(QMessageBox::Ok);
        Throwing target;
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(MessageRecorder::shown().size(), 1);
        QCOMPARE(MessageRecorder::shown().first().text, QString("数据库已锁定"));
        QCOMPARE(MessageRecorder::shown().first().kind, MessageRecord::Kind::SystemBox);
    }

    void hourglassRestoresTheCursorAndFreesTheWindowOnEveryPath()
    {
        QVERIFY_THROWS_EXCEPTION(store::Error, RunHourglass<ProbeWindow>([](ProbeWindow &) {
                                     QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
                                     throw store::Error("打不开");
                                 }));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(lastWindow.isNull());

        QTimer::singleShot(50, [] {
            QVERIFY(!QApplication::overrideCursor()); // back to normal once the window shows
            QApplication::activeModalWidget()->close();
        });
        RunHourglass<ProbeWindow>();
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(lastWindow.isNull());
    }
};

int main(int argc, char **argv)
{
    QuilletApplication app(argc, argv);
    TestErrorHandling test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_error_handling.moc"
