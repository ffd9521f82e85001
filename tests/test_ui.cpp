#include "Buttons.h"
#include "FileDialogs.h"
#include "Gauge.h"
#include "GlyphButton.h"
#include "Look.h"
#include "Pictures.h"
#include "RunningClock.h"
#include "ShellOpener.h"
#include "Switch.h"
#include "PageViewer.h"
#include "WindowPlacement.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QtTest>

class TestUi : public QObject {
    Q_OBJECT

private slots:
    void secondaryWindowsLieOverTheirOpenerAndOnTheScreen()
    {
        const QRect screen(0, 0, 1024, 740); // 1024 × 768 less a panel
        // Centred over the opener.
        QCOMPARE(ui::placementOver({400, 300}, {100, 100, 600, 400}, screen), QRect(200, 150, 400, 300));
        // 相关考点 from a window at the right edge: pulled back onto the screen.
        QCOMPARE(ui::placementOver({917, 585}, {500, 300, 524, 440}, screen), QRect(107, 155, 917, 585));
        // Larger than the screen: shrunk to it.
        QCOMPARE(ui::placementOver({931, 700}, {0, 0, 800, 600}, {0, 0, 800, 572}), QRect(0, 0, 800, 572));
        // No opener: the middle of the screen.
        QCOMPARE(ui::placementOver({200, 100}, QRect(), screen), QRect(412, 320, 200, 100));

        // A shown dialog with a parent goes over it, and a fixed size larger than the screen gives way.
        QApplication &app = *qApp;
        ui::installWindowPlacement(app);
        QWidget opener;
        opener.setGeometry(10, 10, 300, 200);
        opener.show();
        QDialog dialog(&opener);
        dialog.setFixedSize(5000, 120);
        dialog.show();
        const QRect available = dialog.screen()->availableGeometry();
        QVERIFY(available.contains(dialog.frameGeometry()));
        QCOMPARE(dialog.frameGeometry().width(), available.width());
        QCOMPARE(dialog.geometry().center().y(), opener.geometry().center().y());
    }

    void pagesShowInTheProgramsViewerAndWebAddressesGoOut()
    {
        QTemporaryDir dir;
        auto write = [&](const QString &name, const QByteArray &html) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(html);
        };
        write("a.htm", "<html><head><title>帮助</title></head><body><a href=\"b.htm\">下一页</a>"
                       " <a href=\"https://example.org/\">网站</a></body></html>");
        write("b.htm", "<html><head><title>第二页</title></head><body>第二页的内容</body></html>");
        ui::PageViewer viewer(dir.filePath("a.htm"));
        QCOMPARE(viewer.windowTitle(), QString("帮助"));
        QVERIFY(!viewer.BackButton->isEnabled());
        emit viewer.Browser->anchorClicked(QUrl("b.htm"));
        QCOMPARE(viewer.windowTitle(), QString("第二页"));
        QVERIFY(viewer.Browser->toPlainText().contains("第二页的内容"));
        viewer.BackButton->click();
        QCOMPARE(viewer.windowTitle(), QString("帮助"));
        viewer.ForwardButton->click();
        QCOMPARE(viewer.windowTitle(), QString("第二页"));

        QStringList opened;
        ui::setPageOpener([&](const QString &target) { opened << target; return false; });
        emit viewer.Browser->anchorClicked(QUrl("https://example.org/"));
        QCOMPARE(opened, QStringList{"https://example.org/"});
        QVERIFY(viewer.Status->text().contains("https://example.org/")); // no browser: the window says so
        QCOMPARE(viewer.windowTitle(), QString("第二页"));
        ui::setPageOpener({});
    }

    void lookLoadsItsStyleSheetAndACjkFont()
    {
        ui::applyLook(*qApp);
        QVERIFY(qApp->styleSheet().contains("ui--ShapeButton"));
        QVERIFY(qApp->windowIcon().availableSizes().contains(QSize(256, 256)));
        QVERIFY(qApp->font().families().contains("WenQuanYi Micro Hei"));
        QCOMPARE(qApp->font().pixelSize(), 14);
        // The chosen font really has the Chinese characters the program shows.
        QVERIFY(QFontMetrics(qApp->font()).inFontUcs4(QChar(0x9898).unicode())); // 题
    }

    void fourCharacterCaptionsFitTheNarrowCommandButtons()
    {
        // The exam window's command rows are 75 × 25 ("生成文档", "暂停考试" …).
        QPushButton plain("生成文档");
        ui::FlatButton flat("暂停考试");
        for (QPushButton *button : {&plain, static_cast<QPushButton *>(&flat)}) {
            button->setFixedSize(75, 25);
            button->ensurePolished();
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            QVERIFY2(room.width() >= button->fontMetrics().horizontalAdvance(button->text()),
                     qPrintable(button->text()));
        }
    }

    void glyphFilesAreWrittenDistinctAndSmall()
    {
        const QVector<pics::GlyphFile> files = pics::glyphFiles();
        QStringList names;
        QList<QImage> images;
        for (const pics::GlyphFile &file : files) {
            names << file.fileName;
            const QImage written(QDir(QUILLET_PIC_DIR).filePath(file.fileName));
            QVERIFY2(!written.isNull(), qPrintable(file.fileName));
            QVERIFY(written.width() >= 24 && written.width() <= 40);
            QCOMPARE(written.height(), 24);
            images << written.convertToFormat(QImage::Format_RGB32);
        }
        QCOMPARE(names, QStringList({"vaskup.bmp", "vaskdw.bmp", "vaskyes.bmp", "vaskno.bmp", "vaskover.bmp",
                                     "vaskdw_r.bmp", "vaskdw_w.bmp", "vasktxup.bmp", "vasktxdw.bmp"}));
        for (int i = 0; i < images.size(); ++i)
            for (int j = i + 1; j < images.size(); ++j)
                QVERIFY2(images[i] != images[j], qPrintable(names[i] + " = " + names[j]));
    }

    void messageIconsDiffer()
    {
        const QImage notice = pics::messageIcon(pics::MessageIcon::Notice);
        QCOMPARE(notice.size(), QSize(32, 32));
        QVERIFY(notice != pics::messageIcon(pics::MessageIcon::Warning));
        QVERIFY(notice != pics::messageIcon(pics::MessageIcon::Error));
    }

    void clockTextIsHoursMinutesSeconds()
    {
        QCOMPARE(ui::RunningClock::formatHms(0), QString("0:00:00"));
        QCOMPARE(ui::RunningClock::formatHms(59), QString("0:00:59"));
        QCOMPARE(ui::RunningClock::formatHms(3661), QString("1:01:01"));
        QCOMPARE(ui::RunningClock::formatHms(36000), QString("10:00:00"));
        QCOMPARE(ui::RunningClock::formatHms(-5), QString("0:00:00"));
    }

    void clockCountsOnlyWhileRunning()
    {
        ui::RunningClock clock;
        QSignalSpy ticks(&clock, &ui::RunningClock::ticked);
        QCOMPARE(clock.text(), QString("0:00:00"));
        clock.start();
        QTest::qWait(1150);
        clock.stop();
        QCOMPARE(clock.text(), QString("0:00:01"));
        QVERIFY(ticks.count() >= 1);
        QTest::qWait(1100); // a pause adds nothing
        QCOMPARE(clock.elapsedSeconds(), 1);
        clock.start();
        QVERIFY(clock.isRunning());
        clock.reset();
        QCOMPARE(clock.text(), QString("0:00:00"));
        QVERIFY(clock.isRunning());
    }

    void clockTicksShowEverySecondOnce()
    {
        ui::RunningClock clock;
        QStringList texts;
        connect(&clock, &ui::RunningClock::ticked, this, [&](const QString &text) { texts << text; });
        clock.start();
        QTRY_COMPARE_WITH_TIMEOUT(texts.size(), 3, 4000);
        QCOMPARE(texts, QStringList({"0:00:01", "0:00:02", "0:00:03"}));
    }

    void gaugeHoldsItsRangeAndWarns()
    {
        ui::Gauge gauge;
        QSignalSpy changes(&gauge, &ui::Gauge::valueChanged);
        gauge.setWarnAbove(65);
        gauge.setValue(120);
        QCOMPARE(gauge.value(), 100);
        gauge.setValue(100);
        QCOMPARE(changes.count(), 1);
        gauge.setValue(-3);
        QCOMPARE(gauge.value(), 0);
        gauge.setValue(65);
        QVERIFY(!gauge.isWarning());
        gauge.setValue(66);
        QVERIFY(gauge.isWarning());
    }

    void switchReportsOnlyTheUsersClicks()
    {
        ui::Switch music;
        QSignalSpy on(&music, &ui::Switch::switchedOn);
        QSignalSpy off(&music, &ui::Switch::switchedOff);
        QSignalSpy toggled(&music, &QAbstractButton::toggled);
        music.setChecked(true); // a window opening with the switch on
        QCOMPARE(on.count(), 0);
        QCOMPARE(toggled.count(), 1);
        music.resize(music.sizeHint());
        QTest::mouseClick(&music, Qt::LeftButton);
        QVERIFY(!music.isChecked());
        QCOMPARE(off.count(), 1);
        QTest::mouseClick(&music, Qt::LeftButton);
        QVERIFY(music.isChecked());
        QCOMPARE(on.count(), 1);
    }

    void glyphButtonShowsThePressedGlyphWhenChecked()
    {
        QImage up(32, 24, QImage::Format_RGB32), down(32, 24, QImage::Format_RGB32);
        up.fill(Qt::red);
        down.fill(Qt::blue);
        ui::GlyphButton button;
        button.setGlyphs(QPixmap::fromImage(up), QPixmap::fromImage(down));
        button.resize(32, 24);
        const QPoint corner(1, 1); // away from the caption
        QCOMPARE(button.grab().toImage().pixelColor(corner), QColor(Qt::red));
        button.setChecked(true);
        QCOMPARE(button.grab().toImage().pixelColor(corner), QColor(Qt::blue));
    }

    void waitCursorIsRestoredOnEveryPath()
    {
        QVERIFY(!QApplication::overrideCursor());
        {
            ui::WaitCursor busy;
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            busy.restore(); // early, as before showing a window
            QVERIFY(!QApplication::overrideCursor());
        }
        QVERIFY(!QApplication::overrideCursor()); // not restored twice
        try {
            ui::WaitCursor busy;
            throw std::runtime_error("no such table");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(!QApplication::overrideCursor());
    }

    void pageOpenerCanBeReplacedAndRestored()
    {
        QStringList opened;
        ui::setPageOpener([&](const QString &path) { opened << path; return true; });
        QVERIFY(ui::openLocalPage("/nowhere/page.htm"));
        QCOMPARE(opened, QStringList("/nowhere/page.htm"));
        ui::setPageOpener({});
        // The desktop opener refuses a missing page instead of reporting success.
        QVERIFY(!ui::openLocalPage("/nowhere/page.htm"));
        QCOMPARE(opened.size(), 1);
    }

    void fileDialogsAnswerInTurnAndRecordWhatWasAsked()
    {
        ui::FileDialogRecorder::clear();
        ui::FileDialogRecorder::queueAnswer("/tmp/a.docx");
        ui::FileDialogRecorder::queueAnswer(QString());
        QCOMPARE(ui::getSaveFileName(nullptr, "存为", "/home/x/试卷.docx", "Word (*.docx)"), QString("/tmp/a.docx"));
        QVERIFY(ui::getOpenFileName(nullptr, "升级", "/home/x", "*.mdb").isEmpty());
        const QList<ui::FileDialogRequest> asked = ui::FileDialogRecorder::asked();
        QCOMPARE(asked.size(), 2);
        QVERIFY(asked[0].save);
        QCOMPARE(asked[0].dir, QString("/home/x/试卷.docx"));
        QVERIFY(!asked[1].save);
        QCOMPARE(asked[1].filter, QString("*.mdb"));
        ui::FileDialogRecorder::clear();
        QVERIFY(ui::FileDialogRecorder::asked().isEmpty());
    }
};

QTEST_MAIN(TestUi)
#include "test_ui.moc"
