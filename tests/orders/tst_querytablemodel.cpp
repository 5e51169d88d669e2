#include "TestDatabase.h"
#include "data/DataModule.h"
#include "data/DbError.h"
#include "data/QueryDataSource.h"
#include "data/QueryTableModel.h"

#include <QAbstractItemModelTester>
#include <QItemSelectionModel>
#include <QTest>

using namespace Qt::StringLiterals;

// The validated lines as a table model: display texts, the grid's own sort
// order, reloads after the query changed, and the current row shared
// between the query and the grid.
class TestQueryTableModel : public QObject
{
    Q_OBJECT
private slots:
    void displayText_data();
    void displayText();
    void compareValues_data();
    void compareValues();
    void sortedByDateThenTimeDescending();
    void queryOrderWithoutKeys();
    void reloadFollowsTheQuery();
    void unknownFieldLeavesTheModelAsItWas();
    void readOnly();
    void currentRowSharedWithTheGrid();
};

namespace {

const QDate day(2024, 5, 14);

QList<QueryColumn> validatedColumns()
{
    return { { u"NUM_VENTE"_s, u"N°"_s, Qt::AlignCenter },
             { u"NUMERO_TABLE"_s, u"Table"_s, Qt::AlignCenter },
             { u"DATE_VENTE"_s, u"Date"_s },
             { u"VALIDE"_s, QString(), Qt::AlignCenter },
             { u"QTE"_s, u"Qte"_s, Qt::AlignCenter },
             { u"TIME_ORDER"_s, u"Heure"_s, Qt::AlignCenter } };
}

QList<QuerySortKey> dateThenTimeDescending()
{
    return { { u"DATE_VENTE"_s, Qt::DescendingOrder }, { u"TIME_ORDER"_s, Qt::DescendingOrder } };
}

QStringList column(const QAbstractItemModel &model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

FixtureLine validated(int number, TimeOfDay time, QDate date = day)
{
    return { .NUM_VENTE = number, .DATE_VENTE = date, .VALIDE = u"True"_s, .TIME_ORDER = time };
}

} // namespace

void TestQueryTableModel::displayText_data()
{
    QTest::addColumn<DbValue>("value");
    QTest::addColumn<QString>("text");

    const QLocale french(u"fr_FR"_s);
    QTest::newRow("NULL is an empty cell") << DbValue() << QString();
    QTest::newRow("integer") << DbValue(17) << u"17"_s;
    QTest::newRow("whole quantity without decimals") << DbValue(2.0) << u"2"_s;
    QTest::newRow("fraction with the decimal comma") << DbValue(1.5) << u"1,5"_s;
    QTest::newRow("table number") << DbValue(12.0) << u"12"_s;
    QTest::newRow("date in the short format") << DbValue(day) << french.toString(day, QLocale::ShortFormat);
    QTest::newRow("time without its fraction") << DbValue(TimeOfDay::fromHms(9, 5, 7, 9999)) << u"09:05:07"_s;
    QTest::newRow("text as stored") << DbValue(u"Pizza 4 fromages "_s) << u"Pizza 4 fromages "_s;
}

void TestQueryTableModel::displayText()
{
    QFETCH(DbValue, value);
    QFETCH(QString, text);
    QCOMPARE(QueryTableModel::displayText(value, QLocale(u"fr_FR"_s)), text);
}

void TestQueryTableModel::compareValues_data()
{
    QTest::addColumn<DbValue>("left");
    QTest::addColumn<DbValue>("right");
    QTest::addColumn<int>("result");

    QTest::newRow("NULL before a time") << DbValue() << DbValue(TimeOfDay::fromHms(0, 0, 0)) << -1;
    QTest::newRow("two NULLs are equal") << DbValue() << DbValue() << 0;
    QTest::newRow("times by their fraction")
        << DbValue(TimeOfDay::fromHms(12, 0, 0, 1)) << DbValue(TimeOfDay::fromHms(12, 0, 0, 2)) << -1;
    QTest::newRow("integers by value, not by text") << DbValue(9) << DbValue(10) << -1;
    QTest::newRow("integer against float") << DbValue(2) << DbValue(1.5) << 1;
    QTest::newRow("dates") << DbValue(day) << DbValue(day.addDays(-1)) << 1;
}

void TestQueryTableModel::compareValues()
{
    QFETCH(DbValue, left);
    QFETCH(DbValue, right);
    QFETCH(int, result);
    QCOMPARE(compareDbValues(left, right), result);
    QCOMPARE(compareDbValues(right, left), -result);
}

void TestQueryTableModel::sortedByDateThenTimeDescending()
{
    TestDatabase db;
    db.insertLine(validated(1, TimeOfDay::fromHms(9, 0, 0)));
    db.insertLine(validated(2, TimeOfDay::fromHms(14, 0, 0, 1)));
    db.insertLine(validated(3, TimeOfDay::fromHms(14, 0, 0)));
    db.insertLine({ .NUM_VENTE = 4, .DATE_VENTE = day, .VALIDE = u"True"_s }); // validated elsewhere, no time
    db.insertLine(validated(5, TimeOfDay::fromHms(9, 0, 0))); // same time as 1

    DataModule module;
    module.UniConnection1.open(db.settings());
    QueryTableModel model(module.Liste_Commande, validatedColumns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSortKeys(dateThenTimeDescending());
    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    model.reload();

    // latest validation on top; equal times keep the query's (time) order;
    // a line without a time at the bottom
    QCOMPARE(column(model, 0), (QStringList { u"2"_s, u"3"_s, u"1"_s, u"5"_s, u"4"_s }));
    // the query's last row, the latest time of day, is the model's top row
    module.Liste_Commande.last();
    QCOMPARE(model.rowForQueryRow(module.Liste_Commande.currentRow()), 0);
    for (int row = 0; row < model.rowCount(); ++row)
        QCOMPARE(model.rowForQueryRow(model.queryRow(row)), row);
    QCOMPARE(model.value(0, u"ARTICLE"_s), DbValue(u"Pizza"_s));
    QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), u"Heure"_s);
}

void TestQueryTableModel::queryOrderWithoutKeys()
{
    TestDatabase db;
    for (int number : { 30, 10, 20 })
        db.insertLine(validated(number, TimeOfDay::fromHms(10, 0, number)));
    DataModule module;
    module.UniConnection1.open(db.settings());
    DbQuery byNumber(module.UniConnection1, u"select * from LISTE_COMMANDE order by NUM_VENTE"_s);
    QueryTableModel model(byNumber, { { u"NUM_VENTE"_s, u"N° Vente "_s } });
    byNumber.open();
    model.reload();
    QCOMPARE(column(model, 0), (QStringList { u"10"_s, u"20"_s, u"30"_s }));
}

void TestQueryTableModel::reloadFollowsTheQuery()
{
    TestDatabase db;
    db.insertLine(validated(1, TimeOfDay::fromHms(9, 0, 0)));
    db.insertLine(validated(2, TimeOfDay::fromHms(10, 0, 0)));
    DataModule module;
    module.UniConnection1.open(db.settings());
    QueryTableModel model(module.Liste_Commande, validatedColumns());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setSortKeys(dateThenTimeDescending());

    QCOMPARE(model.rowCount(), 0); // never loaded
    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    model.reload();
    QCOMPARE(model.rowCount(), 2);

    // the query loses a row behind the model's back: the model keeps its copy
    // until reloaded, and never reads past the query's rows
    auto other = db.connect();
    DbStatement(*other, u"update LISTE_COMMANDE set VALIDE = 'False' where NUM_VENTE = 2"_s).execute();
    module.Liste_Commande.refresh();
    QCOMPARE(model.index(0, 0).data().toString(), u"2"_s);
    model.reload();
    QCOMPARE(column(model, 0), QStringList { u"1"_s });

    module.Liste_Commande.close();
    model.reload();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.queryRow(0), -1);
    QCOMPARE(model.rowForQueryRow(0), -1);
    QVERIFY(model.value(0, 0).isNull());
}

void TestQueryTableModel::unknownFieldLeavesTheModelAsItWas()
{
    TestDatabase db;
    db.insertLine(validated(1, TimeOfDay::fromHms(9, 0, 0)));
    DataModule module;
    module.UniConnection1.open(db.settings());
    QueryTableModel model(module.Liste_Commande,
                          { { u"NUM_VENTE"_s, u"N°"_s }, { u"NO_SUCH_FIELD"_s, u"?"_s } });
    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    QVERIFY_THROWS_EXCEPTION(DbError, model.reload());
    QCOMPARE(model.rowCount(), 0);
}

void TestQueryTableModel::readOnly()
{
    TestDatabase db;
    db.insertLine(validated(1, TimeOfDay::fromHms(9, 0, 0)));
    DataModule module;
    module.UniConnection1.open(db.settings());
    QueryTableModel model(module.Liste_Commande, validatedColumns());
    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    model.reload();
    const QModelIndex cell = model.index(0, 0);
    QVERIFY(!(model.flags(cell) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(cell, u"99"_s));
    QCOMPARE(cell.data().toString(), u"1"_s);
    QCOMPARE(cell.data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::Alignment(Qt::AlignCenter));
}

void TestQueryTableModel::currentRowSharedWithTheGrid()
{
    TestDatabase db;
    db.insertLine({ .NUM_VENTE = 1,
                    .DATE_VENTE = day,
                    .VALIDE = u"True"_s,
                    .ARTICLE = u"Tacos"_s,
                    .TIME_ORDER = TimeOfDay::fromHms(9, 0, 0) });
    db.insertLine({ .NUM_VENTE = 2,
                    .DATE_VENTE = day,
                    .VALIDE = u"True"_s,
                    .ARTICLE = u"Pizza"_s,
                    .TIME_ORDER = TimeOfDay::fromHms(10, 0, 0) });
    DataModule module;
    module.UniConnection1.open(db.settings());
    QueryDataSource source(module.Liste_Commande, validatedColumns());
    source.model()->setSortKeys(dateThenTimeDescending());
    QItemSelectionModel selection(source.model());
    source.setSelectionModel(&selection);
    int changes = 0;
    connect(&source, &QueryDataSource::currentChanged, this, [&changes] { ++changes; });

    // a closed query: no current row, no text, no error
    source.queryChanged();
    QCOMPARE(source.currentRow(), -1);
    QCOMPARE(source.currentText(u"ARTICLE"_s), QString());

    module.Liste_Commande.setParam(0, day);
    module.Liste_Commande.open();
    module.Liste_Commande.last();
    source.queryChanged();
    QCOMPARE(selection.currentIndex().row(), 0);
    QVERIFY(selection.isRowSelected(0));
    QCOMPARE(source.currentText(u"ARTICLE"_s), u"Pizza"_s);

    // a click on the grid moves the query
    changes = 0;
    selection.setCurrentIndex(source.model()->index(1, 3),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QCOMPARE(changes, 1);
    QCOMPARE(module.Liste_Commande.asInteger(u"NUM_VENTE"_s), 1);
    QCOMPARE(source.currentText(u"ARTICLE"_s), u"Tacos"_s);

    source.setCurrentRow(0);
    QCOMPARE(module.Liste_Commande.asInteger(u"NUM_VENTE"_s), 2);
    QCOMPARE(selection.currentIndex().row(), 0);

    // an empty re-read leaves nothing current
    module.Liste_Commande.setParam(0, day.addDays(1));
    module.Liste_Commande.open();
    source.queryChanged();
    QVERIFY(!selection.currentIndex().isValid());
    QCOMPARE(source.currentText(u"ARTICLE"_s), QString());
}

QTEST_GUILESS_MAIN(TestQueryTableModel)
#include "tst_querytablemodel.moc"
