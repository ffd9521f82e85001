// Controls of the exam window and its two layouts.
#include "TFrmExam.h"

#include "AnswerPages.h"
#include "Buttons.h"
#include "ExamRules.h"
#include "NumberBoard.h"
#include "RichView.h"
#include "RunningText.h"
#include "Theme.h"
#include "TitleStrip.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// The design layout (917 × 585) and the compact one (773 × 478).
struct Metrics {
    QSize window;
    int strip;
    QRect question;  // Panel1
    QRect pages;     // Notebook1
    QRect previous;  // 上一题
    QRect next;      // 下一题
    int commandsX;   // first of the four command columns, 75 apart
    int commandsY;   // first of the two command rows
    int commandHeight;
    int rowGap;
    QRect board;     // 提示板
    QRect clock;     // inside the board
    QPoint sheet;    // answer sheet, inside the board
    QSize number;    // one number button
    int numberGap;
    int boardButtonHeight;
};

const Metrics kDesign{{917, 585}, 26, {4, 52, 592, 456}, {86, 514, 430, 66}, {4, 531, 78, 32},
                      {520, 531, 78, 32}, 600, 520, 25, 0, {602, 2, 311, 512}, {14, 62, 283, 62},
                      {18, 136}, {44, 21}, 2, 28};
const Metrics kCompact{{773, 478}, 22, {1, 42, 600, 375}, {84, 422, 265, 52}, {4, 431, 78, 32},
                       {353, 432, 78, 32}, 449, 423, 25, 1, {605, 2, 153, 415}, {8, 64, 137, 50},
                       {10, 117}, {20, 16}, 2, 20};
constexpr int kSheetColumns = 6;

QLabel *label(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QPushButton *command(QWidget *parent, const char *name, const QString &text)
{
    return practice::commandButton(parent, name, text);
}

QString boldColour(const QColor &colour)
{
    return QStringLiteral("color: %1; font-weight: bold;").arg(colour.name());
}

const QStringList kRunningLines{
    QStringLiteral("考试已暂停"),
    QStringLiteral("暂停期间不计答题时间"),
    QStringLiteral("试卷按题型从题库中随机抽取"),
    QStringLiteral("每道题的作答都计入章节、考点和每日学习统计"),
    QStringLiteral("交卷后逐题判分，可查看答案、解析和考点"),
    QStringLiteral("成绩达到保留分数的试卷可在“查阅试卷”中再次查看"),
    QStringLiteral("点击“继续考试”接着答题"),
};

} // namespace

void TFrmExam::buildControls()
{
    setObjectName(QStringLiteral("FrmExam"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QStringLiteral("正在答卷"));
    auto *strip = new ui::TitleStrip(windowTitle(), this);
    strip->setObjectName(QStringLiteral("Caption"));

    epLabel2 = label(this, "epLabel2", QString());
    epLabel2->setStyleSheet(QStringLiteral("color: white; font-weight: bold; background: transparent;"));
    Label4 = label(this, "Label4", QStringLiteral("第"));
    Label5 = label(this, "Label5", QStringLiteral("1"));
    Label5->setStyleSheet(boldColour(theme::Notice));
    Label5->setAlignment(Qt::AlignCenter);
    Label6 = label(this, "Label6", QStringLiteral("题"));
    Label7 = label(this, "Label7", QString());
    Label7->setStyleSheet(boldColour(theme::StripBottom));
    Label1 = label(this, "Label1", QString());
    Label1->setStyleSheet(boldColour(theme::Wrong));

    const practice::QuestionTextPanel text = practice::buildQuestionTextPanel(this);
    Panel1 = text.panel;
    FlatSplitter1 = text.splitter;
    Re1 = text.body;
    Re2 = text.stem;

    m_answerPanel = practice::buildAnswerPanel(this);
    Panel2 = m_answerPanel.panel;
    Lb_answtip = m_answerPanel.tip;

    Notebook1 = new practice::AnswerPages(this);
    const QString keysHint = QStringLiteral("键盘上的'A,B,C,D,E,F',分别代表选项A,B,C,D,E,F,\n"
                                            "回车键进行下一题,BackSpace键返回上一题.");
    Notebook1->widget(practice::MultipleChoicePage)->setToolTip(keysHint);
    buildCommands();
    epEfTrBtn2->setToolTip(keysHint);
    buildHintBoard();

    suiPanel1 = new QWidget(this);
    suiPanel1->setObjectName(QStringLiteral("suiPanel1"));
    suiPanel1->setStyleSheet(QStringLiteral("QWidget#suiPanel1 { background: %1; }").arg(theme::Accent.name()));
    epRunPanel1 = new exam::RunningText(kRunningLines, suiPanel1);
    suiPanel1->hide();

    KZTimeCounter1 = new ui::RunningClock(this);
    KZTimeCounter1->setObjectName(QStringLiteral("KZTimeCounter1"));
}

void TFrmExam::buildCommands()
{
    epEfTrBtn1 = command(this, "epEfTrBtn1", QStringLiteral("上一题"));
    epEfTrBtn2 = command(this, "epEfTrBtn2", QStringLiteral("下一题"));
    epEfTrBtn3 = command(this, "epEfTrBtn3", QStringLiteral("交卷"));
    epEfTrBtn6 = command(this, "epEfTrBtn6", QStringLiteral("答案"));
    epEfTrBtn10 = command(this, "epEfTrBtn10", QStringLiteral("生成文档"));
    epEfTrBtn5 = command(this, "epEfTrBtn5", QStringLiteral("笔记"));
    epEfTrBtn9 = command(this, "epEfTrBtn9", QStringLiteral("考点"));
    epEfTrBtn12 = command(this, "epEfTrBtn12", QStringLiteral("本题作废"));
    epEfTrBtn4 = command(this, "epEfTrBtn4", QStringLiteral("解析"));
    epEfTrBtn7 = command(this, "epEfTrBtn7", QStringLiteral("关闭"));
}

void TFrmExam::buildHintBoard()
{
    GroupBox1 = new QGroupBox(QStringLiteral("提示板"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    epEfTrBtn8 = command(GroupBox1, "epEfTrBtn8", QStringLiteral("设置"));
    epEfTrBtn11 = command(GroupBox1, "epEfTrBtn11", QStringLiteral("桌面"));
    epEfTrBtn13 = command(GroupBox1, "epEfTrBtn13", QStringLiteral("暂停考试"));

    Notebook_Time = new QStackedWidget(GroupBox1);
    Notebook_Time->setObjectName(QStringLiteral("Notebook_Time"));
    auto *answering = new QWidget(Notebook_Time);
    answering->setObjectName(QStringLiteral("答卷时"));
    auto *answeringColumn = new QVBoxLayout(answering);
    answeringColumn->setContentsMargins(0, 0, 0, 0);
    answeringColumn->setSpacing(2);
    answeringColumn->addWidget(label(answering, "LabelClock", QStringLiteral("答卷用时")), 0, Qt::AlignHCenter);
    epLb_time1 = new ui::LabelPanel(QStringLiteral("0:00:00"), answering);
    epLb_time1->setObjectName(QStringLiteral("epLb_time1"));
    epLb_time1->setAlignment(Qt::AlignCenter);
    epLb_time1->setStyleSheet(boldColour(theme::StripBottom));
    answeringColumn->addWidget(epLb_time1, 1);

    auto *reviewing = new QWidget(Notebook_Time);
    reviewing->setObjectName(QStringLiteral("查卷时"));
    auto *reviewingColumn = new QVBoxLayout(reviewing);
    reviewingColumn->setContentsMargins(0, 0, 0, 0);
    reviewingColumn->setSpacing(2);
    auto *timeRow = new QHBoxLayout;
    timeRow->addWidget(label(reviewing, "LabelUsed", QStringLiteral("用时：")));
    epLb_time2 = label(reviewing, "epLb_time2", QStringLiteral("0:00:00"));
    epLb_time2->setStyleSheet(boldColour(theme::StripBottom));
    timeRow->addWidget(epLb_time2, 1);
    reviewingColumn->addLayout(timeRow);
    Lb_zfs = new ui::LabelPanel(QString(), reviewing);
    Lb_zfs->setObjectName(QStringLiteral("Lb_zfs"));
    Lb_zfs->setAlignment(Qt::AlignCenter);
    Lb_zfs->setStyleSheet(boldColour(theme::Wrong));
    reviewingColumn->addWidget(Lb_zfs, 1);
    Notebook_Time->addWidget(answering);
    Notebook_Time->addWidget(reviewing);

    fcBG_th = new practice::NumberBoard(m_glyphs, GroupBox1, exam::kAnswerSheetSize, kSheetColumns);
}

void TFrmExam::applyLayout(bool compact)
{
    const Metrics &m = compact ? kCompact : kDesign;
    setFixedSize(m.window);
    auto *strip = findChild<ui::TitleStrip *>(QStringLiteral("Caption"));
    strip->setGeometry(0, 0, m.board.x() - 2, m.strip);
    const int captionWidth = strip->fontMetrics().horizontalAdvance(strip->text()) + 40;
    epLabel2->setGeometry(captionWidth, 0, strip->width() - captionWidth - 8, m.strip);

    const int lineTop = m.strip + 2;
    const int lineHeight = m.question.y() - lineTop - 2;
    int x = m.question.x() + 4;
    for (QLabel *l : {Label4, Label5, Label6}) {
        const int w = qMax(l->fontMetrics().horizontalAdvance(l == Label5 ? QStringLiteral("000") : l->text()) + 4,
                           12);
        l->setGeometry(x, lineTop, w, lineHeight);
        x += w;
    }
    Label7->setGeometry(x + 12, lineTop, 260, lineHeight);
    Label1->setGeometry(m.question.right() - 220, lineTop, 220, lineHeight);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Panel1->setGeometry(m.question);
    practice::placeAnswerPanel(Panel2, Panel1);
    suiPanel1->setGeometry(m.question);
    epRunPanel1->setGeometry(1, 1, m.question.width() - 2, m.question.height() - 2);
    Notebook1->setGeometry(m.pages);
    Notebook1->setCompact(compact);
    epEfTrBtn1->setGeometry(m.previous);
    epEfTrBtn2->setGeometry(m.next);

    const QList<QList<QPushButton *>> rows{{epEfTrBtn3, epEfTrBtn6, epEfTrBtn10, epEfTrBtn5},
                                           {epEfTrBtn9, epEfTrBtn12, epEfTrBtn4, epEfTrBtn7}};
    int y = m.commandsY;
    for (const QList<QPushButton *> &row : rows) {
        for (int i = 0; i < row.size(); ++i)
            row.at(i)->setGeometry(m.commandsX + 75 * i, y, 74, m.commandHeight);
        y += m.commandHeight + m.rowGap;
    }

    GroupBox1->setGeometry(m.board);
    const int inner = m.board.width() - 12;
    if (compact) {
        // Too narrow for three captions in a row: 暂停考试 gets a row of its own.
        const int half = (inner - 4) / 2;
        const int top = m.clock.y() - 2 * m.boardButtonHeight - 6;
        epEfTrBtn8->setGeometry(6, top, half, m.boardButtonHeight);
        epEfTrBtn11->setGeometry(10 + half, top, half, m.boardButtonHeight);
        epEfTrBtn13->setGeometry(6, top + m.boardButtonHeight + 2, inner, m.boardButtonHeight);
    } else {
        const int buttonWidth = (inner - 8) / 3;
        int bx = 6;
        for (QPushButton *b : {epEfTrBtn8, epEfTrBtn11, epEfTrBtn13}) {
            b->setGeometry(bx, m.clock.y() - m.boardButtonHeight - 6, buttonWidth, m.boardButtonHeight);
            bx += buttonWidth + 4;
        }
    }
    Notebook_Time->setGeometry(m.clock);
    fcBG_th->arrange(m.number.width(), m.number.height(), m.numberGap);
    fcBG_th->move(m.sheet);
}
