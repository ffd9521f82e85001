#include "DataModule.h"
#include "DataSource.h"
#include "Dataset.h"
#include "DbRichView.h"
#include "FixtureBank.h"

#include <QtTest>

#include <memory>

class TestDbRichView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void followsTheCurrentRow();
    void showsEditsAndClosing();
    void unknownFieldShowsNothing();
    void outlivesItsDataSource();

private:
    std::unique_ptr<FixtureBank> bank_;
    std::unique_ptr<store::Connection> connection_;
};

using richtext::DbRichView;

void TestDbRichView::init()
{
    bank_ = std::make_unique<FixtureBank>();
    // Question bodies as the bank holds them: GBK RTF bytes, plain text, NULL.
    bank_->exec("update tab_exer set A15 = ?, jx = null where A1 = '100101110001'",
                {QByteArray(R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fcharset134 \'cb\'ce\'cc\'e5;}}\f0 \'b9\'a4\'b3\'cc{\b \'d4\'ec\'bc\'db}\par})")});
    bank_->exec("update tab_exer set A15 = ?, jx = ? where A1 = '100101110002'",
                {QString("纯文本 {不是RTF}"), QString("{\\rtf1 \\u35299?\\u26512?}")});
    connection_ = std::make_unique<store::Connection>();
    connection_->setConnectionString(TDM1::connectionStringFor(bank_->bankFile()));
    connection_->open();
}

void TestDbRichView::followsTheCurrentRow()
{
    store::Query query(connection_.get());
    query.setSql("select A1, A15, jx from tab_exer order by A1");
    store::DataSource source(&query);
    DbRichView body;
    DbRichView explanation;
    body.setDataSource(&source);
    body.setDataField("a15"); // field names are case-insensitive
    explanation.setDataSource(&source);
    explanation.setDataField("JX");
    QCOMPARE(body.toPlainText(), QString());

    query.open();
    QCOMPARE(body.toPlainText(), QString("工程造价"));
    QCOMPARE(explanation.toPlainText(), QString());
    query.next();
    QCOMPARE(body.toPlainText(), QString("纯文本 {不是RTF}"));
    QCOMPARE(explanation.toPlainText(), QString("解析"));
    query.last();
    query.next(); // past the end: the last row stays current
    QVERIFY(query.eof());
    QCOMPARE(body.toPlainText(), query.value("A15").toString());
    query.first();
    QCOMPARE(body.toPlainText(), QString("工程造价"));
}

void TestDbRichView::showsEditsAndClosing()
{
    store::Query query(connection_.get());
    query.setSql("select A1, A15 from tab_exer where A1 = '100101110001'");
    query.open();
    store::DataSource source(&query);
    DbRichView view;
    view.setDataField("A15");
    view.setDataSource(&source);
    QCOMPARE(view.toPlainText(), QString("工程造价"));

    query.edit();
    query.setValue("A15", QString("改过"));
    query.post();
    QCOMPARE(view.toPlainText(), QString("改过"));

    query.close();
    QCOMPARE(view.toPlainText(), QString());
    query.setSql("select A1, A15 from tab_exer where A1 = 'none'");
    query.open();
    QCOMPARE(view.toPlainText(), QString());
}

void TestDbRichView::unknownFieldShowsNothing()
{
    store::Query query(connection_.get());
    query.setSql("select A1 from tab_exer");
    query.open();
    store::DataSource source(&query);
    DbRichView view;
    view.setDataSource(&source);
    view.setDataField("A15");
    QCOMPARE(view.toPlainText(), QString());
    query.next();
    QCOMPARE(view.toPlainText(), QString());
}

void TestDbRichView::outlivesItsDataSource()
{
    store::Query query(connection_.get());
    query.setSql("select A1, A15 from tab_exer order by A1");
    query.open();
    DbRichView view;
    view.setDataField("A15");
    {
        store::DataSource source(&query);
        view.setDataSource(&source);
        QCOMPARE(view.toPlainText(), QString("工程造价"));
    }
    query.next();
    QVERIFY(!view.dataSource());
    QCOMPARE(view.toPlainText(), QString("工程造价"));
}

QTEST_MAIN(TestDbRichView)
#include "test_dbrichview.moc"
