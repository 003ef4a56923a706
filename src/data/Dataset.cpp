#include "Dataset.h"

#include "DataError.h"
#include "Session.h"

namespace ballvane {

namespace {
// Rows kept in memory for display; a grid only ever shows a page of them.
constexpr int recordCacheLimit = 4096;
} // namespace

Dataset::Dataset(const QString& componentName, QObject* parent) : QObject(parent) {
    setObjectName(componentName);
}

Dataset::~Dataset() { Session::instance().detach(this); }

void Dataset::fail(const QString& message) const { throw DataError(name(), message); }

void Dataset::checkActive() const {
    if (!active()) fail(messages::closedDataset);
}

void Dataset::checkWritable() const {
    if (!editing()) fail(messages::notEditing);
}

void Dataset::setActive(bool on) { on ? open() : close(); }

void Dataset::open() {
    if (active()) return;
    const std::vector<FieldDef> defs = openSource();
    QVector<qint64> keys;
    try {
        keys = loadKeys();
    } catch (...) {
        closeSource();
        throw;
    }
    m_fields.clear();
    for (int i = 0; i < static_cast<int>(defs.size()); ++i)
        m_fields.push_back(std::make_unique<Field>(this, i, defs[static_cast<size_t>(i)]));
    m_keys = keys;
    m_cache.clear();
    m_position = m_keys.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_keys.isEmpty();
    m_modified = false;
    m_insertRow = -1;
    Session::instance().attach(this);
    setState(State::Browse);
    emit rowsChanged();
    emit currentChanged();
}

void Dataset::close() {
    if (!active()) return;
    m_buffer.clear();
    m_modified = false;
    m_insertRow = -1;
    m_keys.clear();
    m_cache.clear();
    m_position = -1;
    closeSource();
    Session::instance().detach(this);
    setState(State::Inactive);
    emit rowsChanged();
    emit currentChanged();
}

void Dataset::setState(State state) {
    if (m_state == state) return;
    m_state = state;
    emit stateChanged();
}

void Dataset::checkBrowseMode() {
    checkActive();
    if (!editing()) return;
    updateRecord();
    if (m_modified)
        post();
    else
        cancel();
}

void Dataset::moveTo(int position) {
    checkBrowseMode();
    const int count = static_cast<int>(m_keys.size());
    m_bof = position < 0 || count == 0;
    m_eof = position >= count || count == 0;
    if (count == 0) return;
    const int target = std::clamp(position, 0, count - 1);
    if (target == m_position) return;
    m_position = target;
    emit currentChanged();
}

void Dataset::first() {
    moveTo(0);
    m_bof = true;
}

void Dataset::last() {
    checkActive();
    moveTo(static_cast<int>(m_keys.size()) - 1);
    m_eof = true;
}

void Dataset::prior() { moveBy(-1); }
void Dataset::next() { moveBy(1); }

void Dataset::moveBy(int distance) {
    checkActive();
    checkBrowseMode();
    moveTo(m_position + distance);
}

void Dataset::moveToPosition(int position) {
    checkActive();
    moveTo(position);
}

void Dataset::moveToRow(int row) {
    checkActive();
    if (row == currentRow()) return;
    const int position = m_state == State::Insert && row > m_insertRow ? row - 1 : row;
    if (position < 0 || position >= m_keys.size()) return;
    const qint64 key = m_keys[position];
    checkBrowseMode();
    // Settling may have saved a record and shifted the rows; the chosen one is found by its key.
    const int now = static_cast<int>(m_keys.indexOf(key));
    moveTo(now >= 0 ? now : position);
}

bool Dataset::locate(const QString& fieldName, const QVariant& value) {
    checkActive();
    checkBrowseMode();
    const Field& field = fieldByName(fieldName);
    const std::optional<qint64> key = findKey(field.index(), conversion::normalised(field.def(), value));
    const int position = key ? static_cast<int>(m_keys.indexOf(*key)) : -1;
    if (position < 0) return false;
    moveTo(position);
    return true;
}

std::optional<qint64> Dataset::findKey(int fieldIndex, const QVariant& value) const {
    for (qint64 key : m_keys)
        if (recordForKey(key).value(fieldIndex) == value) return key;
    return std::nullopt;
}

void Dataset::edit() {
    checkActive();
    if (editing()) return;
    if (!canModify()) fail(messages::readOnly);
    if (m_keys.isEmpty()) {
        insert();
        return;
    }
    m_buffer = recordForKey(m_keys[m_position]);
    m_modified = false;
    setState(State::Edit);
}

void Dataset::insert() {
    checkActive();
    if (!canModify()) fail(messages::readOnly);
    checkBrowseMode();
    m_insertRow = std::max(m_position, 0);
    m_buffer = Record(static_cast<int>(m_fields.size()));
    m_modified = false;
    setState(State::Insert);
    emit rowsChanged();
    emit currentChanged();
}

void Dataset::post() {
    checkActive();
    updateRecord();
    checkWritable();
    if (m_state == State::Insert) {
        const qint64 key = writeNewRecord(m_buffer);
        const int fallback = m_insertRow;
        dropPending();
        reload(key, fallback);
    } else {
        const qint64 key = m_keys[m_position];
        writeRecord(key, m_buffer);
        dropPending();
        m_cache.remove(key);
        reload(key, m_position);
    }
}

void Dataset::cancel() {
    checkActive();
    if (!editing()) return;
    const bool wasInsert = m_state == State::Insert;
    dropPending();
    if (wasInsert) emit rowsChanged();
    emit currentChanged();
}

void Dataset::dropPending() {
    m_buffer.clear();
    m_modified = false;
    m_insertRow = -1;
    setState(State::Browse);
}

void Dataset::remove() {
    checkActive();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_keys.isEmpty()) fail(messages::emptyDataset);
    const qint64 key = m_keys[m_position];
    eraseRecord(key);
    if (m_state == State::Edit) dropPending();
    m_cache.remove(key);
    m_keys.removeAt(m_position);
    if (m_position >= m_keys.size()) m_position = static_cast<int>(m_keys.size()) - 1;
    m_eof = m_keys.isEmpty();
    m_bof = m_keys.isEmpty();
    emit rowsChanged();
    emit currentChanged();
}

void Dataset::reload(qint64 keepKey, int fallbackPosition) {
    m_keys = loadKeys();
    m_cache.clear();
    const int found = static_cast<int>(m_keys.indexOf(keepKey));
    const int count = static_cast<int>(m_keys.size());
    m_position = found >= 0 ? found : (count == 0 ? -1 : std::clamp(fallbackPosition, 0, count - 1));
    m_bof = m_eof = false;
    emit rowsChanged();
    emit currentChanged();
}

Field* Dataset::findField(const QString& fieldName) const {
    for (const auto& field : m_fields)
        if (field->name().compare(fieldName, Qt::CaseInsensitive) == 0) return field.get();
    return nullptr;
}

Field& Dataset::fieldByName(const QString& fieldName) const {
    Field* field = findField(fieldName);
    if (!field) fail(messages::fieldNotFound.arg(fieldName));
    return *field;
}

int Dataset::recNo() const {
    if (m_state == State::Insert || m_position < 0) return 0;
    return m_position + 1;
}

int Dataset::recordCount() const { return static_cast<int>(m_keys.size()); }

bool Dataset::atFirst() const { return m_state != State::Insert && m_position <= 0; }

bool Dataset::atLast() const {
    return m_state != State::Insert && m_position >= static_cast<int>(m_keys.size()) - 1;
}

int Dataset::rowCount() const { return static_cast<int>(m_keys.size()) + (m_state == State::Insert ? 1 : 0); }

int Dataset::currentRow() const { return m_state == State::Insert ? m_insertRow : m_position; }

int Dataset::recNoAtRow(int row) const {
    if (m_state == State::Insert) {
        if (row == m_insertRow) return 0;
        if (row > m_insertRow) return row;
    }
    return row + 1;
}

QVariant Dataset::valueAtRow(int row, int fieldIndex) const {
    if (row == currentRow() && editing()) return m_buffer.value(fieldIndex);
    int position = row;
    if (m_state == State::Insert && row > m_insertRow) --position;
    if (position < 0 || position >= m_keys.size()) return {};
    return recordForKey(m_keys[position]).value(fieldIndex);
}

QVariant Dataset::currentValue(int fieldIndex) const {
    if (editing()) return m_buffer.value(fieldIndex);
    if (m_position < 0) return {};
    return recordForKey(m_keys[m_position]).value(fieldIndex);
}

void Dataset::setCurrentValue(int fieldIndex, const QVariant& value) {
    checkWritable();
    m_buffer[fieldIndex] = value;
    m_modified = true;
    emit fieldChanged(fieldIndex);
}

const Record& Dataset::recordForKey(qint64 key) const {
    auto found = m_cache.constFind(key);
    if (found != m_cache.constEnd()) return *found;
    if (m_cache.size() >= recordCacheLimit) m_cache.clear();
    return *m_cache.insert(key, loadRecord(key));
}

void Dataset::addRecordUpdater(QObject* owner, std::function<void()> updater) {
    m_updaters.emplace_back(owner, std::move(updater));
}

void Dataset::updateRecord() {
    std::erase_if(m_updaters, [](const auto& updater) { return updater.first.isNull(); });
    const auto updaters = m_updaters;
    for (const auto& updater : updaters)
        if (updater.first) updater.second();
}

qint64 Dataset::writeNewRecord(const Record&) { fail(messages::readOnly); }
void Dataset::writeRecord(qint64, const Record&) { fail(messages::readOnly); }
void Dataset::eraseRecord(qint64) { fail(messages::readOnly); }

} // namespace ballvane
