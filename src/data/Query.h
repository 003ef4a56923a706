#pragma once

#include "Dataset.h"

#include <QStringList>

namespace ballvane {

// A read-only dataset over one SQL statement, held as lines joined with line
// breaks when it runs. Every row of the result is kept; there is no row limit.
class Query : public Dataset {
    Q_OBJECT
public:
    explicit Query(const QString& componentName, QObject* parent = nullptr);
    ~Query() override;

    QStringList sql() const { return m_sql; }
    // Replacing the statement closes the query.
    void setSql(const QStringList& lines);
    void clearSql();
    void addSqlLine(const QString& line);

protected:
    std::vector<FieldDef> openSource() override;
    void closeSource() override;
    QVector<qint64> loadKeys() override;
    Record loadRecord(qint64 key) const override;
    bool canModify() const override { return false; }

private:
    QStringList m_sql;
    std::vector<Record> m_rows;
};

} // namespace ballvane
