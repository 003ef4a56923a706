#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace ballvane::book {

inline const QString bookFileName = QStringLiteral("ballvane.db");

// The absolute path of the book file in folder.
QString bookPath(const QString& folder);

// A connection of its own to an existing book file, closed and removed again when it
// goes. It never creates the file and waits up to ten seconds for a copy of the
// program that is writing. Throws BookError when the file does not open.
class BookConnection {
public:
    enum class Access { ReadWrite, ReadOnly };
    BookConnection(const QString& file, Access access);
    ~BookConnection();
    BookConnection(const BookConnection&) = delete;
    BookConnection& operator=(const BookConnection&) = delete;

    QSqlDatabase& database() { return m_db; }

    // One write transaction, taken at once so a second writer waits rather than failing
    // half-way; whatever is not committed is rolled back when the connection goes.
    void beginWrite();
    void commit();

    // Throws BookError unless the file holds the book's draw table.
    void requireBook() const;

private:
    QString m_file;
    QString m_name;
    QSqlDatabase m_db;
    bool m_writing = false;
};

// One record of a CSV text, with the line it starts on so messages can point at it.
struct CsvRecord {
    int line = 0;
    QStringList cells;
};

// Splits CSV text into records: LF or CRLF, an optional UTF-8 byte-order mark, and
// double-quoted fields with "" for a quote. Blank lines are dropped.
// Throws BookError("line N: ...") on a quoted field that is never closed.
std::vector<CsvRecord> readCsv(const QString& content);

// One draw as the book stores it: balls ascending as two-digit text.
struct DrawRow {
    int draw = 0;
    QDate date;
    std::array<QString, 6> balls;
    QString bonus;
    std::optional<qint64> jackpotPence;
    std::optional<qint64> winners;
    QString machine; // empty is stored as null
    QString ballset; // empty is stored as null
    int line = 0;    // where the row starts in its file, for messages
};

// "Mon".."Sun", the same under every locale.
QString weekdayName(const QDate& date);

// Reads a file of draws in any layout the book knows, found by its header line:
//  - the book's own export: draw,day,date,b1..b6,bonus,jackpot,winners,machine,ballset
//    (the book's column names DRAW#,Day,Date,B1..B6,BB,JACKPOT,... are taken too);
//  - the game operator's draw history: DrawDate,Ball 1..Ball 6,Bonus Ball,Ball Set,
//    Machine,[Raffles,]DrawNumber with dates like 12-Jun-2015 and no prize columns;
//  - the public archive: DrawNo,Day,DD,MMM,YYYY,N1..N6,BonusBall,Jackpot,Wins,Machine,Set.
// Jackpots are whole pounds (two decimals allowed). Every row is checked; the first
// bad one throws BookError("line N: reason").
std::vector<DrawRow> parseDrawCsv(const QString& content);

struct ImportSummary {
    int added = 0;
    int skipped = 0; // already in the book under the same number, date and balls
};

// Adds the draws through an open connection to a book, inside the caller's transaction.
// A draw whose number is already there with the same date and balls is skipped; the
// same number with other content throws BookError naming the draw.
ImportSummary storeDraws(QSqlDatabase& db, const std::vector<DrawRow>& rows);

// Adds the draws of a CSV file to the book in folder, all of them or, on any fault,
// none. The book must exist already.
ImportSummary importDraws(const QString& folder, const QString& csvPath);

// Writes every draw of the book, oldest first, in the book's own export layout.
// Returns how many draws were written.
int exportDraws(const QString& folder, const QString& csvPath);

} // namespace ballvane::book
