#pragma once

#include <QString>
#include <stdexcept>

namespace ballvane::book {

// A failure of the book tool's work, worded for the person at the command line.
class BookError : public std::runtime_error {
public:
    explicit BookError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Makes a new ballvane.db in the folder: both tables, their indexes and, unless asked
// not to, the delivered content (the seven example ticket lines and the game's first
// eight draws). Refuses when a book is already there; never touches an existing one.
void createBook(const QString& folder, bool withDeliveredContent = true);

} // namespace ballvane::book
