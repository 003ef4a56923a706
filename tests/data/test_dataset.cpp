#include "data/DataError.h"
#include "data/Query.h"
#include "data/Session.h"
#include "data/Table.h"
#include "fixtures/TestBook.h"
#include "store/DrawCsv.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace ballvane;
using testing::TestBook;

namespace {
QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DataError& error) {
        return error.message();
    }
    return {};
}

// Opens the table with the given folder as the working folder, as a start there would.
QString openErrorIn(const QString& folder, Table& table) {
    const QString previous = QDir::currentPath();
    Session::instance().deactivate();
    QDir::setCurrent(folder);
    const QString error = errorOf([&] { table.open(); });
    QDir::setCurrent(previous);
    return error;
}

QString draws(TestBook& book) {
    QSqlQuery query(book.raw());
    query.exec(QStringLiteral("SELECT \"DRAW#\", MACHINE FROM LOTTO ORDER BY \"DRAW#\""));
    QStringList rows;
    while (query.next()) rows << query.value(0).toString() + QLatin1Char(':') + query.value(1).toString();
    return rows.join(QLatin1Char(' '));
}
} // namespace

class TestDataset : public QObject {
    Q_OBJECT
private slots:
    void opensInTheIndexOrder_data();
    void opensInTheIndexOrder();
    void pendingChangeRules_data();
    void pendingChangeRules();
    void insertStartsAnEmptyRecordAtTheCurrentRow();
    void postWithNothingPendingFails();
    void removeRules();
    void removeOnAnEmptyTableFails();
    void failedWriteKeepsTheBookAndThePendingRecord();
    void recordCountAndNumbersFollowTheFilter_data();
    void recordCountAndNumbersFollowTheFilter();
    void filterChangeSettlesAndMovesFirst();
    void brokenFilterFailsAndKeepsTheOldOne();
    void fieldsAreFoundIgnoringCase();
    void missingBookIsAnErrorAndCreatesNothing();
    void missingTableOrIndexIsAnError();
    void fileThatIsNotABookIsAnError();
    void deactivatingTheSessionDiscardsEveryPendingChange();
    void queryIsReadOnlyAndKeepsItsLines();
    void locateFindsByValue();
    void secondConnectionWritesSideBySide();
    void realHistoryCountsThroughTheFilter();
};

void TestDataset::opensInTheIndexOrder_data() {
    QTest::addColumn<QString>("index");
    QTest::addColumn<int>("firstDraw");
    QTest::addColumn<int>("lastDraw");
    QTest::newRow("DateA oldest first") << "DateA" << 1 << 8;
    QTest::newRow("DateD newest first") << "DateD" << 8 << 1;
    QTest::newRow("index names ignore case") << "dated" << 8 << 1;
}

void TestDataset::opensInTheIndexOrder() {
    QFETCH(QString, index);
    QFETCH(int, firstDraw);
    QFETCH(int, lastDraw);
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(index);
    table.open();
    QCOMPARE(table.recordCount(), 8);
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), firstDraw);
    QCOMPARE(table.recNo(), 1);
    QVERIFY(table.atFirst());
    table.last();
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), lastDraw);
    QCOMPARE(table.recNo(), 8);
    QVERIFY(table.atLast() && table.eof());
    table.prior();
    QCOMPARE(table.recNo(), 7);
}

// What each operation does to a pending record: a touched one is saved first by
// moving, locating and filtering, an untouched one is dropped, close discards both.
void TestDataset::pendingChangeRules_data() {
    QTest::addColumn<QString>("pending");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("stored");
    const QString original = QStringLiteral("1:Guinevere 2:Arthur 3:Arthur 4:Guinevere 5:Arthur 6:Arthur 7:Arthur 8:Arthur");
    const QString withNew = original + QStringLiteral(" 99:Zeus");
    const QString changed = QString(original).replace(QStringLiteral("8:Arthur"), QStringLiteral("8:Zeus"));
    const QStringList settling{"first", "prior", "next", "last", "locate", "filter", "insert", "moveToRow"};
    for (const QString& operation : settling) {
        QTest::addRow("new touched, %s", qPrintable(operation)) << "new touched" << operation << withNew;
        QTest::addRow("new untouched, %s", qPrintable(operation)) << "new untouched" << operation << original;
        QTest::addRow("changed, %s", qPrintable(operation)) << "changed" << operation << changed;
        QTest::addRow("shown untouched, %s", qPrintable(operation)) << "edit untouched" << operation << original;
    }
    for (const char* pending : {"new touched", "new untouched", "changed", "edit untouched"})
        QTest::addRow("%s, close", pending) << QString::fromLatin1(pending) << "close" << original;
}

void TestDataset::pendingChangeRules() {
    QFETCH(QString, pending);
    QFETCH(QString, operation);
    QFETCH(QString, stored);
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateD"));
    table.open();
    table.setFiltered(true);
    if (pending.startsWith(QStringLiteral("new"))) {
        table.insert();
        if (pending == u"new touched") {
            table.fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("99"));
            table.fieldByName(QStringLiteral("Date")).setEditText(QStringLiteral("2030-01-01"));
            table.fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Zeus"));
        }
    } else {
        table.edit();
        if (pending == u"changed") table.fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Zeus"));
    }

    if (operation == u"first") table.first();
    else if (operation == u"prior") table.prior();
    else if (operation == u"next") table.next();
    else if (operation == u"last") table.last();
    else if (operation == u"locate") table.locate(QStringLiteral("DRAW#"), 3);
    else if (operation == u"filter") table.setFilter(QString());
    else if (operation == u"insert") table.insert();
    else if (operation == u"moveToRow") table.moveToRow(5);
    else if (operation == u"close") table.close();

    QCOMPARE(draws(book), stored);
    const Dataset::State expected = operation == u"close"    ? Dataset::State::Inactive
                                    : operation == u"insert" ? Dataset::State::Insert
                                                             : Dataset::State::Browse;
    QCOMPARE(table.state(), expected);
    QVERIFY(!table.modified());
}

void TestDataset::insertStartsAnEmptyRecordAtTheCurrentRow() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateA"));
    table.open();
    table.moveToPosition(3);
    QSignalSpy rows(&table, &Dataset::rowsChanged);
    table.insert();
    QCOMPARE(rows.count(), 1);
    QCOMPARE(table.recNo(), 0);
    QCOMPARE(table.currentRow(), 3);
    QCOMPARE(table.rowCount(), 9);
    QCOMPARE(table.recNoAtRow(2), 3);
    QCOMPARE(table.recNoAtRow(3), 0);
    QCOMPARE(table.recNoAtRow(4), 4);
    for (const auto& field : table.fields()) QVERIFY2(field->isNull(), qPrintable(field->name()));
    table.fieldByName(QStringLiteral("Date")).setEditText(QStringLiteral("1994-12-20"));
    table.fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("42"));
    table.post();
    // Saved, the record stands at its place by date and stays current.
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), 42);
    QCOMPARE(table.recNo(), 6);
    QCOMPARE(table.recordCount(), 9);
}

void TestDataset::postWithNothingPendingFails() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.open();
    table.moveToPosition(2);
    QCOMPARE(errorOf([&] { table.post(); }), QStringLiteral("TaBle1: Dataset not in edit or insert mode"));
    QCOMPARE(errorOf([&] { table.fieldByName(QStringLiteral("B1")).setEditText(QStringLiteral("01")); }),
             QStringLiteral("TaBle1: Dataset not in edit or insert mode"));
    QCOMPARE(table.state(), Dataset::State::Browse);
    QCOMPARE(table.recNo(), 3);
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 8);
}

void TestDataset::removeRules() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateA"));
    table.open();
    table.moveToPosition(2);
    table.insert();
    table.fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("77"));
    table.remove(); // a pending new record is dropped, nothing deleted
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 8);
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), 3);

    table.edit();
    table.fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Zeus"));
    table.remove(); // the current record goes, with its pending change
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 7);
    QCOMPARE(book.scalar(QStringLiteral("SELECT count(*) FROM LOTTO WHERE \"DRAW#\" = 3")).toInt(), 0);
    QCOMPARE(table.state(), Dataset::State::Browse);
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), 4); // the next one is current

    table.last();
    table.remove(); // removing the last makes the new last current
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), 7);
    QCOMPARE(table.recordCount(), 6);
}

void TestDataset::removeOnAnEmptyTableFails() {
    TestBook book(TestBook::Content::Empty);
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.open();
    QVERIFY(table.isEmpty());
    QCOMPARE(table.recNo(), 0);
    QCOMPARE(errorOf([&] { table.remove(); }),
             QStringLiteral("TaBle1: Cannot perform this operation on an empty dataset"));
    // Editing an empty table starts a new record instead.
    table.edit();
    QCOMPARE(table.state(), Dataset::State::Insert);
}

void TestDataset::failedWriteKeepsTheBookAndThePendingRecord() {
    TestBook book;
    book.exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON LOTTO WHEN NEW.MACHINE = 'Bad' BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.open();
    table.insert();
    table.fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Bad"));
    table.fieldByName(QStringLiteral("B1")).setEditText(QStringLiteral("07"));
    QCOMPARE(errorOf([&] { table.post(); }), QStringLiteral("TaBle1: refused"));
    QCOMPARE(table.state(), Dataset::State::Insert);
    QCOMPARE(table.fieldByName(QStringLiteral("B1")).asString(), QStringLiteral("07"));
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 8);
    // Mended, the same record saves.
    table.fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Good"));
    table.post();
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 9);
}

void TestDataset::recordCountAndNumbersFollowTheFilter_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<QString>("sqlCondition");
    QTest::newRow("main ball 44") << "(B1 = '44') or (B2 = '44') or (B3 = '44') or (B4 = '44') or (B5 = '44') or (B6 = '44') "
                                  << false << "'44' IN (B1, B2, B3, B4, B5, B6)";
    QTest::newRow("bonus ball 30") << "(BB = '30') " << false << "BB = '30'";
    QTest::newRow("main balls from 40") << "(B6 = '4*') " << false << "B6 LIKE '4%'";
    QTest::newRow("nothing matches") << "(BB = '99') " << false << "0";
    QTest::newRow("case matters") << "(MACHINE = 'arthur') " << false << "MACHINE = 'arthur'";
    QTest::newRow("case ignored") << "(MACHINE = 'arthur') " << true << "lower(MACHINE) = 'arthur'";
    QTest::newRow("and, not") << "(MACHINE = 'Arthur') and not (BB = '30')" << false << "MACHINE = 'Arthur' AND BB <> '30'";
}

void TestDataset::recordCountAndNumbersFollowTheFilter() {
    QFETCH(QString, filter);
    QFETCH(bool, caseInsensitive);
    QFETCH(QString, sqlCondition);
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateD"));
    table.open();
    table.setFilter(filter);
    table.setFilterOptions({caseInsensitive, false});
    table.setFiltered(true);
    const int expected = book.scalar(QStringLiteral("SELECT count(*) FROM LOTTO WHERE ") + sqlCondition).toInt();
    QCOMPARE(table.recordCount(), expected);
    int seen = 0;
    for (table.first(); expected > 0; table.next()) {
        QCOMPARE(table.recNo(), ++seen);
        if (table.atLast()) break;
    }
    QCOMPARE(seen, expected);
}

void TestDataset::filterChangeSettlesAndMovesFirst() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateD"));
    table.open();
    table.setFiltered(true);
    table.moveToPosition(4);
    table.edit();
    table.fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Zeus"));
    table.setFilter(QStringLiteral("(BB = '30') "));
    QCOMPARE(book.scalar(QStringLiteral("SELECT MACHINE FROM LOTTO WHERE \"DRAW#\" = 4")).toString(), QStringLiteral("Zeus"));
    QCOMPARE(table.recNo(), 1);
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), 5); // the newest draw with bonus 30
    table.moveToPosition(1);
    table.setFilter(QString()); // clearing the text moves to the first record too
    QCOMPARE(table.recordCount(), 8);
    QCOMPARE(table.recNo(), 1);
    QCOMPARE(table.fieldByName(QStringLiteral("DRAW#")).asInteger(), 8);
}

void TestDataset::brokenFilterFailsAndKeepsTheOldOne() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.open();
    table.setFilter(QStringLiteral("(BB = '30') "));
    table.setFiltered(true);
    const QString error = errorOf([&] { table.setFilter(QStringLiteral("(BB = '30'")); });
    QVERIFY2(error.startsWith(QStringLiteral("TaBle1: ")), qPrintable(error));
    QCOMPARE(table.filter(), QStringLiteral("(BB = '30') "));
    QCOMPARE(table.recordCount(), book.scalar(QStringLiteral("SELECT count(*) FROM LOTTO WHERE BB = '30'")).toInt());
    QCOMPARE(errorOf([&] { table.setFilter(QStringLiteral("(XX = '30')")); }), QStringLiteral("TaBle1: Field 'XX' not found"));
}

void TestDataset::fieldsAreFoundIgnoringCase() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("lotto"));
    table.open();
    QCOMPARE(table.fieldByName(QStringLiteral("DAY")).name(), QStringLiteral("Day"));
    QCOMPARE(table.fieldByName(QStringLiteral("date")).name(), QStringLiteral("Date"));
    QCOMPARE(errorOf([&] { table.fieldByName(QStringLiteral("Nope")); }), QStringLiteral("TaBle1: Field 'Nope' not found"));
    QStringList names;
    for (const auto& field : table.fields()) names << field->name();
    QCOMPARE(names.join(QLatin1Char(',')),
             QStringLiteral("DRAW#,Day,Date,B1,B2,B3,B4,B5,B6,BBI,BB,JACKPOT,WINNERS,MACHINE,BALLSET"));
    QCOMPARE(table.fieldByName(QStringLiteral("B1")).size(), 2);
    QCOMPARE(table.fieldByName(QStringLiteral("MACHINE")).size(), 20);
}

void TestDataset::missingBookIsAnErrorAndCreatesNothing() {
    QTemporaryDir empty;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    const QString error = openErrorIn(empty.path(), table);
    QCOMPARE(error, QStringLiteral("TaBle1: Cannot open table LOTTO: there is no book ballvane.db in the folder %1")
                        .arg(QDir::toNativeSeparators(empty.path())));
    QVERIFY(!table.active());
    QVERIFY(!Session::instance().active());
    QVERIFY(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

void TestDataset::missingTableOrIndexIsAnError() {
    TestBook book;
    book.exec(QStringLiteral("DROP TABLE Lines"));
    Table lines(QStringLiteral("Table2"), QStringLiteral("Lines"));
    QCOMPARE(errorOf([&] { lines.open(); }),
             QStringLiteral("Table2: Cannot open table Lines: the book %1 has no table Lines")
                 .arg(QDir::toNativeSeparators(book.bookPath())));
    QVERIFY(!lines.active());
    Table draws(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    draws.setIndexName(QStringLiteral("ByMachine"));
    QCOMPARE(errorOf([&] { draws.open(); }), QStringLiteral("TaBle1: Index 'ByMachine' not found in table LOTTO"));
    QVERIFY(!draws.active());
}

void TestDataset::fileThatIsNotABookIsAnError() {
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("ballvane.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray garbage(4096, 'x');
    file.write(garbage);
    file.close();
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    const QString error = openErrorIn(folder.path(), table);
    QVERIFY2(error.startsWith(QStringLiteral("TaBle1: Cannot open table LOTTO: ")), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("is not a Ballvane book")), qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), garbage);
}

void TestDataset::deactivatingTheSessionDiscardsEveryPendingChange() {
    TestBook book;
    Table draws(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    Table lines(QStringLiteral("Table2"), QStringLiteral("Lines"));
    draws.open();
    lines.open();
    draws.insert();
    draws.fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("9"));
    lines.edit();
    lines.fieldByName(QStringLiteral("B1")).setEditText(QStringLiteral("49"));
    const QString lineBefore = book.scalar(QStringLiteral("SELECT B1 FROM Lines WHERE Line = 'Line A'")).toString();
    Session::instance().deactivate();
    QVERIFY(!draws.active() && !lines.active());
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 8);
    QCOMPARE(book.scalar(QStringLiteral("SELECT B1 FROM Lines WHERE Line = 'Line A'")).toString(), lineBefore);
    // Opening a dataset again brings the session back.
    draws.open();
    QVERIFY(Session::instance().active());
    QCOMPARE(draws.recordCount(), 8);
}

void TestDataset::queryIsReadOnlyAndKeepsItsLines() {
    TestBook book;
    Query query(QStringLiteral("SQ1"));
    query.setSql({QStringLiteral("select Day,Date,JACKPOT,"), QStringLiteral("B1 = '03' as Has3 from lotto "),
                  QStringLiteral("order By Date desc ")});
    query.open();
    QCOMPARE(query.recordCount(), 8);
    QCOMPARE(query.fieldByName(QStringLiteral("Date")).kind(), FieldKind::Date);
    QCOMPARE(query.fieldByName(QStringLiteral("Date")).asDate(), QDate(1995, 1, 7));
    QCOMPARE(query.fieldByName(QStringLiteral("JACKPOT")).kind(), FieldKind::Money);
    QCOMPARE(query.fieldByName(QStringLiteral("Has3")).kind(), FieldKind::Integer);
    QCOMPARE(errorOf([&] { query.edit(); }), QStringLiteral("SQ1: Cannot modify a read-only dataset"));
    query.setSql({QStringLiteral("select * from lotto where B1 = '03'")});
    QVERIFY(!query.active());
    query.open();
    QCOMPARE(query.recordCount(), 2);
    query.setSql({QStringLiteral("select nonsense from")});
    const QString error = errorOf([&] { query.open(); });
    QVERIFY2(error.startsWith(QStringLiteral("SQ1: ")) && error.size() > 5, qPrintable(error));
    QVERIFY(!query.active());
}

void TestDataset::locateFindsByValue() {
    TestBook book;
    Table lines(QStringLiteral("Table2"), QStringLiteral("Lines"));
    lines.open();
    QVERIFY(lines.locate(QStringLiteral("line"), QStringLiteral("Line D")));
    QCOMPARE(lines.recNo(), 4);
    QVERIFY(!lines.locate(QStringLiteral("Line"), QStringLiteral("Line Z")));
    QCOMPARE(lines.recNo(), 4);
}

void TestDataset::secondConnectionWritesSideBySide() {
    TestBook book;
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.open();
    // Another copy of the program adds a draw while this one holds the book open.
    book.addDraw(9, QStringLiteral("Sat"), QStringLiteral("1995-01-14"), {"01", "02", "03", "04", "05", "06"}, "07");
    table.insert();
    table.fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("10"));
    table.fieldByName(QStringLiteral("Date")).setEditText(QStringLiteral("1995-01-18"));
    table.post();
    QCOMPARE(book.count(QStringLiteral("LOTTO")), 10);
    QCOMPARE(table.recordCount(), 10);
}

// The published totals of the whole 49-ball era, counted through the layer's own filter.
void TestDataset::realHistoryCountsThroughTheFilter() {
    const QString csv = TestBook::sharedData(QStringLiteral("lotto-draws-1994-2015.csv"));
    if (csv.isEmpty()) QSKIP("the real draw history (../shared/data/lotto-draws-1994-2015.csv) is not here");
    TestBook book(TestBook::Content::Empty);
    QCOMPARE(book::importDraws(book.folder(), csv).added, 2065);
    Table table(QStringLiteral("TaBle1"), QStringLiteral("LOTTO"));
    table.setIndexName(QStringLiteral("DateD"));
    table.open();
    QCOMPARE(table.recordCount(), 2065);
    table.setFiltered(true);
    const auto mainBallCount = [&](const QString& ball) {
        QString filter;
        for (int i = 1; i <= 6; ++i)
            filter += QStringLiteral("%1(B%2 = '%3') ").arg(i > 1 ? QStringLiteral("or ") : QString()).arg(i).arg(ball);
        table.setFilter(filter);
        return table.recordCount();
    };
    QCOMPARE(mainBallCount(QStringLiteral("23")), 282);
    QCOMPARE(mainBallCount(QStringLiteral("13")), 215);
    QCOMPARE(mainBallCount(QStringLiteral("20")), 215);
    QCOMPARE(table.fieldByName(QStringLiteral("Date")).asDate().year(), 2015); // newest first under the filter
}

QTEST_GUILESS_MAIN(TestDataset)
#include "test_dataset.moc"
