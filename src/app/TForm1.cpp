#include "TForm1.h"

#include "PageControlStyle.h"

#include "data/Formats.h"
#include "data/Session.h"
#include "entry/EntryPage.h"
#include "store/BookSchema.h"
#include "store/DateOrder.h"
#include "store/DrawGrid.h"
#include "widgets/FocusEvents.h"
#include "widgets/Fonts.h"
#include "widgets/HandlerGuard.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>

namespace ballvane {

namespace {
constexpr int clientWidth = 640;
constexpr int clientHeight = 346;
constexpr int pageWidth = 632;
constexpr int pageHeight = 318;

struct PageDef {
    const char* name;
    const char* caption;
};
constexpr PageDef pages[] = {{"TabSheet1", "Add Lotto Result"},
                             {"TabSheet2", "Grid view"},
                             {"TabSheet3", "Ball checker"},
                             {"TabSheet4", "Frequency count"},
                             {"TabSheet5", "Pick Lottery Balls"}};
} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ballvane"));
    registerDesignFonts();
    setFont(designFont(QStringLiteral("Tahoma"), 11));
    setFixedSize(clientWidth, clientHeight);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    TaBle1 = new Table(QStringLiteral("TaBle1"), book::drawTable, this);
    TaBle1->setIndexName(book::ascendingIndex);
    Table2 = new Table(QStringLiteral("Table2"), book::lineTable, this);
    SQ1 = new Query(QStringLiteral("SQ1"), this);
    DST = new DataSource(QStringLiteral("DST"), TaBle1, this);
    DSL = new DataSource(QStringLiteral("DSL"), Table2, this);
    DSQ = new DataSource(QStringLiteral("DSQ"), SQ1, this);

    buildPages();
    HandlerGuard::run([this] { FormCreate(); });
}

TForm1::~TForm1() {
    // The window's tables go with it; the session stays for whoever opens the book next.
    TaBle1->close();
    Table2->close();
    SQ1->close();
}

void TForm1::buildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setGeometry(0, 0, clientWidth, clientHeight);
    PageControl1->setFont(designFont(QStringLiteral("MS Sans Serif"), 11));
    // Clicking a tab takes the focus to the tab row before the page changes.
    PageControl1->tabBar()->setFocusPolicy(Qt::StrongFocus);
    // Compact tabs, so the row ends before the navigator that sits over its right end.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    // Every page gets the 632 × 318 its controls are placed in.
    auto* pageStyle = new PageControlStyle(QMargins(4, clientHeight - pageHeight - 4, clientWidth - pageWidth - 4, 4));
    pageStyle->setParent(PageControl1); // outlives the page control's own teardown
    PageControl1->setStyle(pageStyle);
    std::array<QWidget**, 5> sheets{&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet4, &TabSheet5};
    for (size_t i = 0; i < sheets.size(); ++i) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QString::fromLatin1(pages[i].name));
        PageControl1->addTab(sheet, QString::fromLatin1(pages[i].caption));
        *sheets[i] = sheet;
    }

    DBNavigator2 = new DbNavigator(this, QStringLiteral("DBNavigator2"));
    DBNavigator2->setGeometry(406, 0, 228, 20);
    DBNavigator2->setConfirmDelete(false);
    DBNavigator2->setDataSource(DST);
    DBNavigator2->raise();

    entryPage = new EntryPage(TabSheet1, DST, TaBle1, DBNavigator2);
    entryPage->Button1->setOnClick([this] { Button1Click(); });
    entryPage->Button2->setOnClick([this] { Button2Click(); });
    DBGridEh1 = createDrawGrid(TabSheet2, DST);

    connect(PageControl1, &QTabWidget::currentChanged, this,
            guarded([this](int index) { pageShown(index); }));
    FocusEvents& focus = FocusEvents::instance();
    focus.onEnter(PageControl1, [this] { PageControl1Enter(); });
    focus.onExit(PageControl1, [this] { PageControl1Exit(); });
    focus.onExit(TabSheet3, [this] { TabSheet3Exit(); });
    focus.onEnter(TabSheet4, [this] { TabSheet4Enter(); });
    focus.onExit(TabSheet4, [this] { TabSheet4Exit(); });
    focus.onExit(TabSheet5, [this] { TabSheet5Exit(); });
}

void TForm1::pageShown(int index) {
    switch (index) {
    case 0: TaBSheet1Show(); break;
    case 1: TaBSheet2Show(); break;
    case 2: TaBSheet3Show(); break;
    default: break;
    }
}

void TForm1::FormCreate() { formats::setCurrencySymbol(QStringLiteral("\u00A3")); }

void TForm1::FormShow() { entryPage->Button2->performClick(); }

void TForm1::FormClose() {
    // The book keeps no lock file: ending the session closes both tables and the
    // query, discarding any draw or line not yet saved, and the window closes.
    Session::instance().deactivate();
}

void TForm1::TaBSheet1Show() { DBNavigator2->setEnabled(true); }

void TForm1::TaBSheet2Show() { DBGridEh1->setFocus(Qt::OtherFocusReason); }

void TForm1::TaBSheet3Show() { DBNavigator2->setEnabled(false); }

void TForm1::TabSheet3Exit() { DBNavigator2->setEnabled(true); }

void TForm1::TabSheet4Enter() { DBNavigator2->setEnabled(false); }

void TForm1::TabSheet4Exit() { DBNavigator2->setEnabled(true); }

void TForm1::TabSheet5Exit() {}

void TForm1::PageControl1Enter() { Table2->open(); }

void TForm1::PageControl1Exit() { Table2->close(); }

void TForm1::Button1Click() { applyDateOrder(*TaBle1, book::ascendingIndex); }

void TForm1::Button2Click() { applyDateOrder(*TaBle1, book::descendingIndex); }

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    centreOnScreen();
    HandlerGuard::run([this] { TaBSheet1Show(); });
    HandlerGuard::run([this] { FormShow(); });
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || m_activatedOnce) return;
    m_activatedOnce = true;
    // On the first activation the focus goes to the first tab stop, the page control's tab row.
    QWidget* focused = focusWidget();
    if (!focused || focused == this) PageControl1->tabBar()->setFocus(Qt::ActiveWindowFocusReason);
}

void TForm1::closeEvent(QCloseEvent* event) {
    HandlerGuard::run([this] { FormClose(); });
    event->accept();
}

void TForm1::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    const QRect frame = frameGeometry();
    move(available.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

} // namespace ballvane
