#include "Book.h"

#include "BookSchema.h"
#include "DrawCsv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace ballvane::book {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString resourceText(const QString& name) {
    QFile file(QStringLiteral(":/book/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw BookError(QStringLiteral("the program's copy of %1 is missing").arg(name));
    return QString::fromUtf8(file.readAll());
}

void run(QSqlQuery& query, const QString& what) {
    if (!query.exec()) throw BookError(QStringLiteral("%1: %2").arg(what, query.lastError().text()));
}

void makeTables(QSqlDatabase& db) {
    for (const QString& statement : createStatements()) {
        QSqlQuery query(db);
        if (!query.prepare(statement))
            throw BookError(
                QStringLiteral("cannot make the book's tables: %1").arg(query.lastError().text()));
        run(query, QStringLiteral("cannot make the book's tables"));
    }
}

void addTicketLines(QSqlDatabase& db) {
    const std::vector<CsvRecord> records = readCsv(resourceText(QStringLiteral("ticket-lines.csv")));
    QStringList columns;
    for (const FieldDef& field : lineFields())
        columns << field.name;
    if (records.empty() || records.front().cells != columns)
        throw BookError(QStringLiteral("the program's copy of ticket-lines.csv has the wrong header"));

    QStringList quoted;
    for (const QString& column : columns)
        quoted << QStringLiteral("\"%1\"").arg(column);
    QSqlQuery insert(db);
    const bool prepared =
        insert.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                           .arg(lineTable, quoted.join(QStringLiteral(", ")),
                                QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
    if (!prepared)
        throw BookError(
            QStringLiteral("cannot add the example ticket lines: %1").arg(insert.lastError().text()));
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].cells.size() != columns.size())
            throw BookError(QStringLiteral("the program's copy of ticket-lines.csv is damaged at line %1")
                                .arg(records[i].line));
        for (const QString& cell : records[i].cells)
            insert.addBindValue(cell);
        run(insert, QStringLiteral("cannot add the example ticket lines"));
    }
}

} // namespace

void createBook(const QString& folder, bool withDeliveredContent) {
    if (!QFileInfo(folder).isDir())
        throw BookError(QStringLiteral("there is no folder %1").arg(shown(folder)));
    const QString path = bookPath(folder);
    const QString already =
        QStringLiteral("there is already a book at %1; it was left as it is").arg(shown(path));
    if (QFileInfo::exists(path)) throw BookError(already);

    // Made here with O_EXCL, so a book that appears meanwhile is refused rather than opened.
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path)) throw BookError(already);
            throw BookError(QStringLiteral("cannot make %1: %2").arg(shown(path), file.errorString()));
        }
    }

    try {
        BookConnection book(path, BookConnection::Access::ReadWrite);
        book.beginWrite();
        makeTables(book.database());
        if (withDeliveredContent) {
            addTicketLines(book.database());
            storeDraws(book.database(), parseDrawCsv(resourceText(QStringLiteral("first-draws.csv"))));
        }
        book.commit();
    } catch (...) {
        // Only a whole book is left behind; this file is ours, made a moment ago.
        QFile::remove(path);
        throw;
    }
}

} // namespace ballvane::book
