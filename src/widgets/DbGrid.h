#pragma once

#include "data/Colors.h"
#include "data/DataSource.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QPointer>
#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

namespace ballvane {

// One persistent column of a grid.
struct GridColumn {
    QString fieldName;
    QString title;     // empty: the field's own name
    int designWidth = 64; // a proportion: columns are scaled to fill the grid's width
    std::optional<QFont> font;
    std::optional<TColor> fontColour;
    Qt::Alignment alignment = Qt::AlignCenter;
    bool checkBox = false; // a true/false column drawn as a check box
};

// What the per-cell hook may change for a data cell about to be drawn.
struct CellParams {
    int recNo = 0; // the row's 1-based position in the dataset's order; 0 for an unsaved new record
    int column = 0;
    TColor background = clInfoBk;
};

class DbGrid;

// The rows of a dataset as a table model, one column per grid column.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(DbGrid* grid);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void reset();
    void refreshRow(int row);
    void refreshIndicator();

private:
    int fieldIndex(int column) const;

    DbGrid* m_grid;
    int m_indicatorRow = -1;
};

// A read-only grid over a data source: persistent columns, a marker on the current
// row, whole-row selection, a per-cell hook for colours. Moving in the grid moves the
// dataset; Ctrl+Delete deletes the current record after a question.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    using CellParamsHandler = std::function<void(const DbGrid& grid, CellParams& params)>;

    DbGrid(QWidget* parent, const QString& componentName);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return m_source; }
    Dataset* dataset() const;
    void setColumns(std::vector<GridColumn> columns);
    const std::vector<GridColumn>& columns() const { return m_columns; }

    void setOnGetCellParams(CellParamsHandler handler) { m_onGetCellParams = std::move(handler); }
    // The colour a data cell is drawn with: the grid's colour, then the hook's say.
    TColor cellBackground(int row, int column) const;

    void setCellColour(TColor colour) { m_cellColour = colour; }
    void setFixedColour(TColor colour);
    void setTitleFont(const QFont& font, TColor colour);
    // Row height: one line of the cell font plus this many pixels.
    void setRowExtra(int pixels);
    void setLines(bool horizontal, bool vertical);

    DatasetModel* datasetModel() const { return m_model; }

    // Keeps the row out of any strip of the grid that lies below its page.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void updateGeometries() override;

private:
    friend class DatasetModel;
    friend class GridDelegate;
    void followDataset();
    void fitColumns();
    int hiddenBelowParent() const;
    void applyHeaderStyle();

    QPointer<DataSource> m_source;
    DatasetModel* m_model;
    std::vector<GridColumn> m_columns;
    CellParamsHandler m_onGetCellParams;
    TColor m_cellColour = clInfoBk;
    TColor m_fixedColour = clGreen;
    QFont m_titleFont;
    TColor m_titleColour = clBlack;
    int m_rowExtra = 2;
    bool m_horizontalLines = true;
    bool m_verticalLines = true;
    bool m_following = false;
};

} // namespace ballvane
