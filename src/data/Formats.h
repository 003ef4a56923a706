#pragma once

#include <QString>

namespace ballvane::formats {

// The short date format dates are shown and typed in: the user's own, except
// under the bare C locale, whose "d MMM yyyy" is too long for a draw date.
QString shortDateFormat();

// The process-wide currency symbol used when money is displayed. It starts as
// the locale's own; the main window sets "£" when it is created.
QString currencySymbol();
void setCurrencySymbol(const QString& symbol);

// An amount of whole pence in the locale's currency format with the chosen symbol.
// The bare C locale has no currency format of its own: the symbol goes first there.
QString currencyText(qint64 pence);

} // namespace ballvane::formats
