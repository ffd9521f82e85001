// Controls of the practice window and their two layouts.
#include "PracticeWindow.h"

#include "AnswerPages.h"
#include "AnsweringControls.h"
#include "Buttons.h"
#include "Gauge.h"
#include "Globals.h"
#include "NumberBoard.h"
#include "RichView.h"
#include "Theme.h"
#include "TitleStrip.h"

#include <QLabel>
#include <QPushButton>
#include <QSplitter>

namespace practice {

namespace {

// Positions of the design layout and of the compact one; the variant gives the window size.
struct Metrics {
    int strip;        // caption strip height
    int left;         // left column: boards and counters
    int leftWidth;
    int line;         // height of a label line
    int numberWidth;  // number buttons
    int numberHeight;
    int numberGap;
    int typeRow;
    int textTop;      // question text
    int textHeight;
    int pageHeight;   // answer pages
    int commandHeight;
};

const Metrics kDesign{30, 10, 210, 24, 35, 26, 6, 26, 64, 340, 76, 32};
const Metrics kCompact{26, 8, 186, 22, 30, 22, 5, 22, 56, 250, 70, 30};

QLabel *label(QWidget *parent, const QString &name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

ui::LabelPanel *panel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new ui::LabelPanel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QPushButton *command(QWidget *parent, const QString &name, const QString &text)
{
    return practice::commandButton(parent, name, text);
}

// Places labels one after another on a line, each as wide as its text.
int placeInLine(std::initializer_list<QLabel *> labels, int x, int y, int height)
{
    for (QLabel *l : labels) {
        const int w = l->fontMetrics().horizontalAdvance(l->text()) + 4;
        l->setGeometry(x, y, qMax(w, l->minimumWidth()), height);
        x += l->width();
    }
    return x;
}

} // namespace

void PracticeWindow::buildControls()
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    Caption = new ui::TitleStrip(m_variant.caption, this);
    Caption->setObjectName(QStringLiteral("Caption"));

    epLabel2 = panel(this, "epLabel2", QStringLiteral("提示板"));
    epLabel2->setWordWrap(true);
    Label1 = label(this, "Label1", QStringLiteral("时钟"));
    epLabel1 = panel(this, "epLabel1", QStringLiteral("0:00:00"));
    Label2 = label(this, "Label2", QStringLiteral("共"));
    Lb_zs = label(this, m_variant.groupsName, QStringLiteral("0"));
    Label4 = label(this, "Label4", QStringLiteral("组"));
    Lb_ts = label(this, m_variant.totalName, QStringLiteral("0"));
    Label6 = label(this, "Label6", QStringLiteral("道题"));
    Label7 = label(this, "Label7", QStringLiteral("第"));
    Lb_zb = label(this, m_variant.groupName, QStringLiteral("0"));
    Label9 = label(this, "Label9", QStringLiteral("组"));
    for (QLabel *figure : {Lb_zs, Lb_ts, Lb_zb}) {
        figure->setMinimumWidth(figure->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        figure->setAlignment(Qt::AlignCenter);
        figure->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(theme::Wrong.name()));
    }
    FlatSpeedButton1 = command(this, "FlatSpeedButton1", QStringLiteral("<-上一组"));
    FlatSpeedButton2 = command(this, "FlatSpeedButton2", QStringLiteral("下一组->"));
    epLabel3 = label(this, "epLabel3", QStringLiteral("题目指示板"));
    fcBG_th = new NumberBoard(m_glyphs, this);
    epLabel4 = label(this, "epLabel4", QStringLiteral("题型指示板"));
    fcBG_tx = new TypeBoard(this);
    for (QLabel *heading : {epLabel3, epLabel4})
        heading->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(theme::StripBottom.name()));
    epIndiGauge1 = new ui::Gauge(this, m_variant.gauge);
    epIndiGauge1->setObjectName(QStringLiteral("epIndiGauge1"));
    epIndiGauge1->setWarnAbove(65);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    KZTimeCounter1 = new ui::RunningClock(this);
    KZTimeCounter1->setObjectName(QStringLiteral("KZTimeCounter1"));

    Label11 = label(this, "Label11", QStringLiteral("第"));
    Label12 = label(this, "Label12", QStringLiteral("1"));
    Label13 = label(this, "Label13", QStringLiteral("题"));
    Label14 = label(this, "Label14", QStringLiteral("（第"));
    Label15 = label(this, "Label15", QStringLiteral("1"));
    Label16 = label(this, "Label16", QStringLiteral("次出现）"));
    for (QLabel *figure : {Label12, Label15}) {
        figure->setMinimumWidth(figure->fontMetrics().horizontalAdvance(QStringLiteral("000")));
        figure->setAlignment(Qt::AlignCenter);
        figure->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(theme::Notice.name()));
    }
    Label21 = label(this, "Label21", QString());
    Label21->setStyleSheet(QStringLiteral("color: #c00000;"));
    Label24 = label(this, "Label24", QString());
    Label24->setStyleSheet(QStringLiteral("font-weight: bold;"));

    const QuestionTextPanel text = buildQuestionTextPanel(this);
    Panel1 = text.panel;
    FlatSplitter1 = text.splitter;
    Re1 = text.body;
    Re2 = text.stem;

    Notebook1 = new AnswerPages(this);
    buildAnswerPanel();
    buildCommands();
}

void PracticeWindow::buildAnswerPanel()
{
    m_answerPanel = practice::buildAnswerPanel(this);
    Panel2 = m_answerPanel.panel;
    Lb_answtip = m_answerPanel.tip;
    Label22 = m_answerPanel.given;
    Memo1 = m_answerPanel.givenText;
    Label23 = m_answerPanel.correct;
    Memo2 = m_answerPanel.correctText;
}

void PracticeWindow::buildCommands()
{
    epEfTrBtn1 = command(this, "epEfTrBtn1", QStringLiteral("上一题"));
    epEfTrBtn2 = command(this, "epEfTrBtn2", QStringLiteral("下一题"));
    epEfTrBtn3 = command(this, "epEfTrBtn3", QStringLiteral("完成"));
    epEfTrBtn4 = command(this, "epEfTrBtn4", QStringLiteral("解析"));
    epEfTrBtn5 = command(this, "epEfTrBtn5", QStringLiteral("笔记"));
    epEfTrBtn6 = command(this, "epEfTrBtn6", QStringLiteral("答案"));
    epEfTrBtn8 = command(this, "epEfTrBtn8", QStringLiteral("设置"));
    epEfTrBtn7 = command(this, m_variant.desktopName, QStringLiteral("桌面"));
    epEfTrBtn9 = command(this, "epEfTrBtn9", QStringLiteral("考点"));
    epEfTrBtn11 = command(this, "epEfTrBtn11", QStringLiteral("修改本题"));
    epEfTrBtn10 = command(this, "epEfTrBtn10", QStringLiteral("题目作废"));
    epEfTrBtn99 = command(this, m_variant.closeName, QStringLiteral("关闭"));
    // Only chapter practice offers editing; its window shows the command.
    epEfTrBtn11->hide();
    epEfTrBtn4->setVisible(m_variant.offersExplanation);
}

void PracticeWindow::applyLayout(bool compact)
{
    const Metrics &m = compact ? kCompact : kDesign;
    const QSize window = compact ? m_variant.compactSize : m_variant.designSize;
    setFixedSize(window);
    const int w = window.width();
    Caption->setGeometry(0, 0, w, m.strip);

    // A vertical gauge stands along the left edge, beside the boards.
    const bool vertical = m_variant.gauge == Qt::Vertical;
    const int gaugeWidth = compact ? 15 : 17;
    const int x = m.left + (vertical ? gaugeWidth + 6 : 0);
    int y = m.strip + 6;
    // The hint board holds three lines of a chapter's hint.
    epLabel2->setGeometry(x, y, m.leftWidth, 3 * m.line - 8);
    y += 3 * m.line - 2;
    Label1->setGeometry(x, y, 40, m.line);
    epLabel1->setGeometry(x + 44, y, 90, m.line - 2);
    y += m.line;
    placeInLine({Label2, Lb_zs, Label4, Lb_ts, Label6}, x, y, m.line);
    y += m.line;
    placeInLine({Label7, Lb_zb, Label9}, x, y, m.line);
    y += m.line + 2;
    const int half = (m.leftWidth - 8) / 2;
    FlatSpeedButton1->setGeometry(x, y, half, m.line + 2);
    FlatSpeedButton2->setGeometry(x + half + 8, y, half, m.line + 2);
    y += m.line + 10;
    epLabel3->setGeometry(x, y, m.leftWidth, m.line - 4);
    y += m.line - 2;
    fcBG_th->arrange(m.numberWidth, m.numberHeight, m.numberGap);
    fcBG_th->move(x, y);
    y += fcBG_th->height() + 8;
    epLabel4->setGeometry(x, y, m.leftWidth, m.line - 4);
    y += m.line - 2;
    fcBG_tx->move(x, y);
    fcBG_tx->arrange(m.leftWidth, m.typeRow, compact ? 12 : 14);
    if (vertical)
        epIndiGauge1->setGeometry(m.left, m.strip + 6, gaugeWidth, window.height() - m.strip - 12);
    else
        epIndiGauge1->setGeometry(x, window.height() - m.line - 6, m.leftWidth, m.line - 8);

    const int right = x + m.leftWidth + 12;
    const int rightWidth = w - right - m.left;
    const int headTop = m.strip + 4;
    const int after = placeInLine({Label11, Label12, Label13, Label14, Label15, Label16}, right, headTop, m.line);
    Label21->setGeometry(after + 16, headTop, 260, m.line);
    Label24->setGeometry(right + rightWidth - 160, headTop, 160, m.line);
    Label24->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Panel1->setGeometry(right, m.textTop, rightWidth, m.textHeight);
    placeAnswerPanel(Panel2, Panel1);
    const int pageTop = m.textTop + m.textHeight + 6;
    Notebook1->setGeometry(right, pageTop, rightWidth, m.pageHeight);

    // Two rows of commands: answering above, the window's own commands below.
    const QList<QList<QPushButton *>> rows{{epEfTrBtn1, epEfTrBtn2, epEfTrBtn3, epEfTrBtn4, epEfTrBtn5, epEfTrBtn6},
                                           {epEfTrBtn8, epEfTrBtn7, epEfTrBtn9, epEfTrBtn11, epEfTrBtn10, epEfTrBtn99}};
    int rowTop = pageTop + m.pageHeight + 8;
    for (QList<QPushButton *> row : rows) {
        row.removeIf([](QPushButton *b) { return b->isHidden(); });
        const int gap = 8;
        const int buttonWidth = (rightWidth - gap * (int(row.size()) - 1)) / int(row.size());
        int bx = right;
        for (QPushButton *b : row) {
            b->setGeometry(bx, rowTop, buttonWidth, m.commandHeight);
            bx += buttonWidth + gap;
        }
        rowTop += m.commandHeight + 6;
    }
}

} // namespace practice
