#pragma once

#include <QAbstractTableModel>
#include <QVector>

namespace store { class Dataset; }

namespace practice {

// The rows of the chapter table as the selector's grid lists them: name,
// questions, done, attempts, wrong attempts and composite score. A snapshot
// taken by reload(); the table's cursor is left where it was.
class ChapterGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChapterGridModel(QObject *parent = nullptr);

    void reload(store::Dataset &chapters);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVector<QStringList> m_rows;
};

} // namespace practice
