#include "fixtures/TestWindow.h"
#include "widgets/Fonts.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSqlQuery>

using namespace ballvane;
using testing::TestBook;
using testing::TestWindow;

namespace {
// The window on the "Grid view" page, the grid holding the focus.
DbGrid& showGrid(TestWindow& window) {
    window.show();
    window.clickTab(1);
    return *window.find<DbGrid>(QStringLiteral("DBGridEh1"));
}

qint64 currentDraw(const TForm1& form) { return form.TaBle1->fieldByName(QStringLiteral("DRAW#")).asInteger(); }

QString cellText(const DbGrid& grid, int row, int column) {
    return grid.model()->index(row, column).data(Qt::DisplayRole).toString();
}

void clickRow(DbGrid& grid, int row, int column = 3) {
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(row, column)).center());
    QCoreApplication::processEvents();
}

// Draws 9 … 8 + count, a week apart after the delivered ones.
void addDraws(TestBook& book, int count) {
    const QDate last(1995, 1, 7);
    for (int i = 1; i <= count; ++i)
        book.addDraw(8 + i, QStringLiteral("Sat"), last.addDays(7 * i).toString(Qt::ISODate),
                     {"01", "02", "03", "04", "05", "06"}, QStringLiteral("07"));
}
} // namespace

class TestDrawGrid : public QObject {
    Q_OBJECT
private slots:
    void placedOnTheGridPageWithTheFocus();
    void columnsShowTheCurrentOrder_data();
    void columnsShowTheCurrentOrder();
    void bonusMarkerColumnIsBoldLime();
    void jackpotShowsThePoundSign_data();
    void jackpotShowsThePoundSign();
    void columnsFillTheWidth_data();
    void columnsFillTheWidth();
    void rowsAreStripedByRecordNumber_data();
    void rowsAreStripedByRecordNumber();
    void readOnly();
    void movingInTheGridMovesTheDrawTable_data();
    void movingInTheGridMovesTheDrawTable();
    void movingSettlesThePendingChangeFirst();
    void ctrlDeleteAsksThenDeletes_data();
    void ctrlDeleteAsksThenDeletes();
    void ctrlDeleteOnAnEmptyTableDoesNothing();
    void newRecordIsDroppedWhenTheGridLosesTheFocus_data();
    void newRecordIsDroppedWhenTheGridLosesTheFocus();
    void currentRowStaysAboveTheHiddenStrip();
};

void TestDrawGrid::placedOnTheGridPageWithTheFocus() {
    TestWindow window;
    TForm1& form = window.show();
    auto* grid = window.find<DbGrid>(QStringLiteral("DBGridEh1"));
    QVERIFY(grid);
    QCOMPARE(grid->parentWidget(), form.TabSheet2);
    QCOMPARE(grid->geometry(), QRect(0, 0, 632, 332));
    QVERIFY(!grid->hasFocus());
    window.clickTab(1);
    QVERIFY(grid->hasFocus());
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->model()->rowCount(), 8);
    QCOMPARE(grid->currentIndex().row(), 0);
}

// Each column against what the book holds for every draw, in the grid's order. The
// jackpot's money text has a test of its own.
void TestDrawGrid::columnsShowTheCurrentOrder_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("bookColumn");
    const char* columns[][2] = {{"DRAW#", "DRAW#"}, {"Day", "Day"}, {"Date", "Date"}, {"B1", "B1"}, {"B2", "B2"},
                                {"B3", "B3"},       {"B4", "B4"},   {"B5", "B5"},     {"B6", "B6"}, {"BBI", "BBI"},
                                {"BB", "BB"},       {"Jackpot \u00F7 Share's", ""},   {"Share", "WINNERS"},
                                {"Machine", "MACHINE"}, {"Set", "BALLSET"}};
    for (int column = 0; column < 15; ++column)
        QTest::addRow("%d %s", column, columns[column][0])
            << column << QString::fromUtf8(columns[column][0]) << QString::fromLatin1(columns[column][1]);
}

void TestDrawGrid::columnsShowTheCurrentOrder() {
    QFETCH(int, column);
    QFETCH(QString, title);
    QFETCH(QString, bookColumn);
    TestWindow window;
    DbGrid& grid = showGrid(window);
    QCOMPARE(grid.model()->columnCount(), 15);
    QCOMPARE(grid.model()->headerData(column, Qt::Horizontal).toString(), title);
    QSqlQuery query(window.book.raw());
    QVERIFY(query.exec(QStringLiteral("SELECT \"%1\" FROM LOTTO ORDER BY Date DESC")
                           .arg(bookColumn.isEmpty() ? QStringLiteral("DRAW#") : bookColumn)));
    for (int row = 0; query.next(); ++row) {
        const QModelIndex cell = grid.model()->index(row, column);
        QCOMPARE(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::Alignment(Qt::AlignCenter));
        if (!bookColumn.isEmpty()) QCOMPARE(cell.data().toString(), query.value(0).toString());
    }
}

void TestDrawGrid::bonusMarkerColumnIsBoldLime() {
    TestWindow window;
    DbGrid& grid = showGrid(window);
    const QModelIndex marker = grid.model()->index(0, 9);
    QCOMPARE(marker.data().toString(), QStringLiteral("->"));
    const QFont font = marker.data(Qt::FontRole).value<QFont>();
    QCOMPARE(font.pixelSize(), 13);
    QVERIFY(font.bold());
    // The design face as this desktop has it (its bold stand-in where it has no bold).
    QCOMPARE(font, designFont(QStringLiteral("MS Sans Serif"), 13, true));
    QCOMPARE(marker.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 255, 0));
    // The other columns keep the grid's plain face.
    const QFont plain = grid.model()->index(0, 10).data(Qt::FontRole).value<QFont>();
    QVERIFY(!plain.bold());
    QVERIFY(grid.model()->index(0, 10).data(Qt::ForegroundRole).value<QColor>() != QColor(0, 255, 0));
}

void TestDrawGrid::jackpotShowsThePoundSign_data() {
    QTest::addColumn<int>("draw");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ten million") << 8 << "\u00A310,000,000.00";
    QTest::newRow("first draw") << 1 << "\u00A3839,254.00";
    QTest::newRow("no jackpot yet") << 9 << "";
}

void TestDrawGrid::jackpotShowsThePoundSign() {
    QFETCH(int, draw);
    QFETCH(QString, shown);
    TestWindow window;
    addDraws(window.book, 1);
    DbGrid& grid = showGrid(window);
    QVERIFY(window.form->TaBle1->locate(QStringLiteral("DRAW#"), draw));
    QCOMPARE(cellText(grid, window.form->TaBle1->currentRow(), 11), shown);
}

void TestDrawGrid::columnsFillTheWidth_data() {
    QTest::addColumn<int>("extraDraws");
    QTest::addColumn<int>("width");
    QTest::newRow("as placed") << 0 << 632;
    QTest::newRow("with a vertical scroll bar") << 40 << 632;
    QTest::newRow("narrower") << 0 << 500;
    QTest::newRow("wider, scrolling") << 40 << 700;
}

void TestDrawGrid::columnsFillTheWidth() {
    QFETCH(int, extraDraws);
    QFETCH(int, width);
    TestWindow window;
    addDraws(window.book, extraDraws);
    DbGrid& grid = showGrid(window);
    grid.resize(width, grid.height());
    QCoreApplication::processEvents();
    QCOMPARE(grid.verticalScrollBar()->isVisible(), extraDraws > 0);
    int sum = 0;
    for (int column = 0; column < grid.model()->columnCount(); ++column) sum += grid.columnWidth(column);
    QCOMPARE(sum, grid.viewport()->width());
    QVERIFY(!grid.horizontalScrollBar()->isVisible());
    QCOMPARE(grid.horizontalScrollBar()->maximum(), 0);
}

void TestDrawGrid::rowsAreStripedByRecordNumber_data() {
    QTest::addColumn<bool>("newRecord");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("green");
    QTest::newRow("record 1") << false << 0 << true;
    QTest::newRow("record 2") << false << 1 << false;
    QTest::newRow("record 7") << false << 6 << true;
    QTest::newRow("record 8") << false << 7 << false;
    QTest::newRow("new record") << true << 2 << false;
    QTest::newRow("record 2 above a new one") << true << 1 << false;
    QTest::newRow("record 3 below a new one") << true << 3 << true;
}

void TestDrawGrid::rowsAreStripedByRecordNumber() {
    QFETCH(bool, newRecord);
    QFETCH(int, row);
    QFETCH(bool, green);
    TestWindow window;
    DbGrid& grid = showGrid(window);
    window.form->TaBle1->moveToPosition(2);
    if (newRecord) window.form->TaBle1->insert();
    const QColor infoBackground = QApplication::palette().color(QPalette::ToolTipBase);
    const QColor expected = green ? QColor(0xDA, 0xFF, 0xDA) : infoBackground;
    for (int column = 0; column < grid.model()->columnCount(); ++column)
        QCOMPARE(grid.cellBackground(row, column), green ? TColor(0xDAFFDA) : clInfoBk);
    QCOMPARE(grid.model()->index(row, 5).data(Qt::BackgroundRole).value<QColor>(), expected);
    // Painted as such, away from the current row's highlight.
    if (row != grid.currentIndex().row()) {
        const QRect cell = grid.visualRect(grid.model()->index(row, 5));
        QCOMPARE(grid.viewport()->grab().toImage().pixelColor(cell.topLeft() + QPoint(1, 1)), expected);
    }
}

void TestDrawGrid::readOnly() {
    TestWindow window;
    DbGrid& grid = showGrid(window);
    TForm1& form = *window.form;
    const auto unchanged = [&] {
        return form.TaBle1->state() == Dataset::State::Browse && grid.model()->rowCount() == 8 &&
               currentDraw(form) == 8 && !grid.indexWidget(grid.currentIndex());
    };
    // Typing neither edits nor searches.
    QTest::keyClicks(&grid, QStringLiteral("1x"));
    QVERIFY(unchanged());
    QTest::keyClick(&grid, Qt::Key_Insert);
    QVERIFY(unchanged());
    QTest::keyClick(&grid, Qt::Key_F2);
    QVERIFY(unchanged());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(0, 3)).center());
    QVERIFY(unchanged());
    QCOMPARE(cellText(grid, 0, 3), window.book.scalar(QStringLiteral("SELECT B1 FROM LOTTO WHERE \"DRAW#\" = 8")).toString());
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), 8);
}

// The grid starts on a row (0-based; DateD, row 0 is draw 8), a move lands on another.
void TestDrawGrid::movingInTheGridMovesTheDrawTable_data() {
    QTest::addColumn<int>("startRow");
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("endRow");
    QTest::newRow("down") << 0 << "Down" << 1;
    QTest::newRow("up") << 3 << "Up" << 2;
    QTest::newRow("up at the top") << 0 << "Up" << 0;
    // All eight draws fit on the page, so a page move goes to the end.
    QTest::newRow("page down") << 1 << "PageDown" << 7;
    QTest::newRow("page up") << 6 << "PageUp" << 0;
    QTest::newRow("home") << 5 << "Home" << 0;
    QTest::newRow("end") << 2 << "End" << 7;
    QTest::newRow("click") << 0 << "click 4" << 4;
    QTest::newRow("click in the last column") << 6 << "click 1 14" << 1;
}

void TestDrawGrid::movingInTheGridMovesTheDrawTable() {
    QFETCH(int, startRow);
    QFETCH(QString, move);
    QFETCH(int, endRow);
    TestWindow window;
    DbGrid& grid = showGrid(window);
    TForm1& form = *window.form;
    form.TaBle1->moveToPosition(startRow);
    QCOMPARE(grid.currentIndex().row(), startRow);
    const QStringList words = move.split(QLatin1Char(' '));
    if (words[0] == u"click") clickRow(grid, words[1].toInt(), words.value(2, QStringLiteral("3")).toInt());
    else if (words[0] == u"Down") QTest::keyClick(&grid, Qt::Key_Down);
    else if (words[0] == u"Up") QTest::keyClick(&grid, Qt::Key_Up);
    else if (words[0] == u"PageDown") QTest::keyClick(&grid, Qt::Key_PageDown);
    else if (words[0] == u"PageUp") QTest::keyClick(&grid, Qt::Key_PageUp);
    else if (words[0] == u"Home") QTest::keyClick(&grid, Qt::Key_Home);
    else if (words[0] == u"End") QTest::keyClick(&grid, Qt::Key_End);
    QCOMPARE(form.TaBle1->recNo(), endRow + 1);
    QCOMPARE(grid.currentIndex().row(), endRow);
    QCOMPARE(currentDraw(form), 8 - endRow);
    // The whole row is the selection.
    QVERIFY(grid.selectionModel()->isRowSelected(endRow, {}));
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestDrawGrid::movingSettlesThePendingChangeFirst() {
    TestWindow window;
    DbGrid& grid = showGrid(window);
    TForm1& form = *window.form;
    form.TaBle1->moveToPosition(1);
    form.TaBle1->edit();
    form.TaBle1->fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Zeus"));
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(form.TaBle1->state(), Dataset::State::Browse);
    QCOMPARE(window.book.scalar(QStringLiteral("SELECT MACHINE FROM LOTTO WHERE \"DRAW#\" = 7")).toString(),
             QStringLiteral("Zeus"));
    QCOMPARE(currentDraw(form), 6);
    // A new record nobody touched is dropped by the move instead; the draw clicked
    // stays the one chosen though the rows below the new one move up.
    form.TaBle1->insert();
    QCOMPARE(cellText(grid, 2, 0), QString());
    const QString clicked = cellText(grid, 5, 0);
    clickRow(grid, 5);
    QCOMPARE(form.TaBle1->state(), Dataset::State::Browse);
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), 8);
    QCOMPARE(QString::number(currentDraw(form)), clicked);
    QCOMPARE(grid.currentIndex().row(), 4);
    QCOMPARE(cellText(grid, 4, 0), clicked);
}

void TestDrawGrid::ctrlDeleteAsksThenDeletes_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("OK, a middle draw") << true << 2 << 7 << 5;
    QTest::newRow("OK, the newest") << true << 0 << 7 << 7;
    QTest::newRow("OK, the oldest") << true << 7 << 7 << 2;
    QTest::newRow("Cancel") << false << 2 << 8 << 6;
}

void TestDrawGrid::ctrlDeleteAsksThenDeletes() {
    QFETCH(bool, answer);
    QFETCH(int, row);
    QFETCH(int, remaining);
    QFETCH(int, currentAfter);
    TestWindow window;
    DbGrid& grid = showGrid(window);
    TForm1& form = *window.form;
    clickRow(grid, row);
    const qint64 chosen = currentDraw(form);
    window.dialogs.answers.enqueue(answer);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(window.dialogs.questions, QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), remaining);
    QCOMPARE(window.book.scalar(QStringLiteral("SELECT count(*) FROM LOTTO WHERE \"DRAW#\" = ?"), {chosen}).toInt(),
             answer ? 0 : 1);
    QCOMPARE(grid.model()->rowCount(), remaining);
    QCOMPARE(currentDraw(form), currentAfter);
    QCOMPARE(grid.currentIndex().row(), form.TaBle1->currentRow());
    QVERIFY(window.dialogs.errors.isEmpty());
    // Delete alone deletes nothing.
    QTest::keyClick(&grid, Qt::Key_Delete);
    QCOMPARE(window.dialogs.questions.size(), 1);
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), remaining);
}

void TestDrawGrid::ctrlDeleteOnAnEmptyTableDoesNothing() {
    TestWindow window(TestBook::Content::Empty);
    DbGrid& grid = showGrid(window);
    QVERIFY(window.form->TaBle1->active());
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(window.dialogs.questions.isEmpty());
    QVERIFY(window.dialogs.errors.isEmpty());
    QCOMPARE(window.form->TaBle1->state(), Dataset::State::Browse);
}

void TestDrawGrid::newRecordIsDroppedWhenTheGridLosesTheFocus_data() {
    QTest::addColumn<bool>("touched");
    QTest::newRow("untouched, dropped") << false;
    QTest::newRow("touched, kept") << true;
}

void TestDrawGrid::newRecordIsDroppedWhenTheGridLosesTheFocus() {
    QFETCH(bool, touched);
    TestWindow window;
    DbGrid& grid = showGrid(window);
    TForm1& form = *window.form;
    QVERIFY(grid.hasFocus());
    form.DBNavigator2->doAction(DbNavigator::Action::Insert);
    if (touched) form.TaBle1->fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("9"));
    QCOMPARE(grid.model()->rowCount(), 9);
    window.clickTab(1); // the focus goes to the tab row
    QCOMPARE(QApplication::focusWidget(), form.PageControl1->tabBar());
    QCOMPARE(form.TaBle1->state(), touched ? Dataset::State::Insert : Dataset::State::Browse);
    QCOMPARE(grid.model()->rowCount(), touched ? 9 : 8);
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), 8);
    QVERIFY(window.dialogs.errors.isEmpty());
}

// The grid reaches 14 pixels below its page; the current row must never hide there.
void TestDrawGrid::currentRowStaysAboveTheHiddenStrip() {
    TestWindow window;
    addDraws(window.book, 60);
    DbGrid& grid = showGrid(window);
    QTest::keyClick(&grid, Qt::Key_End);
    QCOMPARE(grid.currentIndex().row(), 67);
    const QRect row = grid.visualRect(grid.currentIndex()).translated(grid.viewport()->mapTo(window.form->TabSheet2, QPoint()));
    QVERIFY2(row.bottom() < window.form->TabSheet2->height(),
             qPrintable(QStringLiteral("row ends at %1, page at %2").arg(row.bottom()).arg(window.form->TabSheet2->height())));
    QCOMPARE(grid.geometry(), QRect(0, 0, 632, 332));
}

QTEST_MAIN(TestDrawGrid)
#include "test_draw_grid.moc"
