#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace ballvane {

class Dataset;

enum class FieldKind { Integer, Text, Date, Money, Boolean };

// How a column is declared in the book, read back as the kind and size the layer enforces.
struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
    int size = 0; // characters, for text fields; 0 means unlimited

    // "INTEGER", "VARCHAR(2)", "DATE", "MONEY", "BOOLEAN": the declared types of the book's columns.
    static FieldDef fromDeclaredType(const QString& name, const QString& declaredType);
    QString declaredType() const;
};

// Conversions between a field's stored value and the texts users see and type.
// Stored values: integers and money (whole pence) as qint64, dates as ISO text,
// text as QString, booleans as 0/1. An empty text is stored as null.
namespace conversion {
QString displayText(FieldKind kind, const QVariant& stored);
QString editText(FieldKind kind, const QVariant& stored);
// Throws DataError with the classic conversion text when the text does not convert.
QVariant fromEditText(const FieldDef& def, const QString& text);
QVariant normalised(const FieldDef& def, const QVariant& raw);
} // namespace conversion

// One field of a dataset's current record.
class Field {
public:
    Field(Dataset* dataset, int index, FieldDef def);

    const QString& name() const { return m_def.name; }
    FieldKind kind() const { return m_def.kind; }
    int size() const { return m_def.size; }
    int index() const { return m_index; }
    const FieldDef& def() const { return m_def; }
    Dataset* dataset() const { return m_dataset; }

    QVariant value() const;
    bool isNull() const;
    QString displayText() const;
    QString editText() const;
    QString asString() const { return editText(); }
    QDate asDate() const;
    qint64 asInteger() const;

    // Writing needs the dataset in edit or insert mode.
    void setValue(const QVariant& stored);
    void setEditText(const QString& text);
    void setAsString(const QString& text) { setEditText(text); }
    void clear() { setValue(QVariant()); }

private:
    Dataset* m_dataset;
    int m_index;
    FieldDef m_def;
};

} // namespace ballvane
