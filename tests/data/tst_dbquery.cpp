#include "TestDatabase.h"
#include "TestHelpers.h"
#include "data/DbError.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"

#include <QTest>

using namespace Qt::StringLiterals;
using TestHelpers::errorOf;
using TestHelpers::scalar;

// Queries: field types and NULLs, parameters, a closed or failed query,
// moving between rows, and the changes of an updatable query.
class TestDbQuery : public QObject
{
    Q_OBJECT
private slots:
    void fieldTypes_data();
    void fieldTypes();
    void nulls_data();
    void nulls();
    void timesKeepTheirFraction();
    void parameterConversion_data();
    void parameterConversion();
    void parameterErrors_data();
    void parameterErrors();
    void closedQuery_data();
    void closedQuery();
    void failedOpenLeavesQueryClosed();
    void navigation();
    void refreshKeepsParameters();
    void insertReturning();
    void locate_data();
    void locate();
    void postChangesOnlyTheLocatedRow();
    void insertAppendsTheStoredRow();
    void postOfARemovedRowFails();
    void failedPostKeepsTheChange();
    void editingNeedsAnUpdatableQuery();
};

namespace {

const QString optionTable = u"create table OPT (CLE_USER INTEGER NOT NULL, OPTI VARCHAR(100) NOT NULL, "
                            "PARAM VARCHAR(100));"_s;

} // namespace

void TestDbQuery::fieldTypes_data()
{
    QTest::addColumn<QString>("columnType");
    QTest::addColumn<QString>("literal");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");

    const auto add = [](const char *name, const QString &columnType, const QString &literal, DbValue::Type type,
                        const QString &text) { QTest::newRow(name) << columnType << literal << int(type) << text; };
    add("integer", u"INTEGER"_s, u"42"_s, DbValue::Type::Integer, u"42"_s);
    add("smallint", u"SMALLINT"_s, u"-7"_s, DbValue::Type::Integer, u"-7"_s);
    add("bigint beyond a double", u"BIGINT"_s, u"9007199254740993"_s, DbValue::Type::Integer, u"9007199254740993"_s);
    add("double", u"DOUBLE PRECISION"_s, u"2.5"_s, DbValue::Type::Float, u"2.5"_s);
    add("scaled numeric reads as a float", u"NUMERIC(15,2)"_s, u"12.34"_s, DbValue::Type::Float, u"12.34"_s);
    add("varchar", u"VARCHAR(20)"_s, u"'Tajine'"_s, DbValue::Type::Text, u"Tajine"_s);
    add("char without its padding", u"CHAR(10)"_s, u"'M'"_s, DbValue::Type::Text, u"M"_s);
    add("leading blanks are kept", u"VARCHAR(10)"_s, u"'  L '"_s, DbValue::Type::Text, u"  L "_s);
    add("date", u"DATE"_s, u"'2024-02-29'"_s, DbValue::Type::Date, u"2024-02-29"_s);
    add("time", u"TIME"_s, u"'13:45:07.1234'"_s, DbValue::Type::Time, u"13:45:07"_s);
    add("timestamp", u"TIMESTAMP"_s, u"'2024-03-31 02:30:15.5'"_s, DbValue::Type::Timestamp, u"2024-03-31 02:30:15"_s);
    add("text blob", u"BLOB SUB_TYPE TEXT"_s, u"'long text'"_s, DbValue::Type::Text, u"long text"_s);
    add("boolean", u"BOOLEAN"_s, u"true"_s, DbValue::Type::Integer, u"1"_s);
}

void TestDbQuery::fieldTypes()
{
    QFETCH(QString, columnType);
    QFETCH(QString, literal);
    QFETCH(int, type);
    QFETCH(QString, text);

    TestDatabase db(u"create table T (V %1); insert into T values (%2);"_s.arg(columnType, literal));
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select V from T"_s);
    query.open();
    QCOMPARE(int(query.field(u"V"_s).type()), type);
    QCOMPARE(query.asText(u"v"_s), text);
    QVERIFY(!query.isNull(u"V"_s));
}

void TestDbQuery::nulls_data()
{
    QTest::addColumn<QString>("columnType");
    for (const char *type : {"INTEGER", "DOUBLE PRECISION", "VARCHAR(10)", "CHAR(5)", "DATE", "TIME", "TIMESTAMP",
                             "BLOB SUB_TYPE TEXT"})
        QTest::newRow(type) << QString::fromLatin1(type);
}

void TestDbQuery::nulls()
{
    QFETCH(QString, columnType);
    TestDatabase db(u"create table T (V %1); insert into T values (NULL);"_s.arg(columnType));
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select V from T"_s);
    query.open();
    QVERIFY(query.isNull(u"V"_s));
    QCOMPARE(query.asText(u"V"_s), QString());
    QCOMPARE(query.asInteger(u"V"_s), 0);
    QCOMPARE(query.asFloat(u"V"_s), 0.0);
    QVERIFY(!query.asDate(u"V"_s).isValid());
    QCOMPARE(query.asTime(u"V"_s), TimeOfDay());
}

void TestDbQuery::timesKeepTheirFraction()
{
    TestDatabase db(u"create table T (T1 TIME, TS TIMESTAMP);"_s);
    DbConnection connection;
    connection.open(db.settings());
    const TimeOfDay time = TimeOfDay::fromHms(23, 59, 59, 9999);
    const QDateTime stamp(QDate(2024, 1, 15), QTime(8, 5, 3, 250));
    DbStatement insert(connection, u"insert into T values (:T1, :TS)"_s);
    insert.setParam(0, time);
    insert.setParam(1, stamp);
    insert.execute();

    DbQuery query(connection, u"select T1, TS, cast(TS as varchar(30)) as TEXT from T"_s);
    query.open();
    QCOMPARE(query.asTime(u"T1"_s).ticks(), time.ticks());
    // the server holds the wall-clock value given, no time zone applied
    QCOMPARE(query.asText(u"TEXT"_s), u"2024-01-15 08:05:03.2500"_s);
    QCOMPARE(query.field(u"TS"_s).toDateTime(), stamp);
}

void TestDbQuery::parameterConversion_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("decimal text for an integer") << u"select count(*) from T where I = :V"_s
                                                 << DbValue(u"12"_s) << 1;
    QTest::newRow("blanks around the number") << u"select count(*) from T where I = :V"_s << DbValue(u" 12 "_s) << 1;
    QTest::newRow("integer for a text") << u"select count(*) from T where S = :V"_s << DbValue(7) << 1;
    QTest::newRow("date text for a date") << u"select count(*) from T where D = :V"_s
                                          << DbValue(u"2024-05-01"_s) << 1;
    QTest::newRow("one name, two places") << u"select count(*) from T where I = :V or I + 1 = :V"_s << DbValue(12)
                                          << 1;
    QTest::newRow("NULL matches nothing with =") << u"select count(*) from T where I = :V"_s << DbValue() << 0;
    QTest::newRow("NULL matches NULL with IS NOT DISTINCT FROM")
        << u"select count(*) from T where N IS NOT DISTINCT FROM :V"_s << DbValue() << 1;
}

void TestDbQuery::parameterConversion()
{
    QFETCH(QString, sql);
    QFETCH(DbValue, value);
    QFETCH(int, expected);
    TestDatabase db(u"create table T (I INTEGER, S VARCHAR(5), D DATE, N INTEGER);"
                    "insert into T values (12, '7', '2024-05-01', NULL);"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, sql);
    QCOMPARE(query.paramCount(), 1);
    query.setParam(u"v"_s, value);
    query.open();
    QCOMPARE(query.row(0).at(0).toInteger(), expected);
}

void TestDbQuery::parameterErrors_data()
{
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("text that is no number") << DbValue(u"12a"_s) << u"Parameter I: \"12a\" is not a valid integer"_s;
    QTest::newRow("text too long for the column") << DbValue(u"much too long"_s) << u"string truncation"_s;
}

void TestDbQuery::parameterErrors()
{
    QFETCH(DbValue, value);
    QFETCH(QString, expected);
    TestDatabase db(u"create table T (I INTEGER, S VARCHAR(5));"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbStatement insert(connection, u"insert into T (I, S) values (:I, :S)"_s);
    const bool textColumn = expected.contains(u"truncation"_s);
    insert.setParam(0, textColumn ? DbValue(1) : value);
    insert.setParam(1, textColumn ? value : DbValue(u"x"_s));
    const QString message = errorOf([&] { insert.execute(); });
    QVERIFY2(message.contains(expected), qPrintable(message));
    QCOMPARE(scalar(connection, u"select count(*) from T"_s), 0);
    QVERIFY(errorOf([&] { insert.setParam(u"NOPE"_s, 1); }).contains(u"NOPE"_s));
    QVERIFY(!errorOf([&] { insert.setParam(2, 1); }).isEmpty());
}

void TestDbQuery::closedQuery_data()
{
    QTest::addColumn<int>("operation");
    const char *names[] = {"row count", "field", "first", "next", "last", "locate", "edit", "insert", "eof"};
    for (int i = 0; i < int(std::size(names)); ++i)
        QTest::newRow(names[i]) << i;
}

void TestDbQuery::closedQuery()
{
    QFETCH(int, operation);
    TestDatabase db(optionTable);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select * from OPT"_s);
    query.setUpdatingTable(u"OPT"_s);
    const std::function<void()> operations[] = {
        [&] { query.rowCount(); },
        [&] { query.field(u"PARAM"_s); },
        [&] { query.first(); },
        [&] { query.next(); },
        [&] { query.last(); },
        [&] { query.locate(u"CLE_USER"_s, 1, u"OPTI"_s, u"x"_s); },
        [&] { query.edit(); },
        [&] { query.insert(); },
        [&] { query.eof(); },
    };
    QCOMPARE(errorOf(operations[operation]), u"Cannot perform this operation on a closed dataset"_s);
}

void TestDbQuery::failedOpenLeavesQueryClosed()
{
    TestDatabase db(u"create table T (I INTEGER); insert into T values (1);"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select I from T where I = :I"_s);
    query.setParam(0, 1);
    query.open();
    QCOMPARE(query.rowCount(), 1);
    query.setParam(0, u"one"_s);
    QVERIFY(!errorOf([&] { query.open(); }).isEmpty());
    QVERIFY(!query.isOpen());
    QVERIFY(!errorOf([&] { query.rowCount(); }).isEmpty());
}

void TestDbQuery::navigation()
{
    TestDatabase db(u"create table T (I INTEGER); insert into T values (1); insert into T values (2);"
                    "insert into T values (3);"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select I from T where I >= :LOW order by I"_s);
    query.setParam(0, 1);
    query.open();
    QCOMPARE(query.currentRow(), 0);
    QVERIFY(!query.eof());
    QVERIFY(query.next());
    QVERIFY(query.next());
    QCOMPARE(query.asInteger(u"I"_s), 3);
    QVERIFY(!query.next());
    QVERIFY(query.eof());
    QCOMPARE(query.asInteger(u"I"_s), 3); // stays on the last row
    QVERIFY(query.first());
    QCOMPARE(query.asInteger(u"I"_s), 1);
    QVERIFY(query.last());
    QCOMPARE(query.asInteger(u"I"_s), 3);
    QCOMPARE(errorOf([&] { query.field(u"NOPE"_s); }), u"Field 'NOPE' not found"_s);

    query.setParam(0, 10);
    query.open();
    QVERIFY(query.isEmpty());
    QVERIFY(query.eof());
    QVERIFY(!query.first());
    QVERIFY(!query.last());
    QCOMPARE(query.currentRow(), -1);
    QVERIFY(query.isNull(u"I"_s));
}

void TestDbQuery::refreshKeepsParameters()
{
    TestDatabase db(u"create table T (I INTEGER); insert into T values (5);"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select I from T where I = :I"_s);
    query.setParam(0, 5);
    query.open();
    db.run(u"insert into T values (5);"_s);
    query.refresh();
    QCOMPARE(query.rowCount(), 2);
    QCOMPARE(query.param(0), DbValue(5));
}

void TestDbQuery::insertReturning()
{
    TestDatabase db(u"create table T (I INTEGER, S VARCHAR(10));"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery insert(connection, u"insert into T values (:I, :S) returning I * 2 as TWICE"_s);
    insert.setParam(0, 21);
    insert.setParam(1, u"x"_s);
    insert.open();
    QCOMPARE(insert.asInteger(u"TWICE"_s), 42);
    QCOMPARE(scalar(connection, u"select count(*) from T"_s), 1); // committed
}

void TestDbQuery::locate_data()
{
    QTest::addColumn<DbValue>("key");
    QTest::addColumn<DbValue>("name");
    QTest::addColumn<int>("row"); // -1: not found

    QTest::newRow("exact") << DbValue(2) << DbValue(u"Imprimer"_s) << 1;
    QTest::newRow("key as decimal text") << DbValue(u"2"_s) << DbValue(u"Imprimer"_s) << 1;
    QTest::newRow("first of two equal rows") << DbValue(3) << DbValue(u"Double"_s) << 3;
    QTest::newRow("letter case differs") << DbValue(2) << DbValue(u"imprimer"_s) << -1;
    QTest::newRow("trailing blank differs") << DbValue(2) << DbValue(u"Imprimer "_s) << -1;
    QTest::newRow("other user") << DbValue(9) << DbValue(u"Imprimer"_s) << -1;
    QTest::newRow("key that is no number") << DbValue(u"abc"_s) << DbValue(u"Imprimer"_s) << -1;
}

void TestDbQuery::locate()
{
    QFETCH(DbValue, key);
    QFETCH(DbValue, name);
    QFETCH(int, row);
    TestDatabase db(optionTable + u"insert into OPT values (1, 'Imprimer', 'True');"
                                  "insert into OPT values (2, 'Imprimer', 'False');"
                                  "insert into OPT values (2, 'Langue', 'ar');"
                                  "insert into OPT values (3, 'Double', 'a');"
                                  "insert into OPT values (3, 'Double', 'b');"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select * from OPT order by CLE_USER, OPTI, PARAM"_s);
    query.open();
    query.setCurrentRow(2);
    QCOMPARE(query.locate(u"CLE_USER"_s, key, u"OPTI"_s, name), row >= 0);
    QCOMPARE(query.currentRow(), row >= 0 ? row : 2); // not found: the current row stays
}

void TestDbQuery::postChangesOnlyTheLocatedRow()
{
    TestDatabase db(optionTable + u"insert into OPT values (1, 'Imprimer', 'False');"
                                  "insert into OPT values (1, 'Imprimer', 'False');"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"Select *\nfrom OPT"_s);
    query.setUpdatingTable(u"OPT"_s);
    query.open();
    QCOMPARE(query.fieldNames(), (QStringList {u"CLE_USER"_s, u"OPTI"_s, u"PARAM"_s}));
    QVERIFY(query.locate(u"CLE_USER"_s, u"1"_s, u"OPTI"_s, u"Imprimer"_s));
    query.edit();
    query.setField(u"PARAM"_s, u"True"_s);
    QCOMPARE(query.asText(u"PARAM"_s), u"True"_s);
    query.post();

    QCOMPARE(scalar(connection, u"select count(*) from OPT where PARAM = 'True'"_s), 1);
    QCOMPARE(scalar(connection, u"select count(*) from OPT where PARAM = 'False'"_s), 1);
    QCOMPARE(query.row(0).at(2).toText(), u"True"_s);
    QCOMPARE(query.row(1).at(2).toText(), u"False"_s);

    // and again on the same row, as each change of the print box does
    query.first();
    query.locate(u"CLE_USER"_s, 1, u"OPTI"_s, u"Imprimer"_s);
    query.edit();
    query.setField(u"PARAM"_s, u"False"_s);
    query.post();
    QCOMPARE(scalar(connection, u"select count(*) from OPT where PARAM = 'False'"_s), 2);
}

void TestDbQuery::insertAppendsTheStoredRow()
{
    TestDatabase db(optionTable + u"insert into OPT values (1, 'Imprimer', 'False');"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"Select *\nfrom OPT"_s);
    query.setUpdatingTable(u"OPT"_s);
    query.open();
    query.insert();
    query.setField(u"CLE_USER"_s, u"3"_s);
    query.setField(u"OPTI"_s, u"Langue"_s);
    query.setField(u"PARAM"_s, u"عربي"_s);
    query.post();

    QCOMPARE(query.rowCount(), 2);
    QCOMPARE(query.currentRow(), 1);
    QCOMPARE(query.field(u"CLE_USER"_s), DbValue(3)); // as stored: an integer
    QCOMPARE(query.asText(u"PARAM"_s), u"عربي"_s);
    QCOMPARE(scalar(connection, u"select count(*) from OPT where CLE_USER = 3 and PARAM = x'DAD1C8ED'"_s), 1);
    QVERIFY(query.locate(u"CLE_USER"_s, 3, u"OPTI"_s, u"Langue"_s));
}

void TestDbQuery::postOfARemovedRowFails()
{
    TestDatabase db(optionTable + u"insert into OPT values (1, 'Imprimer', 'False');"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select * from OPT"_s);
    query.setUpdatingTable(u"OPT"_s);
    query.open();
    db.run(u"delete from OPT;"_s);
    query.edit();
    query.setField(u"PARAM"_s, u"True"_s);
    const QString message = errorOf([&] { query.post(); });
    QVERIFY2(message.contains(u"no longer in OPT"_s), qPrintable(message));
    QCOMPARE(scalar(connection, u"select count(*) from OPT"_s), 0);
}

void TestDbQuery::failedPostKeepsTheChange()
{
    TestDatabase db(optionTable + u"insert into OPT values (1, 'Imprimer', 'False');"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select * from OPT"_s);
    query.setUpdatingTable(u"OPT"_s);
    query.open();
    query.edit();
    query.setField(u"PARAM"_s, QString(150, QLatin1Char('x')));
    QVERIFY(errorOf([&] { query.post(); }).contains(u"string truncation"_s));
    QCOMPARE(query.asText(u"PARAM"_s).size(), 150); // still being edited
    query.setField(u"PARAM"_s, u"True"_s);
    query.post();
    QCOMPARE(scalar(connection, u"select count(*) from OPT where PARAM = 'True'"_s), 1);

    query.edit();
    query.setField(u"PARAM"_s, u"dropped"_s);
    query.cancel();
    QCOMPARE(query.asText(u"PARAM"_s), u"True"_s);
}

void TestDbQuery::editingNeedsAnUpdatableQuery()
{
    TestDatabase db(optionTable + u"insert into OPT values (1, 'Imprimer', 'False');"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select * from OPT"_s);
    query.open();
    QVERIFY(errorOf([&] { query.edit(); }).contains(u"no updating table"_s));
    QVERIFY(errorOf([&] { query.setField(u"PARAM"_s, 1); }).contains(u"not being edited"_s));
    QVERIFY(errorOf([&] { query.post(); }).contains(u"not being edited"_s));
}

QTEST_GUILESS_MAIN(TestDbQuery)
#include "tst_dbquery.moc"
