#pragma once

#include <QString>

namespace ballvane {

// The program's message boxes. The real one shows Qt message boxes; tests install
// a recorder that notes what was shown and answers as told.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A plain modal message box with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // A question with OK and Cancel; true for OK.
    virtual bool confirm(const QString& text) = 0;
    // The standard error box: error icon, OK, the application title as caption.
    virtual void showError(const QString& text) = 0;

    static Dialogs& current();
    // Replaces the dialogs in use (nullptr restores the real ones); the caller keeps ownership.
    static void install(Dialogs* dialogs);
};

// The text the standard error box shows: a full stop is added when the message's
// last character sorts after the full stop.
QString errorBoxText(const QString& message);

// The caption of the program's boxes: the title taken from the executable's file name.
QString applicationTitle();

} // namespace ballvane
