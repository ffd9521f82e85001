// How bank texts read on screen: face, size, line height and the learner's scale.
#include "BankTestCase.h"
#include "CjkFonts.h"
#include "Globals.h"
#include "Look.h"
#include "ReadingStyle.h"
#include "RichView.h"
#include "Settings.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QTextBlock>
#include <QVBoxLayout>
#include <QtTest>

using richtext::ReadingScale;
using richtext::RichView;

namespace {

// 宋体 body text at 五号 (10.5 pt), a 黑体 heading at 14 pt and 楷体 at 10.5 pt.
const QByteArray Question =
    R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}{\f1\fnil\fcharset134 \'ba\'da\'cc\'e5;})"
    R"({\f2\fnil\fcharset134 \'bf\'ac\'cc\'e5;}}\f1\fs28 \'b1\'ea\'cc\'e2\par)"
    R"(\f0\fs21 1150 \'a1\'c1 200 + 150 \'a1\'c1 180 \'d4\'ad\'ce\'c4\'d4\'ad\'ce\'c4\'d4\'ad\'ce\'c4\par)"
    R"(\f2\fs21 \'bf\'ac\'ca\'e9\par})";

QTextCharFormat formatAt(const RichView &view, int block)
{
    return view.document()->findBlockByNumber(block).begin().fragment().charFormat();
}

QString shownFamily(const QTextCharFormat &format) { return QFontInfo(format.font()).family(); }

} // namespace

class TestReading : public BankTestCase {
    Q_OBJECT

private slots:
    void init()
    {
        ScreenClass = QStringLiteral("1024");
        ReadingScale::instance().setFactor(1.0);
    }

    void viewsSetBankTextsInTheReadingFaceSizeAndSpacing()
    {
        RichView view;
        view.setContent(Question);
        QCOMPARE(view.document()->blockCount(), 3);
        // 宋体 and 黑体 show in the Noto CJK faces made for screens, 楷体 in AR PL UKai.
        QCOMPARE(shownFamily(formatAt(view, 1)), QString("Noto Serif CJK SC"));
        QCOMPARE(shownFamily(formatAt(view, 0)), QString("Noto Sans CJK SC"));
        QVERIFY2(shownFamily(formatAt(view, 2)).startsWith("AR PL UKai"), qPrintable(shownFamily(formatAt(view, 2))));
        // The body (most of the text) at 16 px; the heading keeps its proportion.
        QCOMPARE(formatAt(view, 1).font().pixelSize(), 16);
        QCOMPARE(formatAt(view, 0).font().pixelSize(), qRound(16 * 28.0 / 21));
        // Body lines 1.5 times the body size apart, and a gap after each paragraph.
        const double lineSpacing = QFontMetricsF(formatAt(view, 1).font()).lineSpacing();
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
            QCOMPARE(block.blockFormat().lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
            QVERIFY(block.blockFormat().bottomMargin() > 0);
        }
        const double distance = lineSpacing * view.document()->findBlockByNumber(1).blockFormat().lineHeight() / 100;
        QVERIFY2(qAbs(distance - 24) <= 1, qPrintable(QString::number(distance)));
        // The stored names stay: this is how the text is shown, not what it says.
        QCOMPARE(formatAt(view, 1).fontFamilies().toStringList(), QStringList{"宋体"});
        QVERIFY(!view.document()->isModified());
        // Plain text, with no face or size of its own, reads the same way.
        view.setContent(QString("纯文本的题目"));
        QCOMPARE(shownFamily(formatAt(view, 0)), QString("Noto Serif CJK SC"));
        QCOMPARE(formatAt(view, 0).font().pixelSize(), 16);
    }

    void compactScreensReadAtThirteenPixelsOrMore()
    {
        ScreenClass = QStringLiteral("800");
        RichView view;
        view.setContent(Question);
        QVERIFY(formatAt(view, 1).font().pixelSize() >= 13);
        QVERIFY(formatAt(view, 1).font().pixelSize() < 16);
    }

    void textReadsInFullContrast()
    {
        ui::applyLook(*qApp);
        RichView view;
        view.ensurePolished();
        QCOMPARE(view.palette().color(QPalette::Text), QColor(Qt::black));
    }

    void oneScaleChangesEveryViewAndIsKeptInTheBank()
    {
        openFreshBank();
        QWidget window;
        auto *column = new QVBoxLayout(&window);
        auto *question = new RichView(&window);
        auto *explanation = new RichView(&window);
        column->addWidget(question);
        column->addWidget(explanation);
        question->setContent(Question);
        explanation->setHtml("<p>解析</p>");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QTest::keyClick(question, Qt::Key_Equal, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(ReadingScale::instance().factor(), 1.2);
        QCOMPARE(formatAt(*question, 1).font().pixelSize(), qRound(16 * 1.2));
        QCOMPARE(formatAt(*explanation, 0).font().pixelSize(), qRound(16 * 1.2));
        QCOMPARE(store::settings::value(dm->ADOCn1, "reading.scale"), QString("1.2"));

        // Ctrl + wheel over a view, Ctrl + - anywhere in the window.
        QWheelEvent wheel(QPointF(5, 5), question->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(question->viewport(), &wheel);
        QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(ReadingScale::instance().factor(), 1.0);
        QCOMPARE(formatAt(*question, 1).font().pixelSize(), 16);

        // Held within range, and a view made later starts at the kept scale.
        ReadingScale::instance().setFactor(9);
        QCOMPARE(ReadingScale::instance().factor(), ReadingScale::kLargest);
        store::settings::setValue(dm->ADOCn1, "reading.scale", "1.3");
        ReadingScale::instance().loadFromBank();
        RichView later;
        later.setContent(Question);
        QCOMPARE(formatAt(later, 1).font().pixelSize(), qRound(16 * 1.3));
        closeBank();
    }

    void keysElsewhereAreLeftAlone()
    {
        QWidget window;
        auto *column = new QVBoxLayout(&window);
        auto *edit = new QLineEdit(&window);
        column->addWidget(edit);
        window.show();
        QTest::keyClick(edit, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(ReadingScale::instance().factor(), 1.0);
    }
};

QTEST_MAIN(TestReading)
#include "test_reading.moc"
