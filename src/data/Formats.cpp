#include "Formats.h"

#include <QLocale>
#include <cmath>
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

QString currencyText(qint64 pence) {
    const QLocale locale;
    const double amount = static_cast<double>(pence) / 100.0;
    if (locale.language() == QLocale::C) {
        const QString number = QLocale(QLocale::English, QLocale::UnitedKingdom).toString(std::abs(amount), 'f', 2);
        return (pence < 0 ? QStringLiteral("-") : QString()) + currencySymbol() + number;
    }
    return locale.toCurrencyString(amount, currencySymbol(), 2);
}

} // namespace ballvane::formats
