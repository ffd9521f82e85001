#include "NumberBoard.h"

#include "GlyphButton.h"
#include "GroupPager.h"

#include <QButtonGroup>

namespace practice {

namespace {

void pressOnly(QButtonGroup *group, const QVector<ui::GlyphButton *> &buttons, int index)
{
    group->setExclusive(false);
    for (int i = 0; i < buttons.size(); ++i)
        buttons.at(i)->setChecked(i == index);
    group->setExclusive(true);
}

} // namespace

NumberBoard::NumberBoard(const NumberGlyphs &glyphs, QWidget *parent, int buttons, int columns)
    : QWidget(parent), m_glyphs(glyphs), m_group(new QButtonGroup(this)), m_columns(columns)
{
    setObjectName(QStringLiteral("fcBG_th"));
    for (int i = 0; i < buttons; ++i) {
        auto *button = new ui::GlyphButton(QString::number(i + 1), this);
        button->setObjectName(QStringLiteral("fcBG_th%1").arg(i + 1));
        button->setGlyphs(m_glyphs.up, m_glyphs.down);
        button->setFocusPolicy(Qt::NoFocus);
        m_group->addButton(button, i);
        m_buttons << button;
    }
    connect(m_group, &QButtonGroup::idClicked, this, [this](int index) {
        if (const int record = m_buttons.at(index)->tag(); record > 0)
            emit recordPicked(record);
    });
}

void NumberBoard::arrange(int buttonWidth, int buttonHeight, int gap)
{
    for (int i = 0; i < count(); ++i)
        m_buttons.at(i)->setGeometry((i % m_columns) * (buttonWidth + gap), (i / m_columns) * (buttonHeight + gap),
                                     buttonWidth, buttonHeight);
    const int rows = (count() + m_columns - 1) / m_columns;
    resize(m_columns * (buttonWidth + gap) - gap, rows * (buttonHeight + gap) - gap);
}

void NumberBoard::showGroup(const GroupPager &pager, const std::function<AnswerState(int)> &stateOf)
{
    showTagged([&pager](int index) { return pager.recordAt(index); }, stateOf);
}

void NumberBoard::showRecords(int recordCount, const std::function<AnswerState(int)> &stateOf)
{
    showTagged([recordCount](int index) { return index < recordCount ? index + 1 : 0; }, stateOf);
}

void NumberBoard::showTagged(const std::function<int(int)> &recordAt, const std::function<AnswerState(int)> &stateOf)
{
    for (int i = 0; i < count(); ++i) {
        ui::GlyphButton *button = m_buttons.at(i);
        const int record = recordAt(i);
        button->setEnabled(record > 0);
        button->setTag(record);
        setState(i, record > 0 ? stateOf(record) : AnswerState::NotAnswered);
    }
    setPressed(-1);
}

void NumberBoard::setState(int index, AnswerState state)
{
    if (index >= 0 && index < count())
        m_buttons.at(index)->setGlyphs(m_glyphs.normal(state), m_glyphs.pressed(state));
}

void NumberBoard::setPressed(int index) { pressOnly(m_group, m_buttons, index); }

TypeBoard::TypeBoard(QWidget *parent) : QWidget(parent), m_group(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("fcBG_tx"));
    connect(m_group, &QButtonGroup::idClicked, this, &TypeBoard::entryPicked);
}

void TypeBoard::setEntries(const QStringList &captions, const TypeGlyphs &glyphs)
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new ui::GlyphButton(captions.at(i), this);
        button->setObjectName(QStringLiteral("fcBG_tx%1").arg(i));
        button->setCaptionPlace(ui::GlyphButton::CaptionPlace::Beside);
        button->setGlyphs(glyphs.up, glyphs.down);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(captions.at(i));
        m_group->addButton(button, i);
        m_buttons << button;
        button->show();
    }
    arrange(width(), m_rowHeight, m_fontPixels);
}

void TypeBoard::arrange(int width, int rowHeight, int fontPixels)
{
    m_rowHeight = rowHeight;
    m_fontPixels = fontPixels;
    const int column = width / 2;
    for (int i = 0; i < m_buttons.size(); ++i) {
        ui::GlyphButton *button = m_buttons.at(i);
        QFont font = button->font();
        font.setPixelSize(fontPixels);
        button->setFont(font);
        button->setGeometry((i % 2) * column, (i / 2) * rowHeight, column - 2, rowHeight - 2);
    }
    resize(width, int((m_buttons.size() + 1) / 2) * rowHeight);
}

void TypeBoard::setPressed(int index) { pressOnly(m_group, m_buttons, index); }

} // namespace practice
