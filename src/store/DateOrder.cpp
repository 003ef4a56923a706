#include "DateOrder.h"

namespace ballvane {

void applyDateOrder(Table& table, const QString& indexName) {
    table.close();
    table.setIndexName(indexName);
    table.open();
}

} // namespace ballvane
