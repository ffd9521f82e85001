#include "ChapterGridModel.h"

#include "Dataset.h"

namespace practice {

namespace {

struct Column {
    const char *field;
    const char *title;
};
const Column kColumns[] = {{"C2", "章节名称"}, {"C3", "习题数目"}, {"C4", "已做题数"},
                           {"D1", "已做道次"}, {"D2", "做错道次"}, {"C6", "综合成绩"}};
constexpr int kColumnCount = int(std::size(kColumns));
constexpr int kScoreColumn = 5;

} // namespace

ChapterGridModel::ChapterGridModel(QObject *parent) : QAbstractTableModel(parent) {}

void ChapterGridModel::reload(store::Dataset &chapters)
{
    beginResetModel();
    m_rows.clear();
    const int at = chapters.recNo();
    for (chapters.first(); !chapters.eof(); chapters.next()) {
        QStringList row;
        for (const Column &c : kColumns)
            row << chapters.fieldByName(QLatin1String(c.field)).asString();
        m_rows << row;
    }
    if (at > 0)
        chapters.setRecNo(at);
    endResetModel();
}

int ChapterGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

int ChapterGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant ChapterGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows.at(index.row()).at(index.column());
    if (role == Qt::TextAlignmentRole && index.column() == kScoreColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ChapterGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kColumns[section].title);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

} // namespace practice
