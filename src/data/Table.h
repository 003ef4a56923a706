#pragma once

#include "Dataset.h"
#include "FilterExpression.h"

#include <QSqlQuery>

namespace ballvane {

// A dataset over one table of the book, in the order of a named index of the book
// (or the table's own order without one), optionally filtered.
class Table : public Dataset {
    Q_OBJECT
public:
    Table(const QString& componentName, const QString& tableName, QObject* parent = nullptr);
    ~Table() override;

    QString tableName() const { return m_tableName; }

    QString indexName() const { return m_indexName; }
    // Takes effect the next time the table opens; the order buttons close and reopen it.
    void setIndexName(const QString& indexName);

    QString filter() const { return m_filter; }
    FilterOptions filterOptions() const { return m_filterOptions; }
    bool filtered() const { return m_filtered; }
    // Changing the filter while it applies settles a pending record and moves to the first record.
    void setFilter(const QString& text);
    void setFilterOptions(FilterOptions options);
    void setFiltered(bool on);

protected:
    std::vector<FieldDef> openSource() override;
    void closeSource() override;
    QVector<qint64> loadKeys() override;
    Record loadRecord(qint64 key) const override;
    qint64 writeNewRecord(const Record& values) override;
    void writeRecord(qint64 key, const Record& values) override;
    void eraseRecord(qint64 key) override;
    std::optional<qint64> findKey(int fieldIndex, const QVariant& value) const override;

private:
    QString orderClause() const;
    SqlCondition filterCondition() const;
    void refilter(bool switched = false);
    template <typename Setting> void changeFilter(Setting& setting, Setting value, bool switched = false);
    template <typename Write> void inTransaction(Write write);

    QString m_tableName;
    QString m_indexName;
    QString m_filter;
    FilterOptions m_filterOptions;
    bool m_filtered = false;
    std::vector<FieldDef> m_defs;
    QString m_order;
    QString m_columns;
    mutable QSqlQuery m_recordQuery;
};

} // namespace ballvane
