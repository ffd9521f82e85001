#include "MainMenu.h"

#include "Look.h"
#include "Pictures.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>

#include <cmath>

namespace {

// Sizes are designed for a 1024 × 768 window and scale with it.
const QSize DesignSize(1024, 768);
const int SmallestText = 12;
const int CardsPerRow = 5;

const char *const SubjectNames[5] = {
    "工程造价管理基础理论与相关法规", "工程造价计价与控制", "建设工程技术与计量（土建）",
    "建设工程技术与计量（安装）", "工程造价案例分析"};
const char *const SubjectOrdinals[5] = {"科目一", "科目二", "科目三", "科目四", "科目五"};
const char *const SubjectTopics[5] = {
    "法律法规 · 工程项目管理 · 工程经济与投融资", "费用构成 · 计价依据 · 全过程造价控制",
    "工程地质与构造 · 材料与施工 · 工程计量", "安装材料与设备 · 安装技术 · 工程计量",
    "综合运用各科知识 · 案例题自评练习"};

QString subjectSuffix(int subject) { return subject == 1 ? QString() : QString::number(subject); }

} // namespace

MainMenu::MainMenu(QWidget *parent) : QWidget(parent)
{
    setObjectName("ShockwaveFlash1");
    setAttribute(Qt::WA_StyledBackground);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(makeHeader());

    body = new QWidget(this);
    pageLayout = new QVBoxLayout(body);
    auto *centring = new QHBoxLayout;
    centring->addStretch();
    centring->addWidget(body, 100);
    centring->addStretch();
    outer->addLayout(centring, 1);

    pageLayout->addStretch(1); // the groups stay together in the middle of a tall window
    pageLayout->addWidget(makeReviewCard());
    QList<QWidget *> subjects;
    for (int subject = 1; subject <= 5; ++subject)
        subjects << makeSubjectCard(subject, "lx" + subjectSuffix(subject), "mnks" + subjectSuffix(subject));
    addSection(tr("科目练习与模拟考试"), subjects);

    addSection(tr("学习工具"),
               {makeToolCard(tr("考点与法规"), {{"ksdg", tr("考点大纲")}, {"fg", tr("法规汇编")}, {"ss", tr("全文搜索")}}),
                makeToolCard(tr("成绩与统计"), {{"cj", tr("成绩查询")}, {"tj", tr("统计图")}}),
                makeToolCard(tr("计划与日志"), {{"szjh", tr("学习计划")}, {"rz", tr("学习日志")}}),
                makeToolCard(tr("系统设置"),
                             {{"music", tr("背景音乐")}, {"sztime", tr("答题时间")}, {"szks", tr("考试设置")}}),
                makeToolCard(tr("题库与服务"), {{"dr", tr("题库导入")}, {"sj", tr("题库升级")}, {"bf", tr("题库备份")}})});
    pageLayout->addStretch(1);

    rescale();
}

QStringList MainMenu::allCommands()
{
    return {"lx",   "lx2",  "lx3",   "lx4",    "lx5", "mnks", "mnks2", "mnks3", "mnks4", "mnks5",
            "ksdg", "fg",   "ss",    "cj",    "tj",     "szjh", "rz",  "music", "sztime", "szks", "dr",
            "sj",   "bf",   "help", "lxfs", "about", "quit", "jrfx", "xxbg"};
}

void MainMenu::addSection(const QString &title, const QList<QWidget *> &sectionCards)
{
    auto *section = new QWidget(body);
    auto *layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 0);
    addLabel(layout, title, "section", 18, true);
    auto *grid = new QGridLayout;
    for (int column = 0; column < CardsPerRow; ++column)
        grid->setColumnStretch(column, 1);
    layout->addLayout(grid, 1);
    sections << section;
    pageLayout->addWidget(section);
    rows.append(CardRow{grid, sectionCards});
    placeCards(rows.last());
}

// Cards keep one width, a fifth of the row, however many are offered; the
// offered ones stand side by side in the middle.
void MainMenu::placeCards(const CardRow &row)
{
    QList<QWidget *> offered;
    for (QWidget *card : row.cards) {
        row.grid->removeWidget(card);
        if (!card->isHidden())
            offered << card;
    }
    const int first = (CardsPerRow - offered.size()) / 2;
    for (int i = 0; i < offered.size(); ++i)
        row.grid->addWidget(offered[i], 0, first + i);
}

QWidget *MainMenu::makeHeader()
{
    auto *header = new QWidget(this);
    header->setObjectName("menuHeader");
    header->setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QHBoxLayout(header);
    cardLayouts << layout;

    emblem = new QLabel(header);
    layout->addWidget(emblem);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto *title = addLabel(titles, tr("Quillet · 造价工程师执业资格考试"), nullptr, 30, true);
    title->setObjectName("menuTitle");
    auto *subtitle = addLabel(titles, tr("章节练习 · 模拟考试 · 考点与法规 · 学习计划与统计"), nullptr, 15);
    subtitle->setObjectName("menuSubtitle");
    layout->addLayout(titles, 1);

    addButton(layout, "help", tr("帮助"), "header");
    addButton(layout, "lxfs", tr("联系方式"), "header");
    addButton(layout, "about", tr("关于"), "header");
    addButton(layout, "quit", tr("退出"), "header");
    return header;
}

QWidget *MainMenu::makeSubjectCard(int subject, const QString &practice, const QString &exam)
{
    auto *card = new QFrame(body);
    card->setProperty("card", true);
    auto *layout = new QVBoxLayout(card);
    cardLayouts << layout;

    auto *badge = addLabel(layout, tr(SubjectOrdinals[subject - 1]), "badge", 13);
    layout->setAlignment(badge, Qt::AlignLeft);
    auto *title = addLabel(layout, tr(SubjectNames[subject - 1]), "cardTitle", 16, true);
    title->setWordWrap(true);
    auto *topics = addLabel(layout, tr(SubjectTopics[subject - 1]), "cardText", 14);
    topics->setWordWrap(true);
    subjectTopics << topics;
    layout->addStretch(1);
    addButton(layout, practice, tr("章节练习"), "primary");
    addButton(layout, exam, tr("模拟考试"), "secondary");
    cards << card;
    return card;
}

// One wide card above the subjects: what today's review holds and the way in.
QWidget *MainMenu::makeReviewCard()
{
    auto *card = new QFrame(body);
    card->setObjectName("reviewCard");
    card->setProperty("card", true);
    auto *layout = new QHBoxLayout(card);
    cardLayouts << layout;
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    addLabel(texts, tr("今日复习"), "cardTitle", 16, true);
    auto *figures = new QHBoxLayout;
    reviewDue = new QLabel(card);
    reviewDue->setObjectName("reviewDue");
    reviewDue->setProperty("role", "cardText");
    scaleText(reviewDue, 15, true);
    reviewExam = new QLabel(card);
    reviewExam->setObjectName("reviewExam");
    reviewExam->setProperty("role", "cardText");
    scaleText(reviewExam, 15);
    figures->addWidget(reviewDue);
    figures->addSpacing(24);
    figures->addWidget(reviewExam);
    figures->addStretch(1);
    texts->addLayout(figures);
    layout->addLayout(texts, 1);
    addButton(layout, "jrfx", tr("开始复习"), "primary");
    addButton(layout, "xxbg", tr("学习报告"), "secondary");
    setReviewSummary(0, false, 0);
    cards << card;
    return card;
}

void MainMenu::setReviewSummary(int due, bool examSet, int examDays)
{
    reviewDue->setText(due > 0 ? tr("待复习 %1 题").arg(due) : tr("今天的复习已完成"));
    if (!examSet)
        reviewExam->setText(tr("尚未设置考试日期"));
    else if (examDays > 0)
        reviewExam->setText(tr("距离考试还有 %1 天").arg(examDays));
    else
        reviewExam->setText(examDays == 0 ? tr("今天考试，祝考试成功！") : tr("考试已结束"));
}

QWidget *MainMenu::makeToolCard(const QString &title, const QList<QPair<QString, QString>> &commands)
{
    auto *card = new QFrame(body);
    card->setProperty("card", true);
    auto *layout = new QVBoxLayout(card);
    cardLayouts << layout;
    addLabel(layout, title, "cardTitle", 16, true);
    for (const auto &[command, caption] : commands)
        addButton(layout, command, caption, "secondary");
    layout->addStretch(1);
    cards << card;
    return card;
}

QPushButton *MainMenu::addButton(QBoxLayout *layout, const QString &command, const QString &caption, const char *role)
{
    auto *button = new QPushButton(caption, layout->parentWidget());
    button->setObjectName("cmd_" + command);
    button->setProperty("menuRole", role);
    button->setCursor(Qt::PointingHandCursor);
    scaleText(button, 16);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, [this, command] { emit FSCommand(command, QString()); });
    buttons.insert(command, button);
    return button;
}

QLabel *MainMenu::addLabel(QBoxLayout *layout, const QString &text, const char *role, int basePixels, bool bold)
{
    QWidget *parent = layout->parentWidget() ? layout->parentWidget() : this;
    auto *label = new QLabel(text, parent);
    if (role)
        label->setProperty("role", role);
    scaleText(label, basePixels, bold);
    layout->addWidget(label);
    return label;
}

void MainMenu::scaleText(QWidget *widget, int basePixels, bool bold) { scaledText << Scaled{widget, basePixels, bold}; }

void MainMenu::setAvailableCommands(const QStringList &commands)
{
    for (auto it = buttons.cbegin(); it != buttons.cend(); ++it)
        it.value()->setVisible(commands.contains(it.key()));
    // Cards first: a section stays only when one of its cards does.
    for (QWidget *group : cards + sections)
        group->setVisible(true);
    for (QWidget *group : cards + sections) {
        bool offersSomething = false;
        for (QPushButton *button : buttons)
            offersSomething = offersSomething || (group->isAncestorOf(button) && button->isVisibleTo(group));
        group->setVisible(offersSomething);
    }
    for (const CardRow &row : rows)
        placeCards(row);
}

QStringList MainMenu::offeredCommands() const
{
    QStringList offered;
    for (auto it = buttons.cbegin(); it != buttons.cend(); ++it)
        if (it.value()->isVisibleTo(const_cast<MainMenu *>(this)))
            offered << it.key();
    return offered;
}

void MainMenu::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    rescale();
}

void MainMenu::rescale()
{
    const QSize area = size().isEmpty() ? DesignSize : size();
    const double scale = qBound(0.72, qMin(double(area.width()) / DesignSize.width(),
                                           double(area.height()) / DesignSize.height()), 2.5);
    auto px = [scale](double base) { return int(std::lround(base * scale)); };

    for (const Scaled &item : scaledText) {
        QFont font = ui::programFont(qMax(SmallestText, px(item.basePixels)));
        font.setBold(item.bold);
        item.widget->setFont(font);
    }
    for (QPushButton *button : buttons)
        button->setMinimumHeight(qMax(26, px(44)));
    for (QLabel *topics : subjectTopics)
        topics->setVisible(scale >= 0.9);
    for (QBoxLayout *layout : cardLayouts) {
        layout->setContentsMargins(px(12), px(14), px(12), px(16));
        layout->setSpacing(px(12));
    }
    for (const CardRow &row : rows)
        row.grid->setHorizontalSpacing(px(12));
    pageLayout->setContentsMargins(px(20), px(12), px(20), px(8));
    pageLayout->setSpacing(px(14));
    body->setMaximumWidth(px(1100));
    emblem->setPixmap(QPixmap::fromImage(pics::emblem(qMax(40, px(60)))));
}
