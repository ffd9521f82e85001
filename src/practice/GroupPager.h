#pragma once

// Paging of the question set in groups of 20, as the number buttons show it.
// Record numbers run 1 … total over the filtered set.
namespace practice {

class GroupPager {
public:
    static constexpr int kGroupSize = 20;

    // Opens the first group of a set of `total` records.
    void reset(int total);

    int total() const { return m_total; }
    int groupCount() const;
    int group() const { return m_group; } // 1-based; 0 for an empty set
    int first() const { return m_first; }
    int size() const { return m_size; }
    int last() const { return m_first + m_size - 1; }
    bool contains(int record) const { return record >= m_first && record <= last(); }

    bool hasPreviousGroup() const { return m_group > 1; }
    bool hasNextGroup() const { return m_group < groupCount(); }
    void previousGroup();
    void nextGroup();

    // Record shown by number button `index` (0 … 19), 0 when the button is unused.
    int recordAt(int index) const;
    // Number button of a record: ((record mod 20), 0 read as 20) − 1.
    static int buttonIndexOf(int record);

    // "上一题" and "下一题" are enabled for these.
    bool hasPreviousQuestion(int record) const { return record > 1; }
    bool hasNextQuestion(int record) const { return record < m_total; }

    // What "上一题" / "下一题" does from the current record.
    enum class Move { None, ToRecord, ToPreviousGroup, ToNextGroup };
    struct Step {
        Move move = Move::None;
        int record = 0; // the record to show (the new group's first one after a group change)
    };
    // Leaving the group backwards lands on the previous group's first question, not its last.
    Step previousQuestion(int current) const;
    Step nextQuestion(int current) const;

private:
    int m_total = 0;
    int m_group = 0;
    int m_first = 1;
    int m_size = 0;
};

} // namespace practice
