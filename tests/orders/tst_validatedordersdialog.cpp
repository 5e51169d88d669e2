#include "TestDatabase.h"
#include "data/DbConnection.h"
#include "data/DbQuery.h"
#include "data/DbStatement.h"
#include "data/QueryDataSource.h"
#include "forms/DateEdit.h"
#include "forms/ErrorBox.h"
#include "forms/GridView.h"
#include "forms/StationButton.h"
#include "forms/TF_liste_commande.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

// The validated-orders dialog against a real database: what it lists for its
// own date, its footer count, the order withdrawal and what it leaves alone.
class TestValidatedOrdersDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void look();
    void opensOnTodayWhateverTheWorkingDate_data();
    void opensOnTodayWhateverTheWorkingDate();
    void dialogDateReloads();
    void emptyDateLeavesTheDialogUsable();
    void statementsUseTheIndexes();
    void orderWithdrawal_data();
    void orderWithdrawal();
    void withdrawalOnAnEmptyList();
    void withdrawalErrorIsShownOnce();
    void followsTheReadingOrder_data();
    void followsTheReadingOrder();
    void retourCloses();

private:
    QStringList m_errors;
};

namespace {

const QDate today = QDate::currentDate();

FixtureLine validated(int number, QDate date = today)
{
    return { .NUM_VENTE = number,
             .DATE_VENTE = date,
             .VALIDE = u"True"_s,
             .TIME_ORDER = TimeOfDay::fromHms(11, 0, 0) };
}

QStringList column(const QAbstractItemModel *model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    texts.sort();
    return texts;
}

QString valideOf(DbConnection &connection, qint64 key)
{
    DbQuery query(connection, u"select VALIDE from LISTE_COMMANDE where CLE_LISTE_COMMANDE = :K"_s);
    query.setParam(0, key);
    query.open();
    return query.asText(u"VALIDE"_s);
}

/// A shown dialog on its own connection, and how often it rebuilt the board.
struct OpenDialog
{
    explicit OpenDialog(const TestDatabase &db)
    {
        connection.open(db.settings());
        dialog = std::make_unique<TF_liste_commande>(connection, [this] { ++boardRebuilds; });
        tester = std::make_unique<QAbstractItemModelTester>(
            dialog->dListe_Commande->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        dialog->show();
    }

    QAbstractItemModel *model() const { return dialog->dListe_Commande->model(); }

    DbConnection connection;
    std::unique_ptr<TF_liste_commande> dialog;
    std::unique_ptr<QAbstractItemModelTester> tester;
    int boardRebuilds = 0;
};

} // namespace

void TestValidatedOrdersDialog::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ErrorBox::setPresenter([this](const QString &message) { m_errors << message; });
}

void TestValidatedOrdersDialog::init()
{
    m_errors.clear();
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

void TestValidatedOrdersDialog::cleanup()
{
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

void TestValidatedOrdersDialog::look()
{
    TestDatabase db;
    OpenDialog open(db);
    TF_liste_commande &dialog = *open.dialog;
    QCOMPARE(dialog.windowTitle(), u"Liste Commande  "_s);
    QCOMPARE(dialog.size(), QSize(698, 580));
    QVERIFY(dialog.isModal());
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    QCOMPARE(dialog.Panel1->geometry(), QRect(1, 1, 696, 49));
    QCOMPARE(dialog.cxButton1->text(), u"Retour"_s);
    QCOMPARE(dialog.cxButton1->size(), QSize(105, 49));
    QCOMPARE(dialog.cxButton1->x(), 0);
    QCOMPARE(dialog.Label1->text(), u"Date de Travail"_s);
    QCOMPARE(dialog.cxDateEdit2->width(), 132);
    QCOMPARE(dialog.cxButton2->text(), u"dévalider la Commande"_s);
    QCOMPARE(dialog.cxButton2->size(), QSize(233, 44));
    // left to right: Retour, the label, the date, the withdrawal
    QVERIFY(dialog.cxButton1->geometry().right() < dialog.Label1->x());
    QVERIFY(dialog.Label1->geometry().right() < dialog.cxDateEdit2->x());
    QVERIFY(dialog.cxDateEdit2->geometry().right() < dialog.cxButton2->x());

    GridView *grid = dialog.cxGrid2DBTableView1;
    QStringList headers;
    for (int i = 0; i < grid->model()->columnCount(); ++i)
        headers << grid->model()->headerData(i, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList { u"N° Vente "_s, u"Date Vente"_s, u"Heure"_s, u"N° table"_s }));
    QCOMPARE(grid->horizontalHeader()->height(), 30);
    QCOMPARE(grid->verticalHeader()->width(), 10);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(!grid->isSortingEnabled());
    QVERIFY(!grid->horizontalHeader()->sectionsMovable());
    QCOMPARE(grid->emptyText(), TF_liste_commande::emptyGridText());
    // the four columns share the grid's width
    int widths = 0;
    for (int i = 0; i < 4; ++i)
        widths += grid->columnWidth(i);
    QCOMPARE(widths, grid->viewport()->width());
}

void TestValidatedOrdersDialog::opensOnTodayWhateverTheWorkingDate_data()
{
    QTest::addColumn<bool>("timestamp");
    QTest::newRow("DATE column") << false;
    QTest::newRow("TIMESTAMP column") << true;
}

void TestValidatedOrdersDialog::opensOnTodayWhateverTheWorkingDate()
{
    QFETCH(bool, timestamp);
    TestDatabase db(timestamp ? TestDatabase::timestampSchema() : TestDatabase::schema());
    const auto at = [timestamp](QDate date, QTime time) {
        return timestamp ? DbValue(QDateTime(date, time)) : DbValue(date);
    };
    // one order of three lines (one of them without a kitchen), one of one line
    const auto order17 = [&](QTime time, int key, const QString &kitchen) {
        db.insertLine({ .NUM_VENTE = 17,
                        .DATE_VENTE = at(today, time),
                        .TIME_VENTE = TimeOfDay::fromHms(12, 30, 5),
                        .NUMERO_TABLE = 4.0,
                        .VALIDE = u"True"_s,
                        .CUISEN = kitchen,
                        .CLE_ART = key });
    };
    order17(QTime(12, 30), 100, u"Grill"_s);
    order17(QTime(12, 30), 101, u"Grill"_s);
    order17(QTime(23, 59, 59), 102, u""_s);
    db.insertLine({ .NUM_VENTE = 18,
                    .DATE_VENTE = at(today, QTime(0, 0)),
                    .TIME_VENTE = TimeOfDay::fromHms(13, 1, 2),
                    .NUMERO_TABLE = 2.5,
                    .VALIDE = u"True"_s });
    db.insertLine({ .NUM_VENTE = 19, .DATE_VENTE = at(today, QTime(12, 0)) }); // pending
    db.insertLine(
        { .NUM_VENTE = 20, .DATE_VENTE = at(today.addDays(-1), QTime(23, 59)), .VALIDE = u"True"_s });
    db.insertLine({ .NUM_VENTE = 21, .DATE_VENTE = at(today.addDays(1), QTime(0, 0)), .VALIDE = u"True"_s });

    OpenDialog open(db);
    QCOMPARE(open.dialog->cxDateEdit2->date(), today);
    QCOMPARE(column(open.model(), TF_liste_commande::cxGrid2DBTableView1NUM_VENTE),
             (QStringList { u"17"_s, u"17"_s, u"17"_s, u"18"_s }));
    // the sale time, not the validation time
    QCOMPARE(column(open.model(), TF_liste_commande::cxGrid2DBTableView1TIME_VENTE),
             (QStringList { u"12:30:05"_s, u"12:30:05"_s, u"12:30:05"_s, u"13:01:02"_s }));
    QCOMPARE(column(open.model(), TF_liste_commande::cxGrid2DBTableView1NUMERO_TABLE),
             (QStringList { u"2,5"_s.replace(u',', QLocale().decimalPoint()), u"4"_s, u"4"_s, u"4"_s }));
    // the footer counts lines, not orders
    QCOMPARE(open.dialog->footerCount()->text(), u"4"_s);
    QCOMPARE(open.boardRebuilds, 0);
}

void TestValidatedOrdersDialog::dialogDateReloads()
{
    TestDatabase db;
    db.insertLine(validated(5));
    db.insertLine(validated(6, today.addDays(-3)));
    db.insertLine(validated(7, today.addDays(-3)));
    OpenDialog open(db);
    DateEdit *date = open.dialog->cxDateEdit2;

    date->setDate(today.addDays(-3));
    QCOMPARE(column(open.model(), 0), (QStringList { u"6"_s, u"7"_s }));
    QCOMPARE(open.dialog->footerCount()->text(), u"2"_s);

    // typed through the mask: the list follows once the date is complete
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, today.toString(u"ddMMyyyy"_s));
    QTRY_COMPARE(column(open.model(), 0), QStringList { u"5"_s });

    // today from the calendar
    date->setDate(today.addDays(-3));
    date->showPopup();
    date->todayButton()->click();
    QTRY_COMPARE(column(open.model(), 0), QStringList { u"5"_s });
    QVERIFY(!date->isPopupVisible());
    QCOMPARE(open.boardRebuilds, 0);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
}

void TestValidatedOrdersDialog::emptyDateLeavesTheDialogUsable()
{
    TestDatabase db;
    const qint64 line = db.insertLine(validated(5));
    OpenDialog open(db);
    QCOMPARE(open.model()->rowCount(), 1);

    open.dialog->cxDateEdit2->showPopup();
    open.dialog->cxDateEdit2->clearButton()->click();
    QVERIFY(!open.dialog->cxDateEdit2->date().isValid());
    QCOMPARE(open.model()->rowCount(), 0);
    QCOMPARE(open.dialog->footerCount()->text(), u"0"_s);

    // nothing listed, nothing withdrawn; the dialog goes on working
    open.dialog->cxButton2->click();
    QCOMPARE(valideOf(open.connection, line), u"True"_s);
    open.dialog->cxDateEdit2->setDate(today);
    QCOMPARE(open.model()->rowCount(), 1);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
}

void TestValidatedOrdersDialog::statementsUseTheIndexes()
{
    TestDatabase db;
    DbConnection connection;
    connection.open(db.settings());
    DbQuery list(connection, TF_liste_commande::Liste_CommandeSql);
    QVERIFY2(list.plan().contains(u"IDX_LISTE_COMMANDE_DATE_VENTE"_s), qPrintable(list.plan()));
    DbStatement withdrawal(connection, TF_liste_commande::Update_commandeSql);
    QVERIFY2(!withdrawal.plan().contains(u"NATURAL"_s), qPrintable(withdrawal.plan()));
    QCOMPARE(withdrawal.paramNames(), (QStringList { u"NUM_VENTE"_s, u"DATE_VENTE"_s }));
}

void TestValidatedOrdersDialog::orderWithdrawal_data()
{
    QTest::addColumn<QDate>("dialogDate");
    QTest::newRow("today's order") << today;
    QTest::newRow("an order of an earlier day") << today.addDays(-7);
}

void TestValidatedOrdersDialog::orderWithdrawal()
{
    QFETCH(QDate, dialogDate);
    const QDate otherDate = dialogDate == today ? today.addDays(-7) : today;
    TestDatabase db;
    const TimeOfDay validatedAt = TimeOfDay::fromHms(11, 15, 30, 1234);
    const auto line = [&](int number, QDate date, int key, DbValue size, QString kitchen = u"Grill"_s) {
        return db.insertLine({ .NUM_VENTE = number,
                               .DATE_VENTE = date,
                               .VALIDE = u"True"_s,
                               .CUISEN = std::move(kitchen),
                               .CLE_ART = key,
                               .TIME_ORDER = validatedAt,
                               .TAILLE = std::move(size) });
    };
    const QList<qint64> order
        = { line(17, dialogDate, 100, u"M"_s), line(17, dialogDate, 100, u"L"_s),
            line(17, dialogDate, 200, DbValue()), line(17, dialogDate, 300, u"M"_s, u""_s) };
    const qint64 sameNumberOtherDay = line(17, otherDate, 100, u"M"_s);
    const qint64 otherOrder = line(18, dialogDate, 100, u"M"_s);

    OpenDialog open(db);
    open.dialog->cxDateEdit2->setDate(dialogDate);
    QCOMPARE(open.model()->rowCount(), 5);
    // any row of the order will do
    open.dialog->dListe_Commande->setCurrentRow(open.model()->index(0, 0).data().toString() == u"17"_s ? 0
                                                                                                       : 1);
    QCOMPARE(open.dialog->Liste_Commande.asInteger(u"NUM_VENTE"_s), 17);

    open.dialog->cxButton2->click();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    for (qint64 key : order)
        QCOMPARE(valideOf(open.connection, key), u"False"_s);
    QCOMPARE(valideOf(open.connection, sameNumberOtherDay), u"True"_s);
    QCOMPARE(valideOf(open.connection, otherOrder), u"True"_s);
    // the validation time stays as it was
    DbQuery times(open.connection, u"select distinct TIME_ORDER from LISTE_COMMANDE"_s);
    times.open();
    QCOMPARE(times.rowCount(), 1);
    QCOMPARE(times.asTime(u"TIME_ORDER"_s), validatedAt);

    QCOMPARE(column(open.model(), 0), QStringList { u"18"_s });
    QCOMPARE(open.dialog->footerCount()->text(), u"1"_s);
    QCOMPARE(open.boardRebuilds, 1);
}

void TestValidatedOrdersDialog::withdrawalOnAnEmptyList()
{
    TestDatabase db;
    const qint64 numberZero = db.insertLine({ .NUM_VENTE = 0, .DATE_VENTE = today, .VALIDE = DbValue() });
    OpenDialog open(db);
    QCOMPARE(open.model()->rowCount(), 0);
    open.dialog->cxButton2->click();
    QVERIFY(valideOf(open.connection, numberZero).isEmpty()); // NULL, untouched
    QCOMPARE(open.boardRebuilds, 0);
    QVERIFY(m_errors.isEmpty());
}

void TestValidatedOrdersDialog::withdrawalErrorIsShownOnce()
{
    TestDatabase db;
    const qint64 line = db.insertLine(validated(9));
    OpenDialog open(db);
    QCOMPARE(open.model()->rowCount(), 1);

    // an administrator ends the station's attachment
    DbQuery me(open.connection, u"select CURRENT_CONNECTION from RDB$DATABASE"_s);
    me.open();
    auto admin = db.connect();
    DbStatement kill(*admin, u"delete from MON$ATTACHMENTS where MON$ATTACHMENT_ID = :ID"_s);
    kill.setParam(0, me.asInteger(u"CURRENT_CONNECTION"_s));
    QCOMPARE(kill.execute(), 1);

    open.dialog->cxButton2->click();
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(open.boardRebuilds, 0);
    QCOMPARE(valideOf(*admin, line), u"True"_s);

    // a date change fails as well: one box for the change, an empty grid
    m_errors.clear();
    open.dialog->cxDateEdit2->setDate(today.addDays(-1));
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(open.model()->rowCount(), 0);
    QCOMPARE(open.dialog->footerCount()->text(), u"0"_s);

    // once attached again the dialog works
    open.connection.reconnect();
    QTest::qWait(0); // the failed change is over
    open.dialog->cxDateEdit2->setDate(today);
    QCOMPARE(open.model()->rowCount(), 1);
}

void TestValidatedOrdersDialog::followsTheReadingOrder_data()
{
    QTest::addColumn<Qt::LayoutDirection>("direction");
    QTest::newRow("French, left to right") << Qt::LeftToRight;
    QTest::newRow("Arabic, right to left") << Qt::RightToLeft;
}

void TestValidatedOrdersDialog::followsTheReadingOrder()
{
    QFETCH(Qt::LayoutDirection, direction);
    QGuiApplication::setLayoutDirection(direction);
    TestDatabase db;
    db.insertLine(validated(3));
    OpenDialog open(db);
    TF_liste_commande &dialog = *open.dialog;
    QCOMPARE(dialog.layoutDirection(), direction);
    const bool rtl = direction == Qt::RightToLeft;

    // "Retour" at the leading edge of the bar
    const QRect retour = dialog.cxButton1->geometry();
    QCOMPARE(rtl ? dialog.Panel1->width() - retour.right() - 1 : retour.left(), 0);
    QCOMPARE(rtl ? dialog.cxButton2->x() < dialog.cxDateEdit2->x()
                 : dialog.cxButton2->x() > dialog.cxDateEdit2->x(),
             true);

    // the count stands under the order-number column, wherever that is
    GridView *grid = dialog.cxGrid2DBTableView1;
    const int numberLeft = grid->viewport()->mapTo(&dialog, QPoint(grid->columnViewportPosition(0), 0)).x();
    const QRect count(dialog.footerCount()->mapTo(&dialog, QPoint(0, 0)), dialog.footerCount()->size());
    QCOMPARE(count.left(), numberLeft);
    QCOMPARE(count.width(), grid->columnWidth(0));
    QCOMPARE(rtl ? numberLeft > dialog.width() / 2 : numberLeft < dialog.width() / 2, true);
    QCOMPARE(dialog.footerCount()->text(), u"1"_s);
}

void TestValidatedOrdersDialog::retourCloses()
{
    TestDatabase db;
    OpenDialog open(db);
    QVERIFY(open.dialog->isVisible());
    QTest::mouseClick(open.dialog->cxButton1, Qt::LeftButton);
    QVERIFY(!open.dialog->isVisible());
}

QTEST_MAIN(TestValidatedOrdersDialog)
#include "tst_validatedordersdialog.moc"
