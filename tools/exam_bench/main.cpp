// Times a mock exam on a synthetic bank of 50,000 questions:
//   QT_QPA_PLATFORM=offscreen quillet_exam_bench [questions]
// building the paper, opening the exam window, moving with an answer, and marking.
#include "AnswerPages.h"
#include "Clock.h"
#include "DataModule.h"
#include "ExamRules.h"
#include "Globals.h"
#include "MessageRecorder.h"
#include "PaperBuilder.h"
#include "Schema.h"
#include "TFrmExam.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

void makeBank(const QString &folder, int questions)
{
    QDir(folder).mkpath(QStringLiteral("data"));
    store::Connection c;
    c.setConnectionString(TDM1::connectionStringFor(folder + QStringLiteral("/data/Vellumar.mdb")));
    c.open(true);
    store::schema::create(c);
    store::Transaction t(c);
    for (const char *sql : {"insert into tab_kmmc (bh,C1,C1_1,C2) values (1,'1','','科目一')",
                            "insert into tab_kmmc (bh,C1,C1_1,C2) values (2,'10','','目录')",
                            "insert into tab_kmmc (bh,C1,C1_1,C2) values (3,'1001','','第一章')",
                            "insert into tab_kmmc (bh,C1,C1_1,C2) values (4,'100101','','第一节')",
                            "insert into tab_tx1 (A1,B1,B2,B3,time) values (11,'单项选择题',60,1,1)",
                            "insert into tab_tx1 (A1,B1,B2,B3,time) values (14,'多项选择题',20,2,2)",
                            "insert into tab_plan (PlanMark,PlanAmount,PlanTime,ExamDate,LeastMark,ExamTime) "
                            "values (0,50,60,'2027-05-01',60,9000)",
                            "insert into tab_sj (sjbs,cpbs) values ('','QUILLET')"})
        c.execute(QString::fromUtf8(sql));
    for (int n = 0; n < questions; ++n) {
        const int subject = n % 5 + 1;
        const int type = n % 4 == 0 ? 14 : 11;
        const QString id = QStringLiteral("%1%2").arg(subject * 100000 + 101).arg(n, 8, 10, QLatin1Char('0'));
        c.execute(QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,A10,A13,A14,E2,E2_1,E3,E4,F1,xx,csbs,ecount) "
                                 "values (?,?,4,'',?,?,'','','',0,0,0,0,'',0)"),
                  store::Params::byPosition({id, type == 14 ? QStringLiteral("ABD") : QStringLiteral("B"),
                                             QString::number(subject * 100000 + 101).left(6), type}));
        c.execute(QStringLiteral("insert into tab_exer (A1,A15,jx) values (?,?,?)"),
                  store::Params::byPosition({id, QStringLiteral("题目 ") + id, QStringLiteral("解析")}));
    }
    t.commit();
}

void copyGlyphs(const QString &folder)
{
    QDir(folder).mkpath(QStringLiteral("pic"));
    const QDir pictures(QStringLiteral(QUILLET_PIC_DIR));
    for (const QString &file : pictures.entryList({QStringLiteral("*.bmp")}))
        QFile::copy(pictures.filePath(file), folder + QStringLiteral("/pic/") + file);
}

double ms(QElapsedTimer &timer)
{
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return elapsed;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int questions = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;
    QTemporaryDir folder;
    makeBank(folder.path(), questions);
    copyGlyphs(folder.path());
    AppDir = folder.path() + QStringLiteral("/");
    ScreenClass = QStringLiteral("1024");
    TDM1 dm(folder.path());
    if (!dm.connected)
        return 1;
    CurrentSubject = 1;

    QElapsedTimer timer;
    timer.start();
    const exam::BuiltPaper built = exam::buildPaper(1);
    const double build = ms(timer);
    TFrmExam window;
    window.InitPaper(built.name.table, built.name.title, QStringLiteral("new"), 0, QStringLiteral("0:00:00"));
    window.OpenPaper();
    window.show();
    QApplication::processEvents();
    const double open = ms(timer);

    double slowest = 0;
    const int moves = built.questionCount - 1;
    for (int i = 0; i < moves; ++i) {
        QTest::keyClick(&window, Qt::Key_B);
        QTest::keyClick(&window, Qt::Key_Return);
        QApplication::processEvents();
        slowest = qMax(slowest, double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
    }
    QElapsedTimer all;
    all.start();
    MessageRecorder::queueAnswer(1);
    window.epEfTrBtn3->click();
    const double mark = ms(all);

    std::printf("bank of %d questions, paper of %d\n", questions, built.questionCount);
    std::printf("build the paper:              %8.1f ms\n", build);
    std::printf("open and show the exam window: %8.1f ms\n", open);
    std::printf("answer and move (slowest of %d): %6.1f ms\n", moves, slowest);
    std::printf("hand in and mark:             %8.1f ms (mode %s)\n", mark, qPrintable(window.mode()));
    return 0;
}
