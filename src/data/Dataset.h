#pragma once

#include "Field.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ballvane {

using Record = QVector<QVariant>;

// A record-at-a-time cursor over rows kept in the order of its source, with a
// current-record buffer for editing and the classic pending-change rules:
// closing discards; moving, locating and filtering settle a pending record
// first (post it when modified, drop it when untouched); insert settles, then
// starts an empty record at the current position.
class Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(const QString& componentName, QObject* parent = nullptr);
    ~Dataset() override;

    QString name() const { return objectName(); }
    State state() const { return m_state; }
    bool active() const { return m_state != State::Inactive; }
    bool editing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool modified() const { return m_modified; }

    void setActive(bool active);
    void open();
    void close();

    void first();
    void prior();
    void next();
    void last();
    void moveBy(int distance);
    // Moves to a 0-based position of the current order (a grid row).
    void moveToPosition(int position);
    // Moves to the record shown in a grid row, settling a pending record first.
    void moveToRow(int row);
    // Moves to the first record whose field equals the value; false when none does.
    bool locate(const QString& fieldName, const QVariant& value);

    void edit();
    void insert();
    void post();
    void cancel();
    void remove();
    // Settles a pending record: posts it when modified, drops it when untouched.
    void checkBrowseMode();

    const std::vector<std::unique_ptr<Field>>& fields() const { return m_fields; }
    Field& fieldByName(const QString& name) const;
    Field* findField(const QString& name) const;

    // 1-based position of the current record in the current order; 0 for a new record.
    int recNo() const;
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool atFirst() const;
    bool atLast() const;

    // Rows as a grid sees them: the stored records plus a pending new one at its place.
    int rowCount() const;
    int currentRow() const;
    int recNoAtRow(int row) const;
    QVariant valueAtRow(int row, int fieldIndex) const;

    // The current record's stored value, or the pending value while editing.
    QVariant currentValue(int fieldIndex) const;
    void setCurrentValue(int fieldIndex, const QVariant& value);
    // Throws unless the dataset is in edit or insert mode.
    void checkWritable() const;

    // Bound controls write text typed but not yet written into the record before it
    // is saved or settled; a conversion error stops the save.
    void addRecordUpdater(QObject* owner, std::function<void()> updater);
    void updateRecord();

signals:
    void stateChanged();
    // The current record is another one, or its values were reloaded.
    void currentChanged();
    // The set or order of rows changed (open, close, post, delete, filter, insert).
    void rowsChanged();
    void fieldChanged(int fieldIndex);

protected:
    // What a concrete dataset supplies: its fields and row keys in order, each row's values, and writes.
    virtual std::vector<FieldDef> openSource() = 0;
    virtual void closeSource() {}
    virtual QVector<qint64> loadKeys() = 0;
    virtual Record loadRecord(qint64 key) const = 0;
    // The key of the first record, in order, whose field holds the value.
    virtual std::optional<qint64> findKey(int fieldIndex, const QVariant& value) const;
    virtual bool canModify() const { return true; }
    virtual qint64 writeNewRecord(const Record& values);
    virtual void writeRecord(qint64 key, const Record& values);
    virtual void eraseRecord(qint64 key);

    void checkActive() const;
    [[noreturn]] void fail(const QString& message) const;
    // Reloads the keys after the source changed; keeps the record with the given key current when it is still there.
    void reload(qint64 keepKey, int fallbackPosition);

private:
    const Record& recordForKey(qint64 key) const;
    void setState(State state);
    void moveTo(int position);
    void dropPending();

    State m_state = State::Inactive;
    std::vector<std::unique_ptr<Field>> m_fields;
    QVector<qint64> m_keys;
    int m_position = -1; // into m_keys; -1 when empty
    int m_insertRow = -1;
    Record m_buffer;
    bool m_modified = false;
    bool m_bof = true;
    bool m_eof = true;
    mutable QHash<qint64, Record> m_cache;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> m_updaters;
};

} // namespace ballvane
