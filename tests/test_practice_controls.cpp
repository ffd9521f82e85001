#include "AnswerPages.h"
#include "BankTestCase.h"
#include "ChapterGridModel.h"
#include "GlyphButton.h"
#include "Globals.h"
#include "GroupPager.h"
#include "NumberBoard.h"
#include "QuestionText.h"
#include "RichView.h"
#include "SelectorLogic.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QtTest>

using namespace practice;

// The parts the practice windows are built from, each on its own.
class TestPracticeControls : public BankTestCase {
    Q_OBJECT

    static QAbstractButton *option(AnswerPages &pages, const QString &name)
    {
        return pages.findChild<QAbstractButton *>(name);
    }

private slots:
    void optionPagesOfferOnlyTheQuestionsOptions()
    {
        AnswerPages pages;
        pages.setCurrentIndex(SingleChoicePage);
        pages.offerOptions(4);
        QVERIFY(option(pages, "fcBG_oneE")->isHidden() && !option(pages, "fcBG_oneD")->isHidden());
        QVERIFY(pages.pressOptionKey(3));
        QVERIFY(pages.pressOptionKey(2)); // one option at a time
        QCOMPARE(pages.answer(), QString("C"));
        QVERIFY(!pages.pressOptionKey(4)); // E is not offered
        pages.offerOptions(2);              // C goes away, and is released with it
        QCOMPARE(pages.answer(), QString());

        pages.setCurrentIndex(MultipleChoicePage);
        pages.offerOptions(4);
        pages.restore("ABD");
        QCOMPARE(pages.answer(), QString("ABD"));
        QVERIFY(pages.pressOptionKey(0)); // toggles A off
        QCOMPARE(pages.answer(), QString("BD"));

        pages.setCurrentIndex(MatchingPage);
        pages.restore("BE");
        QCOMPARE(pages.answer(), QString("B"));
        QVERIFY(!pages.takesOptionKeys());
    }

    // One-answer boards: a click on the pressed option releases it, a click on
    // another moves the press, an option key only ever presses.
    void aPressedOneAnswerOptionIsReleasedByItsClick_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("secondAnswer");
        QTest::newRow("single choice") << int(SingleChoicePage) << "fcBG_oneB" << "fcBG_oneD" << "D";
        QTest::newRow("true/false") << int(TrueFalsePage) << "fcBG_yn对" << "fcBG_yn错" << "B";
    }
    void aPressedOneAnswerOptionIsReleasedByItsClick()
    {
        QFETCH(int, page);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, secondAnswer);
        AnswerPages pages;
        pages.setCurrentIndex(page);
        pages.offerOptions(4);
        option(pages, first)->click();
        QVERIFY(option(pages, first)->isChecked());
        option(pages, first)->click();
        QVERIFY(!option(pages, first)->isChecked());
        QCOMPARE(pages.answer(), QString());
        option(pages, first)->click();
        option(pages, second)->click();
        QVERIFY(!option(pages, first)->isChecked());
        QCOMPARE(pages.answer(), secondAnswer);
        pages.restore(QString());
        QCOMPARE(pages.answer(), QString());
        if (page == SingleChoicePage) {
            QVERIFY(pages.pressOptionKey(1));
            QVERIFY(pages.pressOptionKey(1));
            QCOMPARE(pages.answer(), QString("B"));
        }
    }

    void otherPagesYieldTheirEncoding()
    {
        AnswerPages pages;
        pages.setCurrentIndex(FillInPage);
        pages.FlatEdit1->setText("  12,3 ");
        QCOMPARE(pages.answer(), QString("12,3"));
        QCOMPARE(pages.panelAnswer(), QString());
        pages.restore(QString());
        QCOMPARE(pages.FlatEdit1->text(), QString());

        pages.setCurrentIndex(TrueFalsePage);
        pages.restore("B");
        QVERIFY(option(pages, "fcBG_yn错")->isChecked());
        QCOMPARE(pages.answer(), QString("B"));
        pages.restore("X");
        QCOMPARE(pages.answer(), QString());

        pages.setCurrentIndex(SelfAssessmentPage);
        pages.restore("1");
        QCOMPARE(pages.FlatComboBox1->currentText(), QString("会"));
        QCOMPARE(pages.answer(), QString("1"));
        QCOMPARE(pages.panelAnswer(), QString());
        pages.restore(QString());
        QCOMPARE(pages.answer(), QString());
        pages.setTypeName("判断题");
        QCOMPARE(pages.Label8->text(), QString("判\n断"));
    }

    void typesOpenThePageOfTheirEncoding()
    {
        QCOMPARE(answerPageFor(11), int(SingleChoicePage));
        QCOMPARE(answerPageFor(14), int(MultipleChoicePage));
        QCOMPARE(answerPageFor(41), int(TrueFalsePage));
        for (int subjective : {65, 72, 73, 74})
            QCOMPARE(answerPageFor(subjective), int(SelfAssessmentPage));
        QCOMPARE(answerPageFor(99), -1);
    }

    void numberButtonsFollowTheGroup()
    {
        NumberGlyphs glyphs;
        QVERIFY(glyphs.load(QStringLiteral(QUILLET_PROGRAM_DIR)));
        NumberBoard board(glyphs);
        GroupPager pager;
        pager.reset(23);
        pager.nextGroup();
        board.showGroup(pager, [](int record) { return record == 22 ? AnswerState::Right : AnswerState::NotAnswered; });
        QCOMPARE(board.button(0)->tag(), 21);
        QVERIFY(board.button(2)->isEnabled() && !board.button(3)->isEnabled());
        QCOMPARE(board.button(3)->tag(), 0);
        QCOMPARE(board.button(1)->upGlyph().toImage(), glyphs.yes.toImage());
        QCOMPARE(board.button(1)->downGlyph().toImage(), glyphs.downRight.toImage());

        QSignalSpy picked(&board, &NumberBoard::recordPicked);
        board.button(2)->click();
        board.button(3)->click(); // disabled: nothing
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.first().first().toInt(), 23);
        board.setState(2, AnswerState::Wrong);
        QCOMPARE(board.button(2)->downGlyph().toImage(), glyphs.downWrong.toImage());
    }

    void bankTextSizesKeepTheirProportionAroundTheReadingSize()
    {
        ScreenClass = "1024";
        richtext::RichView view;
        view.setContent(QByteArray("{\\rtf1\\ansi{\\fs18 nine}{\\fs12 six}{\\fs24 twelve}{\\fs36 big}}"));
        QStringList sizes;
        for (auto it = view.document()->begin().begin(); !it.atEnd(); ++it)
            sizes << it.fragment().text() + "=" + QString::number(it.fragment().charFormat().font().pixelSize());
        // 12 pt is most of the text: it reads at 16 px; a tiny size is held at 60 % of it.
        QCOMPARE(sizes, QStringList({"nine=12", "six=10", "twelve=16", "big=24"}));
        QVERIFY(!view.document()->isModified());
    }

    void theGridListsChaptersWithoutMovingTheCursor()
    {
        openFreshBank();
        bank->exec("insert into tab_kmmc (bh,C1,C2,C3,D1,D2,C6) values (99,'xx','隐藏行',0,0,0,'0')");
        bank->exec("update tab_kmmc set C3 = 8, D1 = 4, D2 = 1, C6 = '75.00' where C1 = '100101'");
        store::Table &chapters = dm->Cn1Table_kmmc;
        showChapterGrid(chapters, "100101");
        const int current = chapters.recNo();
        ChapterGridModel model;
        model.reload(chapters);
        QCOMPARE(chapters.recNo(), current);
        QCOMPARE(model.rowCount(), 7); // the 'xx' row is not listed
        const int row = current - 1;
        QCOMPARE(model.data(model.index(row, 0), Qt::DisplayRole).toString(), QString("第一节 工程造价的含义"));
        QCOMPARE(model.data(model.index(row, 5), Qt::DisplayRole).toString(), QString("75.00"));
        QCOMPARE(model.data(model.index(row, 5), Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(model.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QString("已做道次"));
        closeBank();
    }
};

QTEST_MAIN(TestPracticeControls)
#include "test_practice_controls.moc"
