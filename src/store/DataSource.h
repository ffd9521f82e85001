#pragma once

#include "Dataset.h"

#include <QObject>
#include <QPointer>

namespace store {

// Tells bound widgets that the dataset's current row or its data changed.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(Dataset *dataset = nullptr, QObject *parent = nullptr);

    void setDataSet(Dataset *dataset);
    Dataset *dataSet() const { return m_dataset; }

signals:
    // The current row moved, its data changed, or the dataset opened or closed.
    void dataChanged();

private:
    QPointer<Dataset> m_dataset;
};

} // namespace store
