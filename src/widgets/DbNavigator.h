#pragma once

#include "data/DataSource.h"

#include <QPointer>
#include <QToolButton>
#include <QWidget>
#include <array>

namespace ballvane {

// The record navigator: buttons for first, prior, next and last over a data
// source. Its other actions have no button but can be run by kind from code,
// whether the navigator is enabled or not; while the dataset is closed they do nothing.
class DbNavigator : public QWidget {
    Q_OBJECT
public:
    enum class Action { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel };

    DbNavigator(QWidget* parent, const QString& componentName);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    // Off: the delete action asks nothing.
    void setConfirmDelete(bool on) { m_confirmDelete = on; }

    void doAction(Action action);

    // The button of a move action; nullptr for actions without a button.
    QToolButton* button(Action action) const;
    // Whether the user can press it now.
    bool available(Action action) const;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateButtons();

    QPointer<DataSource> m_source;
    std::array<QToolButton*, 4> m_buttons{};
    bool m_confirmDelete = true;
};

} // namespace ballvane
