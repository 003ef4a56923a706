#include "Dialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace ballvane {

namespace {
class MessageBoxes final : public Dialogs {
public:
    void showMessage(const QString& text) override { run(QMessageBox::NoIcon, text, QMessageBox::Ok); }
    bool confirm(const QString& text) override {
        return run(QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
    }
    void showError(const QString& text) override { run(QMessageBox::Critical, text, QMessageBox::Ok); }

private:
    static int run(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, applicationTitle(), text, buttons, QApplication::activeWindow());
        return box.exec();
    }
};

Dialogs* installed = nullptr;
} // namespace

Dialogs& Dialogs::current() {
    static MessageBoxes real;
    return installed ? *installed : real;
}

void Dialogs::install(Dialogs* dialogs) { installed = dialogs; }

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
    return message;
}

QString applicationTitle() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

} // namespace ballvane
