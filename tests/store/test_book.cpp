// The book tool: making a book, importing the three layouts of draw files, exporting.
#include "store/Book.h"
#include "store/DrawCsv.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace ballvane::book;

namespace {

const QString null = QStringLiteral("NULL");
const QString bookHeader =
    QStringLiteral("draw,day,date,b1,b2,b3,b4,b5,b6,bonus,jackpot,winners,machine,ballset\n");
const QString operatorHeader = QStringLiteral(
    "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,Raffles,DrawNumber\n");
const QString archiveHeader =
    QStringLiteral("DrawNo,Day,DD,MMM,YYYY,N1,N2,N3,N4,N5,N6,BonusBall,Jackpot,Wins,Machine,Set\n");
// A new draw that fits every book made by these tests.
const QString goodRow = QStringLiteral("901,Sat,2004-01-03,02,07,17,23,38,41,09,2350000,3,Lancelot,6\n");

// Reads through a connection of the test's own, so what is checked is what SQLite holds.
QList<QStringList> rowsOf(const QString& folder, const QString& sql) {
    static int serial = 0;
    const QString name = QStringLiteral("test-read-%1").arg(++serial);
    QList<QStringList> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        QUrl url = QUrl::fromLocalFile(QDir(folder).absoluteFilePath(QStringLiteral("ballvane.db")));
        url.setQuery(QStringLiteral("mode=ro"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
        if (!db.open()) {
            rows << QStringList{QStringLiteral("cannot open: ") + db.lastError().text()};
        } else {
            QSqlQuery query(db);
            if (!query.exec(sql))
                rows << QStringList{QStringLiteral("query failed: ") + query.lastError().text()};
            while (query.next()) {
                QStringList row;
                for (int i = 0; i < query.record().count(); ++i)
                    row << (query.isNull(i) ? null : query.value(i).toString());
                rows << row;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QStringList joined(const QList<QStringList>& rows) {
    QStringList out;
    for (const QStringList& row : rows)
        out << row.join(QLatin1Char('|'));
    return out;
}

QStringList drawsOf(const QString& folder) {
    return joined(rowsOf(folder, QStringLiteral("SELECT * FROM LOTTO ORDER BY \"Date\", rowid")));
}

// Every stored value with its SQLite type, so "03" against 3 or pence against pounds shows.
QStringList typedDrawsOf(const QString& folder, const QString& order = QStringLiteral("rowid")) {
    return joined(
        rowsOf(folder, QStringLiteral("SELECT *, typeof(\"DRAW#\"), typeof(\"B1\"), typeof(\"BB\"), "
                                      "typeof(\"JACKPOT\"), typeof(\"WINNERS\") FROM LOTTO ORDER BY %1")
                           .arg(order)));
}

int countOf(const QString& folder, const QString& sql) {
    const QList<QStringList> rows = rowsOf(folder, sql);
    return rows.size() == 1 && rows.front().size() == 1 ? rows.front().front().toInt() : -1;
}

QString writeText(const QString& folder, const QString& name, const QString& text) {
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text.toUtf8());
    return path;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename Work> QString bookErrorOf(Work&& work) {
    try {
        work();
    } catch (const BookError& error) {
        return error.message();
    }
    return {};
}

QString sharedHistory() {
    return QStringLiteral(BALLVANE_SHARED_DATA "/lotto-draws-1994-2015.csv");
}

} // namespace

class TestBookTool : public QObject {
    Q_OBJECT

private slots:
    void createMakesTables_data();
    void createMakesTables();
    void createMakesDateIndexes_data();
    void createMakesDateIndexes();
    void createDeliversContent_data();
    void createDeliversContent();
    void createRefuses_data();
    void createRefuses();
    void importLayout_data();
    void importLayout();
    void badFileLeavesBookAlone_data();
    void badFileLeavesBookAlone();
    void knownDrawsSkipped_data();
    void knownDrawsSkipped();
    void missingBook_data();
    void missingBook();
    void exportRoundTrip_data();
    void exportRoundTrip();
    void realHistory();
};

void TestBookTool::createMakesTables_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("draws") << QStringLiteral("LOTTO")
                           << QStringList{"DRAW# INTEGER",   "Day VARCHAR(3)",      "Date DATE",
                                          "B1 VARCHAR(2)",   "B2 VARCHAR(2)",       "B3 VARCHAR(2)",
                                          "B4 VARCHAR(2)",   "B5 VARCHAR(2)",       "B6 VARCHAR(2)",
                                          "BBI VARCHAR(2)",  "BB VARCHAR(2)",       "JACKPOT MONEY",
                                          "WINNERS INTEGER", "MACHINE VARCHAR(20)", "BALLSET VARCHAR(2)"};
    QTest::newRow("ticket lines") << QStringLiteral("Lines")
                                  << QStringList{"Line VARCHAR(10)", "B1 VARCHAR(2)", "B2 VARCHAR(2)",
                                                 "B3 VARCHAR(2)",    "B4 VARCHAR(2)", "B5 VARCHAR(2)",
                                                 "B6 VARCHAR(2)"};
}

void TestBookTool::createMakesTables() {
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createBook(dir.path());
    QStringList found;
    for (const QStringList& row :
         rowsOf(dir.path(), QStringLiteral("SELECT name, type FROM pragma_table_info('%1') "
                                           "ORDER BY cid")
                                .arg(table)))
        found << row.join(QLatin1Char(' '));
    QCOMPARE(found, columns);
}

void TestBookTool::createMakesDateIndexes_data() {
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("descending");
    QTest::newRow("ascending") << QStringLiteral("DateA") << QStringLiteral("0");
    QTest::newRow("descending") << QStringLiteral("DateD") << QStringLiteral("1");
}

void TestBookTool::createMakesDateIndexes() {
    QFETCH(QString, index);
    QFETCH(QString, descending);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createBook(dir.path(), false);
    const auto tables =
        rowsOf(dir.path(), QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type = 'index' "
                                          "AND name = '%1'")
                               .arg(index));
    QCOMPARE(tables, (QList<QStringList>{{QStringLiteral("LOTTO")}}));
    const auto keys = rowsOf(dir.path(), QStringLiteral("SELECT name, \"desc\" FROM pragma_index_xinfo('%1') "
                                                        "WHERE key = 1")
                                             .arg(index));
    QCOMPARE(keys, (QList<QStringList>{{QStringLiteral("Date"), descending}}));
}

void TestBookTool::createDeliversContent_data() {
    QTest::addColumn<bool>("delivered");
    QTest::newRow("with the delivered content") << true;
    QTest::newRow("empty") << false;
}

void TestBookTool::createDeliversContent() {
    QFETCH(bool, delivered);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createBook(dir.path(), delivered);

    // What the program carries, read here with nothing but a split, and what the book must hold for it.
    QFile source(QStringLiteral(":/book/first-draws.csv"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QStringList lines = QString::fromUtf8(source.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(),
             QStringLiteral("DRAW#,Day,Date,B1,B2,B3,B4,B5,B6,BB,JACKPOT,WINNERS,MACHINE,BALLSET"));
    QCOMPARE(lines.size(), 8);
    QStringList expected;
    if (delivered) {
        for (const QString& line : lines) {
            QStringList cells = line.split(QLatin1Char(','));
            const QDate date = QDate::fromString(cells[2], Qt::ISODate);
            QCOMPARE(cells[1], QLocale::c().dayName(date.dayOfWeek(), QLocale::ShortFormat));
            cells.insert(9, QStringLiteral("->"));
            cells[11] = QString::number(cells[11].toLongLong() * 100);
            expected << cells.join(QLatin1Char('|')) + QStringLiteral("|integer|text|text|integer|integer");
        }
    }
    QCOMPARE(typedDrawsOf(dir.path()), expected);
    if (delivered) {
        // The game's first draw: £839,254 to each of seven winners.
        QCOMPARE(rowsOf(dir.path(),
                        QStringLiteral("SELECT \"JACKPOT\", \"WINNERS\" FROM LOTTO WHERE \"DRAW#\" = 1")),
                 (QList<QStringList>{{QStringLiteral("83925400"), QStringLiteral("7")}}));
    }

    const QList<QStringList> ticketLines =
        rowsOf(dir.path(), QStringLiteral("SELECT * FROM Lines ORDER BY rowid"));
    QCOMPARE(ticketLines.size(), delivered ? 7 : 0);
    for (int i = 0; i < ticketLines.size(); ++i) {
        const QStringList& row = ticketLines[i];
        QCOMPARE(row.size(), 7);
        QCOMPARE(row[0], QStringLiteral("Line %1").arg(QChar(u'A' + i)));
        for (int b = 1; b <= 6; ++b) {
            QCOMPARE(row[b].size(), 2);
            QVERIFY2(row[b].toInt() >= 1 && row[b].toInt() <= 49, qPrintable(row.join(QLatin1Char(' '))));
            if (b > 1) QVERIFY2(row[b - 1] < row[b], qPrintable(row.join(QLatin1Char(' '))));
        }
    }
}

void TestBookTool::createRefuses_data() {
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("message"); // %1 is the book file, or the folder when there is none
    QTest::newRow("a book") << QStringLiteral("book")
                            << QStringLiteral("there is already a book at %1; it was left as it is");
    QTest::newRow("some other file") << QStringLiteral("other")
                                     << QStringLiteral("there is already a book at %1; it was left as it is");
    QTest::newRow("no folder") << QStringLiteral("nothing") << QStringLiteral("there is no folder %1");
}

void TestBookTool::createRefuses() {
    QFETCH(QString, present);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString folder = dir.path();
    if (present == u"book") {
        createBook(folder);
        importDraws(folder, writeText(folder, QStringLiteral("one.csv"), bookHeader + goodRow));
    } else if (present == u"other") {
        writeText(folder, QStringLiteral("ballvane.db"),
                  QStringLiteral("not a book, and it must stay that way\n"));
    } else {
        folder = QDir(folder).filePath(QStringLiteral("not-made"));
    }
    const QString book = QDir(folder).filePath(QStringLiteral("ballvane.db"));
    const QByteArray before = bytesOf(book);
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QCOMPARE(bookErrorOf([&] { createBook(folder); }), message.arg(present == u"nothing" ? folder : book));
    QCOMPARE(bytesOf(book), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
    QCOMPARE(QFileInfo::exists(folder), present != u"nothing");
}

void TestBookTool::importLayout_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("book export")
        << bookHeader + QStringLiteral("901,Sat,2004-01-03,41,7,23,02,38,17,9,2350000,3,Lancelot,6\n"
                                       "902,Wed,2004-01-07,05,11,19,26,33,48,44,1234.5,,Arthur,\n")
        << QStringList{"901|Sat|2004-01-03|02|07|17|23|38|41|->|09|235000000|3|Lancelot|6",
                       "902|Wed|2004-01-07|05|11|19|26|33|48|->|44|123450|NULL|Arthur|NULL"};
    QTest::newRow("book column names, BOM, CRLF")
        << QChar(0xFEFF) +
               QStringLiteral("DRAW#,Day,Date,B1,B2,B3,B4,B5,B6,BB,JACKPOT,WINNERS,MACHINE,BALLSET\r\n"
                              "903,Sat,2004-01-10,\"12\",4,45,30,21,8,1,\"5000000\",0,Merlin,A\r\n")
        << QStringList{"903|Sat|2004-01-10|04|08|12|21|30|45|->|01|500000000|0|Merlin|A"};
    QTest::newRow("operator, newest first")
        << operatorHeader +
               QStringLiteral("13-Feb-2016,33,4,19,47,2,28,11,5,Lancelot,\"ABC123,DEF456\",2103\n"
                              "10-Feb-2016,9,40,1,22,35,16,30,7,Arthur,,2102\n"
                              "06-Feb-2016,25,14,3,49,38,6,20,5,Merlin,XYZ999,2101\n")
        << QStringList{"2101|Sat|2016-02-06|03|06|14|25|38|49|->|20|NULL|NULL|Merlin|5",
                       "2102|Wed|2016-02-10|01|09|16|22|35|40|->|30|NULL|NULL|Arthur|7",
                       "2103|Sat|2016-02-13|02|04|19|28|33|47|->|11|NULL|NULL|Lancelot|5"};
    QTest::newRow("operator, no raffles, own column order")
        << QStringLiteral(
               "DrawNumber,DrawDate,Machine,Ball Set,Bonus Ball,Ball 6,Ball 5,Ball 4,Ball 3,Ball 2,Ball 1\r\n"
               "2104,17-feb-2016,Topaz,12,8,44,3,27,15,36,10\r\n")
        << QStringList{"2104|Wed|2016-02-17|03|10|15|27|36|44|->|08|NULL|NULL|Topaz|12"};
    QTest::newRow("public archive")
        << archiveHeader + QStringLiteral("904,Wed,14,Jan,2004,18,3,42,27,9,31,46,1800000,2,Sapphire,3\r\n"
                                          "905,Sat,17,Jan,2004,49,48,10,20,30,40,5,7254019,0,Garnet,11\r\n")
        << QStringList{"904|Wed|2004-01-14|03|09|18|27|31|42|->|46|180000000|2|Sapphire|3",
                       "905|Sat|2004-01-17|10|20|30|40|48|49|->|05|725401900|0|Garnet|11"};
}

void TestBookTool::importLayout() {
    QFETCH(QString, content);
    QFETCH(QStringList, stored);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createBook(dir.path(), false);
    const ImportSummary summary =
        importDraws(dir.path(), writeText(dir.path(), QStringLiteral("draws.csv"), content));
    QCOMPARE(summary.added, stored.size());
    QCOMPARE(summary.skipped, 0);
    QCOMPARE(drawsOf(dir.path()), stored);
    // Balls and bonus are text, so "03" keeps its zero; the jackpot is whole pence.
    const auto types =
        rowsOf(dir.path(), QStringLiteral("SELECT DISTINCT typeof(\"B1\"), typeof(\"B6\"), typeof(\"BB\"), "
                                          "typeof(\"DRAW#\") FROM LOTTO"));
    QCOMPARE(types, (QList<QStringList>{{"text", "text", "text", "integer"}}));
}

void TestBookTool::badFileLeavesBookAlone_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("message");
    const auto bad = [](const char* row) {
        return bookHeader + goodRow + QString::fromUtf8(row) + QLatin1Char('\n');
    };
    QTest::newRow("ball above 49") << bad("902,Wed,2004-01-07,05,11,19,26,33,50,44,1200000,1,Arthur,2")
                                   << "line 3: ball 50 is out of range 1-49";
    QTest::newRow("ball 0") << bad("902,Wed,2004-01-07,0,11,19,26,33,48,44,1200000,1,Arthur,2")
                            << "line 3: ball 0 is out of range 1-49";
    QTest::newRow("ball twice") << bad("902,Wed,2004-01-07,05,11,19,12,33,12,44,1200000,1,Arthur,2")
                                << "line 3: ball 12 appears twice";
    QTest::newRow("7 and 07") << bad("902,Wed,2004-01-07,7,11,19,26,33,07,44,1200000,1,Arthur,2")
                              << "line 3: ball 7 appears twice";
    QTest::newRow("not a number") << bad("902,Wed,2004-01-07,05,11,1x,26,33,48,44,1200000,1,Arthur,2")
                                  << "line 3: '1x' is not a ball number";
    QTest::newRow("three digits") << bad("902,Wed,2004-01-07,005,11,19,26,33,48,44,1200000,1,Arthur,2")
                                  << "line 3: '005' is not a ball number";
    QTest::newRow("ball missing") << bad("902,Wed,2004-01-07,05,11,,26,33,48,44,1200000,1,Arthur,2")
                                  << "line 3: the 'b3' column is empty";
    QTest::newRow("bonus among the balls")
        << bad("902,Wed,2004-01-07,05,11,19,26,33,48,19,1200000,1,Arthur,2")
        << "line 3: bonus ball 19 is also a main ball";
    QTest::newRow("bonus above 49") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,50,1200000,1,Arthur,2")
                                    << "line 3: bonus ball 50 is out of range 1-49";
    QTest::newRow("bonus missing") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,,1200000,1,Arthur,2")
                                   << "line 3: the 'bonus' column is empty";
    QTest::newRow("31 February") << bad("902,Sat,2015-02-31,05,11,19,26,33,48,44,1200000,1,Arthur,2")
                                 << "line 3: '2015-02-31' is not a valid date";
    QTest::newRow("date not ISO") << bad("902,Wed,07/01/2004,05,11,19,26,33,48,44,1200000,1,Arthur,2")
                                  << "line 3: '07/01/2004' is not a valid date";
    QTest::newRow("weekday disagrees") << bad("902,Sat,2004-01-07,05,11,19,26,33,48,44,1200000,1,Arthur,2")
                                       << "line 3: 2004-01-07 is a Wed, not 'Sat'";
    QTest::newRow("draw 0") << bad("0,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,Arthur,2")
                            << "line 3: '0' is not a whole positive draw number";
    QTest::newRow("negative draw") << bad("-3,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,Arthur,2")
                                   << "line 3: '-3' is not a whole positive draw number";
    QTest::newRow("fractional draw") << bad("2.5,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,Arthur,2")
                                     << "line 3: '2.5' is not a whole positive draw number";
    QTest::newRow("too few columns") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,Arthur")
                                     << "line 3: 13 columns where the header has 14";
    QTest::newRow("too many columns") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,Arthur,2,x")
                                      << "line 3: 15 columns where the header has 14";
    QTest::newRow("jackpot in words") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,44,lots,1,Arthur,2")
                                      << "line 3: 'lots' is not an amount of pounds";
    QTest::newRow("negative winners") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,-1,Arthur,2")
                                      << "line 3: '-1' is not a whole number of winners";
    QTest::newRow("machine name too long")
        << bad("902,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,Guinevere the Second Machine,2")
        << "line 3: machine name 'Guinevere the Second Machine' is longer than 20 characters";
    QTest::newRow("quote never closed") << bad("902,Wed,2004-01-07,05,11,19,26,33,48,44,1200000,1,\"Arthur,2")
                                        << "line 3: a quoted field is not closed";
    QTest::newRow("CRLF and a blank line")
        << QStringLiteral("draw,day,date,b1,b2,b3,b4,b5,b6,bonus,jackpot,winners,machine,ballset\r\n"
                          "901,Sat,2004-01-03,02,07,17,23,38,41,09,2350000,3,Lancelot,6\r\n\r\n"
                          "902,Wed,2004-01-07,05,11,19,26,33,50,44,1200000,1,Arthur,2\r\n")
        << "line 4: ball 50 is out of range 1-49";
    QTest::newRow("line break inside quotes")
        << bookHeader + QStringLiteral("901,Sat,2004-01-03,02,07,17,23,38,41,09,2350000,3,\"Lance\nlot\",6\n"
                                       "902,Wed,2004-01-07,05,11,19,26,33,50,44,1200000,1,Arthur,2\n")
        << "line 4: ball 50 is out of range 1-49";
    QTest::newRow("operator, 31 February")
        << operatorHeader + QStringLiteral("13-Feb-2016,33,4,19,47,2,28,11,5,Lancelot,,2103\n"
                                           "10-Feb-2016,9,40,1,22,35,16,30,7,Arthur,,2102\n"
                                           "31-Feb-2015,25,14,3,49,38,6,20,5,Merlin,,2101\n")
        << "line 4: '31-Feb-2015' is not a valid date";
    QTest::newRow("operator, unknown month")
        << operatorHeader + QStringLiteral("13-Feb-2016,33,4,19,47,2,28,11,5,Lancelot,,2103\n"
                                           "10-Jux-2016,9,40,1,22,35,16,30,7,Arthur,,2102\n")
        << "line 3: '10-Jux-2016' is not a valid date";
    QTest::newRow("operator, no Ball 6 column")
        << QStringLiteral(
               "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Bonus Ball,Ball Set,Machine,DrawNumber\n"
               "13-Feb-2016,33,4,19,47,2,11,5,Lancelot,2103\n")
        << "line 1: the header has no 'Ball 6' column";
    QTest::newRow("archive, 30 February")
        << archiveHeader + QStringLiteral("904,Wed,14,Jan,2004,18,3,42,27,9,31,46,1800000,2,Sapphire,3\n"
                                          "905,Mon,30,Feb,2004,49,48,10,20,30,40,5,7254019,0,Garnet,11\n")
        << "line 3: '30 Feb 2004' is not a valid date";
    QTest::newRow("unknown header") << QStringLiteral("Date,Numbers\n2004-01-03,02 07 17 23 38 41\n")
                                    << "line 1: the header 'Date,Numbers' is not one the book knows";
    QTest::newRow("empty file") << QString() << "the file is empty";
    QTest::newRow("only a byte-order mark") << QString(QChar(0xFEFF)) << "the file is empty";
    QTest::newRow("known draw, other date")
        << bad("5,Sun,1994-12-18,03,05,09,13,14,38,30,3403310,2,Arthur,A")
        << "line 3: draw 5 is already in the book as 1994-12-17 03 05 09 13 14 38 "
           "bonus 30, not 1994-12-18 03 05 09 13 14 38 bonus 30";
    QTest::newRow("known draw, other ball")
        << bad("5,Sat,1994-12-17,03,05,09,13,14,39,30,3403310,2,Arthur,A")
        << "line 3: draw 5 is already in the book as 1994-12-17 03 05 09 13 14 38 "
           "bonus 30, not 1994-12-17 03 05 09 13 14 39 bonus 30";
    QTest::newRow("known draw, other bonus")
        << bad("5,Sat,1994-12-17,03,05,09,13,14,38,31,3403310,2,Arthur,A")
        << "line 3: draw 5 is already in the book as 1994-12-17 03 05 09 13 14 38 "
           "bonus 30, not 1994-12-17 03 05 09 13 14 38 bonus 31";
    QTest::newRow("one draw twice in the file")
        << bad("901,Sat,2004-01-03,02,07,17,23,38,41,10,2350000,3,Lancelot,6")
        << "line 3: draw 901 is on line 2 already as 2004-01-03 02 07 17 23 "
           "38 41 bonus 09, not 2004-01-03 02 07 17 23 38 41 bonus 10";
}

void TestBookTool::badFileLeavesBookAlone() {
    QFETCH(QString, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createBook(dir.path());
    const QString book = QDir(dir.path()).filePath(QStringLiteral("ballvane.db"));
    const QStringList before = typedDrawsOf(dir.path());
    const QByteArray bytes = bytesOf(book);
    QCOMPARE(before.size(), 8);

    const QString csv = writeText(dir.path(), QStringLiteral("bad.csv"), content);
    const QString error = bookErrorOf([&] { importDraws(dir.path(), csv); });
    // The unknown header goes on to name the layouts it expected.
    QCOMPARE(error.left(message.size()), message);
    QCOMPARE(typedDrawsOf(dir.path()), before);
    QCOMPARE(bytesOf(book), bytes);
}

void TestBookTool::knownDrawsSkipped_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("skipped");
    QTest::newRow("known draws as exported")
        << bookHeader + QStringLiteral("1,Sat,1994-11-19,03,05,14,22,30,44,10,839254,7,Guinevere,A\n"
                                       "2,Sat,1994-11-26,06,12,15,16,31,44,37,1760966,4,Arthur,B\n")
        << 0 << 2;
    QTest::newRow("known draw in drawn order, one-digit balls, no prizes")
        << bookHeader + QStringLiteral("5,Sat,1994-12-17,38,3,14,5,9,13,30,,,,\n") << 0 << 1;
    QTest::newRow("operator file, a new and a known draw")
        << operatorHeader + QStringLiteral("14-Jan-1995,41,8,27,3,16,35,19,A,Arthur,,9\n"
                                           "07-Jan-1995,32,2,25,5,22,21,46,B,Arthur,,8\n")
        << 1 << 1;
    QTest::newRow("new draw twice in the file") << bookHeader + goodRow + goodRow << 1 << 1;
}

void TestBookTool::knownDrawsSkipped() {
    QFETCH(QString, content);
    QFETCH(int, added);
    QFETCH(int, skipped);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    createBook(dir.path());
    const QStringList delivered = typedDrawsOf(dir.path());
    const QString csv = writeText(dir.path(), QStringLiteral("draws.csv"), content);

    const ImportSummary first = importDraws(dir.path(), csv);
    QCOMPARE(first.added, added);
    QCOMPARE(first.skipped, skipped);
    // A skipped draw keeps what the book had, prizes included.
    QCOMPARE(typedDrawsOf(dir.path()).mid(0, delivered.size()), delivered);
    QCOMPARE(countOf(dir.path(), QStringLiteral("SELECT count(*) FROM LOTTO")), delivered.size() + added);

    const QStringList after = typedDrawsOf(dir.path());
    const ImportSummary again = importDraws(dir.path(), csv);
    QCOMPARE(again.added, 0);
    QCOMPARE(again.skipped, added + skipped);
    QCOMPARE(typedDrawsOf(dir.path()), after);
}

void TestBookTool::missingBook_data() {
    QTest::addColumn<QString>("work");
    QTest::addColumn<bool>("folderExists");
    QTest::newRow("import, empty folder") << QStringLiteral("import") << true;
    QTest::newRow("export, empty folder") << QStringLiteral("export") << true;
    QTest::newRow("import, no folder") << QStringLiteral("import") << false;
    QTest::newRow("export, no folder") << QStringLiteral("export") << false;
}

void TestBookTool::missingBook() {
    QFETCH(QString, work);
    QFETCH(bool, folderExists);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = folderExists ? dir.path() : QDir(dir.path()).filePath(QStringLiteral("gone"));
    const QString csv = QDir(dir.path()).filePath(QStringLiteral("draws.csv"));
    if (work == u"import") writeText(dir.path(), QStringLiteral("draws.csv"), bookHeader + goodRow);
    const QStringList entries = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const QString error = bookErrorOf([&] {
        if (work == u"import")
            importDraws(folder, csv);
        else
            exportDraws(folder, csv);
    });
    QCOMPARE(error, QStringLiteral("there is no book in %1 (no ballvane.db there)").arg(folder));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), entries);
}

void TestBookTool::exportRoundTrip_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("pence");
    QTest::addColumn<QString>("exported");
    QTest::newRow("whole pounds") << "901,Sat,2004-01-03,41,7,23,02,38,17,9,2350000,3,Lancelot,6"
                                  << "235000000"
                                  << "901,Sat,2004-01-03,02,07,17,23,38,41,09,2350000,3,Lancelot,6";
    QTest::newRow("pounds and pence") << "901,Sat,2004-01-03,02,07,17,23,38,41,09,1234.5,3,Lancelot,6"
                                      << "123450"
                                      << "901,Sat,2004-01-03,02,07,17,23,38,41,09,1234.50,3,Lancelot,6";
    QTest::newRow("pence only") << "901,Sat,2004-01-03,02,07,17,23,38,41,09,0.07,3,Lancelot,6"
                                << "7"
                                << "901,Sat,2004-01-03,02,07,17,23,38,41,09,0.07,3,Lancelot,6";
    QTest::newRow("pound sign, thousands")
        << "901,Sat,2004-01-03,02,07,17,23,38,41,09,\"\u00a32,000,000\",3,Lancelot,6"
        << "200000000"
        << "901,Sat,2004-01-03,02,07,17,23,38,41,09,2000000,3,Lancelot,6";
    QTest::newRow("empty cells") << "901,Sat,2004-01-03,02,07,17,23,38,41,09,,,,"
                                 << "NULL"
                                 << "901,Sat,2004-01-03,02,07,17,23,38,41,09,,,,";
    QTest::newRow("comma and quote in a name")
        << "901,Sat,2004-01-03,02,07,17,23,38,41,09,5,1,\"Arthur, \"\"II\"\"\",6"
        << "500"
        << "901,Sat,2004-01-03,02,07,17,23,38,41,09,5,1,\"Arthur, \"\"II\"\"\",6";
}

void TestBookTool::exportRoundTrip() {
    QFETCH(QString, row);
    QFETCH(QString, pence);
    QFETCH(QString, exported);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = QDir(dir.path()).filePath(QStringLiteral("first"));
    const QString second = QDir(dir.path()).filePath(QStringLiteral("second"));
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second));
    createBook(first, false);
    createBook(second, false);
    // An older draw after the one under test: the export still puts it first.
    const QString older = QStringLiteral("900,Wed,2003-12-31,01,02,03,04,05,06,07,100,0,Arthur,1");
    importDraws(first,
                writeText(dir.path(), QStringLiteral("in.csv"), bookHeader + row + u'\n' + older + u'\n'));
    QCOMPARE(rowsOf(first, QStringLiteral("SELECT \"JACKPOT\" FROM LOTTO WHERE \"DRAW#\" = 901")),
             (QList<QStringList>{{pence}}));

    const QString out1 = QDir(dir.path()).filePath(QStringLiteral("out1.csv"));
    QCOMPARE(exportDraws(first, out1), 2);
    QCOMPARE(QString::fromUtf8(bytesOf(out1)), bookHeader + older + u'\n' + exported + u'\n');

    const ImportSummary back = importDraws(second, out1);
    QCOMPARE(back.added, 2);
    QCOMPARE(typedDrawsOf(second), typedDrawsOf(first, QStringLiteral("\"Date\", rowid")));
    const QString out2 = QDir(dir.path()).filePath(QStringLiteral("out2.csv"));
    exportDraws(second, out2);
    QCOMPARE(bytesOf(out2), bytesOf(out1));
}

void TestBookTool::realHistory() {
    const QString source = sharedHistory();
    if (!QFileInfo::exists(source))
        QSKIP(qPrintable(
            QStringLiteral("the real draw history is not at %1; nothing to check it against").arg(source)));
    const QByteArray sourceBytes = bytesOf(source);
    QList<QByteArray> lines = sourceBytes.split('\n');
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    const int drawCount = static_cast<int>(lines.size()) - 1;
    QCOMPARE(drawCount, 2065);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString first = QDir(dir.path()).filePath(QStringLiteral("first"));
    const QString second = QDir(dir.path()).filePath(QStringLiteral("second"));
    const QString delivered = QDir(dir.path()).filePath(QStringLiteral("delivered"));
    QVERIFY(QDir().mkpath(first) && QDir().mkpath(second) && QDir().mkpath(delivered));
    createBook(first, false);
    const ImportSummary summary = importDraws(first, source);
    QCOMPARE(summary.added, drawCount);
    QCOMPARE(summary.skipped, 0);

    // Each ball as a main ball: counted in the file by hand and by SQL in the book.
    QHash<QByteArray, int> counted;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> cells = lines[i].split(',');
        for (int b = 3; b <= 8; ++b)
            ++counted[cells[b]];
    }
    const auto mainBallCount = [&](int ball) {
        const QString text = QStringLiteral("%1").arg(ball, 2, 10, QLatin1Char('0'));
        return countOf(first,
                       QStringLiteral("SELECT count(*) FROM LOTTO WHERE B1='%1' OR B2='%1' OR B3='%1' OR "
                                      "B4='%1' OR B5='%1' OR B6='%1'")
                           .arg(text));
    };
    for (int ball = 1; ball <= 49; ++ball)
        QCOMPARE(mainBallCount(ball),
                 counted.value(QStringLiteral("%1").arg(ball, 2, 10, QLatin1Char('0')).toLatin1()));
    // The era's published totals: 23 drawn most, 13 and 20 least.
    QCOMPARE(mainBallCount(23), 282);
    QCOMPARE(mainBallCount(13), 215);
    QCOMPARE(mainBallCount(20), 215);

    // The book's own layout, oldest first: the export is the source file again.
    const QString out1 = QDir(dir.path()).filePath(QStringLiteral("out1.csv"));
    QCOMPARE(exportDraws(first, out1), drawCount);
    QCOMPARE(bytesOf(out1), sourceBytes);

    createBook(second, false);
    QCOMPARE(importDraws(second, out1).added, drawCount);
    const QString out2 = QDir(dir.path()).filePath(QStringLiteral("out2.csv"));
    exportDraws(second, out2);
    QCOMPARE(bytesOf(out2), bytesOf(out1));
    QCOMPARE(typedDrawsOf(second), typedDrawsOf(first));

    const ImportSummary again = importDraws(first, source);
    QCOMPARE(again.added, 0);
    QCOMPARE(again.skipped, drawCount);

    // The draws the program delivers are the real first eight.
    createBook(delivered);
    QCOMPARE(typedDrawsOf(delivered), typedDrawsOf(first).mid(0, 8));
}

QTEST_GUILESS_MAIN(TestBookTool)
#include "test_book.moc"
