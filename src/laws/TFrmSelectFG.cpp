#include "TFrmSelectFG.h"

#include "Buttons.h"
#include "DataModule.h"
#include "Globals.h"
#include "Look.h"
#include "SystemMessageBox.h"
#include "TitleStrip.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

const char *const kInstructions[] = {
    "使用方法如下：",
    "",
    "   首先将试题的内容填写在试题内容框内，这是必须填写项，如果试题有对应的",
    "讲解，请把内容填写进解析框内。",
    "",
    "   然后选择或录入待选答案的个数，主要是选择题，例如试题：",
    "",
    "   7月有几天？",
    "   A. 30",
    "   B. 28",
    "   C. 31",
    "   ",
    "   这里的待选答案是A B C，共为3个，也就是我们这里的待选答案个数为3。",
    "   ",
    "   接下来填入答案：",
    "   如果是单选，例如上面的试题，就填写C；",
    "   如果是多选把答案直接填入框内。例如答案是ABD那么答案框内就写ABD；",
    "   如果是判断题则答案正确填写A，答案错误填写B；",
    "   如果试题是主观题，则把实际答案同解析内容一起填入解析栏中。答案框中自",
    "动填写1；",
    "",
};

constexpr int kMostPicked = 7;

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new ui::ShapeButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    b->setFixedSize(88, 30);
    return b;
}

void notice(const QString &text)
{
    SystemMessageBox(QStringLiteral("提示"), text, QMessageBox::Information);
}

} // namespace

TFrmSelectFG::TFrmSelectFG(QWidget *parent) : QDialog(parent), m_query(new store::Query(&DataModule->ADOCn1, this))
{
    setObjectName(QStringLiteral("FrmSelectFG"));
    setWindowTitle(QStringLiteral("欢迎"));
    // No border icons: the buttons are the only way out.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    layout->addWidget(Notebook1);
    buildPickPage();
    buildInstructionsPage();
}

TFrmSelectFG::~TFrmSelectFG() = default;

void TFrmSelectFG::buildPickPage()
{
    auto *page = new QWidget(Notebook1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 12);
    PickCaption = new ui::TitleStrip(QStringLiteral("考 点 选 择"), page);
    PickCaption->setObjectName(QStringLiteral("PickCaption"));
    layout->addWidget(PickCaption);

    auto *body = new QVBoxLayout;
    body->setContentsMargins(16, 8, 16, 0);
    body->setSpacing(6);
    auto *sectionRow = new QHBoxLayout;
    auto *label1 = new QLabel(QStringLiteral("考点："), page);
    label1->setObjectName(QStringLiteral("Label1"));
    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMaxVisibleItems(16);
    // The ids run parallel to the names, hidden under them.
    ComboBox2 = new QComboBox(page);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->hide();
    sectionRow->addWidget(label1);
    sectionRow->addWidget(ComboBox1, 1);
    body->addLayout(sectionRow);

    auto *label2 = new QLabel(QStringLiteral("条文："), page);
    label2->setObjectName(QStringLiteral("Label2"));
    body->addWidget(label2);
    CheckListBox1 = new QListWidget(page);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->setWordWrap(true);
    CheckListBox2 = new QListWidget(page);
    CheckListBox2->setObjectName(QStringLiteral("CheckListBox2"));
    CheckListBox2->hide();
    body->addWidget(CheckListBox1, 1);
    layout->addLayout(body, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 4, 16, 0);
    buttons->addStretch();
    epEfButton1 = button(page, "epEfButton1", QStringLiteral("确定"));
    epEfButton2 = button(page, "epEfButton2", QStringLiteral("关闭"));
    buttons->addWidget(epEfButton1);
    buttons->addSpacing(12);
    buttons->addWidget(epEfButton2);
    layout->addLayout(buttons);
    Notebook1->addWidget(page);

    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, &TFrmSelectFG::ComboBox1Change);
    connect(CheckListBox1, &QListWidget::itemChanged, this,
            [this](QListWidgetItem *item) { CheckListBox1ClickCheck(CheckListBox1->row(item)); });
    connect(epEfButton1, &QPushButton::clicked, this, &TFrmSelectFG::epEfButton1Click);
    connect(epEfButton2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSelectFG::buildInstructionsPage()
{
    auto *page = new QWidget(Notebook1);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 12);
    HelpCaption = new ui::TitleStrip(QStringLiteral("使 用 说 明"), page);
    HelpCaption->setObjectName(QStringLiteral("HelpCaption"));
    layout->addWidget(HelpCaption);
    Memo1 = new QPlainTextEdit(page);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    QStringList lines;
    for (const char *line : kInstructions)
        lines << QString::fromUtf8(line);
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
    auto *memoRow = new QHBoxLayout;
    memoRow->setContentsMargins(12, 8, 12, 0);
    memoRow->addWidget(Memo1);
    layout->addLayout(memoRow, 1);
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(16, 4, 16, 0);
    buttons->addStretch();
    epEfButton3 = button(page, "epEfButton3", QStringLiteral("关闭"));
    buttons->addWidget(epEfButton3);
    layout->addLayout(buttons);
    Notebook1->addWidget(page);
    connect(epEfButton3, &QPushButton::clicked, this, &QDialog::reject);
}

void TFrmSelectFG::setCaller(int tag, const QStringList &linkedCodes)
{
    m_tag = tag;
    m_linked = linkedCodes;
}

void TFrmSelectFG::applyLayout()
{
    const bool compact = ScreenClass == QLatin1String("800");
    if (Notebook1->currentIndex() == InstructionsPage)
        setFixedSize(compact ? QSize(600, 440) : QSize(660, 500));
    else
        setFixedSize(compact ? QSize(520, 400) : QSize(600, 480));
    Memo1->setFont(ui::programFont(compact ? 13 : 14));
}

void TFrmSelectFG::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    applyLayout();
    if (Notebook1->currentIndex() == PickPage && !m_loaded)
        load();
}

void TFrmSelectFG::load()
{
    m_loaded = true;
    m_query->setSql(QStringLiteral("select * from tab_fgmc where len(id) = 6 or len(id)=2 order by bh"));
    m_query->open();
    ComboBox1->clear();
    ComboBox2->clear();
    QFont groupFont = ComboBox1->font();
    groupFont.setBold(true);
    for (m_query->first(); !m_query->eof(); m_query->next()) {
        const QString id = m_query->fieldByName(QStringLiteral("id")).asString();
        ComboBox1->addItem(m_query->fieldByName(QStringLiteral("n")).asString());
        ComboBox2->addItem(id);
        // A regulation stands out from the chapters listed under it.
        if (id.size() == 2)
            ComboBox1->setItemData(ComboBox1->count() - 1, groupFont, Qt::FontRole);
    }
    m_query->close();
    if (ComboBox1->count() == 0)
        return;
    ComboBox1->setCurrentIndex(0);
    ComboBox2->setCurrentIndex(0);
    // Nothing is pre-ticked on the first section shown.
    fillPoints(0);
}

void TFrmSelectFG::fillPoints(int row)
{
    m_query->setSql(QStringLiteral("select * from tab_rule where id = :id order by ftid"));
    m_query->setParam(QStringLiteral("id"), ComboBox2->itemText(row));
    m_query->open();
    const QSignalBlocker blocker(CheckListBox1);
    CheckListBox1->clear();
    CheckListBox2->clear();
    for (m_query->first(); !m_query->eof(); m_query->next()) {
        const auto add = [](QListWidget *list, const QString &text) {
            auto *item = new QListWidgetItem(text, list);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        };
        add(CheckListBox1, m_query->fieldByName(QStringLiteral("sn")).asString().trimmed());
        add(CheckListBox2, m_query->fieldByName(QStringLiteral("ftid")).asString());
    }
    m_query->close();
    if (CheckListBox1->count() > 0) {
        CheckListBox1->setCurrentRow(0);
        CheckListBox2->setCurrentRow(0);
    }
}

void TFrmSelectFG::ComboBox1Change(int index)
{
    if (index < 0)
        return;
    ComboBox2->setCurrentIndex(index);
    fillPoints(index);
    if (m_tag == 1 || m_tag == 2) {
        const QSignalBlocker blocker(CheckListBox1);
        for (int i = 0; i < CheckListBox2->count(); ++i)
            if (m_linked.contains(CheckListBox2->item(i)->text()))
                CheckListBox1->item(i)->setCheckState(Qt::Checked);
    }
}

void TFrmSelectFG::CheckListBox1ClickCheck(int row)
{
    if (row < 0 || row >= CheckListBox2->count())
        return;
    CheckListBox2->item(row)->setCheckState(CheckListBox1->item(row)->checkState());
}

int TFrmSelectFG::newlyTickedCount() const
{
    int count = 0;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked && !m_linked.contains(CheckListBox2->item(i)->text()))
            ++count;
    return count;
}

void TFrmSelectFG::epEfButton1Click()
{
    bool anyTicked = false;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        anyTicked = anyTicked || CheckListBox1->item(i)->checkState() == Qt::Checked;
    if (!anyTicked) {
        notice(QStringLiteral("请选择对应考点，退出请按关闭按钮！"));
        return;
    }
    if (LinkedPointCount + newlyTickedCount() <= kMostPicked) {
        accept();
        return;
    }
    notice(QStringLiteral("对应考点最多不能超过7条，已有考点%1条！").arg(LinkedPointCount));
}

QList<TFrmSelectFG::PickedPoint> TFrmSelectFG::pickedPoints() const
{
    QList<PickedPoint> points;
    for (int i = 0; i < CheckListBox2->count(); ++i)
        if (CheckListBox2->item(i)->checkState() == Qt::Checked)
            points.append({CheckListBox2->item(i)->text(), CheckListBox1->item(i)->text(), ComboBox1->currentText()});
    return points;
}
