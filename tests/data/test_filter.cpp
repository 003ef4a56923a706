#include "data/DataError.h"
#include "data/FilterExpression.h"
#include "data/Formats.h"

#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace ballvane;

namespace {

const QString connectionName = QStringLiteral("test_filter");

struct Row {
    QVariant draw, b1, b2, bb, date, money, paid;
};

const QVariant none;

// Nulls, an empty text, case variants and apostrophes are what filters trip over.
const QList<Row> rows = {
    {101, "07", "17", "01", "2024-01-06", 1250, 1},
    {102, "17", "07", none, "2023-12-30", 0, 0},
    {103, "1", "10", "07", "2024-02-10", none, none},
    {104, "10", none, "19", none, 99, 0},
    {105, "O'Brien", "19", "ab", "2024-01-13", 1250, 1},
    {none, none, "1", "AB", "2024-01-06", 500, 1},
    {107, "0'", "", "Ab", "2022-05-01", 5, none},
    {108, "19", "19", "aB", "2024-03-02", -250, 0},
    {109, "1*", "07", "19", "2024-01-20", 1000, 1},
};

const QList<std::pair<QString, QString>> columns = {
    {"Draw#", "INTEGER"}, {"B1", "TEXT"},  {"B2", "VARCHAR(2)"}, {"BB", "VARCHAR(2)"},
    {"D", "DATE"},        {"M", "MONEY"}, {"P", "BOOLEAN"},
};

std::optional<FieldDef> lookup(const QString& name) {
    for (const auto& [column, type] : columns)
        if (column.compare(name, Qt::CaseInsensitive) == 0) return FieldDef::fromDeclaredType(column, type);
    return std::nullopt;
}

QList<int> allBut(const QList<int>& excluded) {
    QList<int> ids;
    for (int id = 1; id <= rows.size(); ++id)
        if (!excluded.contains(id)) ids << id;
    return ids;
}

QString shortDate(int year, int month, int day) {
    return QLocale().toString(QDate(year, month, day), formats::shortDateFormat());
}

} // namespace

class TestFilter : public QObject {
    Q_OBJECT

private:
    QList<int> matching(const SqlCondition& condition) {
        QSqlQuery query(QSqlDatabase::database(connectionName));
        QString sql = QStringLiteral("SELECT id FROM t");
        if (!condition.sql.isEmpty()) sql += QStringLiteral(" WHERE ") + condition.sql;
        if (!query.prepare(sql + QStringLiteral(" ORDER BY id"))) {
            qWarning() << query.lastError().text() << sql;
            return {-1};
        }
        for (const QVariant& value : condition.values) query.addBindValue(value);
        if (!query.exec()) {
            qWarning() << query.lastError().text() << sql;
            return {-1};
        }
        QList<int> ids;
        while (query.next()) ids << query.value(0).toInt();
        return ids;
    }

    QLocale m_locale;

private slots:
    void initTestCase() {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QStringList declared{QStringLiteral("id INTEGER PRIMARY KEY")};
        for (const auto& [column, type] : columns) declared << QStringLiteral("\"%1\" %2").arg(column, type);
        QVERIFY2(query.exec(QStringLiteral("CREATE TABLE t (%1)").arg(declared.join(u", "))),
                 qPrintable(query.lastError().text()));
        QVERIFY(query.prepare(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?, ?, ?, ?, ?)")));
        for (int i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            for (const QVariant& value : {QVariant(i + 1), row.draw, row.b1, row.b2, row.bb, row.date, row.money, row.paid})
                query.addBindValue(value);
            QVERIFY2(query.exec(), qPrintable(query.lastError().text()));
        }
        m_locale = QLocale();
    }

    void cleanupTestCase() {
        QSqlDatabase::database(connectionName).close();
        QSqlDatabase::removeDatabase(connectionName);
    }

    void cleanup() { QLocale::setDefault(m_locale); }

    void matches_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("caseInsensitive");
        QTest::addColumn<bool>("noPartialCompare");
        QTest::addColumn<QList<int>>("expected");

        auto row = [](const char* name, const QString& filter, const QList<int>& expected, bool caseInsensitive = false,
                      bool noPartialCompare = false) {
            QTest::newRow(name) << filter << caseInsensitive << noPartialCompare << expected;
        };

        row("empty filter", "", allBut({}));
        row("blank filter", "  \t ", allBut({}));
        row("ball filter with trailing blank", "(B1 = '07') or (B2 = '07') or (BB = '07') ", {1, 2, 3, 9});
        row("bonus filter", "(BB = '07') ", {3});
        row("doubled apostrophe", "(B1 = '0''') or (B2 = '0''') ", {7});
        row("apostrophe inside", "B1 = 'O''Brien'", {5});
        row("white space anywhere", "  (  BB='07'  )\t", {3});
        row("line breaks", "BB\n=\n'07'", {3});

        row("and binds tighter than or", "BB = '01' Or BB = '19' AND B1 = '1*'", {1, 4, 9});
        row("parentheses regroup", "(BB = '01' or BB = '19') and B1 = '1*'", {4, 9});
        row("not", "NOT (BB = '07')", allBut({3}));
        row("not without parentheses", "not BB = '07'", allBut({3}));
        row("not not", "not not BB = '07'", {3});
        row("not of less includes null", "not (BB < '07')", allBut({1}));

        row("equal", "Draw# = 105", {5});
        row("not equal keeps null", "DRAW# <> 105", allBut({5}));
        row("bang equal", "draw# != 105", allBut({5}));
        row("less", "Draw# < 103", {1, 2});
        row("less or equal", "Draw# <= 103", {1, 2, 3});
        row("greater", "Draw# > 107", {8, 9});
        row("greater or equal", "Draw# >= 107", {7, 8, 9});
        row("quoted integer", "Draw# = '104'", {4});
        row("signed integer", "Draw# > +108", {9});
        row("constant on the left", "'103' > Draw#", {1, 2});
        row("constant on the left equal", "'07' = B1", {1});

        row("text not equal keeps null", "BB <> '07'", allBut({3}));
        row("text less skips null", "BB < '07'", {1});
        row("number against text", "B1 = 10", {4});
        row("field against field", "B1 = B2", {8});
        row("field unlike field", "B1 <> B2", allBut({8}));
        row("field ordered against field", "B2 < B1", {2, 5, 7, 9});
        row("double-quoted name", "\"B1\" = '07'", {1});
        row("bracketed name", "[bb] = '07'", {3});

        row("prefix", "(B1 = '1*') or (BB = '0*') ", {1, 2, 3, 4, 8, 9});
        row("prefix negated", "B1 <> '1*'", {1, 5, 6, 7});
        row("star is plain without partial", "B1 = '1*'", {9}, false, true);
        row("star negated without partial", "B1 <> '1*'", allBut({9}), false, true);
        row("star alone", "BB = '*'", allBut({2}));
        row("star alone negated", "BB <> '*'", {2});
        row("star alone without partial", "BB = '*'", {}, false, true);

        row("case sensitive", "BB = 'ab'", {5});
        row("case insensitive", "BB = 'ab'", {5, 6, 7, 8}, true);
        row("case sensitive prefix", "BB = 'A*'", {6, 7});
        row("case insensitive prefix", "BB = 'A*'", {5, 6, 7, 8}, true);
        row("case insensitive not equal", "BB <> 'AB'", {1, 2, 3, 4, 9}, true);
        row("case sensitive order", "BB > 'Z'", {5, 8});
        row("case insensitive order", "BB > 'Z'", {}, true);
        row("case sensitive field pair", "B1 > BB", {1, 3});
        row("case insensitive field pair", "B1 > BB", {1, 3, 5}, true);

        row("equal empty is null or empty", "B2 = ''", {4, 7});
        row("not equal empty", "B2 <> ''", allBut({4, 7}));
        row("null keyword", "bb = null", {2});
        row("not null keyword", "D <> NULL", allBut({4}));
        row("null on the left", "NULL = BB", {2});
        row("less than null", "Draw# < NULL", {});

        row("iso date", "D = '2024-01-06'", {1, 6});
        row("short date", QStringLiteral("D = '%1'").arg(shortDate(2024, 1, 6)), {1, 6});
        row("date before", "D < '2024-01-01'", {2, 7});
        row("date range", "(D > '2024-01-06') and (D < '2024-02-10')", {5, 9});
        row("money number", "M = 12.5", {1, 5});
        row("money text", "M = '12.50'", {1, 5});
        row("money negative", "M < -1", {8});
        row("money at least", "M >= '5'", {1, 5, 6, 9});
        row("boolean true", "P = True", {1, 5, 6, 9});
        row("boolean false text", "P = 'False'", {2, 4, 8});
        row("boolean not true keeps null", "P <> TRUE", {2, 3, 4, 7, 8});
    }

    void matches() {
        QFETCH(QString, filter);
        QFETCH(bool, caseInsensitive);
        QFETCH(bool, noPartialCompare);
        QFETCH(QList<int>, expected);

        FilterOptions options;
        options.caseInsensitive = caseInsensitive;
        options.noPartialCompare = noPartialCompare;
        const SqlCondition condition = compileFilter(filter, options, lookup);
        // No constant is pasted into the SQL: no string literal, one placeholder per bound value.
        QVERIFY2(!condition.sql.contains(u'\''), qPrintable(condition.sql));
        QCOMPARE(condition.sql.count(u'?'), condition.values.size());
        QCOMPARE(matching(condition), expected);
    }

    void boundValues_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("constant");
        QTest::addColumn<QVariantList>("values");

        QTest::newRow("text") << "B1 = 'zebra'" << "zebra" << QVariantList{QStringLiteral("zebra")};
        QTest::newRow("doubled apostrophe") << "B1 = 'O''Neill'" << "Neill" << QVariantList{QStringLiteral("O'Neill")};
        QTest::newRow("injection") << "B1 = 'x'') OR 1=1 --'" << "1=1"
                                   << QVariantList{QStringLiteral("x') OR 1=1 --")};
        QTest::newRow("integer") << "Draw# = 424242" << "424242" << QVariantList{qint64(424242)};
        QTest::newRow("money in pence") << "M = '31.07'" << "31" << QVariantList{qint64(3107)};
        QTest::newRow("short date to iso") << QStringLiteral("D = '%1'").arg(shortDate(2031, 7, 9)) << "2031"
                                           << QVariantList{QStringLiteral("2031-07-09")};
        QTest::newRow("prefix length then prefix") << "B1 = 'qq*'" << "qq" << QVariantList{qint64(2), QStringLiteral("qq")};
        QTest::newRow("order of values") << "(B1 = 'aa') or (B2 <> 'bb') and BB > 'cc'" << "bb"
                                         << QVariantList{QStringLiteral("aa"), QStringLiteral("bb"), QStringLiteral("cc")};
    }

    void boundValues() {
        QFETCH(QString, filter);
        QFETCH(QString, constant);
        QFETCH(QVariantList, values);

        const SqlCondition condition = compileFilter(filter, {}, lookup);
        QVERIFY2(!condition.sql.contains(constant), qPrintable(condition.sql));
        QCOMPARE(condition.values.size(), values.size());
        for (qsizetype i = 0; i < values.size(); ++i) {
            QCOMPARE(QByteArray(condition.values[i].typeName()), QByteArray(values[i].typeName()));
            QCOMPARE(condition.values[i], values[i]);
        }
        // Field names come out as the book spells them, quoted.
        QVERIFY(condition.sql.contains(u'"'));
        QVERIFY(matching(condition).isEmpty());
    }

    void localeConstants_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QList<int>>("expected");

        QTest::newRow("british date") << "en_GB" << "D = '13/01/2024'" << QList<int>{5};
        QTest::newRow("iso date in any locale") << "en_GB" << "D = '2024-01-13'" << QList<int>{5};
        QTest::newRow("german money text") << "de_DE" << "M = '12,50'" << QList<int>{1, 5};
        QTest::newRow("number ignores locale") << "de_DE" << "M = 12.5" << QList<int>{1, 5};
    }

    void localeConstants() {
        QFETCH(QString, locale);
        QFETCH(QString, filter);
        QFETCH(QList<int>, expected);

        QLocale::setDefault(QLocale(locale));
        QCOMPARE(matching(compileFilter(filter, {}, lookup)), expected);
    }

    void broken_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<bool>("exact");
        QTest::addColumn<QString>("expected");

        auto mentions = [](const char* name, const QString& filter, const QString& part) {
            QTest::newRow(name) << filter << false << part;
        };
        auto exactly = [](const char* name, const QString& filter, const QString& message) {
            QTest::newRow(name) << filter << true << message;
        };

        exactly("unknown field", "(Bx = '07') ", messages::fieldNotFound.arg("Bx"));
        exactly("unknown bracketed field", "[No Such] = 1", messages::fieldNotFound.arg("No Such"));
        exactly("unknown field on the right", "B1 = Nowhere", messages::fieldNotFound.arg("Nowhere"));
        exactly("text for integer", "Draw# = 'abc'", messages::invalidInteger.arg("abc"));
        exactly("fraction for integer", "Draw# = 1.5", messages::invalidInteger.arg("1.5"));
        exactly("not a date", "D = 'soon'", messages::invalidDate.arg("soon"));

        mentions("missing close", "(B1 = '07' ", "expected ')' at the end");
        mentions("close expected before or", "(B1 = '07' B2 = '07')", "expected ')' at position 12");
        mentions("extra close", "(B1 = '07'))", "position 12");
        mentions("unterminated string", "B1 = '07", "position 6");
        mentions("unterminated after doubling", "B1 = '0''", "position 6");
        mentions("missing operand", "B1 = ", "the end");
        mentions("missing left operand", "= '07'", "position 1");
        mentions("unknown operator", "B1 == '07'", "'=='");
        mentions("no operator", "(B1)", "position 4");
        mentions("trailing garbage", "(B1 = '07') x", "position 13");
        mentions("dangling or", "(B1 = '07') or ", "the end");
        mentions("and and", "B1 = '07' and and B2 = '07'", "position 15");
        mentions("two constants", "'07' = '07'", "position 1");
        mentions("stray character", "B1 = '07'; drop table t", "position 10");
        mentions("empty parentheses", "()", "position 2");
        mentions("not alone", "not ", "the end");
        mentions("keyword as operand", "B1 = or", "position 6");
        mentions("unterminated bracket", "[B1 = '07'", "position 1");
        mentions("chained comparison", "B1 = B2 = '07'", "position 9");
        mentions("number glued to name", "Draw# = 5x", "position 10");
    }

    void broken() {
        QFETCH(QString, filter);
        QFETCH(bool, exact);
        QFETCH(QString, expected);

        try {
            const SqlCondition condition = compileFilter(filter, {}, lookup);
            QFAIL(qPrintable(QStringLiteral("compiled to %1").arg(condition.sql)));
        } catch (const FilterError& error) {
            QVERIFY(!error.message().isEmpty());
            if (exact)
                QCOMPARE(error.message(), expected);
            else
                QVERIFY2(error.message().contains(expected), qPrintable(error.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestFilter)
#include "test_filter.moc"
