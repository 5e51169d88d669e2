#include "TestDatabase.h"
#include "TestHelpers.h"
#include "data/DbQuery.h"
#include "data/SchemaCheck.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using TestHelpers::errorOf;
using TestHelpers::scalar;

// counter-sim as the demo and the benchmarks use it.
class TestCounterSim : public QObject
{
    Q_OBJECT
private slots:
    void makesADatabase();
    void keepsAnExistingSchema();
    void stopsCleanlyOnTerm();
};

namespace {

QString program()
{
    return qEnvironmentVariable("STATION_BINARY_DIR") + u"/bin/counter-sim"_s;
}

} // namespace

void TestCounterSim::makesADatabase()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"demo.fdb"_s);
    QProcess sim;
    sim.start(program(), {file, u"--history-days"_s, u"3"_s, u"--lines-per-day"_s, u"1200"_s, u"--orders"_s, u"2"_s,
                          u"--rate"_s, u"600"_s});
    QVERIFY(sim.waitForFinished(120000));
    QCOMPARE(sim.exitCode(), 0);

    ConnectionSettings settings;
    settings.database = file;
    DbConnection connection;
    connection.open(settings);
    for (const SchemaCheck::Item &item : SchemaCheck::run(connection))
        QVERIFY2(item.ok, qPrintable(item.table + u'.' + item.column + u' ' + item.advice));

    const QDate today = QDate::currentDate();
    const QString pastDays = u"DATE_VENTE < '%1'"_s.arg(today.toString(Qt::ISODate));
    QCOMPARE(scalar(connection, u"select count(*) from LISTE_COMMANDE where "_s + pastDays), 3600);
    QCOMPARE(scalar(connection, u"select count(*) from LISTE_COMMANDE where VALIDE <> 'True' and "_s + pastDays), 0);
    // numbers start at 1 every day and never pass 999
    QCOMPARE(scalar(connection, u"select count(distinct DATE_VENTE) from LISTE_COMMANDE where NUM_VENTE = 1"_s), 4);
    QCOMPARE(scalar(connection, u"select max(NUM_VENTE) from LISTE_COMMANDE"_s) <= 999, true);
    QCOMPARE(scalar(connection, u"select count(distinct NUM_VENTE) from LISTE_COMMANDE where DATE_VENTE = '%1'"_s.arg(
                                   today.toString(Qt::ISODate))),
             2);
    QVERIFY(scalar(connection, u"select count(*) from LISTE_COMMANDE where TAILLE is null"_s) > 0);
    QVERIFY(scalar(connection, u"select count(*) from LISTE_COMMANDE where CUISEN = ''"_s) > 0);
    // French and Arabic article names, stored in windows-1256
    QVERIFY(scalar(connection, u"select count(*) from LISTE_COMMANDE where ARTICLE = 'Crêpe au chocolat'"_s) > 0);
    QVERIFY(scalar(connection, u"select count(*) from LISTE_COMMANDE where ARTICLE = 'شاورما دجاج'"_s) > 0);
    QCOMPARE(scalar(connection, u"select count(*) from UTILISA where BLOQUE = 'False'"_s), 3);
    QCOMPARE(scalar(connection, u"select count(*) from UTILISA where NAME = 'admin'"_s), 1);
}

void TestCounterSim::keepsAnExistingSchema()
{
    TestDatabase db(TestDatabase::timestampSchema());
    db.insertLine({.NUM_VENTE = 41});
    db.detach();
    QProcess sim;
    sim.start(program(), {db.databaseText(), u"--orders"_s, u"1"_s, u"--no-index"_s});
    QVERIFY(sim.waitForFinished(60000));
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY2(!sim.readAllStandardOutput().contains("created table"), "no table is made twice");

    auto connection = db.connect();
    // a TIMESTAMP column gets the time of the sale; the order number carries on from the stored ones
    QCOMPARE(scalar(*connection, u"select count(*) from LISTE_COMMANDE where NUM_VENTE = 42 and "
                                "cast(DATE_VENTE as time) <> '00:00'"_s) > 0,
             true);
}

void TestCounterSim::stopsCleanlyOnTerm()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"live.fdb"_s);
    QProcess sim;
    sim.start(program(), {file, u"--rate"_s, u"120"_s});
    QVERIFY(sim.waitForStarted());
    QByteArray output;
    QTRY_VERIFY2_WITH_TIMEOUT((output += sim.readAllStandardOutput()).contains("order 1:"),
                              QByteArray(output + sim.readAllStandardError()).constData(), 30000);
    sim.terminate();
    // it detaches and ends; left to the client library, the signal hangs the detach
    QVERIFY2(sim.waitForFinished(15000), "counter-sim did not end after SIGTERM");
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestCounterSim)
#include "tst_countersim.moc"
