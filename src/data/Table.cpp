#include "Table.h"

#include "DataError.h"
#include "Session.h"

#include <QSqlError>
#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ballvane {

namespace {
QString quoted(const QString& identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString engineText(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}
} // namespace

Table::Table(const QString& componentName, const QString& tableName, QObject* parent)
    : Dataset(componentName, parent), m_tableName(tableName) {}

Table::~Table() { close(); }

void Table::setIndexName(const QString& indexName) { m_indexName = indexName; }

std::vector<FieldDef> Table::openSource() {
    Session& session = Session::instance();
    try {
        session.activate();
    } catch (const SessionError& error) {
        fail(QStringLiteral("Cannot open table %1: %2").arg(m_tableName, error.reason()));
    }
    const QSqlDatabase db = session.database();
    const QString where = QDir::toNativeSeparators(session.bookPath());

    QSqlQuery lookup(db);
    lookup.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    lookup.addBindValue(m_tableName);
    if (!lookup.exec()) fail(engineText(lookup.lastError()));
    if (!lookup.next())
        fail(QStringLiteral("Cannot open table %1: the book %2 has no table %1").arg(m_tableName, where));
    const QString stored = lookup.value(0).toString();

    std::vector<FieldDef> defs;
    QSqlQuery columns(db);
    if (!columns.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(stored)))) fail(engineText(columns.lastError()));
    while (columns.next()) defs.push_back(FieldDef::fromDeclaredType(columns.value(1).toString(), columns.value(2).toString()));

    QStringList order;
    QString direction = QStringLiteral("ASC");
    if (!m_indexName.isEmpty()) {
        QSqlQuery index(db);
        index.prepare(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'index' AND name = ? COLLATE NOCASE AND tbl_name = ?"));
        index.addBindValue(m_indexName);
        index.addBindValue(stored);
        if (!index.exec()) fail(engineText(index.lastError()));
        if (!index.next()) fail(QStringLiteral("Index '%1' not found in table %2").arg(m_indexName, m_tableName));
        QSqlQuery keys(db);
        if (!keys.exec(QStringLiteral("PRAGMA index_xinfo(%1)").arg(quoted(index.value(0).toString()))))
            fail(engineText(keys.lastError()));
        while (keys.next()) {
            if (keys.value(5).toInt() != 1 || keys.value(2).isNull()) continue; // key columns only
            direction = keys.value(3).toInt() ? QStringLiteral("DESC") : QStringLiteral("ASC");
            order << quoted(keys.value(2).toString()) + QLatin1Char(' ') + direction;
        }
    }
    // Records equal on the index keep the order they were added in, read either way.
    order << QStringLiteral("rowid ") + direction;

    QStringList names;
    for (const FieldDef& def : defs) names << quoted(def.name);
    m_defs = defs;
    m_order = order.join(QStringLiteral(", "));
    m_columns = names.join(QStringLiteral(", "));
    m_recordQuery = QSqlQuery(db);
    m_recordQuery.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?").arg(m_columns, quoted(m_tableName)));
    return defs;
}

void Table::closeSource() {
    m_recordQuery = QSqlQuery();
}

SqlCondition Table::filterCondition() const {
    if (!m_filtered || m_filter.trimmed().isEmpty()) return {};
    const auto lookup = [this](const QString& name) -> std::optional<FieldDef> {
        for (const FieldDef& def : m_defs)
            if (def.name.compare(name, Qt::CaseInsensitive) == 0) return def;
        return std::nullopt;
    };
    try {
        return compileFilter(m_filter, m_filterOptions, lookup);
    } catch (const FilterError& error) {
        fail(error.message());
    }
}

QVector<qint64> Table::loadKeys() {
    const SqlCondition condition = filterCondition();
    QSqlQuery query(Session::instance().database());
    query.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT rowid FROM %1").arg(quoted(m_tableName));
    if (!condition.sql.isEmpty()) sql += QStringLiteral(" WHERE ") + condition.sql;
    sql += QStringLiteral(" ORDER BY ") + m_order;
    query.prepare(sql);
    for (const QVariant& value : condition.values) query.addBindValue(value);
    if (!query.exec()) fail(engineText(query.lastError()));
    QVector<qint64> keys;
    while (query.next()) keys.push_back(query.value(0).toLongLong());
    return keys;
}

Record Table::loadRecord(qint64 key) const {
    m_recordQuery.addBindValue(key);
    if (!m_recordQuery.exec()) fail(engineText(m_recordQuery.lastError()));
    Record record(static_cast<int>(m_defs.size()));
    if (m_recordQuery.next())
        for (int i = 0; i < record.size(); ++i)
            record[i] = conversion::normalised(m_defs[static_cast<size_t>(i)], m_recordQuery.value(i));
    m_recordQuery.finish();
    return record;
}

std::optional<qint64> Table::findKey(int fieldIndex, const QVariant& value) const {
    const SqlCondition condition = filterCondition();
    QString sql = QStringLiteral("SELECT rowid FROM %1 WHERE ").arg(quoted(m_tableName));
    if (!condition.sql.isEmpty()) sql += QLatin1Char('(') + condition.sql + QStringLiteral(") AND ");
    sql += quoted(m_defs[static_cast<size_t>(fieldIndex)].name) + QStringLiteral(" IS ? ORDER BY ") + m_order +
           QStringLiteral(" LIMIT 1");
    QSqlQuery query(Session::instance().database());
    query.prepare(sql);
    for (const QVariant& bound : condition.values) query.addBindValue(bound);
    query.addBindValue(value);
    if (!query.exec()) fail(engineText(query.lastError()));
    if (!query.next()) return std::nullopt;
    return query.value(0).toLongLong();
}

template <typename Write> void Table::inTransaction(Write write) {
    QSqlDatabase db = Session::instance().database();
    if (!db.transaction()) fail(engineText(db.lastError()));
    try {
        write(db);
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit()) {
        const QString failure = engineText(db.lastError());
        db.rollback();
        fail(failure);
    }
}

qint64 Table::writeNewRecord(const Record& values) {
    qint64 key = -1;
    inTransaction([&](QSqlDatabase& db) {
        QStringList marks;
        for (size_t i = 0; i < m_defs.size(); ++i) marks << QStringLiteral("?");
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                          .arg(quoted(m_tableName), m_columns, marks.join(QStringLiteral(", "))));
        for (const QVariant& value : values) query.addBindValue(value);
        if (!query.exec()) fail(engineText(query.lastError()));
        key = query.lastInsertId().toLongLong();
    });
    return key;
}

void Table::writeRecord(qint64 key, const Record& values) {
    inTransaction([&](QSqlDatabase& db) {
        QStringList assignments;
        for (const FieldDef& def : m_defs) assignments << quoted(def.name) + QStringLiteral(" = ?");
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                          .arg(quoted(m_tableName), assignments.join(QStringLiteral(", "))));
        for (const QVariant& value : values) query.addBindValue(value);
        query.addBindValue(key);
        if (!query.exec()) fail(engineText(query.lastError()));
        if (query.numRowsAffected() == 0) fail(messages::recordGone);
    });
}

void Table::eraseRecord(qint64 key) {
    inTransaction([&](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(quoted(m_tableName)));
        query.addBindValue(key);
        if (!query.exec()) fail(engineText(query.lastError()));
        if (query.numRowsAffected() == 0) fail(messages::recordGone);
    });
}

// A filter setting that cannot take effect (a text that does not parse, a pending
// record that cannot be saved) leaves the old setting in place.
template <typename Setting> void Table::changeFilter(Setting& setting, Setting value, bool switched) {
    const Setting previous = setting;
    setting = std::move(value);
    try {
        refilter(switched);
    } catch (...) {
        setting = previous;
        throw;
    }
}

void Table::setFilter(const QString& text) { changeFilter(m_filter, text); }

void Table::setFilterOptions(FilterOptions options) {
    if (options != m_filterOptions) changeFilter(m_filterOptions, options);
}

void Table::setFiltered(bool on) {
    if (on != m_filtered) changeFilter(m_filtered, on, true);
}

void Table::refilter(bool switched) {
    if (!active() || !(m_filtered || switched)) return;
    filterCondition(); // a filter that does not parse fails before anything is settled
    checkBrowseMode();
    reload(-1, 0);
}

} // namespace ballvane
