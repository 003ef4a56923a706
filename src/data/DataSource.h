#pragma once

#include "Dataset.h"

#include <QObject>
#include <QPointer>

namespace ballvane {

// Links a dataset to its bound controls. With auto-edit on, the first change a
// user types into a bound control puts the current record into edit mode.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(const QString& componentName, Dataset* dataset = nullptr, QObject* parent = nullptr);

    Dataset* dataset() const { return m_dataset; }
    void setDataset(Dataset* dataset);
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }

    // Readies the current record for a change a control is about to make: true when it may be changed.
    bool edit();

signals:
    void stateChanged();
    void currentChanged();
    void rowsChanged();
    void fieldChanged(int fieldIndex);
private:
    QPointer<Dataset> m_dataset;
    bool m_autoEdit = true;
};

} // namespace ballvane
