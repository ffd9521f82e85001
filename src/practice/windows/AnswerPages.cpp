#include "AnswerPages.h"

#include "AnswerCodes.h"
#include "Routines.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace practice {

namespace {

QString stacked(const QString &text) { return QStringList(text.split(QString(), Qt::SkipEmptyParts)).join(QLatin1Char('\n')); }

QStringList optionCaptions()
{
    QStringList captions;
    for (int i = 0; i < kMaxOptions; ++i)
        captions << optionLetter(i);
    return captions;
}

} // namespace

int answerPageFor(int typeCode)
{
    constexpr int kTrueFalseType = 41;
    constexpr int kKeepsPage = 99;
    if (const int page = AnswerPageOfType(typeCode); page != kKeepsPage)
        return page;
    if (typeCode == kTrueFalseType)
        return TrueFalsePage;
    if (isSubjectiveType(typeCode))
        return SelfAssessmentPage;
    return -1;
}

AnswerPages::AnswerPages(QWidget *parent) : QStackedWidget(parent)
{
    setObjectName(QStringLiteral("Notebook1"));

    QWidget *one = addPage(QStringLiteral("单选"), QStringLiteral("单选"), QStringLiteral("选择一个选项作为正确答案"));
    m_one = addOptionBoard(one, QStringLiteral("fcBG_one"), optionCaptions(), true);
    fcBG_one = m_one.board;

    QWidget *many = addPage(QStringLiteral("多选"), QStringLiteral("多选"),
                            QStringLiteral("选择两个或者多个选项作为正确答案"));
    m_many = addOptionBoard(many, QStringLiteral("fcBG_many"), optionCaptions(), false);
    fcBG_many = m_many.board;

    QWidget *fill = addPage(QStringLiteral("填空"), QStringLiteral("填空"),
                            QStringLiteral("填写正确答案，答案间用“,”隔开"));
    FlatEdit1 = new QLineEdit(fill);
    FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
    fill->layout()->addWidget(FlatEdit1);

    QWidget *yn = addPage(QStringLiteral("判断"), QStringLiteral("判断"), QStringLiteral("根据判断选择“正确”或者“错误”"));
    m_yn = addOptionBoard(yn, QStringLiteral("fcBG_yn"), {QStringLiteral("对"), QStringLiteral("错")}, true);
    fcBG_yn = m_yn.board;

    QWidget *self = addPage(QStringLiteral("主观"), QStringLiteral("主观"),
                            QStringLiteral("根据自己实际情况选择“会”或者“不会”"), &Label8);
    Label8->setObjectName(QStringLiteral("Label8"));
    FlatComboBox1 = new QComboBox(self);
    FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
    FlatComboBox1->addItems({QStringLiteral("不会"), QStringLiteral("会")});
    FlatComboBox1->setCurrentIndex(-1);
    FlatComboBox1->setMinimumSize(160, 30);
    static_cast<QHBoxLayout *>(self->layout())->addWidget(FlatComboBox1);
    static_cast<QHBoxLayout *>(self->layout())->addStretch();

    QWidget *pw = addPage(QStringLiteral("配伍"), QStringLiteral("不定项"), QStringLiteral("选择若干个选项作为正确答案"));
    m_pw = addOptionBoard(pw, QStringLiteral("fcBG_pw"), optionCaptions(), false);
    fcBG_pw = m_pw.board;

    setCurrentIndex(SelfAssessmentPage);
    offerOptions(kMaxOptions);
}

QWidget *AnswerPages::addPage(const QString &name, const QString &sideText, const QString &hint, QLabel **sideLabel)
{
    auto *page = new QWidget(this);
    page->setObjectName(name);
    page->setAccessibleName(name);
    page->setToolTip(hint);
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(10);
    auto *side = new QLabel(stacked(sideText), page);
    side->setAlignment(Qt::AlignCenter);
    side->setObjectName(name + QStringLiteral("Side"));
    side->setProperty("role", QStringLiteral("pageSide"));
    side->setFixedWidth(side->fontMetrics().horizontalAdvance(QStringLiteral("选")) + 10);
    row->addWidget(side);
    if (sideLabel)
        *sideLabel = side;
    addWidget(page);
    return page;
}

AnswerPages::OptionBoard AnswerPages::addOptionBoard(QWidget *page, const QString &objectName,
                                                     const QStringList &captions, bool oneAnswer)
{
    OptionBoard board;
    board.board = new QWidget(page);
    board.board->setObjectName(objectName);
    // A pressed option of a one-answer board is released by clicking it again,
    // which an exclusive group would refuse; pressing another releases the rest.
    board.group = new QButtonGroup(board.board);
    board.group->setExclusive(false);
    if (oneAnswer)
        connect(board.group, &QButtonGroup::buttonToggled, board.board, [group = board.group](QAbstractButton *pressed,
                                                                                             bool down) {
            if (!down)
                return;
            for (QAbstractButton *other : group->buttons())
                if (other != pressed)
                    other->setChecked(false);
        });
    auto *row = new QHBoxLayout(board.board);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    for (const QString &caption : captions) {
        auto *button = new QPushButton(caption, board.board);
        button->setObjectName(objectName + caption);
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        button->setMinimumSize(44, 34);
        button->setProperty("role", QStringLiteral("option"));
        board.group->addButton(button);
        board.buttons << button;
        row->addWidget(button);
    }
    row->addStretch();
    page->layout()->addWidget(board.board);
    static_cast<QHBoxLayout *>(page->layout())->setStretchFactor(board.board, 1);
    return board;
}

void AnswerPages::offerOptions(int count)
{
    m_offered = qBound(0, count, kMaxOptions);
    for (const OptionBoard *board : {&m_one, &m_many, &m_pw})
        for (int i = 0; i < board->buttons.size(); ++i) {
            QAbstractButton *button = board->buttons.at(i);
            const bool offered = i < m_offered;
            if (!offered)
                button->setChecked(false);
            button->setVisible(offered);
        }
}

QVector<bool> AnswerPages::pressed(const OptionBoard &board) const
{
    QVector<bool> down;
    for (QAbstractButton *button : board.buttons)
        down << (button->isChecked() && !button->isHidden());
    return down;
}

void AnswerPages::release(const OptionBoard &board)
{
    for (QAbstractButton *button : board.buttons)
        button->setChecked(false);
}

void AnswerPages::press(const OptionBoard &board, const QVector<bool> &which)
{
    release(board);
    for (int i = 0; i < board.buttons.size() && i < which.size(); ++i)
        if (which.at(i))
            board.buttons.at(i)->setChecked(true);
}

QString AnswerPages::answer() const
{
    switch (currentIndex()) {
    case SingleChoicePage:
        return singleChoiceAnswer(pressed(m_one), m_offered);
    case MultipleChoicePage:
        return multipleChoiceAnswer(pressed(m_many), m_offered);
    case FillInPage:
        return fillInAnswer(FlatEdit1->text());
    case TrueFalsePage:
        return trueFalseAnswer(m_yn.buttons.at(0)->isChecked(), m_yn.buttons.at(1)->isChecked());
    case SelfAssessmentPage:
        return selfAssessmentAnswer(FlatComboBox1->currentIndex());
    case MatchingPage:
        return multipleChoiceAnswer(pressed(m_pw), m_offered);
    }
    return QString();
}

QString AnswerPages::panelAnswer() const
{
    const int page = currentIndex();
    return page == FillInPage || page == SelfAssessmentPage ? QString() : answer();
}

void AnswerPages::restore(const QString &runAnswer)
{
    const auto page = AnswerPage(currentIndex());
    switch (page) {
    case SingleChoicePage:
        press(m_one, pressedOptionsFor(page, runAnswer, m_offered));
        break;
    case MultipleChoicePage:
        press(m_many, pressedOptionsFor(page, runAnswer, m_offered));
        break;
    case MatchingPage:
        press(m_pw, pressedOptionsFor(page, runAnswer, m_offered));
        break;
    case FillInPage:
        FlatEdit1->setText(runAnswer);
        break;
    case TrueFalsePage: {
        const int choice = trueFalseChoiceOf(runAnswer);
        press(m_yn, {choice == 0, choice == 1});
        break;
    }
    case SelfAssessmentPage:
        FlatComboBox1->setCurrentIndex(selfAssessmentItemOf(runAnswer));
        break;
    }
}

bool AnswerPages::takesOptionKeys() const
{
    return currentIndex() == SingleChoicePage || currentIndex() == MultipleChoicePage;
}

const AnswerPages::OptionBoard &AnswerPages::optionBoardOnDisplay() const
{
    return currentIndex() == SingleChoicePage ? m_one : m_many;
}

bool AnswerPages::pressOptionKey(int index)
{
    if (!takesOptionKeys() || index < 0 || index >= m_offered)
        return false;
    QAbstractButton *button = optionBoardOnDisplay().buttons.at(index);
    if (currentIndex() == SingleChoicePage)
        button->setChecked(true);
    else
        button->toggle();
    return true;
}

void AnswerPages::setCompact(bool compact)
{
    for (int i = 0; i < count(); ++i) {
        auto *row = static_cast<QHBoxLayout *>(widget(i)->layout());
        row->setContentsMargins(compact ? 2 : 6, 4, compact ? 2 : 6, 4);
        row->setSpacing(compact ? 6 : 10);
    }
    for (const OptionBoard *board : {&m_one, &m_many, &m_yn, &m_pw}) {
        board->board->layout()->setSpacing(compact ? 4 : 8);
        for (QAbstractButton *button : board->buttons)
            button->setMinimumSize(compact ? QSize(34, 30) : QSize(44, 34));
    }
}

void AnswerPages::setTypeName(const QString &name) { Label8->setText(stacked(name.left(2))); }

} // namespace practice
