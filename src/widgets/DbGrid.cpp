#include "DbGrid.h"

#include "Dialogs.h"
#include "FocusEvents.h"
#include "HandlerGuard.h"
#include "Palette.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QPainter>
#include <QStyledItemDelegate>

namespace ballvane {

namespace {
const QString browseMarker = QStringLiteral("\u25B6");
const QString editMarker = QStringLiteral("I");
const QString insertMarker = QStringLiteral("*");
} // namespace

// Paints every data cell: the background the grid and its hook choose, the selection
// only while the grid has the focus, the text or check box, and the grid lines.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(DbGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect rect = option.rect;
        const bool selected = (option.state & QStyle::State_Selected) && m_grid->hasFocus();
        const QPalette& palette = option.palette;
        painter->save();
        painter->fillRect(rect, selected ? palette.color(QPalette::Active, QPalette::Highlight)
                                         : index.data(Qt::BackgroundRole).value<QColor>());
        const GridColumn& column = m_grid->m_columns[static_cast<size_t>(index.column())];
        if (column.checkBox) {
            QStyleOptionButton box;
            const int side = m_grid->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, m_grid);
            box.rect = QRect(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
            box.state = QStyle::State_Enabled |
                        (index.data(Qt::CheckStateRole).toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off);
            m_grid->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, m_grid);
        } else {
            painter->setFont(index.data(Qt::FontRole).value<QFont>());
            painter->setPen(selected ? palette.color(QPalette::Active, QPalette::HighlightedText)
                                     : index.data(Qt::ForegroundRole).value<QColor>());
            painter->drawText(rect.adjusted(2, 0, -2, 0), static_cast<int>(column.alignment) | Qt::TextSingleLine,
                              index.data(Qt::DisplayRole).toString());
        }
        painter->setPen(palette.color(QPalette::Mid));
        if (m_grid->m_horizontalLines) painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        if (m_grid->m_verticalLines) painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->restore();
    }

private:
    DbGrid* m_grid;
};

DatasetModel::DatasetModel(DbGrid* grid) : QAbstractTableModel(grid), m_grid(grid) {}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    const Dataset* dataset = m_grid->dataset();
    return parent.isValid() || !dataset || !dataset->active() ? 0 : dataset->rowCount();
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_grid->m_columns.size());
}

int DatasetModel::fieldIndex(int column) const {
    const Dataset* dataset = m_grid->dataset();
    if (!dataset || !dataset->active()) return -1;
    const Field* field = dataset->findField(m_grid->m_columns[static_cast<size_t>(column)].fieldName);
    return field ? field->index() : -1;
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const GridColumn& column = m_grid->m_columns[static_cast<size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: {
        const int field = fieldIndex(index.column());
        if (field < 0) return {};
        const Dataset* dataset = m_grid->dataset();
        const QVariant value = dataset->valueAtRow(index.row(), field);
        if (column.checkBox && role == Qt::DisplayRole) return {};
        return conversion::displayText(column.checkBox ? FieldKind::Boolean : dataset->fields()[static_cast<size_t>(field)]->kind(), value);
    }
    case Qt::CheckStateRole: {
        if (!column.checkBox) return {};
        const int field = fieldIndex(index.column());
        if (field < 0) return {};
        return m_grid->dataset()->valueAtRow(index.row(), field).toLongLong() ? Qt::Checked : Qt::Unchecked;
    }
    case Qt::TextAlignmentRole: return QVariant::fromValue(column.alignment);
    case Qt::FontRole: return column.font.value_or(m_grid->font());
    case Qt::ForegroundRole: return toQColor(column.fontColour.value_or(clWindowText));
    case Qt::BackgroundRole: return toQColor(m_grid->cellBackground(index.row(), index.column()));
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= columnCount() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
            return {};
        const GridColumn& column = m_grid->m_columns[static_cast<size_t>(section)];
        if (!column.title.isEmpty()) return column.title;
        const int field = fieldIndex(section);
        return field >= 0 ? m_grid->dataset()->fields()[static_cast<size_t>(field)]->name() : column.fieldName;
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role == Qt::AccessibleTextRole) return section == m_indicatorRow ? QStringLiteral("Current record") : QString();
    if (role != Qt::DisplayRole || section != m_indicatorRow) return {};
    const Dataset* dataset = m_grid->dataset();
    if (!dataset) return {};
    if (dataset->state() == Dataset::State::Insert) return insertMarker;
    if (dataset->state() == Dataset::State::Edit) return editMarker;
    return browseMarker;
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void DatasetModel::reset() {
    beginResetModel();
    m_indicatorRow = -1;
    endResetModel();
    refreshIndicator();
}

void DatasetModel::refreshRow(int row) {
    if (row < 0 || row >= rowCount()) return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void DatasetModel::refreshIndicator() {
    const Dataset* dataset = m_grid->dataset();
    const int previous = m_indicatorRow;
    m_indicatorRow = dataset && dataset->active() ? dataset->currentRow() : -1;
    if (previous >= 0 && previous < rowCount()) emit headerDataChanged(Qt::Vertical, previous, previous);
    if (m_indicatorRow >= 0) emit headerDataChanged(Qt::Vertical, m_indicatorRow, m_indicatorRow);
}

DbGrid::DbGrid(QWidget* parent, const QString& componentName) : QTableView(parent), m_model(new DatasetModel(this)) {
    setObjectName(componentName);
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false);
    setWordWrap(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTabKeyNavigation(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setMinimumSectionSize(1);
    m_titleFont = font();
    applyHeaderStyle();
    setRowExtra(m_rowExtra);
    if (parent) parent->installEventFilter(this);
    // A new record nobody has touched is dropped when the grid loses the focus.
    FocusEvents::instance().onExit(this, [this] {
        Dataset* data = dataset();
        if (data && data->state() == Dataset::State::Insert && !data->modified()) data->cancel();
    });
}

Dataset* DbGrid::dataset() const { return m_source ? m_source->dataset() : nullptr; }

void DbGrid::setDataSource(DataSource* source) {
    if (m_source) disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (source) {
        connect(source, &DataSource::rowsChanged, this, guarded([this] {
                    m_model->reset();
                    followDataset();
                }));
        connect(source, &DataSource::currentChanged, this, guarded([this] { followDataset(); }));
        connect(source, &DataSource::stateChanged, this, guarded([this] { m_model->refreshIndicator(); }));
        connect(source, &DataSource::fieldChanged, this, guarded([this] {
                    if (const Dataset* data = dataset()) m_model->refreshRow(data->currentRow());
                }));
    }
    m_model->reset();
    followDataset();
}

void DbGrid::setColumns(std::vector<GridColumn> columns) {
    m_columns = std::move(columns);
    m_model->reset();
    fitColumns();
    followDataset();
}

TColor DbGrid::cellBackground(int row, int column) const {
    CellParams params;
    params.column = column;
    params.background = m_cellColour;
    const Dataset* data = dataset();
    params.recNo = data ? data->recNoAtRow(row) : 0;
    if (m_onGetCellParams) m_onGetCellParams(*this, params);
    return params.background;
}

void DbGrid::setFixedColour(TColor colour) {
    m_fixedColour = colour;
    applyHeaderStyle();
}

void DbGrid::setTitleFont(const QFont& font, TColor colour) {
    m_titleFont = font;
    m_titleColour = colour;
    applyHeaderStyle();
}

void DbGrid::setRowExtra(int pixels) {
    m_rowExtra = pixels;
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + pixels);
}

void DbGrid::setLines(bool horizontal, bool vertical) {
    m_horizontalLines = horizontal;
    m_verticalLines = vertical;
    viewport()->update();
}

void DbGrid::applyHeaderStyle() {
    const QString fixed = toQColor(m_fixedColour).name();
    const QString sheet = QStringLiteral("QHeaderView { background-color: %1; border: none; }"
                                         "QHeaderView::section { background-color: %1; color: %2; border: none;"
                                         " border-right: 1px solid %3; border-bottom: 1px solid %3; padding: 0px; }")
                              .arg(fixed, toQColor(m_titleColour).name(), toQColor(m_fixedColour).darker(130).name());
    horizontalHeader()->setStyleSheet(sheet);
    verticalHeader()->setStyleSheet(sheet);
    horizontalHeader()->setFont(m_titleFont);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("QTableCornerButton::section { background-color: %1; border: none; }").arg(fixed));
}

void DbGrid::followDataset() {
    const Dataset* data = dataset();
    m_model->refreshIndicator();
    if (!data || !data->active() || data->currentRow() < 0) return;
    const int row = data->currentRow();
    const int column = std::max(currentIndex().column(), 0);
    m_following = true;
    setCurrentIndex(m_model->index(row, column));
    m_following = false;
    scrollTo(m_model->index(row, column));
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    Dataset* data = dataset();
    if (m_following || !current.isValid() || !data || !data->active() || current.row() == data->currentRow()) return;
    HandlerGuard::run([&] { data->moveToRow(current.row()); });
    followDataset();
}

QModelIndex DbGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Home and End go to the first and last record, as the whole row is the selection.
    const int column = std::max(currentIndex().column(), 0);
    if (action == MoveHome) return m_model->index(0, column);
    if (action == MoveEnd) return m_model->index(m_model->rowCount() - 1, column);
    return QTableView::moveCursor(action, modifiers);
}

void DbGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && (event->modifiers() & Qt::ControlModifier)) {
        HandlerGuard::run([this] {
            Dataset* data = dataset();
            if (!data || !data->active() || data->isEmpty()) return;
            if (Dialogs::current().confirm(QStringLiteral("Delete record?"))) data->remove();
        });
        return event->accept();
    }
    // Not editable in place: typing changes nothing and Insert adds no record.
    if (event->key() == Qt::Key_Insert || (!event->text().isEmpty() && event->text().front().isPrint()))
        return event->accept();
    QTableView::keyPressEvent(event);
}

void DbGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitColumns();
}

bool DbGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) updateGeometries();
    return QTableView::eventFilter(watched, event);
}

// How much of the viewport lies below the bottom of the page the grid stands on.
int DbGrid::hiddenBelowParent() const {
    const QWidget* page = parentWidget();
    if (!page) return 0;
    const int viewportBottom = viewport()->mapTo(page, QPoint(0, viewport()->height())).y();
    return std::clamp(viewportBottom - page->height(), 0, viewport()->height());
}

// Where the grid reaches below its page, it scrolls far enough that the last rows,
// and the current row, can always be brought out of the hidden strip.
void DbGrid::updateGeometries() {
    QTableView::updateGeometries();
    const int hidden = hiddenBelowParent();
    const int visible = viewport()->height() - hidden;
    const int content = verticalHeader()->length();
    if (hidden > 0 && content > visible) verticalScrollBar()->setMaximum(content - visible);
}

void DbGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QTableView::scrollTo(index, hint);
    if (!index.isValid()) return;
    const int limit = viewport()->height() - hiddenBelowParent();
    const int bottom = visualRect(index).bottom();
    if (bottom >= limit) verticalScrollBar()->setValue(verticalScrollBar()->value() + bottom - limit + 1);
}

void DbGrid::fitColumns() {
    if (m_columns.empty()) return;
    int total = 0;
    for (const GridColumn& column : m_columns) total += column.designWidth;
    const int available = viewport()->width();
    if (total <= 0 || available <= 0) return;
    int used = 0;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const bool lastColumn = i + 1 == m_columns.size();
        const int width = lastColumn ? available - used : m_columns[i].designWidth * available / total;
        setColumnWidth(static_cast<int>(i), width);
        used += width;
    }
}

} // namespace ballvane
