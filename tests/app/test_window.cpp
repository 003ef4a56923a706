#include "data/Formats.h"
#include "fixtures/TestWindow.h"
#include "widgets/Button.h"
#include "widgets/HandlerGuard.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolButton>

using namespace ballvane;
using testing::TestBook;
using testing::TestWindow;

namespace {
const QStringList navigatorButtons{"nbFirst", "nbPrior", "nbNext", "nbLast"};

// The four move buttons as the user sees them: "+" available, "-" not.
QString availability(const TestWindow& window) {
    QString marks;
    for (const QString& name : navigatorButtons) {
        const QToolButton* button = window.find<QToolButton>(name);
        marks += button && button->isEnabled() ? QLatin1Char('+') : QLatin1Char('-');
    }
    return marks;
}

qint64 currentDraw(const TForm1& form) { return form.TaBle1->fieldByName(QStringLiteral("DRAW#")).asInteger(); }

// Every draw the book holds, each a row of all its columns.
QStringList storedDraws(TestBook& book) {
    QSqlQuery query(book.raw());
    query.exec(QStringLiteral("SELECT * FROM LOTTO ORDER BY \"DRAW#\""));
    QStringList rows;
    while (query.next()) {
        QStringList values;
        for (int column = 0; column < query.record().count(); ++column) values << query.value(column).toString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
    QCoreApplication::processEvents();
}

// Leaves a draw waiting to be saved: a new one (#9), a change to the current one, or
// a machine name typed into its edit and not yet written into the record.
void makePending(TForm1& form, const QString& pending) {
    if (pending == u"typed") {
        auto* machine = form.findChild<QLineEdit*>(QStringLiteral("DBEditEh6"));
        click(machine);
        machine->selectAll();
        QTest::keyClicks(machine, QStringLiteral("Zeus"));
        return;
    }
    if (pending == u"new") {
        form.TaBle1->insert();
        form.TaBle1->fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("9"));
        form.TaBle1->fieldByName(QStringLiteral("Date")).setEditText(QStringLiteral("1995-01-14"));
    } else {
        form.TaBle1->edit();
    }
    form.TaBle1->fieldByName(QStringLiteral("MACHINE")).setEditText(QStringLiteral("Zeus"));
}
} // namespace

class TestWindowSuite : public QObject {
    Q_OBJECT
private slots:
    void windowFrameAndFont();
    void pagesInOrder_data();
    void pagesInOrder();
    void startUpShowsTheNewestDrawAndFocusesTheTabRow();
    void startUpWithoutTheDrawTable_data();
    void startUpWithoutTheDrawTable();
    void navigatorSitsOverEveryPage();
    void navigatorButtonsKeepTheFocus_data();
    void navigatorButtonsKeepTheFocus();
    void navigatorAvailability_data();
    void navigatorAvailability();
    void navigatorActionsRunWhetherEnabledOrNot_data();
    void navigatorActionsRunWhetherEnabledOrNot();
    void postWithNothingPendingIsAnError();
    void pageEventsSwitchTheNavigator_data();
    void pageEventsSwitchTheNavigator();
    void linesOpenWhileTheFocusIsInThePages();
    void orderButtonsReopenTheDrawTable_data();
    void orderButtonsReopenTheDrawTable();
    void descendingTwiceBringsTheNewestBackEachTime();
    void closingDiscardsThePendingDraw_data();
    void closingDiscardsThePendingDraw();
};

void TestWindowSuite::windowFrameAndFont() {
    formats::setCurrencySymbol(QStringLiteral("$"));
    TestWindow window;
    TForm1& form = window.show();
    QCOMPARE(form.objectName(), QStringLiteral("Form1"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Ballvane"));
    QCOMPARE(form.size(), QSize(640, 346));
    QCOMPARE(form.minimumSize(), QSize(640, 346));
    QCOMPARE(form.maximumSize(), QSize(640, 346));
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(form.font().family(), QStringLiteral("Tahoma"));
    QCOMPARE(form.font().pixelSize(), 11);
    QCOMPARE(formats::currencySymbol(), QStringLiteral("\u00A3"));
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::pagesInOrder_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1") << 0 << "TabSheet1" << "Add Lotto Result";
    QTest::newRow("2") << 1 << "TabSheet2" << "Grid view";
    QTest::newRow("3") << 2 << "TabSheet3" << "Ball checker";
    QTest::newRow("4") << 3 << "TabSheet4" << "Frequency count";
    QTest::newRow("5") << 4 << "TabSheet5" << "Pick Lottery Balls";
}

void TestWindowSuite::pagesInOrder() {
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    TestWindow window;
    window.show();
    auto* pages = window.find<QTabWidget>(QStringLiteral("PageControl1"));
    QVERIFY(pages);
    QCOMPARE(pages->count(), 5);
    QWidget* page = window.find<QWidget>(name);
    QVERIFY(page);
    QCOMPARE(pages->indexOf(page), index);
    QCOMPARE(pages->tabText(index), caption);
    // The pages' controls are placed in pixels within a client area of 632 × 318.
    pages->setCurrentIndex(index);
    QCOMPARE(page->size(), QSize(632, 318));
}

void TestWindowSuite::startUpShowsTheNewestDrawAndFocusesTheTabRow() {
    TestWindow window;
    TForm1& form = window.show();
    QVERIFY(form.TaBle1->active());
    QCOMPARE(form.TaBle1->indexName(), QStringLiteral("DateD"));
    QCOMPARE(currentDraw(form), 8);
    QCOMPARE(form.TaBle1->recNo(), 1);
    QCOMPARE(form.PageControl1->currentWidget(), form.TabSheet1);
    QCOMPARE(QApplication::focusWidget(), form.PageControl1->tabBar());
    QVERIFY(form.Table2->active());
    QVERIFY(form.DBNavigator2->isEnabled());
    QVERIFY(window.dialogs.errors.isEmpty());
}

// In the expected errors %1 stands for the book's folder and %2 for the book itself.
void TestWindowSuite::startUpWithoutTheDrawTable_data() {
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("draw table dropped")
        << "table" << QStringList{"TaBle1: Cannot open table LOTTO: the book %2 has no table LOTTO."};
    QTest::newRow("no book") << "book"
                             << QStringList{"TaBle1: Cannot open table LOTTO: there is no book ballvane.db in the folder %1.",
                                            "Table2: Cannot open table Lines: there is no book ballvane.db in the folder %1."};
}

void TestWindowSuite::startUpWithoutTheDrawTable() {
    QFETCH(QString, missing);
    QFETCH(QStringList, errors);
    TestWindow window;
    if (missing == u"table")
        window.book.exec(QStringLiteral("DROP TABLE LOTTO"));
    else
        QVERIFY(QFile::remove(window.book.bookPath()));
    TForm1& form = window.show();
    // The book is looked for in the working folder, as the system names it.
    const QString folder = QFileInfo(window.book.folder()).canonicalFilePath();
    for (QString& error : errors)
        error.replace(QStringLiteral("%1"), QDir::toNativeSeparators(folder))
            .replace(QStringLiteral("%2"), QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral("ballvane.db"))));
    QCOMPARE(window.dialogs.errors, errors);
    QVERIFY(form.isVisible());
    QVERIFY(form.isActiveWindow());
    QVERIFY(!form.TaBle1->active());
    auto* grid = window.find<DbGrid>(QStringLiteral("DBGridEh1"));
    QVERIFY(grid);
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(availability(window), QStringLiteral("----"));
    // Closing has nothing more to say.
    QVERIFY(form.close());
    QCOMPARE(window.dialogs.errors, errors);
}

void TestWindowSuite::navigatorSitsOverEveryPage() {
    TestWindow window;
    TForm1& form = window.show();
    auto* navigator = window.find<DbNavigator>(QStringLiteral("DBNavigator2"));
    QVERIFY(navigator);
    QCOMPARE(navigator->parentWidget(), &form);
    QCOMPARE(navigator->geometry(), QRect(406, 0, 228, 20));
    QCOMPARE(navigator->focusPolicy(), Qt::NoFocus);
    for (const QString& name : navigatorButtons) {
        const QToolButton* button = window.find<QToolButton>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->parentWidget(), navigator);
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
    QTabBar* tabs = form.PageControl1->tabBar();
    for (int page = 0; page < form.PageControl1->count(); ++page) {
        // Every tab stays clear of it, so each can be clicked.
        QVERIFY(!tabs->tabRect(page).translated(tabs->mapTo(&form, QPoint(0, 0))).intersects(navigator->geometry()));
        window.clickTab(page);
        QCOMPARE(form.PageControl1->currentIndex(), page);
        QVERIFY(navigator->isVisible());
        QCOMPARE(navigator->mapTo(&form, QPoint(0, 0)), QPoint(406, 0));
        // Nothing of the page lies over it.
        for (const QString& name : navigatorButtons) {
            QToolButton* button = window.find<QToolButton>(name);
            QCOMPARE(form.childAt(button->mapTo(&form, button->rect().center())), button);
        }
    }
}

void TestWindowSuite::navigatorButtonsKeepTheFocus_data() {
    QTest::addColumn<QString>("focusOn");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("draw");
    QTest::newRow("tab row, next") << "PageControl1" << "nbNext" << 7;
    QTest::newRow("tab row, last") << "PageControl1" << "nbLast" << 1;
    QTest::newRow("draw grid, last") << "DBGridEh1" << "nbLast" << 1;
    QTest::newRow("draw number edit, next") << "DBEditEh1" << "nbNext" << 7;
}

void TestWindowSuite::navigatorButtonsKeepTheFocus() {
    QFETCH(QString, focusOn);
    QFETCH(QString, button);
    QFETCH(int, draw);
    TestWindow window;
    TForm1& form = window.show();
    if (focusOn == u"DBGridEh1") window.clickTab(1);
    if (focusOn == u"DBEditEh1") click(window.find<QWidget>(focusOn));
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused);
    QVERIFY(focusOn == u"PageControl1" ? focused == form.PageControl1->tabBar() : focused->objectName() == focusOn);
    click(window.find<QToolButton>(button));
    QCOMPARE(currentDraw(form), draw);
    QCOMPARE(QApplication::focusWidget(), focused);
    QVERIFY(form.Table2->active());
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::navigatorAvailability_data() {
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
    QTest::newRow("newest first") << "delivered" << QStringList{} << "--++";
    QTest::newRow("one down") << "delivered" << QStringList{"next"} << "++++";
    QTest::newRow("at the oldest") << "delivered" << QStringList{"last"} << "++--";
    QTest::newRow("ascending, at the oldest") << "delivered" << QStringList{"ascending"} << "--++";
    QTest::newRow("ascending, at the newest") << "delivered" << QStringList{"ascending", "last"} << "++--";
    QTest::newRow("disabled") << "delivered" << QStringList{"next", "disable"} << "----";
    QTest::newRow("moved while disabled, enabled") << "delivered" << QStringList{"disable", "last", "enable"} << "++--";
    QTest::newRow("table closed") << "delivered" << QStringList{"next", "close"} << "----";
    QTest::newRow("closed while disabled, enabled") << "delivered" << QStringList{"disable", "close", "enable"} << "----";
    QTest::newRow("reopened") << "delivered" << QStringList{"close", "open"} << "--++";
    QTest::newRow("empty book") << "empty" << QStringList{} << "----";
    QTest::newRow("one draw") << "one draw" << QStringList{} << "----";
}

void TestWindowSuite::navigatorAvailability() {
    QFETCH(QString, content);
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    TestWindow window(content == u"delivered" ? TestBook::Content::Delivered : TestBook::Content::Empty);
    if (content == u"one draw")
        window.book.addDraw(1, QStringLiteral("Sat"), QStringLiteral("1994-11-19"), {"03", "05", "14", "22", "30", "44"},
                            QStringLiteral("10"));
    TForm1& form = window.show();
    for (const QString& step : steps) {
        if (step == u"next") form.TaBle1->next();
        else if (step == u"last") form.TaBle1->last();
        else if (step == u"ascending") window.find<Button>(QStringLiteral("Button1"))->performClick();
        else if (step == u"disable") form.DBNavigator2->setEnabled(false);
        else if (step == u"enable") form.DBNavigator2->setEnabled(true);
        else if (step == u"close") form.TaBle1->close();
        else if (step == u"open") form.TaBle1->open();
        else QFAIL(qPrintable(step));
    }
    QCOMPARE(availability(window), expected);
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::navigatorActionsRunWhetherEnabledOrNot_data() {
    QTest::addColumn<bool>("enabled");
    QTest::newRow("enabled") << true;
    QTest::newRow("disabled") << false;
}

void TestWindowSuite::navigatorActionsRunWhetherEnabledOrNot() {
    QFETCH(bool, enabled);
    TestWindow window;
    TForm1& form = window.show();
    form.DBNavigator2->setEnabled(enabled);
    form.DBNavigator2->doAction(DbNavigator::Action::Insert);
    QCOMPARE(form.TaBle1->state(), Dataset::State::Insert);
    form.TaBle1->fieldByName(QStringLiteral("DRAW#")).setEditText(QStringLiteral("9"));
    form.TaBle1->fieldByName(QStringLiteral("Date")).setEditText(QStringLiteral("1995-01-14"));
    form.DBNavigator2->doAction(DbNavigator::Action::Post);
    QCOMPARE(form.TaBle1->state(), Dataset::State::Browse);
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), 9);
    QCOMPARE(currentDraw(form), 9);
    // Deleting asks nothing.
    form.DBNavigator2->doAction(DbNavigator::Action::Delete);
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), 8);
    QCOMPARE(window.book.scalar(QStringLiteral("SELECT count(*) FROM LOTTO WHERE \"DRAW#\" = 9")).toInt(), 0);
    QCOMPARE(currentDraw(form), 8);
    QVERIFY(window.dialogs.questions.isEmpty());
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::postWithNothingPendingIsAnError() {
    TestWindow window;
    TForm1& form = window.show();
    HandlerGuard::run([&] { form.DBNavigator2->doAction(DbNavigator::Action::Post); });
    QCOMPARE(window.dialogs.errors, QStringList{QStringLiteral("TaBle1: Dataset not in edit or insert mode.")});
    QCOMPARE(form.TaBle1->state(), Dataset::State::Browse);
    QCOMPARE(window.book.count(QStringLiteral("LOTTO")), 8);
}

// Steps: "tab N" clicks the tab of TabSheetN, "into N" clicks a control on it. The
// expected text has the navigator's state after each step: E enabled, D disabled.
void TestWindowSuite::pageEventsSwitchTheNavigator_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Ball checker shown") << QStringList{"tab 3"} << "D";
    QTest::newRow("Ball checker left after entering") << QStringList{"tab 3", "into 3", "tab 2"} << "DDE";
    QTest::newRow("Ball checker never entered") << QStringList{"tab 3", "tab 2", "tab 1"} << "DDE";
    QTest::newRow("Ball checker to Frequency count") << QStringList{"tab 3", "into 3", "tab 4", "into 4"} << "DDED";
    QTest::newRow("Frequency count entered, left") << QStringList{"tab 4", "into 4", "tab 5"} << "EDE";
    QTest::newRow("Frequency count left before Ball checker shows") << QStringList{"tab 4", "into 4", "tab 3"} << "EDD";
    QTest::newRow("Frequency count left for Add Lotto Result") << QStringList{"tab 4", "into 4", "tab 1"} << "EDE";
    QTest::newRow("Grid view keeps it on") << QStringList{"tab 2"} << "E";
    QTest::newRow("Pick Lottery Balls keeps it on") << QStringList{"tab 5"} << "E";
    QTest::newRow("Pick Lottery Balls keeps it off") << QStringList{"tab 3", "tab 5"} << "DD";
}

void TestWindowSuite::pageEventsSwitchTheNavigator() {
    QFETCH(QStringList, steps);
    QFETCH(QString, expected);
    TestWindow window;
    TForm1& form = window.show();
    // Ball checker and Frequency count have no controls yet: a stand-in edit on each
    // lets the focus go into them.
    auto* intoPage3 = new QLineEdit(form.TabSheet3);
    auto* intoPage4 = new QLineEdit(form.TabSheet4);
    const QWidget* sheets[] = {form.TabSheet1, form.TabSheet2, form.TabSheet3, form.TabSheet4, form.TabSheet5};
    QString seen;
    for (const QString& step : steps) {
        const int page = step.section(QLatin1Char(' '), 1).toInt();
        if (step.startsWith(u"tab")) {
            window.clickTab(page - 1);
            QCOMPARE(form.PageControl1->currentWidget(), sheets[page - 1]);
        } else {
            QLineEdit* stub = page == 3 ? intoPage3 : intoPage4;
            click(stub);
            QVERIFY(stub->hasFocus());
        }
        seen += form.DBNavigator2->isEnabled() ? QLatin1Char('E') : QLatin1Char('D');
    }
    QCOMPARE(seen, expected);
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::linesOpenWhileTheFocusIsInThePages() {
    TestWindow window;
    TForm1& form = window.show();
    // The form has nothing focusable outside the pages yet: a stand-in edit beside them.
    auto* outside = new QLineEdit(&form);
    outside->setGeometry(0, 326, 60, 20);
    outside->show();
    outside->raise();
    QVERIFY(form.Table2->active());
    click(outside);
    QVERIFY(outside->hasFocus());
    QVERIFY(!form.Table2->active());
    window.clickTab(1);
    QVERIFY(form.DBGridEh1->hasFocus());
    QVERIFY(form.Table2->active());
    click(outside);
    QVERIFY(!form.Table2->active());
    window.clickTab(0);
    click(window.find<QWidget>(QStringLiteral("DBEditEh1")));
    QVERIFY(form.Table2->active());
    QVERIFY(form.TaBle1->active());
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::orderButtonsReopenTheDrawTable_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("pending");
    QTest::addColumn<QString>("index");
    QTest::addColumn<int>("firstDraw");
    for (const char* pending : {"nothing", "new", "changed", "typed"}) {
        QTest::addRow("ascending, %s pending", pending) << "Button1" << pending << "DateA" << 1;
        QTest::addRow("descending again, %s pending", pending) << "Button2" << pending << "DateD" << 8;
    }
}

void TestWindowSuite::orderButtonsReopenTheDrawTable() {
    QFETCH(QString, button);
    QFETCH(QString, pending);
    QFETCH(QString, index);
    QFETCH(int, firstDraw);
    TestWindow window;
    TForm1& form = window.show();
    const QStringList before = storedDraws(window.book);
    QCOMPARE(before.size(), 8);
    form.TaBle1->moveToPosition(3);
    if (pending != u"nothing") makePending(form, pending);
    QCOMPARE(form.TaBle1->editing(), pending != u"nothing");
    auto* orderButton = window.find<QPushButton>(button);
    QVERIFY(orderButton);
    click(orderButton);
    QCOMPARE(form.TaBle1->indexName(), index);
    QCOMPARE(form.TaBle1->state(), Dataset::State::Browse);
    QCOMPARE(form.TaBle1->recNo(), 1);
    QCOMPARE(currentDraw(form), firstDraw);
    QCOMPARE(form.TaBle1->recordCount(), 8);
    QCOMPARE(storedDraws(window.book), before);
    QVERIFY(window.dialogs.questions.isEmpty());
    QVERIFY(window.dialogs.errors.isEmpty());
}

void TestWindowSuite::descendingTwiceBringsTheNewestBackEachTime() {
    TestWindow window;
    TForm1& form = window.show();
    auto* descending = window.find<QPushButton>(QStringLiteral("Button2"));
    for (int press = 0; press < 2; ++press) {
        form.TaBle1->last();
        QCOMPARE(currentDraw(form), 1);
        click(descending);
        QCOMPARE(currentDraw(form), 8);
        QCOMPARE(form.TaBle1->recNo(), 1);
    }
}

void TestWindowSuite::closingDiscardsThePendingDraw_data() {
    QTest::addColumn<QString>("pending");
    QTest::newRow("new draw") << "new";
    QTest::newRow("changed draw") << "changed";
    QTest::newRow("typed, not written") << "typed";
}

void TestWindowSuite::closingDiscardsThePendingDraw() {
    QFETCH(QString, pending);
    TestWindow window;
    const QStringList before = storedDraws(window.book);
    TForm1& form = window.show();
    makePending(form, pending);
    QVERIFY(form.TaBle1->editing());
    QVERIFY(form.close());
    QVERIFY(!form.TaBle1->active());
    QVERIFY(!form.Table2->active());
    QVERIFY(!form.SQ1->active());
    QVERIFY(window.dialogs.errors.isEmpty());
    QCOMPARE(storedDraws(window.book), before);

    TForm1& again = window.show();
    QCOMPARE(again.TaBle1->recordCount(), 8);
    QVERIFY(!again.TaBle1->locate(QStringLiteral("DRAW#"), 9));
    QVERIFY(!again.TaBle1->locate(QStringLiteral("MACHINE"), QStringLiteral("Zeus")));
    QVERIFY(window.dialogs.errors.isEmpty());
}

QTEST_MAIN(TestWindowSuite)
#include "test_window.moc"
