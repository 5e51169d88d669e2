// The validated-lines panel of the main window and its commands against a
// real database: the grid and the article box, recall, reprint, line
// withdrawal, the working date and its history menu, the validated-orders
// dialog behind which the board goes on refreshing, and quitting.

#include "StationFixture.h"
#include "forms/ErrorBox.h"
#include "forms/TF_liste_commande.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

class TestValidatedPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void grid();
    void recall_data();
    void recall();
    void emptyListCommandsDoNothing();
    void reprint_data();
    void reprint();
    void withdrawalOfAnArticleInTwoSizes();
    void history_data();
    void history();
    void todayAgainRereadsBothLists();
    void typedDate();
    void emptyWorkingDate();
    void dialogOverTheRefreshingBoard();
    void quit();

private:
    QStringList m_errors;
};

namespace {

const QDate today = QDate::currentDate();

FixtureLine validated(int number, const QString &article, TimeOfDay time)
{
    return { .NUM_VENTE = number, .VALIDE = u"True"_s, .ARTICLE = article, .TIME_ORDER = time };
}

QStringList clips(int number)
{
    return { u"TALABIA"_s, u"FA"_s + QString::number(number) };
}

void clickRow(GridView *grid, int row)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

void TestValidatedPanel::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ErrorBox::setPresenter([this](const QString &message) { m_errors << message; });
}

void TestValidatedPanel::init()
{
    m_errors.clear();
}

void TestValidatedPanel::cleanup()
{
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
}

void TestValidatedPanel::grid()
{
    StationFixture station;
    QAbstractItemModelTester tester(station.window->cxGrid2DBTableView1->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    station.db.insertLine(validated(1, u"Soupe"_s, TimeOfDay::fromHms(10, 0, 0)));
    station.db.insertLine({ .NUM_VENTE = 2,
                            .NUMERO_TABLE = 12.0,
                            .VALIDE = u"True"_s,
                            .ARTICLE = u"Tajine"_s,
                            .QTE = 2.0,
                            .TIME_ORDER = TimeOfDay::fromHms(12, 5, 9, 4321) });
    station.db.insertLine(validated(3, u"Salade"_s, TimeOfDay::fromHms(11, 0, 0)));
    station.db.insertLine(validated(4, u"Hier"_s, TimeOfDay::fromHms(13, 0, 0)));
    station.db.run(u"update LISTE_COMMANDE set DATE_VENTE = DATE_VENTE - 1 where NUM_VENTE = 4"_s);
    GridView *grid = station.window->cxGrid2DBTableView1;
    QCOMPARE(grid->emptyText(), TVente_au_comptoir_zedivad::emptyGridText());
    QCOMPARE(station.gridColumn(0), QStringList());

    station.login();
    // the latest validation on top, the current row with it
    QCOMPARE(station.gridColumn(TVente_au_comptoir_zedivad::cxGrid2DBTableView1NUM_VENTE),
             (QStringList { u"2"_s, u"3"_s, u"1"_s }));
    QCOMPARE(station.gridColumn(TVente_au_comptoir_zedivad::cxGrid2DBTableView1Column3).first(),
             u"12:05:09"_s);
    QCOMPARE(station.gridColumn(TVente_au_comptoir_zedivad::cxGrid2DBTableView1Column2).first(), u"2"_s);
    QCOMPARE(station.gridColumn(TVente_au_comptoir_zedivad::cxGrid2DBTableView1NUMERO_TABLE).first(),
             u"12"_s);
    QCOMPARE(station.currentGridRow(), 0);
    QCOMPARE(station.window->cxDBTextEdit1->text(), u"Tajine"_s);
    QVERIFY(grid->isColumnHidden(TVente_au_comptoir_zedivad::cxGrid2DBTableView1Column1));
    QVERIFY(grid->isColumnHidden(TVente_au_comptoir_zedivad::cxGrid2DBTableView1VALIDE));
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QVERIFY(!grid->isSortingEnabled());
    QVERIFY(!(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable));

    // a click makes a row current; the article box follows
    clickRow(grid, 2);
    QCOMPARE(station.currentGridRow(), 2);
    QCOMPARE(station.window->Liste_Commande.asInteger(u"NUM_VENTE"_s), 1);
    QCOMPARE(station.window->cxDBTextEdit1->text(), u"Soupe"_s);
    QVERIFY(grid->selectionModel()->isRowSelected(2));
    QVERIFY(!station.window->cxDBTextEdit1->isEnabled());
}

void TestValidatedPanel::recall_data()
{
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<bool>("displayOpen");
    QTest::addColumn<bool>("called");

    QTest::newRow("button, display open: shown and announced") << false << true << true;
    QTest::newRow("button, display closed: silent") << false << false << false;
    QTest::newRow("double click, display open") << true << true << true;
    QTest::newRow("double click, display closed: written and announced all the same")
        << true << false << true;
}

void TestValidatedPanel::recall()
{
    QFETCH(bool, doubleClick);
    QFETCH(bool, displayOpen);
    QFETCH(bool, called);
    StationFixture station;
    const qint64 pizza = station.db.insertLine(validated(5, u"Pizza"_s, TimeOfDay::fromHms(10, 0, 0)));
    station.db.insertLine(validated(6, u"Tacos"_s, TimeOfDay::fromHms(11, 0, 0)));
    station.login();
    if (displayOpen)
        station.openDisplay();
    GridView *grid = station.window->cxGrid2DBTableView1;
    QCOMPARE(station.gridColumn(0), (QStringList { u"6"_s, u"5"_s }));

    if (doubleClick) {
        // the double-clicked row is the one called, whatever was current
        QCOMPARE(station.currentGridRow(), 0);
        // as the window system delivers it: a click, then the double click
        const QRect cell = grid->visualRect(grid->model()->index(1, 0));
        QSignalSpy spy(grid, &QAbstractItemView::doubleClicked);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(spy.count(), 1);
    } else {
        clickRow(grid, 1);
        QTest::mouseClick(station.window->cxButton3, Qt::LeftButton);
    }

    TFAfficher_Numero *display = station.window->FAfficher_Numero();
    QCOMPARE(display->numberText(), called ? u"5"_s : u"0"_s);
    QCOMPARE(display->articleText(), called ? u"Pizza"_s : QString());
    QCOMPARE(station.announcements(), called ? QList<QStringList> { clips(5) } : QList<QStringList>());
    QCOMPARE(display->isVisible(), displayOpen);
    // nothing written
    QCOMPARE(station.valide(pizza), u"True"_s);
    QVERIFY(station.labels().isEmpty());
}

void TestValidatedPanel::emptyListCommandsDoNothing()
{
    // no validated line: the commands have no line to act on. A line that the
    // values of an empty list (0, 0, an empty size) would name is left alone.
    StationFixture station;
    const qint64 zero
        = station.db.insertLine({ .NUM_VENTE = 0, .VALIDE = DbValue(), .CLE_ART = 0, .TAILLE = u""_s });
    station.login();
    station.openDisplay();
    QVERIFY(station.gridColumn(0).isEmpty());

    for (StationButton *button :
         { station.window->cxButton3, station.window->cxButton7, station.window->cxButton2 })
        QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(station.announcements().isEmpty());
    QVERIFY(station.labels().isEmpty());
    QVERIFY(station.field(zero, u"VALIDE"_s).isNull());
    QCOMPARE(station.window->FAfficher_Numero()->numberText(), u"0"_s);
}

void TestValidatedPanel::reprint_data()
{
    QTest::addColumn<DbValue>("size");
    QTest::newRow("size L") << DbValue(u"L"_s);
    QTest::newRow("NULL size: the label finds its line") << DbValue();
}

void TestValidatedPanel::reprint()
{
    QFETCH(DbValue, size);
    StationFixture station;
    station.db.insertLine({ .NUM_VENTE = 7,
                            .VALIDE = u"True"_s,
                            .CLE_ART = 55,
                            .ARTICLE = u"Chawarma"_s,
                            .TIME_ORDER = TimeOfDay::fromHms(9, 0, 0),
                            .TAILLE = size });
    // the same order and article in another size: not this label
    station.db.insertLine({ .NUM_VENTE = 7,
                            .VALIDE = u"True"_s,
                            .CLE_ART = 55,
                            .ARTICLE = u"Chawarma XL"_s,
                            .TIME_ORDER = TimeOfDay::fromHms(8, 0, 0),
                            .TAILLE = u"XL"_s });
    station.login();
    // printing off and the display closed make no difference
    QVERIFY(!station.window->cxCheckBox12->isChecked());
    QVERIFY(!station.window->displayOpen());
    QCOMPARE(station.window->cxDBTextEdit1->text(), u"Chawarma"_s);

    QTest::mouseClick(station.window->cxButton7, Qt::LeftButton);
    QCOMPARE(station.labels().size(), 1);
    QVERIFY2(station.labels().at(0).contains(u"7"_s), qPrintable(station.labels().at(0).join(u'|')));
    QVERIFY(station.labels().at(0).contains(u"Chawarma"_s));
    QVERIFY(station.announcements().isEmpty());
}

void TestValidatedPanel::withdrawalOfAnArticleInTwoSizes()
{
    StationFixture station;
    const TimeOfDay validatedAt = TimeOfDay::fromHms(10, 30, 0, 77);
    const auto line = [&](int number, int key, const QString &size, QDate date = today) {
        return station.db.insertLine({ .NUM_VENTE = number,
                                       .DATE_VENTE = date,
                                       .VALIDE = u"True"_s,
                                       .CLE_ART = key,
                                       .TIME_ORDER = validatedAt,
                                       .TAILLE = size });
    };
    const qint64 medium = line(17, 100, u"M"_s);
    const qint64 large = line(17, 100, u"L"_s);
    const qint64 otherArticle = line(17, 200, u"M"_s);
    const qint64 otherOrder = line(18, 100, u"M"_s);
    const qint64 lastWeek = line(17, 100, u"M"_s, today.addDays(-7));
    station.login();
    station.window->Timer2->stop(); // the command rebuilds the board itself
    QCOMPARE(station.tilesNumbered(17), 0);

    const QStringList keys = station.gridColumn(TVente_au_comptoir_zedivad::cxGrid2DBTableView1NUM_VENTE);
    QCOMPARE(keys.size(), 4);
    for (int row = 0; row < 4; ++row) {
        station.window->dListe_Commande->setCurrentRow(row);
        if (station.window->Liste_Commande.asInteger(u"NUM_VENTE"_s) == 17
            && station.window->Liste_Commande.asInteger(u"CLE_ART"_s) == 100)
            break;
    }
    QTest::mouseClick(station.window->cxButton2, Qt::LeftButton);

    QCOMPARE(station.valide(medium), u"False"_s);
    QCOMPARE(station.valide(large), u"False"_s);
    QCOMPARE(station.timeOrder(medium).toTime(), validatedAt);
    QCOMPARE(station.valide(otherArticle), u"True"_s);
    QCOMPARE(station.valide(otherOrder), u"True"_s);
    QCOMPARE(station.valide(lastWeek), u"True"_s);
    // both sizes are tiles again at once; the list no longer has them
    QCOMPARE(station.tilesNumbered(17), 2);
    QCOMPARE(station.gridColumn(0).size(), 2);
    QCOMPARE(station.currentGridRow(), 0);
}

void TestValidatedPanel::history_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("yesterday");
    QTest::addColumn<QDate>("workingDate");

    QTest::newRow("Hier on the first of March of a leap year")
        << QDate(2024, 3, 1) << true << QDate(2024, 2, 29);
    QTest::newRow("Hier on the first of March") << QDate(2025, 3, 1) << true << QDate(2025, 2, 28);
    QTest::newRow("Hier on New Year's Day") << QDate(2025, 1, 1) << true << QDate(2024, 12, 31);
    QTest::newRow("Aujourd'hui") << QDate(2025, 1, 1) << false << QDate(2025, 1, 1);
}

void TestValidatedPanel::history()
{
    QFETCH(QDate, today);
    QFETCH(bool, yesterday);
    QFETCH(QDate, workingDate);
    StationFixture station;
    for (int offset = -2; offset <= 1; ++offset) {
        const QDate date = workingDate.addDays(offset);
        const int number = date.day();
        station.db.insertLine({ .NUM_VENTE = number,
                                .DATE_VENTE = date,
                                .VALIDE = u"True"_s,
                                .TIME_ORDER = TimeOfDay::fromHms(9, 0, 0) });
        station.db.insertLine({ .NUM_VENTE = 100 + number, .DATE_VENTE = date });
    }
    station.window->setToday([today] { return today; });
    station.login();

    (yesterday ? station.window->MenuItem2 : station.window->MenuItem1)->trigger();
    QCOMPARE(station.window->cxDateEdit2->date(), workingDate);
    QCOMPARE(station.gridColumn(0), QStringList { QString::number(workingDate.day()) });
    QCOMPARE(station.window->Groupe1->tiles().size(), 1);
    QCOMPARE(station.tilesNumbered(100 + workingDate.day()), 1);
}

void TestValidatedPanel::todayAgainRereadsBothLists()
{
    StationFixture station;
    station.login();
    station.window->Timer2->stop();
    QVERIFY(station.gridColumn(0).isEmpty());
    // another station and the counter write meanwhile; nothing re-reads on its own
    station.db.insertLine(validated(3, u"Pizza"_s, TimeOfDay::fromHms(9, 0, 0)));
    station.db.insertLine({ .NUM_VENTE = 4 });
    QVERIFY(station.gridColumn(0).isEmpty());

    station.window->MenuItem1->trigger();
    QCOMPARE(station.window->cxDateEdit2->date(), QDate::currentDate());
    QCOMPARE(station.gridColumn(0), QStringList { u"3"_s });
    QCOMPARE(station.tilesNumbered(4), 1);
}

void TestValidatedPanel::typedDate()
{
    StationFixture station;
    station.db.insertLine({ .NUM_VENTE = 8, .DATE_VENTE = today.addDays(-1), .VALIDE = u"True"_s });
    station.db.insertLine({ .NUM_VENTE = 9, .DATE_VENTE = today.addDays(-1) });
    station.login();
    station.window->Timer2->stop();
    QVERIFY(station.gridColumn(0).isEmpty());

    DateEdit *date = station.window->cxDateEdit2;
    date->setFocus();
    date->selectAll();
    QTest::keyClicks(date, today.addDays(-1).toString(u"ddMMyyyy"_s));
    QTRY_COMPARE(station.gridColumn(0), QStringList { u"8"_s });
    QCOMPARE(station.tilesNumbered(9), 1);
}

void TestValidatedPanel::emptyWorkingDate()
{
    StationFixture station;
    station.db.insertLine(validated(3, u"Pizza"_s, TimeOfDay::fromHms(9, 0, 0)));
    station.db.insertLine({ .NUM_VENTE = 4 });
    station.login();
    station.openDisplay();
    QCOMPARE(station.gridColumn(0), QStringList { u"3"_s });

    // with the server gone as well: an empty date asks the database nothing
    station.cutConnection();
    DateEdit *date = station.window->cxDateEdit2;
    date->showPopup();
    date->clearButton()->click();
    QVERIFY(!date->date().isValid());
    QVERIFY(station.gridColumn(0).isEmpty());
    QVERIFY(station.window->Groupe1->tiles().isEmpty());
    QCOMPARE(station.window->cxDBTextEdit1->text(), QString());
    // the refresh goes on over the empty date, the commands find no line
    QTest::qWait(120);
    QVERIFY(station.window->Groupe1->tiles().isEmpty());
    for (StationButton *button :
         { station.window->cxButton3, station.window->cxButton7, station.window->cxButton2 })
        QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(station.announcements().isEmpty());
    QVERIFY(station.labels().isEmpty());

    station.window->UniConnection1.reconnect();
    date->showPopup();
    date->todayButton()->click();
    QCOMPARE(station.gridColumn(0), QStringList { u"3"_s });
    QTRY_COMPARE(station.tilesNumbered(4), 1);
}

void TestValidatedPanel::dialogOverTheRefreshingBoard()
{
    // the dialog follows the application's reading order, the main window keeps its own
    // (set after the window: its localizers leave the order left to right)
    StationFixture station;
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    QCOMPARE(station.window->layoutDirection(), Qt::LeftToRight);
    const auto line = [&](int number, int key, const QString &kitchen) {
        return station.db.insertLine({ .NUM_VENTE = number,
                                       .VALIDE = u"True"_s,
                                       .CUISEN = kitchen,
                                       .CLE_ART = key,
                                       .TIME_ORDER = TimeOfDay::fromHms(9, 0, key) });
    };
    line(30, 1, u"Grill"_s);
    line(30, 2, u"Grill"_s);
    const qint64 noKitchen = line(30, 3, u""_s);
    line(31, 1, u"Grill"_s);
    station.login();
    QCOMPARE(station.gridColumn(0).size(), 4);

    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<TF_liste_commande *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const auto closeIt = qScopeGuard([dialog] { dialog->cxButton1->click(); });
        QCOMPARE(dialog->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(dialog->footerCount()->text(), u"4"_s);

        // the board goes on refreshing behind the dialog
        QVERIFY(station.window->Timer2->isActive());
        station.db.insertLine({ .NUM_VENTE = 32 });
        QTRY_COMPARE(station.tilesNumbered(32), 1);

        for (int row = 0; row < 4; ++row) {
            dialog->dListe_Commande->setCurrentRow(row);
            if (dialog->Liste_Commande.asInteger(u"NUM_VENTE"_s) == 30)
                break;
        }
        dialog->cxButton2->click();
        QCOMPARE(dialog->footerCount()->text(), u"1"_s);
        // the order's kitchen lines are tiles again at once; the line without a kitchen never is
        QCOMPARE(station.tilesNumbered(30), 2);
        QCOMPARE(station.valide(noKitchen), u"False"_s);
        ran = true;
    });
    QTest::mouseClick(station.window->cxButton5, Qt::LeftButton);
    QVERIFY(ran);
    QVERIFY(!QApplication::activeModalWidget());
    // the main window's list is re-read only by its own commands
    QCOMPARE(station.gridColumn(0).size(), 4);
    QCOMPARE(station.tilesNumbered(30), 2);
}

void TestValidatedPanel::quit()
{
    StationFixture station;
    station.login();
    QVERIFY(station.window->isVisible());
    QTest::mouseClick(station.window->cxButton1, Qt::LeftButton);
    QVERIFY(!station.window->isVisible());
}

QTEST_MAIN(TestValidatedPanel)
#include "tst_validatedpanel.moc"
