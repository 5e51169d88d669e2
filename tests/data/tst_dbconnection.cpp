#include "TestDatabase.h"
#include "TestHelpers.h"
#include "TestWorkingDirectory.h"
#include "data/DbError.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"

#include <QElapsedTimer>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;
using TestHelpers::errorOf;
using TestHelpers::scalar;

// The connection: opening and its failures, station.ini, the code page, what
// a read sees of other programs' work, locked rows, lost attachments.
class TestDbConnection : public QObject
{
    Q_OBJECT
private slots:
    void openFailures_data();
    void openFailures();
    void wrongPassword();
    void settingsFromIni_data();
    void settingsFromIni();
    void codePageRead_data();
    void codePageRead();
    void codePageWrite_data();
    void codePageWrite();
    void unwritableTextStoresNothing();
    void readSeesOtherCommitsOnly();
    void lockedRowFailsAfterBoundedWait();
    void reconnectPreparesAgain();
    void killedAttachmentIsConnectionLost();
    void cancelFromAnotherThread();
    void scriptErrorNamesStatement();
};

void TestDbConnection::openFailures_data()
{
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("clientLibrary");
    QTest::addColumn<QString>("codepage");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("connectionLost");

    const QString library = ConnectionSettings().clientLibrary;
    QTest::newRow("missing file") << u"/nonexistent/folder/missing.fdb"_s << library << u"windows-1256"_s
                                  << u"/nonexistent/folder/missing.fdb"_s << false;
    QTest::newRow("missing client library") << u"/tmp/any.fdb"_s << u"libfbclient-missing.so.9"_s
                                            << u"windows-1256"_s << u"libfbclient-missing.so.9"_s << false;
    QTest::newRow("unknown code page") << u"/tmp/any.fdb"_s << library << u"windows-9999"_s << u"windows-9999"_s
                                       << false;
    QTest::newRow("no server on that port") << u"localhost/3059:/tmp/any.fdb"_s << library << u"windows-1256"_s
                                            << u"Unable to complete network request"_s << true;
}

void TestDbConnection::openFailures()
{
    QFETCH(QString, database);
    QFETCH(QString, clientLibrary);
    QFETCH(QString, codepage);
    QFETCH(QString, expected);
    QFETCH(bool, connectionLost);

    ConnectionSettings settings;
    settings.database = database;
    settings.clientLibrary = clientLibrary;
    settings.codepage = codepage;
    DbConnection connection;
    bool lost = false;
    const QString message = errorOf([&] { connection.open(settings); }, &lost);
    QVERIFY2(message.contains(expected), qPrintable(message));
    QCOMPARE(lost, connectionLost);
    QVERIFY(!connection.isOpen());
}

void TestDbConnection::wrongPassword()
{
    TestDatabase db {QString()};
    if (!db.isServer())
        QSKIP("the embedded engine checks no password; the run over the server covers this");
    ConnectionSettings settings = db.settings();
    settings.password = u"not-the-password"_s;
    DbConnection connection;
    const QString message = errorOf([&] { connection.open(settings); });
    QVERIFY2(message.contains(u"user name and password are not defined"_s), qPrintable(message));
}

void TestDbConnection::settingsFromIni_data()
{
    QTest::addColumn<QByteArray>("ini"); // empty: no station.ini at all
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("codepage");
    QTest::addColumn<int>("lockTimeout");
    QTest::addColumn<QString>("error");

    QTest::newRow("no station.ini: defaults") << QByteArray() << u"masterkey"_s << u"windows-1256"_s << 5 << QString();
    QTest::newRow("password and code page")
        << QByteArray("[database]\npassword=s3cr,et;x\ncodepage=windows-1252\n") << u"s3cr,et;x"_s
        << u"windows-1252"_s << 5 << QString();
    QTest::newRow("keys in any letter case, CR LF, byte-order mark")
        << QByteArray("\xEF\xBB\xBF[Database]\r\nPassword = abc \r\nLockTimeout=2\r\n") << u"abc"_s
        << u"windows-1256"_s << 2 << QString();
    QTest::newRow("other sections ignored")
        << QByteArray("[other]\npassword=no\n[database]\n; comment\n") << u"masterkey"_s << u"windows-1256"_s << 5
        << QString();
    QTest::newRow("unknown code page named")
        << QByteArray("[database]\ncodepage=cp-martian\n") << QString() << QString() << 0 << u"\"cp-martian\""_s;
    QTest::newRow("lock timeout not a number")
        << QByteArray("[database]\nlocktimeout=soon\n") << QString() << QString() << 0 << u"locktimeout=soon"_s;
}

void TestDbConnection::settingsFromIni()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, password);
    QFETCH(QString, codepage);
    QFETCH(int, lockTimeout);
    QFETCH(QString, error);

    ConnectionSettings base;
    base.database = u"/tmp/x.fdb"_s;
    TestWorkingDirectory work(base);
    if (ini.isEmpty())
        work.removeFile(u"station.ini"_s);
    else
        work.writeFile(u"station.ini"_s, ini);

    ConnectionSettings settings;
    const QString message = errorOf([&] { settings = ConnectionSettings::fromWorkingDirectory(work.path(), u"db"_s); });
    if (!error.isEmpty()) {
        QVERIFY2(message.contains(error), qPrintable(message));
        return;
    }
    QCOMPARE(message, QString());
    QCOMPARE(settings.database, u"db"_s);
    QCOMPARE(settings.user, u"SYSDBA"_s);
    QCOMPARE(settings.password, password);
    QCOMPARE(settings.codepage, codepage);
    QCOMPARE(settings.lockTimeoutSeconds, lockTimeout);
}

void TestDbConnection::codePageRead_data()
{
    QTest::addColumn<QString>("codepage");
    QTest::addColumn<QString>("columnType");
    QTest::addColumn<QString>("storedHex");
    QTest::addColumn<QString>("text");

    QTest::newRow("Arabic in windows-1256, NONE column")
        << u"windows-1256"_s << u"VARCHAR(20)"_s << u"D3E1C7E3"_s << u"سلام"_s;
    QTest::newRow("French letters in windows-1256") << u"windows-1256"_s << u"VARCHAR(20)"_s << u"E9E8E0E7"_s
                                                    << u"éèàç"_s;
    QTest::newRow("Arabic in a WIN1256 column") << u"windows-1256"_s << u"VARCHAR(20) CHARACTER SET WIN1256"_s
                                                << u"DDD1C7CE"_s << u"فراخ"_s;
    QTest::newRow("fixed width: padding is not part of the value")
        << u"windows-1256"_s << u"CHAR(8)"_s << u"C7E1"_s << u"ال"_s;
    QTest::newRow("another code page") << u"windows-1252"_s << u"VARCHAR(20)"_s << u"80E9"_s << u"€é"_s;
}

void TestDbConnection::codePageRead()
{
    QFETCH(QString, codepage);
    QFETCH(QString, columnType);
    QFETCH(QString, storedHex);
    QFETCH(QString, text);

    TestDatabase db(u"create table T (S %1); insert into T values (x'%2');"_s.arg(columnType, storedHex));
    ConnectionSettings settings = db.settings();
    settings.codepage = codepage;
    DbConnection connection;
    connection.open(settings);
    DbQuery query(connection, u"select S from T"_s);
    query.open();
    QCOMPARE(query.asText(u"S"_s), text);
}

void TestDbConnection::codePageWrite_data()
{
    QTest::addColumn<QString>("columnType");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("storedHex");

    QTest::newRow("Arabic size") << u"VARCHAR(10)"_s << u"كبير"_s << u"DFC8EDD1"_s;
    QTest::newRow("French option value") << u"VARCHAR(100)"_s << u"Imprimé"_s << u"496D7072696DE9"_s;
    QTest::newRow("WIN1256 column") << u"VARCHAR(10) CHARACTER SET WIN1256"_s << u"صغير"_s << u"D5DBEDD1"_s;
}

void TestDbConnection::codePageWrite()
{
    QFETCH(QString, columnType);
    QFETCH(QString, text);
    QFETCH(QString, storedHex);

    TestDatabase db(u"create table T (S %1);"_s.arg(columnType));
    DbConnection connection;
    connection.open(db.settings());
    DbStatement insert(connection, u"insert into T values (:S)"_s);
    insert.setParam(0, text);
    QCOMPARE(insert.execute(), 1);
    // the bytes on the server are the code page's, whatever this side reads back
    QCOMPARE(scalar(connection, u"select count(*) from T where S = x'%1'"_s.arg(storedHex)), 1);
}

void TestDbConnection::unwritableTextStoresNothing()
{
    TestDatabase db(u"create table T (S VARCHAR(10));"_s);
    DbConnection connection;
    connection.open(db.settings());
    DbStatement insert(connection, u"insert into T values (:S)"_s);
    insert.setParam(0, u"日本"_s);
    const QString message = errorOf([&] { insert.execute(); });
    QVERIFY2(message.contains(u"windows-1256"_s), qPrintable(message));
    QCOMPARE(scalar(connection, u"select count(*) from T"_s), 0);
}

void TestDbConnection::readSeesOtherCommitsOnly()
{
    TestDatabase db;
    db.insertLine({});
    DbConnection station;
    station.open(db.settings());
    DbQuery poll(station, u"select count(*) from LISTE_COMMANDE"_s);
    poll.open();
    QCOMPARE(poll.row(0).at(0).toInteger(), 1);

    // another program's line, not yet committed: not seen, and the poll does not wait for it
    auto counter = db.connect();
    counter->startTransaction();
    DbStatement insert(*counter, u"insert into LISTE_COMMANDE (NUM_VENTE, COLOR, CUISEN, CLE_ART, ARTICLE) "
                                 "values (2, 0, 'Grill', 5, 'Tajine')"_s);
    insert.execute();
    poll.refresh();
    QCOMPARE(poll.row(0).at(0).toInteger(), 1);

    counter->commit();
    poll.refresh();
    QCOMPARE(poll.row(0).at(0).toInteger(), 2);
}

void TestDbConnection::lockedRowFailsAfterBoundedWait()
{
    TestDatabase db;
    const qint64 key = db.insertLine({});
    auto counter = db.connect();
    counter->startTransaction();
    DbStatement hold(*counter, u"update LISTE_COMMANDE set QTE = 3 where CLE_LISTE_COMMANDE = :K"_s);
    hold.setParam(0, key);
    hold.execute();

    ConnectionSettings settings = db.settings();
    // the server counts the wait in whole seconds: 2 waits between 1 and 2 s
    settings.lockTimeoutSeconds = 2;
    DbConnection station;
    station.open(settings);
    DbStatement validate(station, u"update LISTE_COMMANDE set VALIDE = 'True' where CLE_LISTE_COMMANDE = :K"_s);
    validate.setParam(0, key);
    QElapsedTimer timer;
    timer.start();
    const QString message = errorOf([&] { validate.execute(); });
    QVERIFY2(message.startsWith(u"Another program holds the row locked"_s), qPrintable(message));
    QVERIFY2(message.contains(u"update conflicts with concurrent update"_s), qPrintable(message));
    // it waited for the other program, and it came back (no hang)
    QVERIFY(timer.elapsed() >= 900);
    QVERIFY(timer.elapsed() < 60000);

    counter->rollback();
    QCOMPARE(validate.execute(), 1);
}

void TestDbConnection::reconnectPreparesAgain()
{
    TestDatabase db;
    db.insertLine({});
    DbConnection connection;
    connection.open(db.settings());
    DbQuery query(connection, u"select NUM_VENTE from LISTE_COMMANDE where NUM_VENTE = :N"_s);
    DbStatement update(connection, u"update LISTE_COMMANDE set QTE = QTE + 1 where NUM_VENTE = :N"_s);
    query.setParam(0, 1);
    update.setParam(0, 1);
    query.open();
    QCOMPARE(update.execute(), 1);

    const quint64 before = connection.generation();
    connection.reconnect();
    QCOMPARE(connection.generation(), before + 1);
    query.refresh();
    QCOMPARE(query.rowCount(), 1);
    QCOMPARE(update.execute(), 1);
}

void TestDbConnection::killedAttachmentIsConnectionLost()
{
    TestDatabase db;
    DbConnection station;
    station.open(db.settings());
    DbQuery me(station, u"select CURRENT_CONNECTION from RDB$DATABASE"_s);
    me.open();
    const qint64 id = me.row(0).at(0).toInteger();

    // an administrator ends the station's attachment
    auto admin = db.connect();
    DbStatement kill(*admin, u"delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :ID"_s);
    kill.setParam(0, id);
    QCOMPARE(kill.execute(), 1);

    bool lost = false;
    const QString message = errorOf([&] { me.refresh(); }, &lost);
    QVERIFY2(!message.isEmpty(), "the query on a killed attachment must fail");
    QVERIFY2(lost, qPrintable(message));
    QVERIFY(!me.isOpen());

    station.reconnect();
    me.refresh();
    QCOMPARE(me.rowCount(), 1);
}

void TestDbConnection::cancelFromAnotherThread()
{
    TestDatabase db;
    DbConnection station;
    station.open(db.settings());
    // long enough to be still running when the watchdog fires
    DbQuery slow(station, u"select count(*) from RDB$FIELDS a, RDB$FIELDS b, RDB$FIELDS c, RDB$FIELDS d"_s);
    std::thread watchdog([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        station.cancelOperation();
    });
    bool lost = false;
    const QString message = errorOf([&] { slow.open(); }, &lost);
    watchdog.join();
    QVERIFY2(!message.isEmpty(), "the cancelled query must fail");
    QVERIFY2(lost, qPrintable(message));

    station.reconnect();
    DbQuery quick(station, u"select 1 from RDB$DATABASE"_s);
    quick.open();
    QCOMPARE(quick.rowCount(), 1);
}

void TestDbConnection::scriptErrorNamesStatement()
{
    TestDatabase db(u"create table T (A int);"_s);
    DbConnection connection;
    connection.open(db.settings());
    const QString message =
        errorOf([&] { connection.executeScript(u"insert into T values (1);\ninsert into NOPE values (2);"_s); });
    QVERIFY2(message.contains(u"NOPE"_s) && message.contains(u"insert into NOPE values (2)"_s), qPrintable(message));
    QCOMPARE(scalar(connection, u"select count(*) from T"_s), 1);
}

QTEST_GUILESS_MAIN(TestDbConnection)
#include "tst_dbconnection.moc"
