#include "HandlerGuard.h"

#include "Dialogs.h"
#include "data/DataError.h"

namespace ballvane {

void HandlerGuard::report(std::exception_ptr error) {
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const DataError& dataError) {
        message = dataError.message();
    } catch (const std::exception& other) {
        message = QString::fromUtf8(other.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    Dialogs::current().showError(errorBoxText(message));
}

} // namespace ballvane
