#include "DataError.h"

namespace ballvane {

DataError::DataError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}

DataError::DataError(const QString& component, const QString& message)
    : DataError(component.isEmpty() ? message : component + QStringLiteral(": ") + message) {}

} // namespace ballvane
