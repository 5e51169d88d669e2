#include "TestDatabase.h"
#include "data/DataModule.h"
#include "data/DbError.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

// The main window's queries and statements on the shared table, for a
// DATE_VENTE of type DATE and of type TIMESTAMP.
class TestDataModule : public QObject
{
    Q_OBJECT
private slots:
    void parameterPositions();
    void pendingLines_data();
    void pendingLines();
    void dateFilterMatchesTheCastForm_data();
    void dateFilterMatchesTheCastForm();
    void dateFilterUsesTheIndex_data();
    void dateFilterUsesTheIndex();
    void invalidDateSelectsNothing();
    void validatedLinesInTimeOrder();
    void validation_data();
    void validation();
    void validationStampsTheTime();
    void validationTakesDecimalTexts();
    void withdrawal();
    void labelQuery_data();
    void labelQuery();
    void optionQueryChangesTheLocatedRow();
    void optionQueryClosedBeforeLogin();
};

namespace {

const QDate day(2024, 5, 14);

QString schemaFor(bool timestamp)
{
    return timestamp ? TestDatabase::timestampSchema() : TestDatabase::schema();
}

DbValue dateValue(bool timestamp, QDate date, QTime time = QTime(0, 0))
{
    return timestamp ? DbValue(QDateTime(date, time)) : DbValue(date);
}

QList<qint64> keys(DbQuery &query)
{
    QList<qint64> result;
    for (int i = 0; i < query.rowCount(); ++i)
        result.append(query.row(i).at(query.fieldIndex(u"CLE_LISTE_COMMANDE"_s)).toInteger());
    std::sort(result.begin(), result.end());
    return result;
}

QList<qint64> keysWhere(DbConnection &connection, const QString &condition)
{
    DbQuery query(connection, u"select CLE_LISTE_COMMANDE from LISTE_COMMANDE where "_s + condition);
    query.open();
    return keys(query);
}

} // namespace

void TestDataModule::parameterPositions()
{
    DataModule module;
    QCOMPARE(module.Liste_article.paramNames(), QStringList {u"DATE_VENTE"_s});
    QCOMPARE(module.Liste_Commande.paramNames(), QStringList {u"DATE_VENTE"_s});
    QCOMPARE(module.Update_commande.paramNames(),
             (QStringList {u"P"_s, u"NUM_VENTE"_s, u"CLE_ART"_s, u"TAILLE"_s, u"DATE_VENTE"_s}));
    QCOMPARE(module.Update_commande1.paramNames(), (QStringList {u"NUM_VENTE"_s, u"CLE_ART"_s, u"DATE_VENTE"_s}));
    QCOMPARE(module.Tickt.paramNames(), (QStringList {u"NUM_VENTE"_s, u"CLE_ART"_s, u"TAILLE"_s, u"DATE_VENTE"_s}));
    QCOMPARE(module.OPTION_LOCALS_UTILISATEUR.paramCount(), 0);
    QVERIFY(module.Liste_Commande.sql().contains(u"order by TIME_ORDER"_s));
}

void TestDataModule::pendingLines_data()
{
    QTest::addColumn<bool>("timestamp");
    QTest::newRow("DATE column") << false;
    QTest::newRow("TIMESTAMP column") << true;
}

void TestDataModule::pendingLines()
{
    QFETCH(bool, timestamp);
    TestDatabase db(schemaFor(timestamp));
    const DbValue today = dateValue(timestamp, day);
    QList<qint64> expected;
    expected << db.insertLine({.DATE_VENTE = today, .VALIDE = u"False"_s});
    expected << db.insertLine({.DATE_VENTE = today, .VALIDE = u"true"_s});  // not exactly "True": pending
    expected << db.insertLine({.DATE_VENTE = today, .VALIDE = u"TRUE"_s});
    expected << db.insertLine({.NUM_VENTE = 0, .DATE_VENTE = today});      // in the query, no tile
    expected << db.insertLine({.NUM_VENTE = DbValue(), .DATE_VENTE = today});
    expected << db.insertLine({.DATE_VENTE = today, .TAILLE = DbValue()});
    if (timestamp) {
        expected << db.insertLine({.DATE_VENTE = dateValue(true, day, QTime(23, 59, 59, 999))});
        expected << db.insertLine({.DATE_VENTE = dateValue(true, day, QTime(12, 30))});
        db.insertLine({.DATE_VENTE = dateValue(true, day.addDays(1))});          // next midnight
        db.insertLine({.DATE_VENTE = dateValue(true, day, QTime(0, 0)).toDateTime().addMSecs(-1)});
    }
    db.insertLine({.DATE_VENTE = today, .VALIDE = u"True"_s});
    db.insertLine({.DATE_VENTE = today, .VALIDE = DbValue()});  // NULL: neither pending nor validated
    db.insertLine({.DATE_VENTE = today, .CUISEN = u""_s});       // no kitchen: never on the board
    db.insertLine({.DATE_VENTE = dateValue(timestamp, day.addDays(-1))});
    db.insertLine({.DATE_VENTE = dateValue(timestamp, day.addDays(1))});
    db.insertLine({.DATE_VENTE = DbValue()});
    std::sort(expected.begin(), expected.end());

    DataModule module;
    module.UniConnection1.open(db.settings());
    module.Liste_article.setParam(0, day);
    module.Liste_article.open();
    QCOMPARE(keys(module.Liste_article), expected);
    QCOMPARE(module.Liste_article.fieldNames().size(), 15);
}

void TestDataModule::dateFilterMatchesTheCastForm_data()
{
    pendingLines_data();
}

void TestDataModule::dateFilterMatchesTheCastForm()
{
    QFETCH(bool, timestamp);
    TestDatabase db(schemaFor(timestamp));
    const QList<QTime> times = {QTime(0, 0), QTime(0, 0, 0, 1), QTime(11, 0), QTime(23, 59, 59, 999)};
    for (int offset = -1; offset <= 1; ++offset) {
        for (const QTime &time : times)
            db.insertLine({.DATE_VENTE = dateValue(timestamp, day.addDays(offset), time)});
    }
    db.insertLine({.DATE_VENTE = DbValue()});

    DataModule module;
    module.UniConnection1.open(db.settings());
    DbQuery castForm(module.UniConnection1,
                     u"Select *\nFrom  LISTE_COMMANDE\nwhere ( Cast(DATE_VENTE as date) =:DATE_VENTE)\n"_s);
    DbQuery rangeForm(module.UniConnection1,
                      u"Select *\nFrom  LISTE_COMMANDE\nwhere ( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < "
                      "Cast(:DATE_VENTE as date) + 1)\n"_s);
    QVERIFY(module.Liste_articleSql.contains(u"( DATE_VENTE >= :DATE_VENTE and DATE_VENTE < Cast(:DATE_VENTE as "
                                             "date) + 1)"_s));
    for (int offset = -2; offset <= 2; ++offset) {
        castForm.setParam(0, day.addDays(offset));
        rangeForm.setParam(0, day.addDays(offset));
        castForm.open();
        rangeForm.open();
        QCOMPARE(keys(rangeForm), keys(castForm));
        QCOMPARE(rangeForm.rowCount(), offset >= -1 && offset <= 1 ? 4 : 0);
    }
}

void TestDataModule::dateFilterUsesTheIndex_data()
{
    pendingLines_data();
}

void TestDataModule::dateFilterUsesTheIndex()
{
    QFETCH(bool, timestamp);
    TestDatabase db(schemaFor(timestamp));
    DataModule module;
    module.UniConnection1.open(db.settings());
    for (DbQuery *query : {&module.Liste_article, &module.Liste_Commande, &module.Tickt}) {
        const QString plan = query->plan();
        QVERIFY2(plan.contains(u"IDX_LISTE_COMMANDE_DATE_VENTE"_s) || plan.contains(u"IDX_LISTE_COMMANDE_NUM_VENTE"_s),
                 qPrintable(plan));
        QVERIFY2(!plan.contains(u"NATURAL"_s), qPrintable(plan));
    }
    QVERIFY2(module.Liste_article.plan().contains(u"IDX_LISTE_COMMANDE_DATE_VENTE"_s),
             qPrintable(module.Liste_article.plan()));
    for (DbStatement *statement : {&module.Update_commande, &module.Update_commande1}) {
        const QString plan = statement->plan();
        QVERIFY2(!plan.contains(u"NATURAL"_s), qPrintable(plan));
    }
}

void TestDataModule::invalidDateSelectsNothing()
{
    TestDatabase db;
    db.insertLine({.DATE_VENTE = day});
    DataModule module;
    module.UniConnection1.open(db.settings());
    for (DbQuery *query : {&module.Liste_article, &module.Liste_Commande}) {
        query->setParam(0, QDate());
        query->open();
        QCOMPARE(query->rowCount(), 0);
    }
}

void TestDataModule::validatedLinesInTimeOrder()
{
    TestDatabase db;
    const qint64 late = db.insertLine({.NUM_VENTE = 1, .DATE_VENTE = day, .VALIDE = u"True"_s,
                                       .CUISEN = u""_s, .TIME_ORDER = TimeOfDay::fromHms(14, 0, 0)});
    const qint64 early = db.insertLine(
        {.NUM_VENTE = 2, .DATE_VENTE = day, .VALIDE = u"True"_s, .TIME_ORDER = TimeOfDay::fromHms(9, 0, 0, 5)});
    const qint64 middle = db.insertLine(
        {.NUM_VENTE = 3, .DATE_VENTE = day, .VALIDE = u"True"_s, .TIME_ORDER = TimeOfDay::fromHms(9, 0, 0, 6)});
    db.insertLine({.DATE_VENTE = day, .VALIDE = u"False"_s});
    db.insertLine({.DATE_VENTE = day.addDays(-1), .VALIDE = u"True"_s});
    DataModule module;
    module.UniConnection1.open(db.settings());
    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    QList<qint64> order;
    for (bool more = module.Liste_Commande.first(); more; more = module.Liste_Commande.next())
        order.append(module.Liste_Commande.asInteger(u"CLE_LISTE_COMMANDE"_s));
    // an empty kitchen is listed once validated; the fraction orders two lines of one second
    QCOMPARE(order, (QList<qint64> {early, middle, late}));
}

void TestDataModule::validation_data()
{
    QTest::addColumn<bool>("timestamp");
    QTest::addColumn<DbValue>("size");
    QTest::addColumn<QStringList>("validated"); // names of the lines that end up validated

    const auto rows = [](const char *kind, bool timestamp) {
        QTest::addRow("%s: the touched size only", kind) << timestamp << DbValue(u"M"_s)
                                                         << QStringList {u"M"_s, u"M twin"_s};
        QTest::addRow("%s: NULL size matches NULL size", kind) << timestamp << DbValue()
                                                               << QStringList {u"null size"_s};
        QTest::addRow("%s: empty size is not NULL", kind) << timestamp << DbValue(u""_s)
                                                          << QStringList {u"empty size"_s};
        QTest::addRow("%s: trailing blanks ignored", kind) << timestamp << DbValue(u"M  "_s)
                                                           << QStringList {u"M"_s, u"M twin"_s};
    };
    rows("DATE", false);
    rows("TIMESTAMP", true);
}

void TestDataModule::validation()
{
    QFETCH(bool, timestamp);
    QFETCH(DbValue, size);
    QFETCH(QStringList, validated);

    TestDatabase db(schemaFor(timestamp));
    const DbValue today = dateValue(timestamp, day, QTime(10, 30));
    const auto line = [&](const QString &name, const DbValue &taille, const DbValue &date, int number = 7,
                          int article = 100) {
        db.insertLine({.NUM_VENTE = number, .DATE_VENTE = date, .CLE_ART = article, .ARTICLE = name, .TAILLE = taille});
    };
    line(u"M"_s, u"M"_s, today);
    line(u"M twin"_s, u"M"_s, today);
    line(u"L"_s, u"L"_s, today);
    line(u"null size"_s, DbValue(), today);
    line(u"empty size"_s, u""_s, today);
    line(u"other day"_s, u"M"_s, dateValue(timestamp, day.addDays(-1), QTime(10, 30)));
    line(u"other day null"_s, DbValue(), dateValue(timestamp, day.addDays(1)));
    line(u"other order"_s, u"M"_s, today, 8);
    line(u"other article"_s, u"M"_s, today, 7, 101);

    DataModule module;
    module.UniConnection1.open(db.settings());
    module.Update_commande.setParam(0, TimeOfDay::fromHms(12, 0, 0));
    module.Update_commande.setParam(1, 7);
    module.Update_commande.setParam(2, 100);
    module.Update_commande.setParam(3, size);
    module.Update_commande.setParam(4, day);
    QCOMPARE(module.Update_commande.execute(), int(validated.size()));

    DbQuery names(module.UniConnection1, u"select ARTICLE from LISTE_COMMANDE where VALIDE = 'True' order by 1"_s);
    names.open();
    QStringList actual;
    for (int i = 0; i < names.rowCount(); ++i)
        actual.append(names.row(i).at(0).toText());
    validated.sort();
    QCOMPARE(actual, validated);
}

void TestDataModule::validationStampsTheTime()
{
    TestDatabase db;
    db.insertLine({.NUM_VENTE = 7, .DATE_VENTE = day});
    DataModule module;
    module.UniConnection1.open(db.settings());
    const TimeOfDay stamp = TimeOfDay::fromHms(18, 41, 2, 1234);
    module.Update_commande.setParam(0, stamp);
    module.Update_commande.setParam(1, 7);
    module.Update_commande.setParam(2, 100);
    module.Update_commande.setParam(3, u"M"_s);
    module.Update_commande.setParam(4, day);
    QCOMPARE(module.Update_commande.execute(), 1);
    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    QCOMPARE(module.Liste_Commande.rowCount(), 1);
    QCOMPARE(module.Liste_Commande.asTime(u"TIME_ORDER"_s), stamp);
    QCOMPARE(module.Liste_Commande.asText(u"VALIDE"_s), u"True"_s);
}

void TestDataModule::validationTakesDecimalTexts()
{
    TestDatabase db;
    db.insertLine({.NUM_VENTE = 42, .DATE_VENTE = day, .CLE_ART = 1234});
    DataModule module;
    module.UniConnection1.open(db.settings());
    module.Update_commande.setParam(0, TimeOfDay::fromHms(12, 0, 0));
    module.Update_commande.setParam(1, u"42"_s);
    module.Update_commande.setParam(2, u"1234"_s);
    module.Update_commande.setParam(3, u"M"_s);
    module.Update_commande.setParam(4, day);
    QCOMPARE(module.Update_commande.execute(), 1);

    module.Update_commande.setParam(1, u"4 2"_s);
    try {
        module.Update_commande.execute();
        QFAIL("a number text with a blank inside must not convert");
    } catch (const DbError &error) {
        QVERIFY2(error.message().contains(u"NUM_VENTE"_s) && error.message().contains(u"4 2"_s),
                 qPrintable(error.message()));
    }
}

void TestDataModule::withdrawal()
{
    TestDatabase db;
    const TimeOfDay stamp = TimeOfDay::fromHms(11, 11, 11);
    const auto line = [&](int number, int article, const DbValue &size, QDate date) {
        return db.insertLine({.NUM_VENTE = number, .DATE_VENTE = date, .VALIDE = u"True"_s, .CLE_ART = article,
                              .TIME_ORDER = stamp, .TAILLE = size});
    };
    const qint64 small = line(7, 100, u"S"_s, day);
    const qint64 large = line(7, 100, u"L"_s, day);
    const qint64 noSize = line(7, 100, DbValue(), day);
    line(7, 100, u"S"_s, day.addDays(-1));
    line(7, 101, u"S"_s, day);
    line(8, 100, u"S"_s, day);

    DataModule module;
    module.UniConnection1.open(db.settings());
    module.Update_commande1.setParam(0, 7);
    module.Update_commande1.setParam(1, 100);
    module.Update_commande1.setParam(2, day);
    QCOMPARE(module.Update_commande1.execute(), 3);
    QCOMPARE(keysWhere(module.UniConnection1, u"VALIDE = 'False'"_s), (QList<qint64> {small, large, noSize}));
    // the validation time stays until the line is validated anew
    QCOMPARE(keysWhere(module.UniConnection1, u"TIME_ORDER = '11:11:11'"_s).size(), 6);
}

void TestDataModule::labelQuery_data()
{
    QTest::addColumn<DbValue>("number");
    QTest::addColumn<DbValue>("article");
    QTest::addColumn<DbValue>("size");
    QTest::addColumn<QStringList>("articles");

    QTest::newRow("three texts, as the tile gives them")
        << DbValue(u"7"_s) << DbValue(u"100"_s) << DbValue(u"M"_s) << QStringList {u"Pizza M"_s};
    QTest::newRow("integers and a text, as the grid gives them")
        << DbValue(7) << DbValue(100) << DbValue(u"M"_s) << QStringList {u"Pizza M"_s};
    QTest::newRow("a NULL size prints its own line") << DbValue(7) << DbValue(100) << DbValue()
                                                     << QStringList {u"Pizza sans taille"_s};
    QTest::newRow("no such line") << DbValue(0) << DbValue(0) << DbValue(u""_s) << QStringList();
}

void TestDataModule::labelQuery()
{
    QFETCH(DbValue, number);
    QFETCH(DbValue, article);
    QFETCH(DbValue, size);
    QFETCH(QStringList, articles);

    TestDatabase db;
    db.insertLine({.NUM_VENTE = 7, .DATE_VENTE = day, .ARTICLE = u"Pizza M"_s, .TAILLE = u"M"_s});
    db.insertLine({.NUM_VENTE = 7, .DATE_VENTE = day, .ARTICLE = u"Pizza sans taille"_s, .TAILLE = DbValue()});
    db.insertLine({.NUM_VENTE = 7, .DATE_VENTE = day.addDays(-1), .ARTICLE = u"Pizza d'hier"_s, .TAILLE = u"M"_s});
    db.insertLine({.NUM_VENTE = 7, .DATE_VENTE = day.addDays(-1), .ARTICLE = u"hier sans taille"_s,
                   .TAILLE = DbValue()});

    DataModule module;
    module.UniConnection1.open(db.settings());
    module.Tickt.setParam(0, number);
    module.Tickt.setParam(1, article);
    module.Tickt.setParam(2, size);
    module.Tickt.setParam(3, day);
    module.Tickt.open();
    QStringList actual;
    for (int i = 0; i < module.Tickt.rowCount(); ++i)
        actual.append(module.Tickt.row(i).at(module.Tickt.fieldIndex(u"ARTICLE"_s)).toText());
    QCOMPARE(actual, articles);
    QCOMPARE(module.Tickt.fieldNames().mid(0, 14).last(), u"WAJBA_ORDER"_s);
}

void TestDataModule::optionQueryChangesTheLocatedRow()
{
    const QString option = u"Imprimer le Ticket Apres La Sauvegarde"_s;
    TestDatabase db(TestDatabase::schema() + TestDatabase::users()
                    + u"insert into OPTION_LOCALS_UTILISATEUR values (2, 'Imprimer le Ticket Apres La Sauvegarde', "
                      "'False');"
                      "insert into OPTION_LOCALS_UTILISATEUR values (2, 'Imprimer le Ticket Apres La Sauvegarde', "
                      "'False');"
                      "insert into OPTION_LOCALS_UTILISATEUR values (1, 'COULEUR', 'Bleu');"_s);
    DataModule module;
    module.UniConnection1.open(db.settings());
    module.OPTION_LOCALS_UTILISATEUR.open();
    QCOMPARE(module.OPTION_LOCALS_UTILISATEUR.rowCount(), 3);
    module.OPTION_LOCALS_UTILISATEUR.first();
    QVERIFY(module.OPTION_LOCALS_UTILISATEUR.locate(u"CLE_USER"_s, u"2"_s, u"OPTI"_s, option));
    module.OPTION_LOCALS_UTILISATEUR.edit();
    module.OPTION_LOCALS_UTILISATEUR.setField(u"PARAM"_s, u"True"_s);
    module.OPTION_LOCALS_UTILISATEUR.post();

    QCOMPARE(keysWhere(module.UniConnection1, u"1=0"_s), QList<qint64>()); // the connection still reads
    DbQuery stored(module.UniConnection1,
                   u"select PARAM, count(*) from OPTION_LOCALS_UTILISATEUR where CLE_USER = 2 group by PARAM"_s);
    stored.open();
    QCOMPARE(stored.rowCount(), 2);
    QCOMPARE(stored.row(0).at(1).toInteger(), 1);
    QCOMPARE(stored.row(1).at(1).toInteger(), 1);
}

void TestDataModule::optionQueryClosedBeforeLogin()
{
    TestDatabase db;
    DataModule module;
    module.UniConnection1.open(db.settings());
    try {
        module.OPTION_LOCALS_UTILISATEUR.first();
        QFAIL("a closed option query must refuse");
    } catch (const DbError &error) {
        QCOMPARE(error.message(), u"Cannot perform this operation on a closed dataset"_s);
    }
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_datamodule.moc"
