#include "BookSchema.h"

namespace ballvane::book {

namespace {
FieldDef text(const char* name, int size) { return {QString::fromLatin1(name), FieldKind::Text, size}; }
FieldDef of(const char* name, FieldKind kind) { return {QString::fromLatin1(name), kind, 0}; }

QString createTable(const QString& table, const std::vector<FieldDef>& fields) {
    QStringList columns;
    for (const FieldDef& field : fields)
        columns << QStringLiteral("\"%1\" %2").arg(field.name, field.declaredType());
    return QStringLiteral("CREATE TABLE \"%1\" (%2)").arg(table, columns.join(QStringLiteral(", ")));
}
} // namespace

const std::vector<FieldDef>& drawFields() {
    static const std::vector<FieldDef> fields{
        of("DRAW#", FieldKind::Integer), text("Day", 3), of("Date", FieldKind::Date),
        text("B1", 2), text("B2", 2), text("B3", 2), text("B4", 2), text("B5", 2), text("B6", 2),
        text("BBI", 2), text("BB", 2), of("JACKPOT", FieldKind::Money), of("WINNERS", FieldKind::Integer),
        text("MACHINE", 20), text("BALLSET", 2)};
    return fields;
}

const std::vector<FieldDef>& lineFields() {
    static const std::vector<FieldDef> fields{text("Line", 10), text("B1", 2), text("B2", 2), text("B3", 2),
                                              text("B4", 2), text("B5", 2), text("B6", 2)};
    return fields;
}

QStringList createStatements() {
    return {createTable(drawTable, drawFields()),
            QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (\"Date\" ASC)").arg(ascendingIndex, drawTable),
            QStringLiteral("CREATE INDEX \"%1\" ON \"%2\" (\"Date\" DESC)").arg(descendingIndex, drawTable),
            createTable(lineTable, lineFields())};
}

} // namespace ballvane::book
