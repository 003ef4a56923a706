#pragma once

#include "Field.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>
#include <stdexcept>

namespace ballvane {

struct FilterOptions {
    bool caseInsensitive = false;
    bool noPartialCompare = false;
    friend bool operator==(const FilterOptions&, const FilterOptions&) = default;
};

// A filter text turned into an SQL condition with its constants as bound values.
struct SqlCondition {
    QString sql; // for example: ("B1" = ?) OR ("B2" = ?)
    QVariantList values;
};

// Finds a field by name, ignoring case; nullopt when the dataset has no such field.
using FieldLookup = std::function<std::optional<FieldDef>(const QString& name)>;

class FilterError : public std::runtime_error {
public:
    explicit FilterError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Parses a classic filter expression such as "(B1 = '07') or (B2 = '07') " and
// compiles it to a parameterised condition. Throws FilterError when it does not parse.
SqlCondition compileFilter(const QString& text, FilterOptions options, const FieldLookup& lookup);

} // namespace ballvane
