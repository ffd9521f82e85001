#include "MainMenu.h"

#include "Look.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ui::applyLook(*qApp); }

    void everyButtonSendsItsOwnCommand()
    {
        MainMenu menu;
        QCOMPARE(menu.objectName(), QString("ShockwaveFlash1"));
        QSignalSpy sent(&menu, &MainMenu::FSCommand);
        QStringList offered = menu.offeredCommands();
        QStringList all = MainMenu::allCommands();
        offered.sort();
        all.sort();
        QCOMPARE(offered, all);
        for (const QString &command : MainMenu::allCommands()) {
            sent.clear();
            menu.buttonOf(command)->click();
            QCOMPARE(sent.count(), 1);
            QCOMPARE(sent[0][0].toString(), command);
            QCOMPARE(sent[0][1].toString(), QString());
        }
    }

    void allFiveSubjectsHaveTheirCommands()
    {
        const QStringList all = MainMenu::allCommands();
        for (const char *command : {"lx", "lx2", "lx3", "lx4", "lx5", "mnks", "mnks2", "mnks3", "mnks4", "mnks5"})
            QVERIFY2(all.contains(command), command);
        QVERIFY(!all.contains("LX"));
    }

    void onlyAvailableCommandsAreOffered()
    {
        MainMenu menu;
        menu.resize(1024, 768);
        menu.show();
        menu.setAvailableCommands({"lx", "mnks3", "quit", "no-such-command"});
        QStringList offered = menu.offeredCommands();
        offered.sort();
        QCOMPARE(offered, QStringList({"lx", "mnks3", "quit"}));
        QVERIFY(!menu.buttonOf("lx2")->isVisible());
        // A card or section with nothing left to offer is not shown at all.
        QVERIFY(!menu.buttonOf("lx2")->parentWidget()->isVisible());
        QVERIFY(!menu.buttonOf("ksdg")->parentWidget()->parentWidget()->isVisible());
        QVERIFY(menu.buttonOf("mnks3")->isVisible());

        menu.setAvailableCommands(MainMenu::allCommands());
        QCOMPARE(menu.offeredCommands().size(), MainMenu::allCommands().size());
        QVERIFY(menu.buttonOf("ksdg")->isVisible());
    }

    void aLoneCardKeepsItsWidthInTheMiddle()
    {
        MainMenu menu;
        menu.resize(1024, 768);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        menu.setAvailableCommands({"lx5", "quit"});
        QTest::qWait(20); // let the layouts settle
        QWidget *card = menu.buttonOf("lx5")->parentWidget();
        QVERIFY(card->width() < menu.width() / 4);
        const int centre = card->mapTo(&menu, card->rect().center()).x();
        QVERIFY(qAbs(centre - menu.width() / 2) < card->width() / 2);
    }

    void everyButtonFitsOnSmallAndLargeScreens_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1024x768") << QSize(1024, 768);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }

    void everyButtonFitsOnSmallAndLargeScreens()
    {
        QFETCH(QSize, screen);
        MainMenu menu;
        menu.resize(screen);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        for (const QString &command : MainMenu::allCommands()) {
            QPushButton *button = menu.buttonOf(command);
            const QRect area(button->mapTo(&menu, QPoint(0, 0)), button->size());
            QVERIFY2(menu.rect().contains(area), qPrintable(command));
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(), qPrintable(command));
            QVERIFY(button->font().pixelSize() >= 12);
        }
        if (screen.height() > 768) // the text grows with the window
            QVERIFY(menu.buttonOf("lx")->font().pixelSize() > 15);
    }
};

QTEST_MAIN(TestMenu)
#include "test_menu.moc"
