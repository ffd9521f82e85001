#include "GroupPager.h"

#include <QtGlobal>

namespace practice {

void GroupPager::reset(int total)
{
    m_total = qMax(0, total);
    m_group = m_total > 0 ? 1 : 0;
    m_first = 1;
    m_size = qMin(m_total, kGroupSize);
}

int GroupPager::groupCount() const { return m_total / kGroupSize + (m_total % kGroupSize > 0 ? 1 : 0); }

void GroupPager::previousGroup()
{
    if (!hasPreviousGroup())
        return;
    --m_group;
    m_first = (m_group - 1) * kGroupSize + 1;
    m_size = kGroupSize;
}

void GroupPager::nextGroup()
{
    if (!hasNextGroup())
        return;
    m_first = m_group * kGroupSize + 1;
    m_size = qMin(kGroupSize, m_total - m_group * kGroupSize);
    ++m_group;
}

int GroupPager::recordAt(int index) const { return index >= 0 && index < m_size ? m_first + index : 0; }

int GroupPager::buttonIndexOf(int record)
{
    const int rest = record % kGroupSize;
    return (rest == 0 ? kGroupSize : rest) - 1;
}

GroupPager::Step GroupPager::previousQuestion(int current) const
{
    if (current - 1 >= m_first)
        return {Move::ToRecord, current - 1};
    if (hasPreviousGroup())
        return {Move::ToPreviousGroup, m_first - kGroupSize};
    return {};
}

GroupPager::Step GroupPager::nextQuestion(int current) const
{
    if (current + 1 <= last())
        return {Move::ToRecord, current + 1};
    if (hasNextGroup())
        return {Move::ToNextGroup, m_first + kGroupSize};
    return {};
}

} // namespace practice
