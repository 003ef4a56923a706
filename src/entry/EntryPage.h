#pragma once

#include "widgets/Button.h"
#include "widgets/DbEdit.h"
#include "widgets/DbNavigator.h"

#include <QLabel>
#include <array>

namespace ballvane {

class Table;

// The "Add Lotto Result" page: the current draw in data-aware edits, the ball edit
// rules, "Add a record", "Save record" and the two order buttons.
class EntryPage : public QObject {
    Q_OBJECT
public:
    EntryPage(QWidget* page, DataSource* drawSource, Table* drawTable, DbNavigator* navigator);

    Button* Button1 = nullptr;
    Button* Button2 = nullptr;
    Button* Button3 = nullptr;
    Button* Button4 = nullptr;
    DbEdit* DBEditEh1 = nullptr;
    DbEdit* DBEditEh2 = nullptr;
    DbEdit* DBEditEh3 = nullptr;
    DbEdit* DBEditEh4 = nullptr;
    DbEdit* DBEditEh5 = nullptr;
    DbEdit* DBEditEh6 = nullptr;
    DbEdit* DBEditEh7 = nullptr;
    DbEdit* DBEditEh8 = nullptr;
    // DBE4 … DBE9 (B1 … B6) and DBE10 (BB).
    std::array<DbEdit*, 7> ballEdits{};

    void Button3Click();
    void Button4Click();
    // DBE4Exit … DBE10Exit.
    void ballEditExit(DbEdit& edit);

private:
    void build(QWidget* page);

    DataSource* m_drawSource;
    Table* m_drawTable;
    DbNavigator* m_navigator;
};

} // namespace ballvane
