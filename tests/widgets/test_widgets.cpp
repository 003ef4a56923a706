#include "data/DataError.h"
#include "fixtures/DialogRecorder.h"
#include "widgets/Button.h"
#include "widgets/Dialogs.h"
#include "widgets/FocusEvents.h"
#include "widgets/HandlerGuard.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace ballvane;
using testing::DialogRecorder;

namespace {
// An active window with nested containers, every one of them and every edit
// noting its focus events in the log as "+name" (enters) and "-name" (leaves):
// window { A { A1 { a, a2 }, a3 }, B { B1 { b } }, C { c } }.
struct FocusWindow {
    FocusWindow() {
        window.resize(400, 300);
        QWidget* A = box(&window, "A", 0);
        QWidget* A1 = box(A, "A1", 0);
        edit(A1, "a", 0);
        edit(A1, "a2", 30);
        edit(A, "a3", 60);
        edit(box(box(&window, "B", 100), "B1", 0), "b", 0);
        edit(box(&window, "C", 200), "c", 0);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window)) qWarning("the window did not become active");
    }

    QWidget* operator[](const QString& name) { return name == u"window" ? &window : window.findChild<QWidget*>(name); }

    // Puts the focus on a widget and forgets the events that took it there.
    void startAt(const QString& name) {
        (*this)[name]->setFocus(Qt::OtherFocusReason);
        QCoreApplication::processEvents();
        log.clear();
    }

    void watch(QWidget* widget) {
        const QString name = widget->objectName();
        FocusEvents::instance().onEnter(widget, [this, name] { log << QLatin1Char('+') + name; });
        FocusEvents::instance().onExit(widget, [this, name] { log << QLatin1Char('-') + name; });
    }

    QWidget* box(QWidget* parent, const char* name, int top) {
        auto* widget = new QWidget(parent);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(0, top, 200, 90);
        watch(widget);
        return widget;
    }

    void edit(QWidget* parent, const char* name, int top) {
        auto* line = new QLineEdit(parent);
        line->setObjectName(QString::fromLatin1(name));
        line->setGeometry(0, top, 80, 20);
        watch(line);
    }

    QWidget window;
    QStringList log;
};
} // namespace

class TestWidgets : public QObject {
    Q_OBJECT
private slots:
    void errorBoxTextAddsAFullStop_data();
    void errorBoxTextAddsAFullStop();
    void handlerGuardReportsTheError_data();
    void handlerGuardReportsTheError();
    void performClickRunsWhileDisabled();
    void errorInAPerformedClickPassesToTheCaller();
    void errorInAUserClickShowsInTheErrorBox();
    void focusMovesLeaveInnermostFirstAndEnterOutermostFirst_data();
    void focusMovesLeaveInnermostFirstAndEnterOutermostFirst();
    void focusInAnotherWindowIsNoMove();
    void handlerThatMovesTheFocusEndsTheMove_data();
    void handlerThatMovesTheFocusEndsTheMove();
};

void TestWidgets::errorBoxTextAddsAFullStop_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "abc" << "abc.";
    QTest::newRow("full stop") << "abc." << "abc.";
    QTest::newRow("bracket") << "ends)" << "ends)";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("digit") << "code 5" << "code 5.";
    QTest::newRow("comma") << "and," << "and,";
    QTest::newRow("question mark") << "why?" << "why?.";
    QTest::newRow("slash") << "a/" << "a/.";
}

void TestWidgets::errorBoxTextAddsAFullStop() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(errorBoxText(message), shown);
}

void TestWidgets::handlerGuardReportsTheError_data() {
    QTest::addColumn<QString>("thrown");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("component error") << "TaBle1|Dataset not in edit or insert mode"
                                     << QStringList{"TaBle1: Dataset not in edit or insert mode."};
    QTest::newRow("plain error, full stop kept") << "|Already said." << QStringList{"Already said."};
    QTest::newRow("plain error, bracket kept") << "|'x' is not a valid date (row 3)"
                                               << QStringList{"'x' is not a valid date (row 3)"};
    QTest::newRow("standard exception") << "std|disk full" << QStringList{"disk full."};
    QTest::newRow("anything else") << "other|" << QStringList{"Unknown error."};
    QTest::newRow("nothing thrown") << "none|" << QStringList{};
}

void TestWidgets::handlerGuardReportsTheError() {
    QFETCH(QString, thrown);
    QFETCH(QStringList, errors);
    DialogRecorder dialogs;
    const QString kind = thrown.section(QLatin1Char('|'), 0, 0);
    const QString message = thrown.section(QLatin1Char('|'), 1);
    bool after = false;
    HandlerGuard::run([&] {
        if (kind == u"std") throw std::runtime_error(message.toStdString());
        if (kind == u"other") throw 42;
        if (kind.isEmpty()) throw DataError(message);
        if (kind != u"none") throw DataError(kind, message);
        after = true;
    });
    QCOMPARE(dialogs.errors, errors);
    QCOMPARE(after, errors.isEmpty());
    QVERIFY(dialogs.messages.isEmpty() && dialogs.questions.isEmpty());
}

void TestWidgets::performClickRunsWhileDisabled() {
    QWidget window;
    Button button(&window, QStringLiteral("Button9"), QStringLiteral("Go"));
    QCOMPARE(button.objectName(), QStringLiteral("Button9"));
    QCOMPARE(button.text(), QStringLiteral("Go"));
    int clicks = 0;
    button.setOnClick([&] { ++clicks; });
    window.show();
    button.setEnabled(false);
    button.performClick();
    QCOMPARE(clicks, 1);
    // The user cannot click it while it is disabled.
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    button.setEnabled(true);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
}

void TestWidgets::errorInAPerformedClickPassesToTheCaller() {
    DialogRecorder dialogs;
    QWidget window;
    Button button(&window, QStringLiteral("Button9"), QStringLiteral("Go"));
    button.setEnabled(false);
    button.setOnClick([] { throw DataError(QStringLiteral("Button9"), QStringLiteral("refused")); });
    try {
        button.performClick();
        QFAIL("the error did not reach the caller");
    } catch (const DataError& error) {
        QCOMPARE(error.message(), QStringLiteral("Button9: refused"));
    }
    QVERIFY(dialogs.errors.isEmpty());
}

// One button's click performs another's; the error stops both and shows once.
void TestWidgets::errorInAUserClickShowsInTheErrorBox() {
    DialogRecorder dialogs;
    QWidget window;
    Button failing(&window, QStringLiteral("Button2"), QStringLiteral("Fails"));
    Button calling(&window, QStringLiteral("Button3"), QStringLiteral("Calls"));
    calling.move(0, 40);
    failing.setOnClick([] { throw DataError(QStringLiteral("TaBle1"), QStringLiteral("refused")); });
    int finished = 0;
    calling.setOnClick([&] {
        failing.performClick();
        ++finished;
    });
    window.show();
    QTest::mouseClick(&calling, Qt::LeftButton);
    QCOMPARE(dialogs.errors, QStringList{QStringLiteral("TaBle1: refused.")});
    QCOMPARE(finished, 0);
    QTest::mouseClick(&failing, Qt::LeftButton);
    QCOMPARE(dialogs.errors.size(), 2);
    QCOMPARE(dialogs.errors.last(), QStringLiteral("TaBle1: refused."));
}

void TestWidgets::focusMovesLeaveInnermostFirstAndEnterOutermostFirst_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("to a cousin") << "a" << "b" << QStringList{"-a", "-A1", "-A", "+B", "+B1", "+b"};
    QTest::newRow("to a sibling") << "a" << "a2" << QStringList{"-a", "+a2"};
    QTest::newRow("out of one container") << "a" << "a3" << QStringList{"-a", "-A1", "+a3"};
    QTest::newRow("into two containers") << "a3" << "a2" << QStringList{"-a3", "+A1", "+a2"};
    QTest::newRow("from the window itself") << "window" << "b" << QStringList{"+B", "+B1", "+b"};
}

void TestWidgets::focusMovesLeaveInnermostFirstAndEnterOutermostFirst() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, log);
    FocusWindow focus;
    if (from == u"window") focus.window.setFocusPolicy(Qt::StrongFocus);
    focus.startAt(from);
    QCOMPARE(QApplication::focusWidget(), focus[from]);
    focus[to]->setFocus(Qt::OtherFocusReason);
    QCOMPARE(focus.log, log);
    QCOMPARE(FocusEvents::instance().focused(), focus[to]);
}

void TestWidgets::focusInAnotherWindowIsNoMove() {
    FocusWindow focus;
    focus.startAt(QStringLiteral("a"));
    // A modal box over the window, as the message boxes are, with the focus in it.
    QDialog box(&focus.window);
    auto* answer = new QLineEdit(&box);
    QWidget* focusedInBox = nullptr;
    QWidget* logicalInBox = nullptr;
    QTimer::singleShot(0, &box, [&] {
        if (QTest::qWaitFor([&] { return box.isActiveWindow(); })) {
            answer->setFocus(Qt::OtherFocusReason);
            focusedInBox = QApplication::focusWidget();
            logicalInBox = FocusEvents::instance().focused();
        }
        box.accept();
    });
    box.exec();
    QCOMPARE(focusedInBox, answer);
    QCOMPARE(logicalInBox, focus[QStringLiteral("a")]);
    focus.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&focus.window));
    QCOMPARE(QApplication::focusWidget(), focus[QStringLiteral("a")]);
    QCOMPARE(focus.log, QStringList{});
    // The window's own focus stayed where it was: the next move starts from there.
    focus[QStringLiteral("b")]->setFocus(Qt::OtherFocusReason);
    QCOMPARE(focus.log, (QStringList{"-a", "-A1", "-A", "+B", "+B1", "+b"}));
}

// The focus goes from a to b; one handler on the way sends it to c instead.
void TestWidgets::handlerThatMovesTheFocusEndsTheMove_data() {
    QTest::addColumn<QString>("mover");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("leaving the edit") << "-a" << QStringList{"-a", "-A1", "-A", "+C", "+c"};
    QTest::newRow("leaving the inner container") << "-A1" << QStringList{"-a", "-A1", "-A", "+C", "+c"};
    QTest::newRow("entering the new container") << "+B" << QStringList{"-a", "-A1", "-A", "+B", "-B", "+C", "+c"};
    QTest::newRow("entering the inner container") << "+B1"
                                                  << QStringList{"-a", "-A1", "-A", "+B", "+B1", "-B1", "-B", "+C", "+c"};
}

void TestWidgets::handlerThatMovesTheFocusEndsTheMove() {
    QFETCH(QString, mover);
    QFETCH(QStringList, log);
    FocusWindow focus;
    QWidget* c = focus[QStringLiteral("c")];
    QWidget* moving = focus[mover.mid(1)];
    // Only the first pass moves, so the detour does not repeat on a later move.
    auto moved = std::make_shared<bool>(false);
    const auto handler = [c, moved] {
        if (*moved) return;
        *moved = true;
        c->setFocus(Qt::OtherFocusReason);
    };
    focus.startAt(QStringLiteral("a"));
    if (mover.startsWith(QLatin1Char('+')))
        FocusEvents::instance().onEnter(moving, handler);
    else
        FocusEvents::instance().onExit(moving, handler);
    focus[QStringLiteral("b")]->setFocus(Qt::OtherFocusReason);
    QCOMPARE(focus.log, log);
    QCOMPARE(QApplication::focusWidget(), c);
    QCOMPARE(FocusEvents::instance().focused(), c);
}

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
