#include "entry/BallRules.h"

#include <QLocale>
#include <QTest>
#include <map>

using namespace ballvane;

namespace {
// The band names the rules speak of; "unchanged" is the edit keeping its colour.
std::optional<TColor> band(const QString& name) {
    static const std::map<QString, TColor> bands{{QStringLiteral("white"), 0xFFFFFF},
                                                 {QStringLiteral("sky blue"), 0xF0CAA6},
                                                 {QStringLiteral("pink"), 0xB366FF},
                                                 {QStringLiteral("money green"), 0xC0DCC0},
                                                 {QStringLiteral("yellow"), 0x00FFFF}};
    const auto found = bands.find(name);
    if (found == bands.end()) return std::nullopt;
    return found->second;
}

QString weekday(const QDate& date) { return QLocale::c().dayName(date.dayOfWeek(), QLocale::ShortFormat); }
} // namespace

class TestEntryRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void digitOnlyKeyPassesDigitsBackspaceAndEnter_data();
    void digitOnlyKeyPassesDigitsBackspaceAndEnter();
    void ballBandColourComparesTextOrdinally_data();
    void ballBandColourComparesTextOrdinally();
    void sharesColourIsRedOnlyForZero_data();
    void sharesColourIsRedOnlyForZero();
    void ballExitActionFollowsTheLength_data();
    void ballExitActionFollowsTheLength();
    void nextDrawFollowsTheDayText_data();
    void nextDrawFollowsTheDayText();
    void nextDrawStepsEveryDateOfTheHistory();
    void newDrawDateTextIsCutToTenCharacters_data();
    void newDrawDateTextIsCutToTenCharacters();
};

void TestEntryRules::digitOnlyKeyPassesDigitsBackspaceAndEnter_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("passes");
    QTest::newRow("backspace") << 8 << true;
    QTest::newRow("enter") << 13 << true;
    for (char digit = '0'; digit <= '9'; ++digit) QTest::addRow("digit %c", digit) << int(digit) << true;
    QTest::newRow("just below 0") << int('/') << false;
    QTest::newRow("just above 9") << int(':') << false;
    QTest::newRow("small letter") << int('a') << false;
    QTest::newRow("capital letter") << int('Z') << false;
    QTest::newRow("minus") << int('-') << false;
    QTest::newRow("full stop") << int('.') << false;
    QTest::newRow("space") << int(' ') << false;
    QTest::newRow("escape") << 27 << false;
    QTest::newRow("ctrl+v") << 22 << false;
    QTest::newRow("ctrl+c") << 3 << false;
    QTest::newRow("ctrl+x") << 24 << false;
    QTest::newRow("tab") << 9 << false;
    QTest::newRow("arabic-indic zero") << 0x0660 << false;
    QTest::newRow("fullwidth one") << 0xFF11 << false;
}

void TestEntryRules::digitOnlyKeyPassesDigitsBackspaceAndEnter() {
    QFETCH(int, code);
    QFETCH(bool, passes);
    const QChar key(static_cast<char16_t>(code));
    QCOMPARE(digitOnlyKey(key), passes ? key : QChar());
}

void TestEntryRules::ballBandColourComparesTextOrdinally_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("band");
    const std::pair<const char*, const char*> rows[] = {
        {"", "white"},         {"0", "white"},          {"00", "white"},        {"09", "white"},
        {"1", "sky blue"},     {"10", "sky blue"},      {"19", "sky blue"},     {"090", "sky blue"},
        {"2", "pink"},         {"20", "pink"},          {"29", "pink"},         {"3", "money green"},
        {"30", "money green"}, {"39", "money green"},   {"4", "yellow"},        {"40", "yellow"},
        {"49", "yellow"},      {"5", "unchanged"},      {"50", "unchanged"},    {"77", "unchanged"},
        {"9", "unchanged"},    {"a", "unchanged"},
    };
    for (const auto& [text, name] : rows) QTest::addRow("\"%s\"", text) << QString::fromLatin1(text) << name;
}

void TestEntryRules::ballBandColourComparesTextOrdinally() {
    QFETCH(QString, text);
    QFETCH(QString, band);
    QCOMPARE(ballBandColour(text), ::band(band));
}

void TestEntryRules::sharesColourIsRedOnlyForZero_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("colour");
    QTest::newRow("0") << "0" << uint(0x0000FF);
    QTest::newRow("1") << "1" << uint(0x008000);
    QTest::newRow("00") << "00" << uint(0x008000);
    QTest::newRow("10") << "10" << uint(0x008000);
    QTest::newRow("empty") << "" << uint(0x008000);
}

void TestEntryRules::sharesColourIsRedOnlyForZero() {
    QFETCH(QString, text);
    QFETCH(uint, colour);
    QCOMPARE(sharesColour(text), colour);
}

void TestEntryRules::ballExitActionFollowsTheLength_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("action");
    QTest::newRow("empty") << "" << int(BallExit::SelfDestruct);
    QTest::newRow("7") << "7" << int(BallExit::PadWithZero);
    QTest::newRow("0") << "0" << int(BallExit::PadWithZero);
    QTest::newRow("07") << "07" << int(BallExit::Keep);
    QTest::newRow("49") << "49" << int(BallExit::Keep);
    QTest::newRow("three characters") << "123" << int(BallExit::Keep);
}

void TestEntryRules::ballExitActionFollowsTheLength() {
    QFETCH(QString, text);
    QFETCH(int, action);
    QCOMPARE(int(ballExitAction(text)), action);
}

void TestEntryRules::nextDrawFollowsTheDayText_data() {
    QTest::addColumn<QString>("lastDay");
    QTest::addColumn<QDate>("lastDate");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QDate>("date");
    QTest::newRow("Wed to Sat over the year end") << "Wed" << QDate(2010, 12, 29) << "Sat" << QDate(2011, 1, 1);
    QTest::newRow("Sat to Wed after new year") << "Sat" << QDate(2011, 1, 1) << "Wed" << QDate(2011, 1, 5);
    QTest::newRow("Sat to Wed over a month end") << "Sat" << QDate(2011, 2, 26) << "Wed" << QDate(2011, 3, 2);
    QTest::newRow("Wed to Sat over a leap day") << "Wed" << QDate(2012, 2, 29) << "Sat" << QDate(2012, 3, 3);
    QTest::newRow("the day text rules, not the date") << "Wed" << QDate(2011, 1, 1) << "Sat" << QDate(2011, 1, 4);
    // The four draws of the history held on other days.
    QTest::newRow("#178 Sun") << "Sun" << QDate(1997, 9, 7) << "Wed" << QDate(1997, 9, 10);
    QTest::newRow("#418 Fri") << "Fri" << QDate(1999, 12, 24) << "Sat" << QDate(1999, 12, 25);
    QTest::newRow("#731 Tue") << "Tue" << QDate(2002, 12, 24) << "Wed" << QDate(2002, 12, 25);
    QTest::newRow("#940 Fri") << "Fri" << QDate(2004, 12, 24) << "Sat" << QDate(2004, 12, 25);
    // Day texts are compared exactly: anything else goes by the calendar.
    QTest::newRow("wed in small letters") << "wed" << QDate(2011, 1, 1) << "Wed" << QDate(2011, 1, 5);
    QTest::newRow("sat in small letters") << "sat" << QDate(2010, 12, 29) << "Sat" << QDate(2011, 1, 1);
    QTest::newRow("empty day") << "" << QDate(2010, 12, 30) << "Sat" << QDate(2011, 1, 1);
    QTest::newRow("strictly after the date") << "Thu" << QDate(2010, 12, 29) << "Sat" << QDate(2011, 1, 1);
    QTest::newRow("invalid date, Wed") << "Wed" << QDate() << "" << QDate();
    QTest::newRow("invalid date, Sat") << "Sat" << QDate() << "" << QDate();
    QTest::newRow("invalid date, Sun") << "Sun" << QDate() << "" << QDate();
    QTest::newRow("invalid date, empty day") << "" << QDate() << "" << QDate();
}

void TestEntryRules::nextDrawFollowsTheDayText() {
    QFETCH(QString, lastDay);
    QFETCH(QDate, lastDate);
    QFETCH(QString, day);
    QFETCH(QDate, date);
    const NextDraw next = nextDraw(lastDay, lastDate);
    QCOMPARE(next.day, day);
    QCOMPARE(next.date, date);
}

// Over every date of the game's years: Wed and Sat step by three and four days
// whatever the date, any other day text lands on the first Wednesday or Saturday after.
void TestEntryRules::nextDrawStepsEveryDateOfTheHistory() {
    for (QDate last(1994, 11, 19); last <= QDate(2015, 10, 10); last = last.addDays(1)) {
        QCOMPARE(nextDraw(QStringLiteral("Wed"), last).date, last.addDays(3));
        QCOMPARE(nextDraw(QStringLiteral("Sat"), last).date, last.addDays(4));
        const NextDraw next = nextDraw(weekday(last), last);
        const QString where = last.toString(Qt::ISODate);
        QVERIFY2(next.date > last && last.daysTo(next.date) <= 4, qPrintable(where));
        QVERIFY2(next.day == u"Wed" || next.day == u"Sat", qPrintable(where));
        QVERIFY2(next.day == weekday(next.date), qPrintable(where));
        for (QDate between = last.addDays(1); between < next.date; between = between.addDays(1))
            QVERIFY2(between.dayOfWeek() != Qt::Wednesday && between.dayOfWeek() != Qt::Saturday,
                     qPrintable(where));
    }
}

void TestEntryRules::newDrawDateTextIsCutToTenCharacters_data() {
    QTest::addColumn<QString>("format"); // null: the program's own short date format
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("text");
    QTest::newRow("own format under C") << QString() << QDate(1995, 1, 11) << "1995-01-11";
    QTest::newRow("ten characters stay whole") << "dd/MM/yyyy" << QDate(1995, 1, 11) << "11/01/1995";
    QTest::newRow("shorter stays whole") << "d/M/yy" << QDate(1995, 1, 11) << "11/1/95";
    QTest::newRow("thirteen characters") << "yyyy. MM. dd." << QDate(1995, 1, 11) << "1995. 01. ";
    QTest::newRow("with the day name") << "dddd d MMMM yyyy" << QDate(1995, 1, 11) << "Wednesday ";
    QTest::newRow("invalid date") << "yyyy-MM-dd" << QDate() << "";
}

void TestEntryRules::newDrawDateTextIsCutToTenCharacters() {
    QFETCH(QString, format);
    QFETCH(QDate, date);
    QFETCH(QString, text);
    QCOMPARE(format.isNull() ? newDrawDateText(date) : newDrawDateText(date, format), text);
}

QTEST_GUILESS_MAIN(TestEntryRules)
#include "test_entry_rules.moc"
