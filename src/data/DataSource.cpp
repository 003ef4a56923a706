#include "DataSource.h"

namespace ballvane {

DataSource::DataSource(const QString& componentName, Dataset* dataset, QObject* parent) : QObject(parent) {
    setObjectName(componentName);
    setDataset(dataset);
}

void DataSource::setDataset(Dataset* dataset) {
    if (m_dataset) disconnect(m_dataset, nullptr, this, nullptr);
    m_dataset = dataset;
    if (dataset) {
        connect(dataset, &Dataset::stateChanged, this, &DataSource::stateChanged);
        connect(dataset, &Dataset::currentChanged, this, &DataSource::currentChanged);
        connect(dataset, &Dataset::rowsChanged, this, &DataSource::rowsChanged);
        connect(dataset, &Dataset::fieldChanged, this, &DataSource::fieldChanged);
    }
}

bool DataSource::edit() {
    if (!m_dataset || !m_dataset->active()) return false;
    if (m_autoEdit && !m_dataset->editing()) m_dataset->edit();
    return m_dataset->editing();
}

} // namespace ballvane
