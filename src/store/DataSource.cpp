#include "DataSource.h"

namespace store {

DataSource::DataSource(Dataset *dataset, QObject *parent) : QObject(parent) { setDataSet(dataset); }

void DataSource::setDataSet(Dataset *dataset)
{
    if (m_dataset)
        disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (!dataset)
        return;
    for (auto signal : {&Dataset::opened, &Dataset::closed, &Dataset::scrolled, &Dataset::dataChanged})
        connect(dataset, signal, this, &DataSource::dataChanged);
}

} // namespace store
