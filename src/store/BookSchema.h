#pragma once

#include "data/Field.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ballvane::book {

inline const QString drawTable = QStringLiteral("LOTTO");
inline const QString lineTable = QStringLiteral("Lines");
inline const QString ascendingIndex = QStringLiteral("DateA");
inline const QString descendingIndex = QStringLiteral("DateD");
// The marker every draw the program adds carries between the sixth ball and the bonus ball.
inline const QString bonusMarker = QStringLiteral("->");

// The draw table's fields, in the order the grid shows them.
const std::vector<FieldDef>& drawFields();
// The ticket-line table's fields.
const std::vector<FieldDef>& lineFields();

// The statements that make a new, empty book: both tables and the two date indexes.
QStringList createStatements();

} // namespace ballvane::book
