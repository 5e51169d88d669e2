#include "TestDatabase.h"
#include "data/DataModule.h"
#include "data/DbError.h"
#include "data/OptionStore.h"

#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString print = OptionStore::printOption();

QString optionRow(int user, const QString &option, const QString &param)
{
    const QString value = param == u"<null>" ? u"NULL"_s : u"'"_s + param + u"'"_s;
    return u"INSERT INTO OPTION_LOCALS_UTILISATEUR (CLE_USER, OPTI, PARAM) VALUES (%1, '%2', %3);\n"_s
        .arg(user)
        .arg(option, value);
}

/// The rows of the table as another program sees them: "user|option|param".
QStringList storedRows(const TestDatabase &db)
{
    auto connection = db.connect();
    DbQuery query(*connection, u"select CLE_USER, OPTI, PARAM from OPTION_LOCALS_UTILISATEUR"_s);
    query.open();
    QStringList rows;
    for (int i = 0; i < query.rowCount(); ++i) {
        const DbRow &row = query.row(i);
        rows.append(row.at(0).toText() + u'|' + row.at(1).toText() + u'|'
                    + (row.at(2).isNull() ? u"<null>"_s : row.at(2).toText()));
    }
    rows.sort();
    return rows;
}

/// A database with the demo users and fixture, the station's connection to
/// it, and the option query opened as the login opens it (unless told not to).
struct LoggedIn
{
    explicit LoggedIn(const QString &fixture, bool openOptions = true)
        : db(TestDatabase::schema() + TestDatabase::users() + fixture)
    {
        module.UniConnection1.open(db.settings());
        if (openOptions)
            module.OPTION_LOCALS_UTILISATEUR.open();
    }
    TestDatabase db;
    DataModule module;
    OptionStore store{module.OPTION_LOCALS_UTILISATEUR};
};

} // namespace

class tst_OptionStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void read_data();
    void read();
    void write_data();
    void write();
    void togglingLeavesOneRowWithTheLastState();
    void writeDoesNotReReadTheTable();
    void closedQueryFailsAndStoresNothing();
    void failedPostKeepsTheLoadedCopy();
};

void tst_OptionStore::read_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no row") << QString() << u"2"_s << print << QString();
    QTest::newRow("True") << optionRow(2, print, u"True"_s) << u"2"_s << print << u"True"_s;
    QTest::newRow("true is read as stored") << optionRow(2, print, u"true"_s) << u"2"_s << print << u"true"_s;
    QTest::newRow("NULL reads empty") << optionRow(2, print, u"<null>"_s) << u"2"_s << print << QString();
    QTest::newRow("two rows: the first in query order")
        << optionRow(2, print, u"True"_s) + optionRow(2, print, u"False"_s) << u"2"_s << print << u"True"_s;
    QTest::newRow("another user's row") << optionRow(3, print, u"True"_s) << u"2"_s << print << QString();
    QTest::newRow("option name differing in case")
        << optionRow(2, print.toLower(), u"True"_s) << u"2"_s << print << QString();
    QTest::newRow("another option of the user")
        << optionRow(2, u"Couleur"_s, u"Rouge"_s) + optionRow(2, print, u"False"_s) << u"2"_s << u"Couleur"_s
        << u"Rouge"_s;
    QTest::newRow("key before any login") << optionRow(2, print, u"True"_s) << u"0"_s << print << QString();
    QTest::newRow("Arabic value in the code page")
        << optionRow(2, u"Nom"_s, u"مطبخ"_s) << u"2"_s << u"Nom"_s << u"مطبخ"_s;
}

void tst_OptionStore::read()
{
    QFETCH(QString, fixture);
    QFETCH(QString, key);
    QFETCH(QString, option);
    QFETCH(QString, expected);

    LoggedIn station(fixture);
    QCOMPARE(station.store.ReadStringc(key, option), expected);
}

void tst_OptionStore::write_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("no row: one is inserted")
        << QString() << u"True"_s << QStringList { u"2|%1|True"_s.arg(print) };
    QTest::newRow("existing row: PARAM changes")
        << optionRow(2, print, u"False"_s) << u"True"_s << QStringList { u"2|%1|True"_s.arg(print) };
    QTest::newRow("NULL row: PARAM set")
        << optionRow(2, print, u"<null>"_s) << u"False"_s << QStringList { u"2|%1|False"_s.arg(print) };
    QTest::newRow("two rows: only the first changes")
        << optionRow(2, print, u"<null>"_s) + optionRow(2, print, u"<null>"_s) << u"True"_s
        << QStringList { u"2|%1|<null>"_s.arg(print), u"2|%1|True"_s.arg(print) };
    QTest::newRow("other users and options left alone")
        << optionRow(3, print, u"True"_s) + optionRow(2, print.toUpper(), u"x"_s) << u"False"_s
        << QStringList { u"2|%1|x"_s.arg(print.toUpper()), u"2|%1|False"_s.arg(print),
                         u"3|%1|True"_s.arg(print) };
}

void tst_OptionStore::write()
{
    QFETCH(QString, fixture);
    QFETCH(QString, value);
    QFETCH(QStringList, stored);

    LoggedIn station(fixture);
    auto &db = station.db;
    auto &store = station.store;
    store.writeStringc(u"2"_s, print, value);
    QCOMPARE(storedRows(db), stored);
    QCOMPARE(store.ReadStringc(u"2"_s, print), value);
}

void tst_OptionStore::togglingLeavesOneRowWithTheLastState()
{
    LoggedIn station(QString{});
    auto &db = station.db;
    auto &store = station.store;
    const bool states[] = { true, false, true, true, false, true, false };
    for (bool ticked : states)
        store.cxCheckBox12PropertiesChange(ticked, u"3"_s);
    QCOMPARE(storedRows(db), QStringList { u"3|%1|False"_s.arg(print) });
    store.cxCheckBox12PropertiesChange(true, u"3"_s);
    QCOMPARE(storedRows(db), QStringList { u"3|%1|True"_s.arg(print) });
    QCOMPARE(store.ReadStringc(u"3"_s, print), u"True"_s);
}

void tst_OptionStore::writeDoesNotReReadTheTable()
{
    LoggedIn station(QString{});
    auto &store = station.store;
    // another program adds a row after the login loaded the table
    station.db.run(optionRow(2, print, u"True"_s));
    QCOMPARE(store.ReadStringc(u"2"_s, print), QString());
    store.writeStringc(u"2"_s, print, u"False"_s); // not seen: inserted beside it
    QCOMPARE(storedRows(station.db), (QStringList { u"2|%1|False"_s.arg(print), u"2|%1|True"_s.arg(print) }));
}

void tst_OptionStore::closedQueryFailsAndStoresNothing()
{
    LoggedIn station(QString{}, false); // no login yet: the option query is closed
    auto &db = station.db;
    auto &store = station.store;
    QVERIFY_THROWS_EXCEPTION(DbError, store.ReadStringc(u"0"_s, print));
    try {
        store.cxCheckBox12PropertiesChange(true, u"0"_s);
        QFAIL("a change was stored before any login");
    } catch (const DbError &error) {
        QVERIFY2(error.message().contains(u"closed"_s, Qt::CaseInsensitive), qPrintable(error.message()));
    }
    QCOMPARE(storedRows(db), QStringList());
}

void tst_OptionStore::failedPostKeepsTheLoadedCopy()
{
    LoggedIn station(optionRow(2, print, u"False"_s));
    auto &db = station.db;
    auto &store = station.store;
    // PARAM holds 100 characters: the server refuses a longer value
    QVERIFY_THROWS_EXCEPTION(DbError, store.writeStringc(u"2"_s, print, QString(101, u'x')));
    QCOMPARE(store.ReadStringc(u"2"_s, print), u"False"_s);
    QCOMPARE(storedRows(db), QStringList { u"2|%1|False"_s.arg(print) });
    store.writeStringc(u"2"_s, print, u"True"_s); // and the store goes on
    QCOMPARE(storedRows(db), QStringList { u"2|%1|True"_s.arg(print) });
}

QTEST_GUILESS_MAIN(tst_OptionStore)
#include "tst_optionstore.moc"
