#include "BankTestCase.h"
#include "BarPages.h"
#include "ChartLegend.h"
#include "ChartOutput.h"
#include "ColorRef.h"
#include "DistributionPage.h"
#include "FileDialogs.h"
#include "Globals.h"
#include "Look.h"
#include "MessageRecorder.h"
#include "Screens.h"
#include "StudyHistory.h"
#include "Tfrmchart.h"

#include <QAbstractBarSeries>
#include <QBarSet>
#include <QChart>
#include <QAbstractAxis>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QPushButton>
#include <QApplication>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace chart;

// Drives the statistics window on a fixture bank: three top-level chapters,
// one without questions, and a few weeks of log rows.
class TestChart : public BankTestCase {
    Q_OBJECT

    QTemporaryDir out;

    static QStringList messages()
    {
        QStringList texts;
        for (const MessageRecord &r : MessageRecorder::shown())
            texts << r.caption + QLatin1Char('|') + r.text;
        return texts;
    }

    void addChapters()
    {
        bank->exec("update tab_kmmc set C3 = 40, C4 = 13, D1 = 30, D2 = 9 where C1 = '1'");
        bank->exec("insert into tab_kmmc (bh,C1,C2,C3,C4,D1,D2,C7) values (8,'2','工程造价计价与控制',0,0,4,1,'0')");
        bank->exec("insert into tab_kmmc (bh,C1,C2,C3,C4,D1,D2,C7) values (9,'3','建设工程技术与计量',100,29,60,15,'0')");
    }

    static void click(QWidget &w, const QString &name)
    {
        auto *button = w.findChild<QAbstractButton *>(name);
        QVERIFY2(button, qPrintable(name));
        button->click();
    }

private slots:
    void initTestCase() { ui::applyLook(*qApp); }

    void init()
    {
        openFreshBank();
        MessageRecorder::clear();
        ui::FileDialogRecorder::clear();
        setPrinterAccess({});
        ScreenClass = QStringLiteral("1024");
    }
    void cleanup() { closeBank(); }

    void arithmeticOfTheCharts()
    {
        QCOMPARE(ProgressPercent(29, 100), 29);
        QCOMPARE(ProgressPercent(13, 40), 32);
        QCOMPARE(ProgressPercent(40, 40), 100);
        QCOMPARE(ProgressPercent(3, 0), 0);
        QCOMPARE(ChapterColour(0), QColor(255, 0, 0));
        QCOMPARE(ChapterColour(1), QColor(0x7f, 0x39, 0x01)); // 80255 = 0x01397f
        QCOMPARE(ui::fromColorRef(0xff0000), QColor(0, 0, 255));
        QCOMPARE(pictureFormatFor("a/chart.PNG"), QByteArray("PNG"));
        QCOMPARE(pictureFormatFor("chart.jpeg"), QByteArray("JPG"));
        QCOMPARE(pictureFormatFor("chart.gif"), QByteArray("BMP"));
        QCOMPARE(withPictureSuffix("/tmp/chart"), QString("/tmp/chart.bmp"));
        QCOMPARE(withPictureSuffix("/tmp/chart.png"), QString("/tmp/chart.png"));
    }

    void chartsShowEachChaptersValues()
    {
        addChapters();
        Tfrmchart w;
        w.show();
        QCOMPARE(w.Notebook1->currentIndex(), 0);
        QCOMPARE(w.findChild<QAbstractButton *>("RadioGroup1_1")->isChecked(), true);

        const QStringList names{"工程造价管理基础理论与相关法规", "工程造价计价与控制", "建设工程技术与计量"};
        QCOMPARE(w.frequency->categories(), names);
        QCOMPARE(w.frequency->answers(), QVector<int>({30, 4, 60}));
        QCOMPARE(w.frequency->wrongAnswers(), QVector<int>({9, 1, 15}));
        QCOMPARE(w.frequency->doneSet()->count(), 3);
        QCOMPARE(w.frequency->legend()->texts(), QStringList({"已做题次", "做错题次"}));

        QPieSeries *pie = w.distribution->series();
        QCOMPARE(pie->count(), 3);
        QCOMPARE(pie->slices().at(1)->value(), 0.0);
        QCOMPARE(pie->slices().at(2)->value(), 100.0);
        QCOMPARE(pie->slices().at(0)->color(), QColor(255, 0, 0));
        QVERIFY(!pie->slices().at(1)->isLabelVisible());
        QVERIFY(pie->slices().at(2)->label().startsWith("建设工程技术与计量 71.4%"));

        // The chapter without questions has no progress bar.
        QCOMPARE(w.progress->categories(), QStringList({names.at(0), names.at(2)}));
        QCOMPARE(w.progress->values(), QVector<int>({32, 29}));

        w.selectChartType(Tfrmchart::Distribution);
        QCOMPARE(w.Notebook1->currentIndex(), 1);
        QCOMPARE(w.distribution->Label2->text(), QString("140"));
        w.selectChartType(Tfrmchart::Progress);
        QCOMPARE(w.Notebook1->currentIndex(), 2);
        w.selectChartType(Tfrmchart::Curve);
        QCOMPARE(w.Notebook1->currentIndex(), 3);
        w.epFocusButton2->click();
        QVERIFY(!dm->ADOQ_kmmc.isOpen());
    }

    void withoutChaptersEveryChartIsEmpty()
    {
        bank->exec("update tab_kmmc set C7 = null");
        Tfrmchart w;
        w.show();
        w.selectChartType(Tfrmchart::Distribution);
        QCOMPARE(w.distribution->Label2->text(), QString("0"));
        QCOMPARE(w.distribution->series()->count(), 0);
        QCOMPARE(w.frequency->doneSet()->count(), 0);
        QVERIFY(w.progress->values().isEmpty());
        QVERIFY(w.curve->attemptsSet()->count() == 0);
    }

    void displayOptionsActOnTheChartShown()
    {
        addChapters();
        ScreenClass = QStringLiteral("800");
        Tfrmchart w;
        w.show();
        QCOMPARE(w.size(), QSize(790, 472));
        w.selectChartType(Tfrmchart::Distribution);
        DistributionPage &pie = *w.distribution;
        QCOMPARE(pie.Label1->y(), 400);
        w.selectLegendPosition(1);
        QCOMPARE(pie.legendAlignment(), Qt::AlignBottom);
        QVERIFY(pie.Label1->y() <= 370);
        QVERIFY(pie.Label1->geometry().bottom() < pie.legend()->geometry().top());
        w.selectLegendPosition(0);
        QCOMPARE(pie.Label1->y(), 400);
        w.selectLegendPosition(2);
        QVERIFY(pie.legend()->geometry().right() < pie.width() / 2);
        QVERIFY(pie.legend()->geometry().top() > pie.title()->geometry().bottom());

        QCOMPARE(pie.depthLayers(), 10);
        w.CheckBox1->click();
        QCOMPARE(pie.depthLayers(), 0);
        w.CheckBox3->click();
        QVERIFY(!pie.series()->slices().at(0)->isLabelVisible());
        w.CheckBox2->click();
        QVERIFY(!pie.legend()->isVisible());
        QVERIFY(!w.RadioGroup2->isEnabled());

        // Choosing another type resets the chart left behind and shows the controls reset.
        w.selectChartType(Tfrmchart::Frequency);
        QVERIFY(w.RadioGroup2->isEnabled());
        QVERIFY(w.CheckBox1->isChecked() && w.CheckBox2->isChecked() && w.CheckBox3->isChecked());
        QCOMPARE(pie.depthLayers(), 10);
        QVERIFY(pie.series()->slices().at(0)->isLabelVisible());
        QCOMPARE(pie.legendAlignment(), Qt::AlignTop);

        FrequencyPage &bars = *w.frequency;
        QVERIFY(bars.depth()->depthShown());
        QCOMPARE(bars.depth()->faces().size(), 2 * 6); // a top and a side face for each of the six bars
        w.CheckBox1->click();
        QVERIFY(!bars.depth()->depthShown());
        QVERIFY(bars.depth()->faces().isEmpty());
        w.CheckBox3->click();
        QVERIFY(!bars.depth()->labelsShown());
        w.selectLegendPosition(3);
        QVERIFY(bars.legend()->geometry().left() > bars.width() / 2);
    }

    void savedPicturesLoadBackWithTheirSize()
    {
        addChapters();
        Tfrmchart w;
        w.show();
        const QSize expected = w.frequency->picture().size;
        QVERIFY(expected.width() > 700 && expected.height() >= w.frequency->height());
        const QString bmp = out.filePath("freq");
        const QString png = out.filePath("freq.png");
        ui::FileDialogRecorder::queueAnswer(bmp);
        w.epFocusButton3->click();
        ui::FileDialogRecorder::queueAnswer(png);
        w.epFocusButton3->click();
        QVERIFY(ui::FileDialogRecorder::asked().value(0).filter.startsWith("Bitmaps图片 (*.bmp);;PNG图片 (*.png)"));
        QImage fromBmp(bmp + ".bmp", "BMP");
        QImage fromPng(png, "PNG");
        QCOMPARE(fromBmp.size(), expected);
        QCOMPARE(fromPng.size(), expected);
        // Not a blank page: the title's dark teal is in it.
        bool inked = false;
        for (int x = 0; x < fromPng.width() && !inked; ++x)
            inked = fromPng.pixelColor(x, 20).lightness() < 120;
        QVERIFY(inked);

        ui::FileDialogRecorder::queueAnswer(QString());
        w.epFocusButton3->click();
        QVERIFY(messages().isEmpty());
        ui::FileDialogRecorder::queueAnswer(out.filePath("missing/folder/chart.bmp"));
        MessageRecorder::queueAnswer(1);
        w.epFocusButton3->click();
        QCOMPARE(messages(), QStringList({"错误|无法保存文件！"}));
    }

    void printingGoesToThePrinterOrSaysWhy()
    {
        addChapters();
        Tfrmchart w;
        w.show();
        setPrinterAccess({[] { return QStringList(); }, {}});
        MessageRecorder::queueAnswer(1);
        w.epFocusButton1->click();
        QCOMPARE(messages(), QStringList({"提示|没有发现打印机！"}));
        QCOMPARE(MessageRecorder::shown().value(0).icon, 1);

        const QString pdf = qEnvironmentVariable("QUILLET_SCREENS", out.path()) + "/chart-print.pdf";
        setPrinterAccess({[] { return QStringList({"PDF"}); }, [pdf](QPrinter &printer) {
                              printer.setOutputFormat(QPrinter::PdfFormat);
                              printer.setOutputFileName(pdf);
                          }});
        MessageRecorder::clear();
        w.selectChartType(Tfrmchart::Distribution);
        w.epFocusButton1->click();
        QVERIFY(messages().isEmpty());
        QFile printed(pdf);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.read(5) == "%PDF-");
        QVERIFY(printed.size() > 10000);

        const QString nowhere = out.filePath("missing/folder/chart.pdf");
        setPrinterAccess({[] { return QStringList({"PDF"}); }, [nowhere](QPrinter &printer) {
                              printer.setOutputFormat(QPrinter::PdfFormat);
                              printer.setOutputFileName(nowhere);
                          }});
        MessageRecorder::queueAnswer(1);
        w.epFocusButton1->click();
        QCOMPARE(messages(), QStringList({"错误|打印时发生错误！"}));
    }

    // Thirty chapters with long names, as the demo bank has: the rows scroll instead of
    // being squeezed, the saved picture holds every row, and no legend text is cut.
    void manyChaptersStayReadable()
    {
        bank->exec("update tab_kmmc set C7 = null");
        for (int i = 0; i < 30; ++i)
            bank->exec(QStringLiteral("insert into tab_kmmc (bh,C1,C2,C3,C4,D1,D2,C7) values (%1,'x%1',"
                                      "'第%1章 建设项目施工阶段工程造价管理',%2,%3,%4,%5,'0')")
                           .arg(100 + i).arg(30 + i).arg(i).arg(2 * i).arg(i / 2));
        ScreenClass = QStringLiteral("800");
        Tfrmchart w;
        w.show();
        QApplication::processEvents();
        FrequencyPage &bars = *w.frequency;
        const Picture picture = bars.picture();
        QVERIFY(picture.size.height() >= 30 * 22);
        QVERIFY(picture.size.height() > bars.height());
        const QString saved = qEnvironmentVariable("QUILLET_SCREENS", out.path()) + "/chart-tall.png";
        ui::FileDialogRecorder::queueAnswer(saved);
        w.epFocusButton3->click();
        const QImage image(saved);
        QCOMPARE(image.size(), picture.size);
        // The last rows, scrolled out of sight on the screen, are in the picture: the longest bar is the last.
        bool lastRowsDrawn = false;
        for (int y = image.height() - 80; y < image.height() - 30 && !lastRowsDrawn; ++y)
            for (int x = image.width() * 7 / 10; x < image.width() && !lastRowsDrawn; ++x) {
                const QColor c = image.pixelColor(x, y);
                lastRowsDrawn = c.green() > 100 && c.red() < 120 && c.blue() < 120;
            }
        QVERIFY(lastRowsDrawn);

        w.selectChartType(Tfrmchart::Distribution);
        ChartLegend &legend = *w.distribution->legend();
        QCOMPARE(legend.texts().size(), 30);
        QVERIFY(legend.heightForRows(legend.width()) <= legend.height());
        w.selectLegendPosition(3);
        QVERIFY(legend.widthForColumns(legend.height()) <= legend.width());
        QVERIFY(legend.geometry().bottom() < w.distribution->height());
        QVERIFY(legend.font().pixelSize() >= 9);
    }

    void learningCurveOfTheLastDays()
    {
        dm->ADOCn1.open();
        WriteStudyHistory(dm->ADOCn1, QDate(2026, 12, 8), 40);
        Tfrmchart w;
        w.show();
        w.selectChartType(Tfrmchart::Curve);
        CurvePage &curve = *w.curve;
        QCOMPARE(curve.attemptsSet()->count(), 30);
        QCOMPARE(curve.categories().first(), QString("9"));
        QCOMPARE(curve.categories().at(22), QString("1"));
        QCOMPARE(curve.categories().last(), QString("8"));
        QCOMPARE(curve.chart()->axes(Qt::Horizontal).first()->titleText(), QString("日期（11月9日至12月8日）"));
        int restDays = 0;
        for (int i = 0; i < 30; ++i)
            restDays += curve.attemptsSet()->at(i) == 0 ? 1 : 0;
        QCOMPARE(curve.accuracyLine()->count(), 30 - restDays);
        QVERIFY(restDays > 0);
        QVERIFY(curve.targetLine());
        QCOMPARE(curve.targetLine()->at(0).y(), 50.0);
        QCOMPARE(curve.legend()->texts().last(), QString("每日计划（50道）"));
        w.CheckBox3->click();
        QVERIFY(!curve.accuracyLine()->pointLabelsVisible());
        w.done(0);

        bank->exec("update tab_plan set PlanMark = 1");
        Tfrmchart byMinutes;
        QVERIFY(!byMinutes.curve->targetLine());
    }

    void fewDaysLoggedAreShownAll()
    {
        dm->ADOCn1.open();
        WriteStudyHistory(dm->ADOCn1, QDate(2026, 12, 8), 5);
        Tfrmchart w;
        QCOMPARE(w.curve->attemptsSet()->count(), 5);
        QCOMPARE(w.curve->categories(), QStringList({"4", "5", "6", "7", "8"}));
    }
};

QTEST_MAIN(TestChart)
#include "test_chart.moc"
