#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <stdexcept>
#include <vector>

namespace ballvane {

class Dataset;

// Why the book could not be reached; the dataset that asked words the error.
class SessionError : public std::runtime_error {
public:
    explicit SessionError(const QString& reason) : std::runtime_error(reason.toStdString()), m_reason(reason) {}
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};

// The one connection to the book, ballvane.db in the working folder. It opens the
// book read-write and never creates it. Deactivating it closes every dataset.
class Session : public QObject {
    Q_OBJECT
public:
    static constexpr const char* bookFileName = "ballvane.db";
    static constexpr int busyTimeoutMs = 10000;

    static Session& instance();

    QString sessionName() const { return QStringLiteral("Default"); }
    bool active() const { return m_active; }
    // The folder of the open book; empty while inactive.
    QString folder() const { return m_folder; }
    QString bookPath() const;

    // Connects to the book in the current working folder. Throws SessionError.
    void activate();
    void setActive(bool active);
    void deactivate();

    QSqlDatabase database() const;

    void attach(Dataset* dataset);
    void detach(Dataset* dataset);

private:
    Session() = default;

    bool m_active = false;
    QString m_folder;
    std::vector<Dataset*> m_datasets;
};

} // namespace ballvane
