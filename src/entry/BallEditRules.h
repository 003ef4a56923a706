#pragma once

#include "widgets/DbEdit.h"

namespace ballvane {

// The ball edit rules as edit handlers, attached to every edit of their group.
// The ticket-line edits use the first two as well.

// Key press of DBE4…DBE10, DBEditEh1, DBEditEh4, DBEditEh5, DBEditEh7, EH1…EH6.
void digitOnlyKeyPress(DbEdit& edit, QChar& key);
// Change of DBE4…DBE10, EH1…EH6.
void ballBandingChange(DbEdit& edit);
// Change of DBEditEh5.
void sharesColourChange(DbEdit& edit);

} // namespace ballvane
