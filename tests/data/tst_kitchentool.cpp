#include "TestDatabase.h"
#include "TestHelpers.h"
#include "TestWorkingDirectory.h"

#include <QTest>

using namespace Qt::StringLiterals;

// kitchen-tool's database commands, run as an installer runs them: in a
// working directory with Ch.txt and station.ini.
class TestKitchenTool : public QObject
{
    Q_OBJECT
private slots:
    void pending_data();
    void pending();
    void validated();
    void checkDb_data();
    void checkDb();
    void failures_data();
    void failures();
};

namespace {

const QDate day(2024, 5, 14);

using Result = TestHelpers::ToolRun;

// The database must be detached first: an embedded file serves one process.
Result run(const QStringList &arguments, const QString &locale = u"C"_s)
{
    return TestHelpers::runKitchenTool(arguments, locale);
}

void fillLines(TestDatabase &db)
{
    db.insertLine({.NUM_VENTE = 12, .DATE_VENTE = day, .COLOR = 0x0000FF, .CLE_ART = 501, .ARTICLE = u"شاورما"_s,
                   .QTE = 2.0, .TAILLE = u"كبير"_s});
    db.insertLine({.NUM_VENTE = 0, .DATE_VENTE = day, .ARTICLE = u"numéro zéro"_s});
    db.insertLine({.NUM_VENTE = 13, .DATE_VENTE = day, .CLE_ART = 7, .ARTICLE = u"Crêpe"_s, .QTE = 1.5,
                   .TAILLE = DbValue()});
    db.insertLine({.NUM_VENTE = 14, .DATE_VENTE = day.addDays(-1), .ARTICLE = u"hier"_s});
    db.insertLine({.NUM_VENTE = 15, .DATE_VENTE = day, .NUMERO_TABLE = 4.0, .VALIDE = u"True"_s, .QTE = 3.0,
                   .TIME_ORDER = TimeOfDay::fromHms(9, 5, 7, 1234)});
    db.insertLine({.NUM_VENTE = 16, .DATE_VENTE = day, .NUMERO_TABLE = 2.5, .VALIDE = u"True"_s,
                   .ARTICLE = u"Thé à la menthe"_s, .QTE = 1.0, .TIME_ORDER = TimeOfDay::fromHms(11, 0, 0)});
    db.insertLine({.NUM_VENTE = 17, .DATE_VENTE = day, .VALIDE = u"True"_s, .CUISEN = u""_s, .QTE = 1.0,
                   .TIME_ORDER = TimeOfDay::fromHms(10, 0, 0)});
}

} // namespace

void TestKitchenTool::pending_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("decimal point") << u"C"_s
                                   << u"12\t2\tشاورما\t501\tكبير\n13\t1.5\tCrêpe\t7\t\n"_s;
    QTest::newRow("French decimal comma") << u"fr_FR.UTF-8"_s
                                          << u"12\t2\tشاورما\t501\tكبير\n13\t1,5\tCrêpe\t7\t\n"_s;
}

void TestKitchenTool::pending()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    TestDatabase db;
    fillLines(db);
    TestWorkingDirectory work(db);
    db.detach();
    const Result result = run({u"pending"_s, u"--date"_s, day.toString(Qt::ISODate)}, locale);
    QCOMPARE(result.err, QString());
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, expected);

    const Result otherDay = run({u"pending"_s, u"--date"_s, u"2024-05-13"_s});
    QCOMPARE(otherDay.out, u"14\t1\thier\t100\tM\n"_s);
}

void TestKitchenTool::validated()
{
    TestDatabase db;
    fillLines(db);
    TestWorkingDirectory work(db);
    db.detach();
    const Result result = run({u"validated"_s, u"--date"_s, day.toString(Qt::ISODate)});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, u"16\t2.5\t1\t11:00:00\tThé à la menthe\n"
                         "17\t1\t1\t10:00:00\tPizza\n"
                         "15\t4\t3\t09:05:07\tPizza\n"_s);
}

void TestKitchenTool::checkDb_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("everything there") << TestDatabase::schema() << 0
                                      << QStringList {u"index on LISTE_COMMANDE.DATE_VENTE\tIDX_LISTE_COMMANDE_DATE_VENTE\tok"_s,
                                                      u"everything the station relies on is there"_s};
    QTest::newRow("no index, narrow VALIDE, no TAILLE, no option table")
        << u"create table LISTE_COMMANDE (CLE_LISTE_COMMANDE integer, NUM_VENTE integer, DATE_VENTE timestamp, "
           "TIME_VENTE time, NUMERO_TABLE numeric(9,2), VALIDE varchar(4), COLOR integer, CUISEN varchar(50), "
           "PRIX double precision, CLE_ART integer, ARTICLE varchar(150), QTE double precision, TIME_ORDER "
           "timestamp, WAJBA_ORDER integer);"
           "create table UTILISA (CLE_USER integer, NAME varchar(40), PASS varchar(20), INFO varchar(100), "
           "BLOQUE varchar(5), POSTE varchar(50));"_s
        << 3
        << QStringList {u"column LISTE_COMMANDE.DATE_VENTE\tTIMESTAMP\tok"_s,
                        u"column LISTE_COMMANDE.NUMERO_TABLE\tNUMERIC(9,2)\tok"_s,
                        u"column LISTE_COMMANDE.VALIDE\tVARCHAR(4)\tunusable: at least 5 characters are needed"_s,
                        u"column LISTE_COMMANDE.TIME_ORDER\tTIMESTAMP\tunusable: TIME is needed (the station writes a "
                        "time of day)"_s,
                        u"column LISTE_COMMANDE.TAILLE\t-\tmissing: the column is missing"_s,
                        u"table OPTION_LOCALS_UTILISATEUR\t-\tmissing: the table is missing"_s,
                        u"index on LISTE_COMMANDE.DATE_VENTE\t-\tmissing: CREATE INDEX IDX_LISTE_COMMANDE_DATE_VENTE "
                        "ON LISTE_COMMANDE (DATE_VENTE);"_s,
                        u"6 problems"_s};
}

void TestKitchenTool::checkDb()
{
    QFETCH(QString, fixture);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    TestDatabase db(fixture);
    TestWorkingDirectory work(db);
    db.detach();
    const Result result = run({u"check-db"_s});
    QCOMPARE(result.status, status);
    const QStringList output = result.out.split(u'\n');
    for (const QString &line : lines)
        QVERIFY2(output.contains(line), qPrintable(u"missing line: "_s + line + u"\nin:\n"_s + result.out));
}

void TestKitchenTool::failures_data()
{
    QTest::addColumn<QString>("chTxt");      // empty: no Ch.txt at all
    QTest::addColumn<QByteArray>("ini");     // empty: the test database's own
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no Ch.txt") << QString() << QByteArray() << QStringList {u"pending"_s} << u"Ch.txt"_s;
    QTest::newRow("empty Ch.txt") << u"\r\n"_s << QByteArray() << QStringList {u"validated"_s}
                                  << u"holds no database text"_s;
    QTest::newRow("database file missing") << u"/nonexistent/station.fdb\r\nServeur\r\n"_s << QByteArray()
                                           << QStringList {u"check-db"_s} << u"/nonexistent/station.fdb"_s;
    QTest::newRow("unknown code page") << u"*"_s << QByteArray("[database]\ncodepage=klingon\n")
                                       << QStringList {u"pending"_s} << u"\"klingon\""_s;
    QTest::newRow("bad date") << u"*"_s << QByteArray() << QStringList {u"pending"_s, u"--date"_s, u"14/05/2024"_s}
                              << u"\"14/05/2024\" is not a date"_s;
    QTest::newRow("tables missing") << u"-"_s << QByteArray() << QStringList {u"pending"_s}
                                    << u"Table unknown\nLISTE_COMMANDE"_s;
}

void TestKitchenTool::failures()
{
    QFETCH(QString, chTxt);
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    TestDatabase db(chTxt == u"-"_s ? QString() : TestDatabase::schema());
    TestWorkingDirectory work(db);
    db.detach();
    if (chTxt.isEmpty())
        work.removeFile(u"Ch.txt"_s);
    else if (chTxt != u"*"_s && chTxt != u"-"_s)
        work.writeFile(u"Ch.txt"_s, chTxt.toUtf8());
    if (!ini.isEmpty())
        work.writeFile(u"station.ini"_s, ini);
    const Result result = run(arguments);
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QString());
    QVERIFY2(result.err.contains(expected), qPrintable(result.err));
}

QTEST_GUILESS_MAIN(TestKitchenTool)
#include "tst_kitchentool.moc"
