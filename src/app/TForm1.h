#pragma once

#include "data/DataSource.h"
#include "data/Query.h"
#include "data/Table.h"
#include "widgets/DbGrid.h"
#include "widgets/DbNavigator.h"

#include <QTabWidget>
#include <QWidget>

namespace ballvane {

class EntryPage;

// The main window: the five pages, the record navigator over the draw table, the
// tables and query every page works on, and the start-up and close sequences.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The book's components: the draw table, the ticket lines, the line check query.
    Table* TaBle1;
    Table* Table2;
    Query* SQ1;
    DataSource* DST;
    DataSource* DSL;
    DataSource* DSQ;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    QWidget* TabSheet5;
    DbNavigator* DBNavigator2;
    EntryPage* entryPage;
    DbGrid* DBGridEh1;

    void FormCreate();
    void FormShow();
    void FormClose();
    void TaBSheet1Show();
    void TaBSheet2Show();
    void TaBSheet3Show();
    void TabSheet3Exit();
    void TabSheet4Enter();
    void TabSheet4Exit();
    void TabSheet5Exit();
    void PageControl1Enter();
    void PageControl1Exit();
    void Button1Click();
    void Button2Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildPages();
    void pageShown(int index);
    void centreOnScreen();

    bool m_shownOnce = false;
    bool m_activatedOnce = false;
};

} // namespace ballvane
