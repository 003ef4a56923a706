#include "Session.h"

#include "Dataset.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace ballvane {

Session& Session::instance() {
    static Session session;
    return session;
}

QString Session::bookPath() const {
    return m_folder.isEmpty() ? QString() : QDir(m_folder).filePath(QString::fromLatin1(bookFileName));
}

void Session::setActive(bool on) { on ? activate() : deactivate(); }

void Session::activate() {
    if (m_active) return;
    const QString folder = QDir::currentPath();
    const QString path = QDir(folder).filePath(QString::fromLatin1(bookFileName));
    if (!QFileInfo(path).isFile())
        throw SessionError(QStringLiteral("there is no book %1 in the folder %2")
                               .arg(QString::fromLatin1(bookFileName), QDir::toNativeSeparators(folder)));

    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), sessionName());
        // mode=rw: a book that vanished between the check and the open is never recreated empty.
        db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        if (!db.open()) {
            failure = QStringLiteral("the book %1 cannot be opened (%2)")
                          .arg(QDir::toNativeSeparators(path), db.lastError().databaseText());
        } else {
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
                failure = QStringLiteral("%1 is not a Ballvane book (%2)")
                              .arg(QDir::toNativeSeparators(path), probe.lastError().databaseText());
        }
        if (!failure.isEmpty()) db.close();
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(sessionName());
        throw SessionError(failure);
    }
    m_folder = folder;
    m_active = true;
}

void Session::deactivate() {
    if (!m_active) return;
    // Closing discards every pending change; copy first, closing may detach.
    const std::vector<Dataset*> datasets = m_datasets;
    for (Dataset* dataset : datasets) dataset->close();
    {
        QSqlDatabase db = QSqlDatabase::database(sessionName(), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(sessionName());
    m_active = false;
    m_folder.clear();
}

QSqlDatabase Session::database() const { return QSqlDatabase::database(sessionName(), false); }

void Session::attach(Dataset* dataset) {
    if (std::find(m_datasets.begin(), m_datasets.end(), dataset) == m_datasets.end()) m_datasets.push_back(dataset);
}

void Session::detach(Dataset* dataset) { std::erase(m_datasets, dataset); }

} // namespace ballvane
