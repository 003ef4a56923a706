// The data layer's everyday actions on a book of 100,000 generated draws and on the
// real history, each beside the same work done straight through SQLite's C API.
#include "data/Query.h"
#include "data/Session.h"
#include "data/Table.h"
#include "store/Book.h"
#include "store/DateOrder.h"
#include "store/DrawCsv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>

using namespace ballvane;

namespace {

constexpr int generatedDraws = 100000;

void check(int code, sqlite3* db) {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW) throw std::runtime_error(sqlite3_errmsg(db));
}

QString ball(int number) { return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')); }

// Writes draws straight into a new book: Wednesdays and Saturdays from the start.
void fillGenerated(const QString& folder) {
    sqlite3* db = nullptr;
    const QByteArray path = QDir(folder).filePath(QStringLiteral("ballvane.db")).toUtf8();
    check(sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO LOTTO (\"DRAW#\",Day,Date,B1,B2,B3,B4,B5,B6,BBI,BB,JACKPOT,WINNERS,MACHINE,BALLSET)"
                             " VALUES (?,?,?,?,?,?,?,?,?,'->',?,?,?,'Arthur','3')",
                             -1, &insert, nullptr),
          db);
    QRandomGenerator random(1994);
    QDate date(1994, 11, 19);
    for (int draw = 1; draw <= generatedDraws; ++draw) {
        std::array<int, 49> pool{};
        for (int i = 0; i < 49; ++i) pool[static_cast<size_t>(i)] = i + 1;
        std::shuffle(pool.begin(), pool.end(), random);
        std::sort(pool.begin(), pool.begin() + 6);
        const bool saturday = date.dayOfWeek() == Qt::Saturday;
        const QByteArray day = saturday ? "Sat" : "Wed";
        const QByteArray iso = date.toString(Qt::ISODate).toLatin1();
        sqlite3_bind_int(insert, 1, draw);
        sqlite3_bind_text(insert, 2, day.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, iso.constData(), -1, SQLITE_TRANSIENT);
        for (int i = 0; i < 7; ++i) {
            const QByteArray text = ball(pool[static_cast<size_t>(i)]).toLatin1();
            sqlite3_bind_text(insert, 4 + i, text.constData(), -1, SQLITE_TRANSIENT);
        }
        sqlite3_bind_int64(insert, 11, static_cast<sqlite3_int64>(random.bounded(100000000)) * 100);
        sqlite3_bind_int(insert, 12, static_cast<int>(random.bounded(5)));
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
        date = date.addDays(saturday ? 4 : 3);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

// The two books, made once: [0] generated, [1] the real history when it is here.
struct Books {
    QTemporaryDir generated;
    QTemporaryDir real;
    bool hasReal = false;

    Books() {
        book::createBook(generated.path(), false);
        fillGenerated(generated.path());
        const QString csv = QDir(QStringLiteral(BALLVANE_SHARED_DATA)).filePath(QStringLiteral("lotto-draws-1994-2015.csv"));
        if (QFileInfo::exists(csv)) {
            book::createBook(real.path(), false);
            book::importDraws(real.path(), csv);
            hasReal = true;
        }
    }

    static Books& instance() {
        static Books books;
        return books;
    }
};

// Makes the chosen book the working folder's; false when it is not here.
bool useBook(benchmark::State& state) {
    Books& books = Books::instance();
    const bool real = state.range(0) == 1;
    if (real && !books.hasReal) {
        state.SkipWithError("the real draw history is not here");
        return false;
    }
    const QString folder = real ? books.real.path() : books.generated.path();
    if (QDir::currentPath() != folder) {
        Session::instance().deactivate();
        QDir::setCurrent(folder);
    }
    state.SetLabel(real ? "real history" : "100,000 draws");
    return true;
}

// A plain connection to the same book for the baselines.
struct RawBook {
    sqlite3* db = nullptr;
    RawBook() {
        const QByteArray path = QDir::current().filePath(QStringLiteral("ballvane.db")).toUtf8();
        check(sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    }
    ~RawBook() { sqlite3_close(db); }
    // Runs a statement to its end, reading every column of every row.
    int run(const char* sql) const {
        sqlite3_stmt* statement = nullptr;
        check(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), db);
        int rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(statement); ++i) benchmark::DoNotOptimize(sqlite3_column_text(statement, i));
            ++rows;
        }
        sqlite3_finalize(statement);
        return rows;
    }
};

void reportPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

const char* const mainBallFilter =
    "(B1 = '23') or (B2 = '23') or (B3 = '23') or (B4 = '23') or (B5 = '23') or (B6 = '23') ";

QStringList lineCheckSql() {
    const QString balls = QStringLiteral("('03','07','13','24','36','45')");
    QStringList lines{QStringLiteral("select * from (select Day,Date,B1,B2,B3,B4,B5,B6,BBI,BB,")};
    QStringList terms;
    for (int i = 1; i <= 6; ++i) terms << QStringLiteral("(B%1 in %2)").arg(i).arg(balls);
    lines << terms.join(QStringLiteral(" + ")) + QStringLiteral(" as You_Had,");
    lines << QStringLiteral("(BB in %1) as BBX from lotto) where You_Had > 2 order by Date desc").arg(balls);
    return lines;
}

void BM_OpenNewestFirst(benchmark::State& state) {
    if (!useBook(state)) return;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateD"));
    for (auto _ : state) {
        table.close();
        table.open();
        benchmark::DoNotOptimize(table.fieldByName(QStringLiteral("DRAW#")).asInteger());
    }
    reportPeakMemory(state);
}

void BM_RawOpenNewestFirst(benchmark::State& state) {
    if (!useBook(state)) return;
    RawBook raw;
    for (auto _ : state) {
        raw.run("SELECT rowid FROM LOTTO ORDER BY Date DESC, rowid DESC");
        raw.run("SELECT * FROM LOTTO ORDER BY Date DESC, rowid DESC LIMIT 1");
    }
}

void BM_OrderChange(benchmark::State& state) {
    if (!useBook(state)) return;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    bool ascending = false;
    for (auto _ : state) {
        applyDateOrder(table, ascending ? QStringLiteral("DateA") : QStringLiteral("DateD"));
        ascending = !ascending;
        benchmark::DoNotOptimize(table.fieldByName(QStringLiteral("Date")).asDate());
    }
    reportPeakMemory(state);
}

void BM_Last(benchmark::State& state) {
    if (!useBook(state)) return;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateA"));
    table.open();
    for (auto _ : state) {
        table.first();
        table.last();
        benchmark::DoNotOptimize(table.fieldByName(QStringLiteral("Day")).asString());
    }
}

void BM_RawLast(benchmark::State& state) {
    if (!useBook(state)) return;
    RawBook raw;
    for (auto _ : state) raw.run("SELECT * FROM LOTTO ORDER BY Date DESC, rowid DESC LIMIT 1");
}

void BM_InsertPost(benchmark::State& state) {
    if (!useBook(state)) return;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateA"));
    table.open();
    for (auto _ : state) {
        table.insert();
        table.fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("999999"));
        table.fieldByName(QStringLiteral("Date")).setEditText(QStringLiteral("2999-01-01"));
        table.fieldByName(QStringLiteral("B1")).setEditText(QStringLiteral("07"));
        table.post();
        state.PauseTiming();
        table.remove();
        state.ResumeTiming();
    }
    reportPeakMemory(state);
}

void BM_RawInsertPost(benchmark::State& state) {
    if (!useBook(state)) return;
    RawBook raw;
    for (auto _ : state) {
        raw.run("BEGIN");
        raw.run("INSERT INTO LOTTO (\"DRAW#\", Date, B1) VALUES (999999, '2999-01-01', '07')");
        raw.run("COMMIT");
        state.PauseTiming();
        raw.run("DELETE FROM LOTTO WHERE \"DRAW#\" = 999999");
        state.ResumeTiming();
    }
}

void BM_MainBallCount(benchmark::State& state) {
    if (!useBook(state)) return;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateD"));
    table.open();
    table.setFiltered(true);
    for (auto _ : state) {
        table.setFilter(QString::fromLatin1(mainBallFilter));
        benchmark::DoNotOptimize(table.recordCount());
        state.PauseTiming();
        table.setFilter(QString());
        state.ResumeTiming();
    }
    reportPeakMemory(state);
}

void BM_RawMainBallCount(benchmark::State& state) {
    if (!useBook(state)) return;
    RawBook raw;
    for (auto _ : state)
        raw.run("SELECT rowid FROM LOTTO WHERE B1 = '23' OR B2 = '23' OR B3 = '23' OR B4 = '23' OR B5 = '23' "
                "OR B6 = '23' ORDER BY Date DESC, rowid DESC");
}

void BM_LineCheck(benchmark::State& state) {
    if (!useBook(state)) return;
    Query query(QStringLiteral("SQ1"));
    const QStringList sql = lineCheckSql();
    for (auto _ : state) {
        query.setSql(sql);
        query.open();
        benchmark::DoNotOptimize(query.recordCount());
    }
    reportPeakMemory(state);
}

void BM_RawLineCheck(benchmark::State& state) {
    if (!useBook(state)) return;
    RawBook raw;
    const QByteArray sql = lineCheckSql().join(QLatin1Char('\n')).toUtf8();
    for (auto _ : state) benchmark::DoNotOptimize(raw.run(sql.constData()));
}

} // namespace

#define BOOKS ->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_OpenNewestFirst) BOOKS;
BENCHMARK(BM_RawOpenNewestFirst) BOOKS;
BENCHMARK(BM_OrderChange) BOOKS;
BENCHMARK(BM_Last) BOOKS;
BENCHMARK(BM_RawLast) BOOKS;
BENCHMARK(BM_InsertPost) BOOKS;
BENCHMARK(BM_RawInsertPost) BOOKS;
BENCHMARK(BM_MainBallCount) BOOKS;
BENCHMARK(BM_RawMainBallCount) BOOKS;
BENCHMARK(BM_LineCheck) BOOKS;
BENCHMARK(BM_RawLineCheck) BOOKS;

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Session::instance().deactivate();
    return 0;
}
