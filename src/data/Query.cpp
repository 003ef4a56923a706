#include "Query.h"

#include "DataError.h"
#include "Session.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <sqlite3.h>

namespace ballvane {

namespace {
// The declared type of a result column that comes straight from a table column
// ("DATE", "VARCHAR(2)"), so dates and money show as they do in the table.
QString declaredType(const QSqlQuery& query, int column) {
    const QVariant handle = query.result()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) return {};
    sqlite3_stmt* statement = *static_cast<sqlite3_stmt* const*>(handle.constData());
    if (!statement) return {};
    const char* type = sqlite3_column_decltype(statement, column);
    return type ? QString::fromUtf8(type) : QString();
}
} // namespace

Query::Query(const QString& componentName, QObject* parent) : Dataset(componentName, parent) {}

Query::~Query() { close(); }

void Query::setSql(const QStringList& lines) {
    close();
    m_sql = lines;
}

void Query::clearSql() { setSql({}); }

void Query::addSqlLine(const QString& line) {
    close();
    m_sql << line;
}

std::vector<FieldDef> Query::openSource() {
    Session& session = Session::instance();
    try {
        session.activate();
    } catch (const SessionError& error) {
        fail(QStringLiteral("Cannot open query: %1").arg(error.reason()));
    }
    QSqlQuery query(session.database());
    query.setForwardOnly(true);
    if (!query.exec(m_sql.join(QLatin1Char('\n')))) {
        const QSqlError error = query.lastError();
        fail(error.databaseText().isEmpty() ? error.text() : error.databaseText());
    }
    const QSqlRecord columns = query.record();
    std::vector<FieldDef> defs;
    std::vector<bool> computed;
    for (int i = 0; i < columns.count(); ++i) {
        const QString type = declaredType(query, i);
        defs.push_back(FieldDef::fromDeclaredType(columns.fieldName(i), type));
        computed.push_back(type.isEmpty());
    }
    m_rows.clear();
    while (query.next()) {
        Record row(static_cast<int>(defs.size()));
        for (int i = 0; i < row.size(); ++i) row[i] = query.value(i);
        m_rows.push_back(std::move(row));
    }
    // A computed column has no declared type: it is a whole number when its values are.
    for (size_t i = 0; i < defs.size(); ++i)
        if (computed[i] && !m_rows.empty() && m_rows.front()[static_cast<int>(i)].userType() == QMetaType::LongLong)
            defs[i].kind = FieldKind::Integer;
    for (Record& row : m_rows)
        for (int i = 0; i < row.size(); ++i) row[i] = conversion::normalised(defs[static_cast<size_t>(i)], row[i]);
    return defs;
}

void Query::closeSource() {
    m_rows.clear();
}

QVector<qint64> Query::loadKeys() {
    QVector<qint64> keys(static_cast<qsizetype>(m_rows.size()));
    for (qsizetype i = 0; i < keys.size(); ++i) keys[i] = i;
    return keys;
}

Record Query::loadRecord(qint64 key) const {
    if (key < 0 || key >= static_cast<qint64>(m_rows.size())) return {};
    return m_rows[static_cast<size_t>(key)];
}

} // namespace ballvane
