#include "DrawCsv.h"

#include "Book.h"
#include "BookSchema.h"
#include "data/DataError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QUrl>
#include <algorithm>
#include <atomic>

namespace ballvane::book {

namespace {

const QString isoDate = QStringLiteral("yyyy-MM-dd");

QString atLine(int line, const QString& reason) {
    return QStringLiteral("line %1: %2").arg(line).arg(reason);
}

[[noreturn]] void failAt(int line, const QString& reason) {
    throw BookError(atLine(line, reason));
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// English month abbreviations, matched without regard to case or to the user's locale.
int monthNumber(const QString& name) {
    static const QStringList months{QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                    QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                    QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                    QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    return static_cast<int>(months.indexOf(name.toLower())) + 1; // 0 when unknown
}

int declaredSize(const QString& column) {
    for (const FieldDef& field : drawFields())
        if (field.name == column) return field.size;
    return 0;
}

// What a cell of a file of draws means, whatever the layout calls it.
enum class Role {
    Draw,
    Day,
    IsoDate,
    OperatorDate,
    DayOfMonth,
    MonthName,
    Year,
    Ball1,
    Ball2,
    Ball3,
    Ball4,
    Ball5,
    Ball6,
    Bonus,
    Jackpot,
    Winners,
    Machine,
    Ballset
};

struct ColumnName {
    Role role;
    QStringList names; // any of these, ignoring case and spacing
};

struct Layout {
    std::vector<ColumnName> columns;
};

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* name : list)
        out << QString::fromLatin1(name);
    return out;
}

// The first column of each layout is the one that tells them apart.
const std::vector<Layout>& layouts() {
    static const std::vector<Layout> all{
        // The book's own export; the delivered file uses the table's column names.
        {{{Role::Draw, names({"draw", "DRAW#"})},
          {Role::Day, names({"day"})},
          {Role::IsoDate, names({"date"})},
          {Role::Ball1, names({"b1"})},
          {Role::Ball2, names({"b2"})},
          {Role::Ball3, names({"b3"})},
          {Role::Ball4, names({"b4"})},
          {Role::Ball5, names({"b5"})},
          {Role::Ball6, names({"b6"})},
          {Role::Bonus, names({"bonus", "BB"})},
          {Role::Jackpot, names({"jackpot"})},
          {Role::Winners, names({"winners"})},
          {Role::Machine, names({"machine"})},
          {Role::Ballset, names({"ballset"})}}},
        // The game operator's draw history: newest first, balls in drawn order, no prizes.
        {{{Role::OperatorDate, names({"DrawDate"})},
          {Role::Draw, names({"DrawNumber"})},
          {Role::Ball1, names({"Ball 1"})},
          {Role::Ball2, names({"Ball 2"})},
          {Role::Ball3, names({"Ball 3"})},
          {Role::Ball4, names({"Ball 4"})},
          {Role::Ball5, names({"Ball 5"})},
          {Role::Ball6, names({"Ball 6"})},
          {Role::Bonus, names({"Bonus Ball"})},
          {Role::Ballset, names({"Ball Set"})},
          {Role::Machine, names({"Machine"})}}},
        // The public archive of results.
        {{{Role::Draw, names({"DrawNo"})},
          {Role::Day, names({"Day"})},
          {Role::DayOfMonth, names({"DD"})},
          {Role::MonthName, names({"MMM"})},
          {Role::Year, names({"YYYY"})},
          {Role::Ball1, names({"N1"})},
          {Role::Ball2, names({"N2"})},
          {Role::Ball3, names({"N3"})},
          {Role::Ball4, names({"N4"})},
          {Role::Ball5, names({"N5"})},
          {Role::Ball6, names({"N6"})},
          {Role::Bonus, names({"BonusBall"})},
          {Role::Jackpot, names({"Jackpot"})},
          {Role::Winners, names({"Wins"})},
          {Role::Machine, names({"Machine"})},
          {Role::Ballset, names({"Set"})}}},
    };
    return all;
}

QString headerKey(const QString& name) {
    return name.simplified().toLower();
}

// Where each role sits in the file's own header.
class ColumnMap {
public:
    explicit ColumnMap(const CsvRecord& header) : m_header(header.cells) {
        for (QString& name : m_header)
            name = name.trimmed();
        for (const Layout& layout : layouts()) {
            if (find(layout.columns.front()) < 0) continue;
            for (const ColumnName& column : layout.columns) {
                const int at = find(column);
                if (at < 0)
                    failAt(header.line,
                           QStringLiteral("the header has no '%1' column").arg(column.names.front()));
                m_at[static_cast<int>(column.role)] = at;
            }
            return;
        }
        failAt(
            header.line,
            QStringLiteral(
                "the header '%1' is not one the book knows: its own export (draw,day,date,...), "
                "the operator's draw history (DrawDate,Ball 1,...) or the public archive (DrawNo,Day,DD,...)")
                .arg(m_header.join(QLatin1Char(','))));
    }

    qsizetype width() const { return m_header.size(); }
    bool has(Role role) const { return m_at.contains(static_cast<int>(role)); }
    int at(Role role) const { return m_at.value(static_cast<int>(role), -1); }
    const QString& name(Role role) const { return m_header.at(at(role)); }

private:
    int find(const ColumnName& column) const {
        for (int i = 0; i < m_header.size(); ++i)
            for (const QString& name : column.names)
                if (headerKey(m_header.at(i)) == headerKey(name)) return i;
        return -1;
    }

    QStringList m_header;
    QHash<int, int> m_at;
};

// Reads one data row against the header it sits under.
class RowReader {
public:
    RowReader(const ColumnMap& map, const CsvRecord& record) : m_map(map), m_record(record) {}

    DrawRow read() const {
        DrawRow row;
        row.line = m_record.line;
        row.draw = drawNumber();
        row.date = date();
        checkDay(row.date);
        std::array<int, 6> balls{};
        const Role ballRoles[6]{Role::Ball1, Role::Ball2, Role::Ball3, Role::Ball4, Role::Ball5, Role::Ball6};
        for (int i = 0; i < 6; ++i) {
            balls[i] = ball(ballRoles[i], QStringLiteral("ball"));
            for (int j = 0; j < i; ++j)
                if (balls[j] == balls[i]) fail(QStringLiteral("ball %1 appears twice").arg(balls[i]));
        }
        const int bonus = ball(Role::Bonus, QStringLiteral("bonus ball"));
        if (std::find(balls.begin(), balls.end(), bonus) != balls.end())
            fail(QStringLiteral("bonus ball %1 is also a main ball").arg(bonus));
        std::sort(balls.begin(), balls.end());
        for (int i = 0; i < 6; ++i)
            row.balls[i] = twoDigits(balls[i]);
        row.bonus = twoDigits(bonus);
        if (m_map.has(Role::Jackpot)) row.jackpotPence = jackpot();
        if (m_map.has(Role::Winners)) row.winners = winners();
        row.machine = limited(Role::Machine, QStringLiteral("MACHINE"), QStringLiteral("machine name"));
        row.ballset = limited(Role::Ballset, QStringLiteral("BALLSET"), QStringLiteral("ball set"));
        return row;
    }

    static QString twoDigits(int ball) { return QStringLiteral("%1").arg(ball, 2, 10, QLatin1Char('0')); }

private:
    [[noreturn]] void fail(const QString& reason) const { failAt(m_record.line, reason); }

    QString cell(Role role) const { return m_record.cells.at(m_map.at(role)).trimmed(); }

    QString required(Role role) const {
        const QString text = cell(role);
        if (text.isEmpty()) fail(QStringLiteral("the '%1' column is empty").arg(m_map.name(role)));
        return text;
    }

    int drawNumber() const {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
        const QString text = required(Role::Draw);
        const int number = digits.match(text).hasMatch() ? text.toInt() : 0;
        if (number <= 0) fail(QStringLiteral("'%1' is not a whole positive draw number").arg(text));
        return number;
    }

    QDate date() const {
        if (m_map.has(Role::IsoDate)) {
            static const QRegularExpression iso(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$"));
            const QString text = required(Role::IsoDate);
            const auto match = iso.match(text);
            return checkedDate(text, match.hasMatch()
                                         ? QDate(match.captured(1).toInt(), match.captured(2).toInt(),
                                                 match.captured(3).toInt())
                                         : QDate());
        }
        if (m_map.has(Role::OperatorDate)) {
            static const QRegularExpression dmy(QStringLiteral("^([0-9]{1,2})-([A-Za-z]{3})-([0-9]{4})$"));
            const QString text = required(Role::OperatorDate);
            const auto match = dmy.match(text);
            return checkedDate(text, match.hasMatch()
                                         ? fromParts(match.captured(1), match.captured(2), match.captured(3))
                                         : QDate());
        }
        const QString day = required(Role::DayOfMonth);
        const QString month = required(Role::MonthName);
        const QString year = required(Role::Year);
        return checkedDate(QStringLiteral("%1 %2 %3").arg(day, month, year), fromParts(day, month, year));
    }

    static QDate fromParts(const QString& day, const QString& month, const QString& year) {
        static const QRegularExpression dayDigits(QStringLiteral("^[0-9]{1,2}$"));
        static const QRegularExpression yearDigits(QStringLiteral("^[0-9]{4}$"));
        const int monthNo = monthNumber(month);
        if (monthNo == 0 || !dayDigits.match(day).hasMatch() || !yearDigits.match(year).hasMatch()) return {};
        return QDate(year.toInt(), monthNo, day.toInt());
    }

    QDate checkedDate(const QString& text, const QDate& date) const {
        if (!date.isValid()) fail(ballvane::messages::invalidDate.arg(text));
        return date;
    }

    // A day column that disagrees with the date points at a mistyped date.
    void checkDay(const QDate& date) const {
        if (!m_map.has(Role::Day)) return;
        const QString text = cell(Role::Day);
        if (text.isEmpty()) return;
        if (text.left(3).compare(weekdayName(date), Qt::CaseInsensitive) != 0)
            fail(QStringLiteral("%1 is a %2, not '%3'").arg(date.toString(isoDate), weekdayName(date), text));
    }

    int ball(Role role, const QString& what) const {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,2}$"));
        const QString text = required(role);
        if (!digits.match(text).hasMatch()) fail(QStringLiteral("'%1' is not a ball number").arg(text));
        const int number = text.toInt();
        if (number < 1 || number > 49)
            fail(QStringLiteral("%1 %2 is out of range 1-49").arg(what).arg(number));
        return number;
    }

    std::optional<qint64> jackpot() const {
        static const QRegularExpression pounds(
            QStringLiteral("^\u00a3?([0-9]{1,13}|[0-9]{1,3}(?:,[0-9]{3}){1,4})(?:\\.([0-9]{1,2}))?$"));
        const QString text = cell(Role::Jackpot);
        if (text.isEmpty()) return std::nullopt;
        const auto match = pounds.match(text);
        if (!match.hasMatch()) fail(QStringLiteral("'%1' is not an amount of pounds").arg(text));
        const qint64 whole = match.captured(1).remove(QLatin1Char(',')).toLongLong();
        const qint64 pence = match.captured(2).leftJustified(2, QLatin1Char('0')).toLongLong();
        return whole * 100 + pence;
    }

    std::optional<qint64> winners() const {
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
        const QString text = cell(Role::Winners);
        if (text.isEmpty()) return std::nullopt;
        if (!digits.match(text).hasMatch())
            fail(QStringLiteral("'%1' is not a whole number of winners").arg(text));
        return text.toLongLong();
    }

    QString limited(Role role, const QString& column, const QString& what) const {
        const QString text = cell(role);
        const int size = declaredSize(column);
        if (size > 0 && text.size() > size)
            fail(QStringLiteral("%1 '%2' is longer than %3 characters").arg(what, text).arg(size));
        return text;
    }

    const ColumnMap& m_map;
    const CsvRecord& m_record;
};

QVariant nullable(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

template <typename T> QVariant nullable(const std::optional<T>& value) {
    return value ? QVariant(*value) : QVariant();
}

[[noreturn]] void sqlFailure(const QString& what, const QSqlError& error) {
    throw BookError(QStringLiteral("%1: %2").arg(what, error.text()));
}

// What decides whether a draw in a file is the one already in the book.
struct Result {
    QString date;
    std::array<int, 6> balls{};
    int bonus = 0;

    bool operator==(const Result&) const = default;

    QString describe() const {
        QStringList parts;
        for (int ball : balls)
            parts << RowReader::twoDigits(ball);
        return QStringLiteral("%1 %2 bonus %3")
            .arg(date, parts.join(QLatin1Char(' ')), RowReader::twoDigits(bonus));
    }
};

Result resultOf(const DrawRow& row) {
    Result result{row.date.toString(isoDate), {}, row.bonus.toInt()};
    for (int i = 0; i < 6; ++i)
        result.balls[i] = row.balls[i].toInt();
    return result;
}

QString csvCell(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString pounds(const QVariant& pence) {
    if (pence.isNull()) return {};
    const qint64 value = pence.toLongLong();
    if (value % 100 == 0) return QString::number(value / 100);
    const qint64 magnitude = value < 0 ? -value : value;
    return QStringLiteral("%1%2.%3")
        .arg(value < 0 ? QStringLiteral("-") : QString())
        .arg(magnitude / 100)
        .arg(magnitude % 100, 2, 10, QLatin1Char('0'));
}

QString requireBookFile(const QString& folder) {
    const QString path = bookPath(folder);
    if (!QFileInfo(path).isFile())
        throw BookError(
            QStringLiteral("there is no book in %1 (no %2 there)").arg(shown(folder), bookFileName));
    return path;
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw BookError(QStringLiteral("cannot read %1: %2").arg(shown(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    // Files saved by older spreadsheets come in Latin-1; anything that is not UTF-8 is taken as that.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    return text;
}

} // namespace

QString bookPath(const QString& folder) {
    return QDir(QFileInfo(folder).absoluteFilePath()).filePath(bookFileName);
}

BookConnection::BookConnection(const QString& file, Access access) : m_file(file) {
    static std::atomic<int> serial{0};
    m_name = QStringLiteral("ballvane-book-%1").arg(++serial);
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    // The URI form lets SQLite refuse a missing file instead of making an empty one.
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    url.setQuery(access == Access::ReadOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
    m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=10000"));
    if (!m_db.isValid() || !m_db.open()) {
        const QString why =
            m_db.isValid() ? m_db.lastError().text() : QStringLiteral("the SQLite driver is missing");
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw BookError(QStringLiteral("cannot open %1: %2").arg(shown(file), why));
    }
}

BookConnection::~BookConnection() {
    if (m_writing) QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

void BookConnection::beginWrite() {
    QSqlQuery begin(m_db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
        sqlFailure(QStringLiteral("cannot write to %1").arg(shown(m_file)), begin.lastError());
    m_writing = true;
}

void BookConnection::commit() {
    QSqlQuery commit(m_db);
    if (!commit.exec(QStringLiteral("COMMIT")))
        sqlFailure(QStringLiteral("cannot save %1").arg(shown(m_file)), commit.lastError());
    m_writing = false;
}

void BookConnection::requireBook() const {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?"));
    query.addBindValue(drawTable);
    if (!query.exec() || !query.next())
        sqlFailure(QStringLiteral("cannot read %1").arg(shown(m_file)), query.lastError());
    if (query.value(0).toInt() == 0)
        throw BookError(
            QStringLiteral("%1 is not a Ballvane book (it has no %2 table)").arg(shown(m_file), drawTable));
}

std::vector<CsvRecord> readCsv(const QString& content) {
    std::vector<CsvRecord> records;
    CsvRecord record;
    QString cell;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the record has had a quoted field, so it is not blank
    int line = 1;
    record.line = 1;
    qsizetype i = content.startsWith(QChar(0xFEFF)) ? 1 : 0;
    const qsizetype end = content.size();

    const auto endRecord = [&](int nextLine) {
        record.cells << cell;
        const bool blank = !wasQuoted && record.cells.size() == 1 && record.cells.front().trimmed().isEmpty();
        if (!blank) records.push_back(record);
        record = CsvRecord{nextLine, {}};
        cell.clear();
        wasQuoted = false;
    };

    for (; i < end; ++i) {
        const QChar c = content.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < end && content.at(i + 1) == u'"') {
                    cell += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n') ++line;
                cell += c;
            }
        } else if (c == u'"' && cell.trimmed().isEmpty()) {
            cell.clear();
            quoted = true;
            wasQuoted = true;
        } else if (c == u',') {
            record.cells << cell;
            cell.clear();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < end && content.at(i + 1) == u'\n') ++i;
            ++line;
            endRecord(line);
        } else {
            cell += c;
        }
    }
    if (quoted) failAt(record.line, QStringLiteral("a quoted field is not closed"));
    endRecord(line);
    return records;
}

QString weekdayName(const QDate& date) {
    static const QString names[7]{QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                                  QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat"),
                                  QStringLiteral("Sun")};
    return date.isValid() ? names[date.dayOfWeek() - 1] : QString();
}

std::vector<DrawRow> parseDrawCsv(const QString& content) {
    const std::vector<CsvRecord> records = readCsv(content);
    if (records.empty()) throw BookError(QStringLiteral("the file is empty"));
    const ColumnMap map(records.front());
    std::vector<DrawRow> rows;
    rows.reserve(records.size() - 1);
    for (std::size_t i = 1; i < records.size(); ++i) {
        const CsvRecord& record = records[i];
        if (record.cells.size() != map.width())
            failAt(record.line, QStringLiteral("%1 columns where the header has %2")
                                    .arg(record.cells.size())
                                    .arg(map.width()));
        rows.push_back(RowReader(map, record).read());
    }
    return rows;
}

ImportSummary storeDraws(QSqlDatabase& db, const std::vector<DrawRow>& rows) {
    struct Known {
        Result result;
        int line = 0; // the file's line it came from; 0 for a draw already in the book
    };
    QHash<int, Known> known;
    {
        QSqlQuery existing(db);
        existing.setForwardOnly(true);
        if (!existing.exec(QStringLiteral("SELECT \"DRAW#\", \"Date\", \"B1\", \"B2\", \"B3\", \"B4\", "
                                          "\"B5\", \"B6\", \"BB\" FROM \"%1\"")
                               .arg(drawTable)))
            sqlFailure(QStringLiteral("cannot read the draws of the book"), existing.lastError());
        while (existing.next()) {
            const int draw = existing.value(0).toInt();
            if (known.contains(draw)) continue;
            Result result{existing.value(1).toString(), {}, existing.value(8).toInt()};
            for (int i = 0; i < 6; ++i)
                result.balls[i] = existing.value(2 + i).toInt();
            // Draws typed in by hand may keep their balls in drawn order.
            std::sort(result.balls.begin(), result.balls.end());
            known.insert(draw, Known{result, 0});
        }
    }

    ImportSummary summary;
    std::vector<const DrawRow*> fresh;
    for (const DrawRow& row : rows) {
        const Result result = resultOf(row);
        const auto found = known.constFind(row.draw);
        if (found == known.cend()) {
            known.insert(row.draw, Known{result, row.line});
            fresh.push_back(&row);
        } else if (found->result == result) {
            ++summary.skipped;
        } else if (found->line > 0) {
            failAt(row.line, QStringLiteral("draw %1 is on line %2 already as %3, not %4")
                                 .arg(row.draw)
                                 .arg(found->line)
                                 .arg(found->result.describe(), result.describe()));
        } else {
            failAt(row.line, QStringLiteral("draw %1 is already in the book as %2, not %3")
                                 .arg(row.draw)
                                 .arg(found->result.describe(), result.describe()));
        }
    }

    // Oldest first, so the book's own order follows the calendar whatever order the file had.
    std::stable_sort(fresh.begin(), fresh.end(), [](const DrawRow* a, const DrawRow* b) {
        return a->date != b->date ? a->date < b->date : a->draw < b->draw;
    });

    QSqlQuery insert(db);
    if (!insert.prepare(
            QStringLiteral(
                "INSERT INTO \"%1\" (\"DRAW#\", \"Day\", \"Date\", \"B1\", \"B2\", \"B3\", \"B4\", "
                "\"B5\", \"B6\", \"BBI\", \"BB\", \"JACKPOT\", \"WINNERS\", \"MACHINE\", "
                "\"BALLSET\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(drawTable)))
        sqlFailure(QStringLiteral("cannot add draws to the book"), insert.lastError());
    for (const DrawRow* row : fresh) {
        insert.addBindValue(row->draw);
        insert.addBindValue(weekdayName(row->date));
        insert.addBindValue(row->date.toString(isoDate));
        for (const QString& ball : row->balls)
            insert.addBindValue(ball);
        insert.addBindValue(bonusMarker);
        insert.addBindValue(row->bonus);
        insert.addBindValue(nullable(row->jackpotPence));
        insert.addBindValue(nullable(row->winners));
        insert.addBindValue(nullable(row->machine));
        insert.addBindValue(nullable(row->ballset));
        if (!insert.exec())
            sqlFailure(atLine(row->line, QStringLiteral("the book did not take draw %1").arg(row->draw)),
                       insert.lastError());
        ++summary.added;
    }
    return summary;
}

ImportSummary importDraws(const QString& folder, const QString& csvPath) {
    const QString path = requireBookFile(folder);
    // The whole file is checked before the book is opened, so a bad file never holds a lock.
    const std::vector<DrawRow> rows = parseDrawCsv(readText(csvPath));
    BookConnection book(path, BookConnection::Access::ReadWrite);
    book.requireBook();
    book.beginWrite();
    const ImportSummary summary = storeDraws(book.database(), rows);
    book.commit();
    return summary;
}

int exportDraws(const QString& folder, const QString& csvPath) {
    const QString path = requireBookFile(folder);
    QString text = QStringLiteral("draw,day,date,b1,b2,b3,b4,b5,b6,bonus,jackpot,winners,machine,ballset\n");
    int count = 0;
    {
        BookConnection book(path, BookConnection::Access::ReadOnly);
        book.requireBook();
        QSqlQuery query(book.database());
        query.setForwardOnly(true);
        if (!query.exec(
                QStringLiteral(
                    "SELECT \"DRAW#\", \"Day\", \"Date\", \"B1\", \"B2\", \"B3\", \"B4\", \"B5\", \"B6\", "
                    "\"BB\", \"JACKPOT\", \"WINNERS\", \"MACHINE\", \"BALLSET\" FROM \"%1\" "
                    "ORDER BY \"Date\", rowid")
                    .arg(drawTable)))
            sqlFailure(QStringLiteral("cannot read the draws of %1").arg(shown(path)), query.lastError());
        while (query.next()) {
            QStringList cells;
            for (int i = 0; i < 14; ++i)
                cells << (i == 10 ? pounds(query.value(i)) : csvCell(query.value(i).toString()));
            text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
            ++count;
        }
    }
    QSaveFile out(csvPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toUtf8()) < 0 || !out.commit())
        throw BookError(QStringLiteral("cannot write %1: %2").arg(shown(csvPath), out.errorString()));
    return count;
}

} // namespace ballvane::book
