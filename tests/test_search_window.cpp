#include "DataModule.h"
#include "DemoBank.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "OpenSearch.h"
#include "ResultList.h"
#include "RichView.h"
#include "SearchIndex.h"
#include "SearchPractice.h"
#include "TFrmSearch.h"
#include "TFrmkmmc.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSplitter>
#include <QtTest>

using search::TFrmSearch;

class TestSearchWindow : public QObject {
    Q_OBJECT
    std::unique_ptr<DemoBank> demo;
    std::unique_ptr<TDM1> dm;

    QVariant db(const QString &sql) { return dm->ADOCn1.scalar(sql); }

    static int shown(TFrmSearch &w) { return w.lstResults->model()->rowCount(); }
    static QString snippetOf(TFrmSearch &w, int row)
    {
        return w.lstResults->model()->index(row, 0).data(search::ResultModel::SnippetHtmlRole).toString();
    }
    static QString factsOf(TFrmSearch &w, int row)
    {
        return w.lstResults->model()->index(row, 0).data(search::ResultModel::FactsHtmlRole).toString();
    }

    // Runs `act` on the modal window of type T once it shows; `act` closes it.
    template <typename T>
    static void whenModal(const std::function<void(T &)> &act)
    {
        auto *poll = new QTimer;
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, [poll, act] {
            if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                act(*window);
            }
        });
        poll->start();
    }

private slots:
    void init()
    {
        QVERIFY(openFreshDemo(demo, dm));
        const QDir pictures(QStringLiteral(QUILLET_PIC_DIR));
        QDir(demo->folder()).mkpath("pic");
        for (const QString &file : pictures.entryList({"*.bmp"}))
            QVERIFY(QFile::copy(pictures.filePath(file), demo->folder() + "/pic/" + file));
        ScreenClass = QStringLiteral("1024");
        MessageRecorder::clear();
    }
    void cleanup() { dm.reset(); }

    void typingFindsAndShowsTheWholeQuestion()
    {
        TFrmSearch w;
        QVERIFY(!search::isBuilt(dm->ADOCn1));
        QVERIFY(w.prepareIndex());
        QVERIFY(search::isBuilt(dm->ADOCn1));
        w.show();
        QCOMPARE(w.lblStatus->text(), QStringLiteral("请输入要找的字词。"));
        QVERIFY(!w.btnPractice->isEnabled());
        // Chinese arrives as the input method commits it, a character at a time.
        for (const QChar c : QStringLiteral("暂估价"))
            w.edtQuery->insert(QString(c));
        QCOMPARE(shown(w), 0); // results wait for a pause in typing
        QTRY_VERIFY(shown(w) > 0);
        QVERIFY(w.lblStatus->text().startsWith(QStringLiteral("找到")));
        QVERIFY(snippetOf(w, 0).contains(QStringLiteral("暂估价</b>")));
        int question = 0;
        while (question < shown(w) && factsOf(w, question).contains(QStringLiteral("考点")))
            ++question;
        QVERIFY(factsOf(w, question).contains(QStringLiteral("科目")));
        QVERIFY(factsOf(w, question).contains(QStringLiteral("未做")));
        QVERIFY(w.reDetail->toPlainText().startsWith(QStringLiteral("考点")) == (question > 0));
        w.lstResults->setCurrentIndex(w.lstResults->model()->index(question, 0));
        const QString detail = w.reDetail->toPlainText();
        QVERIFY2(detail.contains(QStringLiteral("【题目】")), qPrintable(detail));
        QVERIFY(detail.contains(QStringLiteral("暂估价")));
        QVERIFY(detail.contains(QStringLiteral("【解析】")));
        QVERIFY(w.btnPractice->isEnabled());

        // A question id typed whole opens that question.
        const QString id = db("select A1 from tab_answ order by A1 limit 1 offset 7").toString();
        w.setQuery(id.toLower());
        QVERIFY(shown(w) >= 1);
        QVERIFY(w.reDetail->toPlainText().contains(QStringLiteral("题号 ") + id));
        QVERIFY(w.reDetail->toPlainText().contains(QStringLiteral("【答案】") + db("select A2 from tab_answ where A1 = '" + id + "'").toString()));

        // Hostile text is a query like any other.
        w.setQuery(QStringLiteral("\"NEAR(工程\" * -"));
        QVERIFY(w.lblStatus->text().startsWith(QStringLiteral("没有找到")) || w.lblStatus->text().startsWith(QStringLiteral("找到")));
        QVERIFY(MessageRecorder::shown().isEmpty());
    }

    void filtersNarrowTheResults()
    {
        TFrmSearch w;
        QVERIFY(w.prepareIndex());
        w.setQuery(QStringLiteral("工程"));
        const int all = shown(w);
        QVERIFY(all > 5);
        w.cbSubject->setCurrentIndex(2);
        QVERIFY(shown(w) > 0 && shown(w) < all);
        for (int row = 0; row < shown(w); ++row)
            QVERIFY(factsOf(w, row).contains(QStringLiteral("科目二")));
        w.cbSubject->setCurrentIndex(0);
        w.cbScope->setCurrentIndex(2);
        for (int row = 0; row < shown(w); ++row)
            QVERIFY(factsOf(w, row).contains(QStringLiteral("考点")));
        QVERIFY(!w.btnPractice->isEnabled()); // points cannot be practised
        w.cbScope->setCurrentIndex(0);
        w.cbAnswered->setCurrentIndex(2);
        QCOMPARE(shown(w), 0);
        QCOMPARE(w.lblStatus->text(), QStringLiteral("没有找到。"));
    }

    void practisingTheResultsMarksAnswers()
    {
        TFrmSearch w;
        QVERIFY(w.prepareIndex());
        w.show();
        w.setQuery(QStringLiteral("暂估价"));
        w.cbScope->setCurrentIndex(1);
        w.cbType->setCurrentIndex(w.cbType->findData(11));
        QVERIFY(shown(w) > 0);
        QString practised, board;
        whenModal<search::SearchPracticeWindow>([&](search::SearchPracticeWindow &window) {
            search::SearchPracticeWindow *run = &window;
            practised = DataModule->Cn1Query_tm.fieldByName("A1").asString();
            board = run->epLabel2->text();
            QVERIFY(!w.isVisible());
            const QString key = DataModule->Cn1Query_tm.fieldByName("A2").asString();
            const QString wrong = key == "A" ? "B" : "A";
            run->findChild<QAbstractButton *>("fcBG_one" + wrong)->click();
            run->epEfTrBtn3->click();
            run->epEfTrBtn99->click();
        });
        w.btnPractice->click();
        QVERIFY(!practised.isEmpty());
        QVERIFY(board.contains(QStringLiteral("暂估价")));
        QVERIFY(w.isVisible());
        QCOMPARE(db("select E3 from tab_answ where A1 = '" + practised + "'").toInt(), 1);
        QVERIFY(db("select E4 from tab_answ where A1 = '" + practised + "'").toInt() < 0);
        // The results show the answer, and the wrong-answer filter finds it.
        w.cbAnswered->setCurrentIndex(2);
        QCOMPARE(shown(w), 1);
        QCOMPARE(qobject_cast<search::ResultModel *>(w.lstResults->model())->hitAt(0).ref, practised);
        QVERIFY(factsOf(w, 0).contains(QStringLiteral("做错")));
    }

    void ctrlFOpensSearchFromTheChapterSelector()
    {
        search::installSearchShortcut();
        PracticeSubject = 1;
        TFrmkmmc selector;
        selector.show();
        QVERIFY(QTest::qWaitForWindowExposed(&selector));
        bool opened = false, practiceAllowed = false;
        whenModal<TFrmSearch>([&](TFrmSearch &window) {
            opened = true;
            window.setQuery(QStringLiteral("工程"));
            practiceAllowed = window.btnPractice->isEnabled();
            window.btnClose->click();
        });
        QTest::keyClick(&selector, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(opened);
        QVERIFY(practiceAllowed);
    }

    void fromAPracticeRunSearchCannotStartAnother()
    {
        TFrmSearch w(nullptr, true);
        QVERIFY(w.prepareIndex());
        w.setQuery(QStringLiteral("工程"));
        QVERIFY(shown(w) > 0);
        QVERIFY(!w.btnPractice->isEnabled());
    }

    void compactLayoutFitsTheSmallScreen()
    {
        ScreenClass = QStringLiteral("800");
        TFrmSearch w;
        QVERIFY(w.width() <= 800 && w.height() <= 600);
        QCOMPARE(w.splitter->orientation(), Qt::Vertical);
    }
};

QTEST_MAIN(TestSearchWindow)
#include "test_search_window.moc"
