#pragma once

#include <QString>
#include <stdexcept>

namespace ballvane {

// The one kind of error the program raises on purpose. Its message is what the
// standard error box shows: "<component>: <message>" when a component is named.
class DataError : public std::runtime_error {
public:
    explicit DataError(const QString& message);
    DataError(const QString& component, const QString& message);

    QString message() const { return m_message; }

private:
    QString m_message;
};

// The classic texts of the data layer, kept in one place so tests and code agree.
namespace messages {
inline const QString notEditing = QStringLiteral("Dataset not in edit or insert mode");
inline const QString emptyDataset = QStringLiteral("Cannot perform this operation on an empty dataset");
inline const QString closedDataset = QStringLiteral("Cannot perform this operation on a closed dataset");
inline const QString readOnly = QStringLiteral("Cannot modify a read-only dataset");
inline const QString fieldNotFound = QStringLiteral("Field '%1' not found");
inline const QString invalidInteger = QStringLiteral("'%1' is not a valid integer value");
inline const QString invalidDate = QStringLiteral("'%1' is not a valid date");
inline const QString invalidFloat = QStringLiteral("'%1' is not a valid floating point value");
inline const QString recordGone = QStringLiteral("Record has been deleted by another user");
} // namespace messages

} // namespace ballvane
