#pragma once

#include "PracticeGlyphs.h"

#include <QVector>
#include <functional>
#include <QWidget>

class QButtonGroup;
namespace ui { class GlyphButton; }

namespace practice {

class GroupPager;

// fcBG_th: numbered buttons, one pressed at a time; a button's tag is the
// record number it shows. Practice shows the 20 of the current group, five
// to a row; the exam's answer sheet holds a whole paper.
class NumberBoard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtons = 20;
    static constexpr int kColumns = 5;

    NumberBoard(const NumberGlyphs &glyphs, QWidget *parent = nullptr, int buttons = kButtons, int columns = kColumns);

    int count() const { return int(m_buttons.size()); }
    ui::GlyphButton *button(int index) const { return m_buttons.at(index); }
    // Tags and enables the buttons for the pager's group; `stateOf` gives a record's answer state.
    void showGroup(const GroupPager &pager, const std::function<AnswerState(int record)> &stateOf);
    // Button i shows record i + 1 while i < recordCount; the rest are disabled with tag 0.
    void showRecords(int recordCount, const std::function<AnswerState(int record)> &stateOf);
    void setState(int index, AnswerState state);
    // Presses the button without telling anyone.
    void setPressed(int index);
    void arrange(int buttonWidth, int buttonHeight, int gap);

signals:
    void recordPicked(int record);

private:
    void showTagged(const std::function<int(int index)> &recordAt, const std::function<AnswerState(int)> &stateOf);

    const NumberGlyphs &m_glyphs;
    QButtonGroup *m_group;
    QVector<ui::GlyphButton *> m_buttons;
    int m_columns;
};

// fcBG_tx: the type list, two columns, one entry pressed at a time.
class TypeBoard : public QWidget {
    Q_OBJECT
public:
    explicit TypeBoard(QWidget *parent = nullptr);

    void setEntries(const QStringList &captions, const TypeGlyphs &glyphs);
    int count() const { return int(m_buttons.size()); }
    ui::GlyphButton *entry(int index) const { return m_buttons.at(index); }
    void setPressed(int index); // -1 releases every entry
    void arrange(int width, int rowHeight, int fontPixels);

signals:
    void entryPicked(int index);

private:
    QButtonGroup *m_group;
    QVector<ui::GlyphButton *> m_buttons;
    int m_rowHeight = 26;
    int m_fontPixels = 14;
};

} // namespace practice
