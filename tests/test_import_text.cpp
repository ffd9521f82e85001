#include "Expect.h"
#include "ImportFixtures.h"
#include "Recognized.h"
#include "TextCodec.h"

#include <QElapsedTimer>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

using formats::import::Recognition;
using formats::import::recognizeFile;

class TestImportText : public QObject
{
    Q_OBJECT

private slots:
    void sectionsNumberingOptionsAndKeys();
    void answerListAtTheEnd();
    void trueFalseKeysInEveryForm();
    void otherNumberingStylesAndLongExplanations();
    void subjectiveQuestionsTakeTheSubjectsType();
    void caseQuestionKeepsItsSubQuestions();
    void doubtfulQuestionsAreFlagged();
    void encodingsGiveTheSameQuestions_data();
    void encodingsGiveTheSameQuestions();
    void aiken();
    void gift();
    void csvWithHeaderRow();
    void papersAsTheyAreWritten();
    void answersBetweenSections();
    void thousandQuestionsInWellUnderASecond();

private:
    Recognition recognize(const QString &text, int subject = 1, const QString &name = QStringLiteral("q.txt"));
    QTemporaryDir dir;
};

Recognition TestImportText::recognize(const QString &text, int subject, const QString &name)
{
    return recognizeFile(fixtures::write(dir.path(), name, text.toUtf8()), subject);
}

void TestImportText::sectionsNumberingOptionsAndKeys()
{
    const Recognition r = recognize(QStringLiteral(
        "2024年造价工程师模拟试卷\n"
        "一、单项选择题（每题1分）\n"
        "1. 工程造价的第二种含义是指（  ）。\n"
        "A. 建设投资\n"
        "B. 工程价格\n"
        "C. 建设项目总投资\n"
        "D. 固定资产投资\n"
        "答案：B\n"
        "解析：第二种含义是从市场交易角度。\n"
        "\n"
        "2、下列费用中，属于建筑安装工程费的是（ C ）。\n"
        "A、设备购置费 B、土地使用费 C、措施项目费 D、预备费\n"
        "3．关于工程量清单，说法正确的是（　）。\n"
        "（A）甲　（B）乙　（C）丙　（D）丁\n"
        "【答案】A\n"
        "【解析】甲正确。\n"
        "二、多选题（每题2分）\n"
        "（1）下列属于措施项目的有（ ）。\n"
        "Ａ：脚手架\n"
        "Ｂ：模板\n"
        "Ｃ：钢筋\n"
        "Ｄ：混凝土\n"
        "Ｅ：垂直运输\n"
        "正确答案：A、B、E\n"));
    QVERIFY(r.problems.isEmpty());
    QCOMPARE(r.questions.size(), 4);

    const auto &q1 = r.questions[0];
    EXPECT_QUESTION(q1, 11, "工程造价的第二种含义是指（  ）。",
                    (QStringList{"建设投资", "工程价格", "建设项目总投资", "固定资产投资"}), "B");
    QCOMPARE(q1.explanation, QStringLiteral("第二种含义是从市场交易角度。"));
    QCOMPARE(q1.line, 3);
    QCOMPARE(q1.section, QStringLiteral("一、单项选择题（每题1分）"));
    QCOMPARE(q1.marks, 1.0);
    QVERIFY(q1.stemRtf.startsWith(QLatin1String("{\\rtf1")));
    QVERIFY(q1.sourceText.contains(QStringLiteral("答案：B")));
    EXPECT_CLEAN(q1);

    // The key in the stem's brackets leaves the brackets for the learner.
    EXPECT_QUESTION(r.questions[1], 11, "下列费用中，属于建筑安装工程费的是（  ）。",
                    (QStringList{"设备购置费", "土地使用费", "措施项目费", "预备费"}), "C");
    QCOMPARE(r.questions[1].line, 11);
    EXPECT_CLEAN(r.questions[1]);

    EXPECT_QUESTION(r.questions[2], 11, "关于工程量清单，说法正确的是（　）。",
                    (QStringList{"甲", "乙", "丙", "丁"}), "A");
    QCOMPARE(r.questions[2].explanation, QStringLiteral("甲正确。"));

    EXPECT_QUESTION(r.questions[3], 14, "下列属于措施项目的有（ ）。",
                    (QStringList{"脚手架", "模板", "钢筋", "混凝土", "垂直运输"}), "ABE");
    QCOMPARE(r.questions[3].marks, 2.0);
    EXPECT_CLEAN(r.questions[3]);
}

void TestImportText::answerListAtTheEnd()
{
    QString text = QStringLiteral("一、单项选择题\n");
    for (int i = 1; i <= 6; ++i)
        text += QStringLiteral("%1.单选第%1题（ ）\nA.甲 B.乙 C.丙 D.丁\n").arg(i);
    text += QStringLiteral("二、多项选择题\n");
    for (int i = 1; i <= 3; ++i)
        text += QStringLiteral("%1.多选第%1题（ ）\nA.甲\nB.乙\nC.丙\nD.丁\nE.戊\n").arg(i);
    text += QStringLiteral("参考答案\n一、单项选择题\n1-5 ABCDA\n6.B\n二、多项选择题\n"
                           "1.ABC 2.BD\n3.【答案】CE【解析】丙和戊都对。\n多看教材。\n");
    const Recognition r = recognize(text);
    QVERIFY2(r.problems.isEmpty(), qPrintable(r.problems.value(0).reason));
    QCOMPARE(r.questions.size(), 9);
    const QStringList keys{"A", "B", "C", "D", "A", "B", "ABC", "BD", "CE"};
    for (int i = 0; i < 9; ++i) {
        QCOMPARE(r.questions[i].key, keys[i]);
        QCOMPARE(r.questions[i].type, i < 6 ? 11 : 14);
        EXPECT_CLEAN(r.questions[i]);
    }
    QCOMPARE(r.questions[5].stem, QStringLiteral("单选第6题（ ）"));
    QCOMPARE(r.questions[8].explanation, QStringLiteral("丙和戊都对。\n多看教材。"));

    // An answer for a question that is not there is reported, not dropped silently.
    const Recognition extra = recognize(QStringLiteral("1.题（ ）\nA.甲 B.乙\n答案\n1-3 ABA\n"));
    QCOMPARE(extra.questions.size(), 1);
    QCOMPARE(extra.questions[0].key, QStringLiteral("A"));
    QCOMPARE(extra.problems.size(), 2);
    QVERIFY(extra.problems[0].reason.contains(QStringLiteral("第 2 题")));
    QCOMPARE(extra.problems[0].line, 4);
}

void TestImportText::trueFalseKeysInEveryForm()
{
    const Recognition r = recognize(QStringLiteral(
        "三、判断题\n"
        "1. 造价工程师每一注册有效期内应接受继续教育。（√）\n"
        "2. 分支机构可以以自己的名义承接业务。\n答案：错\n"
        "3. 甲说法正确。\n答案：对\n"
        "4. 乙说法正确。\n答案：×\n"
        "5. 丙说法正确。\n答案：正确\n"
        "6. 丁说法正确。\n答案：T\n"
        "7. 戊说法正确。\n答案：F\n"
        "8. 己说法正确。\nA.正确 B.错误\n答案：B\n"));
    QCOMPARE(r.questions.size(), 8);
    const QStringList keys{"A", "B", "A", "B", "A", "A", "B", "B"};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(r.questions[i].type, 41);
        QCOMPARE(r.questions[i].key, keys[i]);
        QCOMPARE(r.questions[i].options, (QStringList{"正确", "错误"}));
        EXPECT_CLEAN(r.questions[i]);
    }
    QCOMPARE(r.questions[0].stem, QStringLiteral("造价工程师每一注册有效期内应接受继续教育。（）"));

    // Without a heading, a true/false key alone makes the question true/false.
    const Recognition bare = recognize(QStringLiteral("1. 说法一。\n答案：√\n2. 说法二。\n答案：错误\n3. 说法三。\n答案：F\n"));
    QCOMPARE(bare.questions.size(), 3);
    QCOMPARE(bare.questions[2].type, 41);
    QCOMPARE(bare.questions[2].key, QStringLiteral("B"));
    QCOMPARE(bare.questions[0].type, 41);
    QCOMPARE(bare.questions[0].key, QStringLiteral("A"));
    QCOMPARE(bare.questions[1].key, QStringLiteral("B"));
}

void TestImportText::otherNumberingStylesAndLongExplanations()
{
    const Recognition r = recognize(QStringLiteral(
        "第1题 甲乙丙丁中最大的是（ ）。\n"
        "A)甲\nB)乙\nC)丙\nD)丁\n"
        "答案：D\n"
        "答案解析：丁最大，\n因为丁排在最后。\n"
        "第2题 以下正确的有（ ）。\n"
        "A.一 B.二 C.三 D.四\n"
        "答案：A,C\n"));
    QCOMPARE(r.questions.size(), 2);
    EXPECT_QUESTION(r.questions[0], 11, "甲乙丙丁中最大的是（ ）。", (QStringList{"甲", "乙", "丙", "丁"}), "D");
    QCOMPARE(r.questions[0].explanation, QStringLiteral("丁最大，\n因为丁排在最后。"));
    EXPECT_QUESTION(r.questions[1], 14, "以下正确的有（ ）。", (QStringList{"一", "二", "三", "四"}), "AC");

    const Recognition tabs = recognize(QStringLiteral("1\t第一题（ ）\nA.甲 B.乙\n答案：A\n2\t第二题（ ）\nA.甲 B.乙\n答案：B\n"));
    QCOMPARE(tabs.questions.size(), 2);
    EXPECT_QUESTION(tabs.questions[1], 11, "第二题（ ）", (QStringList{"甲", "乙"}), "B");

    // Stem and options on one line, the key after the last option.
    const Recognition oneLine = recognize(QStringLiteral("1. 最小的是（ ）。A.1 B.2 C.3 D.4 答案：A\n"));
    QCOMPARE(oneLine.questions.size(), 1);
    EXPECT_QUESTION(oneLine.questions[0], 11, "最小的是（ ）。", (QStringList{"1", "2", "3", "4"}), "A");
}

void TestImportText::subjectiveQuestionsTakeTheSubjectsType()
{
    const QString text = QStringLiteral(
        "四、简答题\n"
        "1. 简述工程造价的两种含义。\n"
        "参考答案：第一种是投资者角度，\n第二种是市场交易角度。\n"
        "2. 简述计价依据。\n");
    const Recognition one = recognize(text, 1);
    QCOMPARE(one.questions.size(), 2);
    EXPECT_QUESTION(one.questions[0], 72, "简述工程造价的两种含义。", QStringList(), "");
    QCOMPARE(one.questions[0].explanation, QStringLiteral("第一种是投资者角度，\n第二种是市场交易角度。"));
    EXPECT_CLEAN(one.questions[0]);
    QCOMPARE(one.questions[1].type, 72);
    QCOMPARE(recognize(text, 2).questions[0].type, 73);
    QCOMPARE(recognize(text, 5).questions[0].type, 74);
    QCOMPARE(recognize(QStringLiteral("案例分析题\n1. 某项目……\n问题：计算投资。\n"), 5).questions[0].type, 65);
    // No heading: no options and no key is a subjective question too.
    QCOMPARE(recognize(QStringLiteral("1. 论述造价管理的意义。\n"), 5).questions[0].type, 65);
}

void TestImportText::caseQuestionKeepsItsSubQuestions()
{
    const Recognition r = recognize(QStringLiteral(
        "五、案例分析题\n"
        "试题一：\n"
        "某项目建设投资3000万元。\n"
        "问题：\n"
        "1. 计算建设期利息。\n"
        "2. 计算总投资。\n"
        "参考答案：\n"
        "1. 利息为90万元。\n"
        "2. 总投资为3090万元。\n"
        "试题二：\n"
        "某工程合同价1000万元。\n"
        "（1）计算预付款。\n"),
                                    5);
    QCOMPARE(r.questions.size(), 2);
    QCOMPARE(r.questions[0].type, 65);
    QCOMPARE(r.questions[0].stem, QStringLiteral("某项目建设投资3000万元。\n问题：\n1. 计算建设期利息。\n2. 计算总投资。"));
    QCOMPARE(r.questions[0].explanation, QStringLiteral("1. 利息为90万元。\n2. 总投资为3090万元。"));
    QCOMPARE(r.questions[1].stem, QStringLiteral("某工程合同价1000万元。\n（1）计算预付款。"));
    QCOMPARE(r.questions[1].line, 10);
}

void TestImportText::doubtfulQuestionsAreFlagged()
{
    const Recognition r = recognize(QStringLiteral(
        "一、单项选择题\n"
        "1. 没有答案的题（ ）。\nA.甲 B.乙 C.丙 D.丁\n"
        "2. 答案超出选项（ ）。\nA.甲 B.乙 C.丙 D.丁\n答案：E\n"
        "3. 只有一个选项（ ）。\nA.甲\n答案：A\n"
        "4. 单选给了两个答案（ ）。\nA.甲 B.乙 C.丙 D.丁\n答案：AB\n"
        "5. 两处答案不同（ B ）。\nA.甲 B.乙 C.丙 D.丁\n答案：C\n"));
    QCOMPARE(r.questions.size(), 5);
    QCOMPARE(r.questions[0].problems, QStringList{"没有找到答案"});
    QCOMPARE(r.questions[1].problems, QStringList{"答案不在选项中"});
    QCOMPARE(r.questions[2].problems, QStringList{"只有一个选项"});
    QCOMPARE(r.questions[3].problems, QStringList{"单选题给出了多个答案"});
    QCOMPARE(r.questions[4].problems, QStringList{"答案前后不一致"});
    // The doubtful bracket stays in the stem for the learner to see.
    QCOMPARE(r.questions[4].stem, QStringLiteral("两处答案不同（ B ）。"));

    // Without any heading, options without a key cannot say single or multiple.
    const Recognition untyped = recognize(QStringLiteral("1. 无标题无答案（ ）\nA.甲 B.乙\n"));
    QCOMPARE(untyped.questions[0].type, 0);
    QVERIFY(untyped.questions[0].problems.contains(QStringLiteral("无法判断题型")));

    // Option lines before any question are reported as unplaced.
    const Recognition stray = recognize(QStringLiteral("A.无主的选项\n1. 题（ ）\nA.甲 B.乙\n答案：A\n"));
    QCOMPARE(stray.problems.size(), 1);
    QCOMPARE(stray.problems[0].line, 1);
}

void TestImportText::encodingsGiveTheSameQuestions_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString text = QStringLiteral("一、单项选择题\r\n1. 工程造价（ ）。\r\nA. 甲\r\nB. 乙\r\n答案：B\r\n解析：乙对。\r\n");
    QTest::newRow("utf-8") << text.toUtf8();
    QTest::newRow("utf-8 bom") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    QStringEncoder le(QStringConverter::Utf16LE);
    QStringEncoder be(QStringConverter::Utf16BE);
    QTest::newRow("utf-16le bom") << QByteArray("\xFF\xFE") + QByteArray(le.encode(text));
    QTest::newRow("utf-16le") << QByteArray(le.encode(text));
    QTest::newRow("utf-16be bom") << QByteArray("\xFE\xFF") + QByteArray(be.encode(text));
    QTest::newRow("utf-16be") << QByteArray(be.encode(text));
    QByteArray gbk;
    for (const QChar c : text)
        QVERIFY(rtf::TextCodec::encodeChar(rtf::TextCodec::Gbk, QString(c), gbk));
    QTest::newRow("gbk") << gbk;
}

void TestImportText::encodingsGiveTheSameQuestions()
{
    QFETCH(QByteArray, bytes);
    const Recognition r = recognizeFile(fixtures::write(dir.path(), QStringLiteral("enc.txt"), bytes), 1);
    QCOMPARE(r.questions.size(), 1);
    EXPECT_QUESTION(r.questions[0], 11, "工程造价（ ）。", (QStringList{"甲", "乙"}), "B");
    QCOMPARE(r.questions[0].explanation, QStringLiteral("乙对。"));
    QCOMPARE(r.questions[0].line, 2);
}

void TestImportText::aiken()
{
    const Recognition r = recognize(QStringLiteral(
        "工程造价的第二种含义是指什么？\n"
        "A. 建设投资\n"
        "B) 工程价格\n"
        "C. 总投资\n"
        "ANSWER: B\n"
        "\n"
        "Which is largest?\n"
        "A. one\n"
        "B. two\n"
        "ANSWER: C\n"),
                                    1, QStringLiteral("quiz.txt"));
    QCOMPARE(r.questions.size(), 2);
    EXPECT_QUESTION(r.questions[0], 11, "工程造价的第二种含义是指什么？", (QStringList{"建设投资", "工程价格", "总投资"}), "B");
    QCOMPARE(r.questions[0].line, 1);
    EXPECT_CLEAN(r.questions[0]);
    QCOMPARE(r.questions[1].line, 7);
    QCOMPARE(r.questions[1].problems, QStringList{"答案不在选项中"});
}

void TestImportText::gift()
{
    const Recognition r = recognize(QStringLiteral(
        "// 造价练习\n"
        "$CATEGORY: 第一章\n"
        "::Q1:: 工程造价的第二种含义是指{~建设投资 =工程价格 ~总投资 ####市场交易角度}。\n"
        "\n"
        "::Q2:: 以下属于措施项目的有 {~%50%脚手架 ~%50%模板 ~%-100%钢筋}\n"
        "\n"
        "造价工程师须继续教育。{T}\n"
        "\n"
        "简述工程造价的含义。{}\n"
        "\n"
        "1+1=? {#2}\n"),
                                    1, QStringLiteral("quiz.gift"));
    QCOMPARE(r.questions.size(), 5);
    EXPECT_QUESTION(r.questions[0], 11, "工程造价的第二种含义是指（  ）。", (QStringList{"建设投资", "工程价格", "总投资"}), "B");
    QCOMPARE(r.questions[0].explanation, QStringLiteral("市场交易角度"));
    QCOMPARE(r.questions[0].section, QStringLiteral("第一章"));
    QCOMPARE(r.questions[0].line, 3);
    EXPECT_QUESTION(r.questions[1], 14, "以下属于措施项目的有", (QStringList{"脚手架", "模板", "钢筋"}), "AB");
    EXPECT_QUESTION(r.questions[2], 41, "造价工程师须继续教育。", (QStringList{"正确", "错误"}), "A");
    QCOMPARE(r.questions[3].type, 72);
    QCOMPARE(r.questions[4].type, 0);
    QCOMPARE(r.questions[4].problems.size(), 1);
}

void TestImportText::csvWithHeaderRow()
{
    const QString csv = QStringLiteral(
        "题型,题干,A,B,C,D,答案,解析\n"
        "单选,\"工程造价，第二种含义（ ）\",建设投资,工程价格,总投资,固定资产,B,\"市场\"\"交易\"\"角度\"\n"
        "判断,继续教育是必须的,,,,,对,\n");
    QByteArray gbk;
    for (const QChar c : csv)
        QVERIFY(rtf::TextCodec::encodeChar(rtf::TextCodec::Gbk, QString(c), gbk));
    const Recognition r = recognizeFile(fixtures::write(dir.path(), QStringLiteral("q.csv"), gbk), 1);
    QCOMPARE(r.questions.size(), 2);
    EXPECT_QUESTION(r.questions[0], 11, "工程造价，第二种含义（ ）", (QStringList{"建设投资", "工程价格", "总投资", "固定资产"}), "B");
    QCOMPARE(r.questions[0].explanation, QStringLiteral("市场\"交易\"角度"));
    QCOMPARE(r.questions[0].line, 2);
    EXPECT_QUESTION(r.questions[1], 41, "继续教育是必须的", (QStringList{"正确", "错误"}), "A");
}

void TestImportText::papersAsTheyAreWritten()
{
    // A past paper: long section notes, numbered points in an explanation,
    // options two a line, numbers going on across sections.
    const Recognition paper = recognize(QStringLiteral(
        "2023年一级造价工程师《建设工程造价管理》真题及答案解析\n"
        "一、单项选择题（共60题，每题1分。每题的备选项中，只有1个最符合题意）\n"
        "1.根据《建设工程质量管理条例》，建设工程承包单位应当向建设单位出具质量保修书的时间是（　）。\n"
        "A.竣工验收合格后\n"
        "B.提交竣工验收报告时\n"
        "C.竣工验收时\n"
        "D.交付使用时\n"
        "【答案】B\n"
        "【解析】建设工程承包单位在向建设单位提交工程竣工验收报告时，应当向建设单位出具质量保修书。\n"
        "【考点来源】第一章第一节\n"
        "2.关于工程造价咨询企业的说法，正确的是（　）。\n"
        "A.甲级企业可以从事各类建设项目的工程造价咨询业务　　B.乙级企业可以从事工程造价5000万元以下的项目\n"
        "C.分支机构可以以自己名义承接业务　　　　　　　　　　D.企业资质有效期为5年\n"
        "【答案】A\n"
        "【解析】\n"
        "1.甲级工程造价咨询企业可以从事各类建设项目的工程造价咨询业务。\n"
        "2.乙级工程造价咨询企业可以从事工程造价2亿元人民币以下的各类建设项目的工程造价咨询业务。\n"
        "3.下列工程计价文件中，由施工承包单位编制的是（　）。\n"
        "A.工程概算文件　B.施工图结算文件　C.工程结算文件　D.竣工决算文件\n"
        "【答案】C\n"
        "二、多项选择题（共20题，每题2分。每题的备选项中，有2个或2个以上符合题意，至少有1个错项。错选，本题不得分；少选，所选的每个选项得0.5分）\n"
        "61.下列费用中，属于建筑安装工程费中措施项目费的有（　）。\n"
        "A.安全文明施工费\n"
        "B.夜间施工增加费\n"
        "C.二次搬运费\n"
        "D.工程定位复测费\n"
        "E.工程排污费\n"
        "【答案】ABCD\n"
        "【解析】工程排污费属于规费。\n"
        "62.根据《招标投标法实施条例》，投标人有下列情形之一的，属于串通投标的有（　）。\n"
        "A.投标人之间协商投标报价等投标文件的实质性内容\n"
        "B.投标人之间约定中标人\n"
        "C.不同投标人的投标文件由同一单位编制\n"
        "D.属于同一集团的投标人按照该组织要求协同投标\n"
        "E.投标人之间约定部分投标人放弃投标\n"
        "【答案】ABDE\n"));
    QVERIFY(paper.problems.isEmpty());
    QCOMPARE(paper.questions.size(), 5);
    const QStringList paperKeys{"B", "A", "C", "ABCD", "ABDE"};
    const QVector<int> paperTypes{11, 11, 11, 14, 14};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(paper.questions[i].key, paperKeys[i]);
        QCOMPARE(paper.questions[i].type, paperTypes[i]);
        QCOMPARE(paper.questions[i].options.size(), i < 3 ? 4 : 5);
        EXPECT_CLEAN(paper.questions[i]);
    }
    QCOMPARE(paper.questions[1].options[1], QStringLiteral("乙级企业可以从事工程造价5000万元以下的项目"));
    QVERIFY(paper.questions[1].explanation.endsWith(QStringLiteral("2.乙级工程造价咨询企业可以从事工程造价2亿元人民币以下的各类建设项目的工程造价咨询业务。")));
    QCOMPARE(paper.questions[3].line, 22);
    QCOMPARE(paper.questions[3].marks, 2.0);

    // Exercises with the answers of every section listed at the end.
    const Recognition exercises = recognize(QStringLiteral(
        "建设工程计价 第三章 练习题\n"
        "一、单项选择题\n"
        "1、关于工程量清单编制中的项目特征描述，下列说法正确的是（ ）。\n"
        "A、措施项目无需描述项目特征\n"
        "B、应按计量规范附录中规定的项目特征，结合技术规范、标准图集加以描述\n"
        "C、对完成清单项目可能发生的具体工作和操作程序仍需加以描述\n"
        "D、图纸中已有的工程规格、型号、材质等可不再描述\n"
        "2、编制工程量清单时，可以依据施工组织设计、施工规范、验收规范确定的要素是（ ）。\n"
        "A、项目名称　B、项目编码　C、项目特征　D、计量单位\n"
        "3、下列费用项目中，应在招标控制价中计列的是（ ）。\n"
        "A、总承包服务费 B、暂列金额 C、暂估价 D、计日工\n"
        "二、多项选择题\n"
        "1、关于招标控制价的说法，正确的有（ ）。\n"
        "A、招标控制价超过批准概算时，招标人应将其报原概算审批部门审核\n"
        "B、投标人的投标报价高于招标控制价的，其投标应予以拒绝\n"
        "C、招标控制价应在招标文件中公布，不应上调或下浮\n"
        "D、招标控制价可以只公布总价\n"
        "E、投标人可以对招标控制价提出投诉\n"
        "2、施工图预算的编制依据有（ ）。\n"
        "A、施工图纸 B、施工组织设计 C、预算定额 D、可行性研究报告 E、工程量计算规则\n"
        "三、判断题\n"
        "1、招标控制价应当在招标时公布，不应上调或下浮。（ ）\n"
        "2、暂列金额应由投标人自主确定。（ ）\n"
        "参考答案\n"
        "一、单项选择题\n"
        "1-3 BCB\n"
        "二、多项选择题\n"
        "1、ABCE 2、ABCE\n"
        "三、判断题\n"
        "1、√ 2、×\n"));
    QVERIFY(exercises.problems.isEmpty());
    QCOMPARE(exercises.questions.size(), 7);
    const QStringList keys{"B", "C", "B", "ABCE", "ABCE", "A", "B"};
    const QVector<int> types{11, 11, 11, 14, 14, 41, 41};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(exercises.questions[i].key, keys[i]);
        QCOMPARE(exercises.questions[i].type, types[i]);
        EXPECT_CLEAN(exercises.questions[i]);
    }
}

void TestImportText::answersBetweenSections()
{
    // Each section followed by its answers: the second section's heading ends the first list.
    const Recognition r = recognize(QStringLiteral(
        "一、单项选择题\n"
        "1.单一（ ）\nA.甲 B.乙\n"
        "2.单二（ ）\nA.甲 B.乙\n"
        "参考答案\n1-2 BA\n"
        "二、多项选择题\n"
        "1.多一（ ）\nA.甲 B.乙 C.丙\n"
        "参考答案\n1.AC\n"));
    QVERIFY(r.problems.isEmpty());
    QCOMPARE(r.questions.size(), 3);
    QCOMPARE(r.questions[2].type, 14);
    QCOMPARE(r.questions[2].section, QStringLiteral("二、多项选择题"));
    QCOMPARE(r.questions[2].key, QStringLiteral("AC"));
    QCOMPARE(r.questions[1].key, QStringLiteral("A"));

    // The layout of a paper exported to Word: keys and explanations per question after "答案：".
    const Recognition exported = recognize(QStringLiteral(
        "一、单项选择题[共2题，每题1分，总计2分]\n"
        "1、单一（ ）\nA．甲\nB．乙\n"
        "二、判断题[共1题，每题1分，总计1分]\n"
        "2、判断一。\n"
        "答案：\n"
        "第1题\n试题答案：B\n试题解析：乙对。\n考点：第一章；\n"
        "第2题\n试题答案：错误\n"));
    QVERIFY(exported.problems.isEmpty());
    QCOMPARE(exported.questions.size(), 2);
    EXPECT_QUESTION(exported.questions[0], 11, "单一（ ）", (QStringList{"甲", "乙"}), "B");
    QCOMPARE(exported.questions[0].explanation, QStringLiteral("乙对。\n考点：第一章；"));
    EXPECT_QUESTION(exported.questions[1], 41, "判断一。", (QStringList{"正确", "错误"}), "B");
}

void TestImportText::thousandQuestionsInWellUnderASecond()
{
    QString text = QStringLiteral("一、单项选择题（每题1分）\n");
    for (int i = 1; i <= 1000; ++i)
        text += QStringLiteral("%1. 关于第%1个工程项目的造价，下列说法中正确的是（ ）。\n"
                               "A. 第一种说法\nB. 第二种说法\nC. 第三种说法\nD. 第四种说法\n"
                               "答案：%2\n解析：本题考查第%1个知识点。\n").arg(i).arg(QChar(u'A' + i % 4));
    const QString path = fixtures::write(dir.path(), QStringLiteral("big.txt"), text.toUtf8());
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = fixtures::cpuMilliseconds();
    const Recognition r = recognizeFile(path, 1);
    const qint64 ms = fixtures::cpuMilliseconds() - cpuStart;
    qInfo("1000 questions recognized in %lld ms of processor time (%lld ms on the clock)", ms, timer.elapsed());
    QCOMPARE(r.questions.size(), 1000);
    QCOMPARE(r.questions[999].key, QStringLiteral("A"));
    QVERIFY2(ms < 1000, qPrintable(QString::number(ms)));
}

QTEST_MAIN(TestImportText)
#include "test_import_text.moc"
