#include "Formats.h"

#include <QLocale>
#include <optional>

namespace ballvane::formats {

namespace {
std::optional<QString>& chosenCurrencySymbol() {
    static std::optional<QString> symbol;
    return symbol;
}
} // namespace

QString shortDateFormat() {
    const QLocale locale;
    if (locale.language() == QLocale::C) return QStringLiteral("yyyy-MM-dd");
    return locale.dateFormat(QLocale::ShortFormat);
}

QString currencySymbol() {
    return chosenCurrencySymbol().value_or(QLocale().currencySymbol());
}

void setCurrencySymbol(const QString& symbol) {
    chosenCurrencySymbol() = symbol;
}

} // namespace ballvane::formats
