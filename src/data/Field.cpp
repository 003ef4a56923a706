#include "Field.h"

#include "DataError.h"
#include "Dataset.h"
#include "Formats.h"

#include <QLocale>
#include <QRegularExpression>

namespace ballvane {

namespace {
const QString isoDate = QStringLiteral("yyyy-MM-dd");

QDate storedDate(const QVariant& stored) {
    return QDate::fromString(stored.toString(), isoDate);
}

// A two-digit year means the year within fifty years of this one, either way.
QDate withinCenturyWindow(const QDate& date) {
    const int thisYear = QDate::currentDate().year();
    int year = thisYear - 50 + ((date.year() % 100) - (thisYear - 50) % 100 + 100) % 100;
    return QDate(year, date.month(), date.day());
}

QString plainPounds(qint64 pence) {
    if (pence % 100 == 0) return QString::number(pence / 100);
    return QLocale::c().toString(static_cast<double>(pence) / 100.0, 'f', 2);
}
} // namespace

FieldDef FieldDef::fromDeclaredType(const QString& name, const QString& declaredType) {
    static const QRegularExpression sized(QStringLiteral(R"(^\s*(\w+)\s*(?:\(\s*(\d+)\s*\))?\s*$)"));
    FieldDef def{name, FieldKind::Text, 0};
    const auto match = sized.match(declaredType);
    const QString base = match.hasMatch() ? match.captured(1).toUpper() : declaredType.toUpper();
    if (base == u"INTEGER" || base == u"INT" || base == u"BIGINT" || base == u"SMALLINT")
        def.kind = FieldKind::Integer;
    else if (base == u"DATE")
        def.kind = FieldKind::Date;
    else if (base == u"MONEY" || base == u"CURRENCY")
        def.kind = FieldKind::Money;
    else if (base == u"BOOLEAN" || base == u"BOOL")
        def.kind = FieldKind::Boolean;
    else if (match.hasMatch() && !match.captured(2).isEmpty())
        def.size = match.captured(2).toInt();
    return def;
}

QString FieldDef::declaredType() const {
    switch (kind) {
    case FieldKind::Integer: return QStringLiteral("INTEGER");
    case FieldKind::Date: return QStringLiteral("DATE");
    case FieldKind::Money: return QStringLiteral("MONEY");
    case FieldKind::Boolean: return QStringLiteral("BOOLEAN");
    case FieldKind::Text: break;
    }
    return size > 0 ? QStringLiteral("VARCHAR(%1)").arg(size) : QStringLiteral("TEXT");
}

namespace conversion {

QVariant normalised(const FieldDef& def, const QVariant& raw) {
    if (raw.isNull() || (raw.userType() == QMetaType::QString && raw.toString().isEmpty())) return {};
    switch (def.kind) {
    case FieldKind::Integer:
    case FieldKind::Money:
    case FieldKind::Boolean: return QVariant(raw.toLongLong());
    case FieldKind::Date:
        if (raw.userType() == QMetaType::QDate) return QVariant(raw.toDate().toString(isoDate));
        return QVariant(raw.toString());
    case FieldKind::Text: {
        const QString text = raw.toString();
        return QVariant(def.size > 0 ? text.left(def.size) : text);
    }
    }
    return raw;
}

QString displayText(FieldKind kind, const QVariant& stored) {
    if (stored.isNull()) return {};
    switch (kind) {
    case FieldKind::Date: {
        const QDate date = storedDate(stored);
        return date.isValid() ? QLocale().toString(date, formats::shortDateFormat()) : stored.toString();
    }
    case FieldKind::Money: return formats::currencyText(stored.toLongLong());
    case FieldKind::Boolean: return stored.toLongLong() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldKind::Integer: return QString::number(stored.toLongLong());
    case FieldKind::Text: return stored.toString();
    }
    return stored.toString();
}

QString editText(FieldKind kind, const QVariant& stored) {
    if (stored.isNull()) return {};
    if (kind == FieldKind::Money) return plainPounds(stored.toLongLong());
    return displayText(kind, stored);
}

QVariant fromEditText(const FieldDef& def, const QString& text) {
    const QString trimmed = text.trimmed();
    switch (def.kind) {
    case FieldKind::Text: {
        if (text.isEmpty()) return {};
        return QVariant(def.size > 0 ? text.left(def.size) : text);
    }
    case FieldKind::Integer: {
        if (trimmed.isEmpty()) return {};
        bool ok = false;
        const qint64 value = trimmed.toLongLong(&ok);
        if (!ok) throw DataError(messages::invalidInteger.arg(text));
        return QVariant(value);
    }
    case FieldKind::Date: {
        if (trimmed.isEmpty()) return {};
        const QString format = formats::shortDateFormat();
        QDate date = QLocale().toDate(trimmed, format);
        if (date.isValid() && !format.contains(QStringLiteral("yyyy"))) date = withinCenturyWindow(date);
        if (!date.isValid()) date = QDate::fromString(trimmed, isoDate);
        if (!date.isValid()) throw DataError(messages::invalidDate.arg(text));
        return QVariant(date.toString(isoDate));
    }
    case FieldKind::Money: {
        if (trimmed.isEmpty()) return {};
        QString plain = trimmed;
        plain.remove(formats::currencySymbol());
        plain.remove(QLocale().groupSeparator());
        bool ok = false;
        double pounds = QLocale().toDouble(plain.trimmed(), &ok);
        if (!ok) pounds = QLocale::c().toDouble(plain.trimmed(), &ok);
        if (!ok) throw DataError(messages::invalidFloat.arg(text));
        return QVariant(qRound64(pounds * 100.0));
    }
    case FieldKind::Boolean: {
        if (trimmed.isEmpty()) return {};
        const QString upper = trimmed.toUpper();
        if (upper == u"TRUE" || upper == u"1") return QVariant(qint64(1));
        if (upper == u"FALSE" || upper == u"0") return QVariant(qint64(0));
        throw DataError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    }
    }
    return {};
}

} // namespace conversion

Field::Field(Dataset* dataset, int index, FieldDef def) : m_dataset(dataset), m_index(index), m_def(std::move(def)) {}

QVariant Field::value() const { return m_dataset->currentValue(m_index); }
bool Field::isNull() const { return value().isNull(); }
QString Field::displayText() const { return conversion::displayText(m_def.kind, value()); }
QString Field::editText() const { return conversion::editText(m_def.kind, value()); }

QDate Field::asDate() const {
    const QVariant stored = value();
    if (m_def.kind == FieldKind::Date) return storedDate(stored);
    return QDate::fromString(stored.toString(), isoDate);
}

qint64 Field::asInteger() const {
    const QVariant stored = value();
    if (stored.isNull()) return 0;
    if (m_def.kind == FieldKind::Integer || m_def.kind == FieldKind::Money || m_def.kind == FieldKind::Boolean)
        return stored.toLongLong();
    bool ok = false;
    const qint64 number = stored.toString().trimmed().toLongLong(&ok);
    if (!ok) throw DataError(messages::invalidInteger.arg(stored.toString()));
    return number;
}

void Field::setValue(const QVariant& stored) {
    m_dataset->setCurrentValue(m_index, conversion::normalised(m_def, stored));
}

void Field::setEditText(const QString& text) {
    m_dataset->checkWritable();
    setValue(conversion::fromEditText(m_def, text));
}

} // namespace ballvane
