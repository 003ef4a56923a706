#include "data/DataError.h"
#include "data/Field.h"
#include "data/Formats.h"

#include <QLocale>
#include <QTest>

using namespace ballvane;

Q_DECLARE_METATYPE(ballvane::FieldKind)

class TestField : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        formats::setCurrencySymbol(QStringLiteral("\u00A3"));
    }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void declaredTypesGiveKindAndSize_data();
    void declaredTypesGiveKindAndSize();
    void editTextConvertsToStoredValue_data();
    void editTextConvertsToStoredValue();
    void badTextFailsWithTheClassicMessage_data();
    void badTextFailsWithTheClassicMessage();
    void shortDateFormatFollowsTheLocale_data();
    void shortDateFormatFollowsTheLocale();
};

void TestField::declaredTypesGiveKindAndSize_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<FieldKind>("kind");
    QTest::addColumn<int>("size");
    QTest::newRow("integer") << "INTEGER" << FieldKind::Integer << 0;
    QTest::newRow("sized text") << "VARCHAR(20)" << FieldKind::Text << 20;
    QTest::newRow("sized text, spaced") << "varchar ( 2 )" << FieldKind::Text << 2;
    QTest::newRow("date") << "DATE" << FieldKind::Date << 0;
    QTest::newRow("money") << "MONEY" << FieldKind::Money << 0;
    QTest::newRow("plain text") << "TEXT" << FieldKind::Text << 0;
    QTest::newRow("no type") << "" << FieldKind::Text << 0;
}

void TestField::declaredTypesGiveKindAndSize() {
    QFETCH(QString, declared);
    QFETCH(FieldKind, kind);
    QFETCH(int, size);
    const FieldDef def = FieldDef::fromDeclaredType(QStringLiteral("F"), declared);
    QCOMPARE(def.kind, kind);
    QCOMPARE(def.size, size);
    if (!declared.isEmpty()) QCOMPARE(FieldDef::fromDeclaredType(QStringLiteral("F"), def.declaredType()).size, size);
}

void TestField::editTextConvertsToStoredValue_data() {
    QTest::addColumn<FieldKind>("kind");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");
    QTest::newRow("integer") << FieldKind::Integer << 0 << "2066" << QVariant(qint64(2066)) << "2066" << "2066";
    QTest::newRow("empty integer is null") << FieldKind::Integer << 0 << "" << QVariant() << "" << "";
    QTest::newRow("text cut to its size") << FieldKind::Text << 2 << "077" << QVariant(QStringLiteral("07")) << "07" << "07";
    QTest::newRow("empty text is null") << FieldKind::Text << 2 << "" << QVariant() << "" << "";
    QTest::newRow("date, short format") << FieldKind::Date << 0 << "07/10/2015" << QVariant(QStringLiteral("2015-10-07"))
                                        << "07/10/2015" << "07/10/2015";
    QTest::newRow("date, ISO") << FieldKind::Date << 0 << "1994-11-19" << QVariant(QStringLiteral("1994-11-19"))
                               << "19/11/1994" << "19/11/1994";
    QTest::newRow("money, whole pounds") << FieldKind::Money << 0 << "839254" << QVariant(qint64(83925400))
                                         << "\u00A3839,254.00" << "839254";
    QTest::newRow("money, pence") << FieldKind::Money << 0 << "12.5" << QVariant(qint64(1250)) << "\u00A312.50" << "12.50";
}

void TestField::editTextConvertsToStoredValue() {
    QFETCH(FieldKind, kind);
    QFETCH(int, size);
    QFETCH(QString, typed);
    QFETCH(QVariant, stored);
    QFETCH(QString, display);
    QFETCH(QString, edit);
    const FieldDef def{QStringLiteral("F"), kind, size};
    const QVariant value = conversion::fromEditText(def, typed);
    QCOMPARE(value, stored);
    QCOMPARE(conversion::displayText(kind, value), display);
    QCOMPARE(conversion::editText(kind, value), edit);
}

void TestField::badTextFailsWithTheClassicMessage_data() {
    QTest::addColumn<FieldKind>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("letters for a number") << FieldKind::Integer << "abc" << "'abc' is not a valid integer value";
    QTest::newRow("number with a point") << FieldKind::Integer << "1.5" << "'1.5' is not a valid integer value";
    QTest::newRow("no such day") << FieldKind::Date << "31/02/2015" << "'31/02/2015' is not a valid date";
    QTest::newRow("half a date") << FieldKind::Date << "07/10" << "'07/10' is not a valid date";
    QTest::newRow("words for money") << FieldKind::Money << "lots" << "'lots' is not a valid floating point value";
}

void TestField::badTextFailsWithTheClassicMessage() {
    QFETCH(FieldKind, kind);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    try {
        conversion::fromEditText(FieldDef{QStringLiteral("F"), kind, 0}, typed);
        QFAIL("no error");
    } catch (const DataError& error) {
        QCOMPARE(error.message(), message);
    }
}

void TestField::shortDateFormatFollowsTheLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("format");
    QTest::newRow("United Kingdom") << QLocale(QLocale::English, QLocale::UnitedKingdom) << "dd/MM/yyyy";
    QTest::newRow("Germany") << QLocale(QLocale::German, QLocale::Germany) << QLocale(QLocale::German).dateFormat(QLocale::ShortFormat);
    // The bare C locale's "d MMM yyyy" does not fit a draw date: ISO instead.
    QTest::newRow("C locale") << QLocale::c() << "yyyy-MM-dd";
}

void TestField::shortDateFormatFollowsTheLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, format);
    QLocale::setDefault(locale);
    QCOMPARE(formats::shortDateFormat(), format);
    const QVariant stored = conversion::fromEditText(FieldDef{QStringLiteral("D"), FieldKind::Date, 0},
                                                     QDate(2015, 10, 7).toString(format));
    QCOMPARE(stored, QVariant(QStringLiteral("2015-10-07")));
}

QTEST_GUILESS_MAIN(TestField)
#include "test_field.moc"
