// A touch on a tile, from the board to the customer display, the label and the
// voice, against a real database with a recording sound sink and a recording
// printer.

#include "StationFixture.h"
#include "forms/ErrorBox.h"
#include "forms/StatusBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void touch_data();
    void touch();
    void identicalLinesGoTogether();
    void nullSizeIsValidated();
    void updateErrorShowsOneErrorAndTheRefreshGoesOn();
    void newLineIsTheTopAndCurrentRow();
    void noPendingLineDoesNothing();
    void noSoundDeviceValidatesAndSaysSo();
    void unusualOrderNumbers_data();
    void unusualOrderNumbers();

private:
    QStringList m_errors;
};

namespace {

const QDate today = QDate::currentDate();

QStringList clips(int number)
{
    return { u"TALABIA"_s, u"FA"_s + QString::number(number) };
}

} // namespace

void TestValidation::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ErrorBox::setPresenter([this](const QString &message) { m_errors << message; });
}

void TestValidation::init()
{
    m_errors.clear();
}

void TestValidation::touch_data()
{
    QTest::addColumn<bool>("displayOpen");
    QTest::addColumn<bool>("closedAgain");
    QTest::addColumn<bool>("printing");

    QTest::newRow("display never opened: nothing at all") << false << false << false;
    QTest::newRow("display closed, printing on: nothing printed either") << false << false << true;
    QTest::newRow("display opened, then closed: nothing at all") << true << true << true;
    QTest::newRow("display open, printing off: validated, shown, announced, no label")
        << true << false << false;
    QTest::newRow("display open, printing on: one label") << true << false << true;
}

void TestValidation::touch()
{
    QFETCH(bool, displayOpen);
    QFETCH(bool, closedAgain);
    QFETCH(bool, printing);
    StationFixture station;
    const qint64 line = station.db.insertLine(
        { .NUM_VENTE = 42, .CLE_ART = 7, .ARTICLE = u"Tacos poulet"_s, .TAILLE = u"L"_s });
    station.login();
    if (displayOpen)
        station.openDisplay();
    if (closedAgain) {
        station.window->FAfficher_Numero()->close();
        displayOpen = false;
    }
    station.window->cxCheckBox12->setChecked(printing);
    QCOMPARE(station.window->displayOpen(), displayOpen);

    const TimeOfDay before = TimeOfDay::currentTime();
    QVERIFY(station.touch(42));
    const TimeOfDay after = TimeOfDay::currentTime();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QVERIFY(station.window->Timer2->isActive());
    TFAfficher_Numero *display = station.window->FAfficher_Numero();

    if (!displayOpen) {
        QCOMPARE(station.valide(line), u"False"_s);
        QVERIFY(station.timeOrder(line).isNull());
        QCOMPARE(display->numberText(), u"0"_s);
        QCOMPARE(display->articleText(), QString());
        QVERIFY(station.announcements().isEmpty());
        QVERIFY(station.labels().isEmpty());
        QVERIFY(station.gridColumn(0).isEmpty());
        QCOMPARE(station.tilesNumbered(42), 1);
        return;
    }

    QCOMPARE(station.valide(line), u"True"_s);
    // the time of day of the touch, to the ten-thousandth of a second
    const TimeOfDay stamped = station.timeOrder(line).toTime();
    QVERIFY2(before <= stamped && stamped <= after, qPrintable(stamped.toString()));
    QCOMPARE(display->numberText(), u"42"_s);
    QCOMPARE(display->articleText(), u"Tacos poulet"_s);
    QCOMPARE(station.announcements(), QList<QStringList> { clips(42) });
    if (printing) {
        QCOMPARE(station.labels().size(), 1);
        QVERIFY2(station.labels().at(0).contains(u"42"_s), qPrintable(station.labels().at(0).join(u'|')));
        QVERIFY(station.labels().at(0).contains(u"Tacos poulet"_s));
    } else {
        QVERIFY(station.labels().isEmpty());
    }
    QCOMPARE(station.gridColumn(TVente_au_comptoir_zedivad::cxGrid2DBTableView1NUM_VENTE),
             QStringList { u"42"_s });
    QCOMPARE(station.window->cxDBTextEdit1->text(), u"Tacos poulet"_s);
    // the tile leaves the board at the next refresh
    QTRY_COMPARE(station.tilesNumbered(42), 0);
}

void TestValidation::identicalLinesGoTogether()
{
    StationFixture station;
    const auto line = [&](QDate date, const QString &size) {
        return station.db.insertLine({ .NUM_VENTE = 50, .DATE_VENTE = date, .CLE_ART = 100, .TAILLE = size });
    };
    const qint64 first = line(today, u"M"_s);
    const qint64 second = line(today, u"M"_s);
    const qint64 otherSize = line(today, u"L"_s);
    // order numbers start again every day: last week's 50 is another order
    const qint64 lastWeek = line(today.addDays(-7), u"M"_s);
    station.login();
    station.openDisplay();
    QCOMPARE(station.tilesNumbered(50), 3);

    QVERIFY(station.touch(50, u"M"_s));
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(station.valide(first), u"True"_s);
    QCOMPARE(station.valide(second), u"True"_s);
    QCOMPARE(station.timeOrder(first), station.timeOrder(second));
    QCOMPARE(station.valide(otherSize), u"False"_s);
    QCOMPARE(station.valide(lastWeek), u"False"_s);
    QVERIFY(station.timeOrder(lastWeek).isNull());
    // one announcement for the touch, both lines in the list, one tile left
    QCOMPARE(station.announcements().size(), 1);
    QCOMPARE(station.gridColumn(0), (QStringList { u"50"_s, u"50"_s }));
    QTRY_COMPARE(station.tilesNumbered(50), 1);
}

void TestValidation::nullSizeIsValidated()
{
    StationFixture station;
    const qint64 nullSize
        = station.db.insertLine({ .NUM_VENTE = 60, .ARTICLE = u"Café"_s, .TAILLE = DbValue() });
    const qint64 emptySize
        = station.db.insertLine({ .NUM_VENTE = 60, .ARTICLE = u"Café"_s, .TAILLE = u""_s });
    station.login();
    station.openDisplay();
    station.window->cxCheckBox12->setChecked(true);

    QVERIFY(station.touch(60, u""_s, true));
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(station.valide(nullSize), u"True"_s);
    QCOMPARE(station.valide(emptySize), u"False"_s);
    // the label finds its line
    QCOMPARE(station.labels().size(), 1);
    QVERIFY(station.labels().at(0).contains(u"60"_s));
    QVERIFY(station.labels().at(0).contains(u"Café"_s));
    QCOMPARE(station.announcements(), QList<QStringList> { clips(60) });
}

void TestValidation::updateErrorShowsOneErrorAndTheRefreshGoesOn()
{
    StationFixture station;
    const qint64 line = station.db.insertLine({ .NUM_VENTE = 70 });
    station.login();
    station.openDisplay();
    station.window->cxCheckBox12->setChecked(true);

    station.window->Timer2->stop(); // no tick between the cut and the touch
    station.cutConnection();
    const quint64 attachment = station.window->UniConnection1.generation();
    QVERIFY(station.touch(70));
    QVERIFY2(m_errors.size() == 1, qPrintable(m_errors.join(u'\n')));
    QCOMPARE(station.window->FAfficher_Numero()->numberText(), u"0"_s);
    QVERIFY(station.announcements().isEmpty());
    QVERIFY(station.labels().isEmpty());
    QVERIFY(station.window->Timer2->isActive());
    QCOMPARE(station.valide(line), u"False"_s);

    // the refresh attaches again and the tile is still there to be touched
    QTRY_VERIFY(station.window->UniConnection1.generation() > attachment
                && !station.window->boardErrorBanner()->isVisible());
    QCOMPARE(station.tilesNumbered(70), 1);
    QVERIFY(station.touch(70));
    QVERIFY2(m_errors.size() == 1, qPrintable(m_errors.join(u'\n')));
    QCOMPARE(station.valide(line), u"True"_s);
    QCOMPARE(station.announcements(), QList<QStringList> { clips(70) });
}

void TestValidation::newLineIsTheTopAndCurrentRow()
{
    StationFixture station;
    station.db.insertLine({ .NUM_VENTE = 80,
                            .VALIDE = u"True"_s,
                            .ARTICLE = u"Soupe"_s,
                            .TIME_ORDER = TimeOfDay::fromHms(0, 0, 1) });
    station.db.insertLine({ .NUM_VENTE = 81,
                            .VALIDE = u"True"_s,
                            .ARTICLE = u"Salade"_s,
                            .TIME_ORDER = TimeOfDay::fromHms(0, 0, 2) });
    station.db.insertLine({ .NUM_VENTE = 82, .ARTICLE = u"Brochettes"_s });
    station.login();
    station.openDisplay();
    QCOMPARE(station.gridColumn(0), (QStringList { u"81"_s, u"80"_s }));

    // another row current before the touch
    station.window->dListe_Commande->setCurrentRow(1);
    QCOMPARE(station.window->cxDBTextEdit1->text(), u"Soupe"_s);

    QVERIFY(station.touch(82));
    QCOMPARE(station.gridColumn(0), (QStringList { u"82"_s, u"81"_s, u"80"_s }));
    QCOMPARE(station.currentGridRow(), 0);
    QVERIFY(station.window->cxGrid2DBTableView1->selectionModel()->isRowSelected(0));
    QCOMPARE(station.window->Liste_Commande.asInteger(u"NUM_VENTE"_s), 82);
    QCOMPARE(station.window->cxDBTextEdit1->text(), u"Brochettes"_s);
}

void TestValidation::noPendingLineDoesNothing()
{
    // a touch that arrives after the board found nothing more (its tile a
    // stale copy): nothing is written, shown or said, and the refresh stays on
    StationFixture station;
    const qint64 line = station.db.insertLine({ .NUM_VENTE = 90, .DATE_VENTE = today.addDays(-1) });
    station.login();
    station.openDisplay();
    PendingTile stale;
    stale.number = u"90"_s;
    stale.key = u"100"_s;
    stale.size = u"M"_s;
    station.window->ArticlesClick(stale);
    QCOMPARE(station.valide(line), u"False"_s);
    QVERIFY(station.announcements().isEmpty());
    QVERIFY(station.window->Timer2->isActive());
}

QTEST_MAIN(TestValidation)

void TestValidation::noSoundDeviceValidatesAndSaysSo()
{
    StationFixture station;
    station.sink->setAvailable(false);
    const qint64 line = station.db.insertLine({ .NUM_VENTE = 42, .CLE_ART = 7, .ARTICLE = u"Tacos poulet"_s });
    station.login();
    station.openDisplay();
    QCOMPARE(station.window->dxStatusBar1->panelText(TVente_au_comptoir_zedivad::soundPanel), QString());

    QVERIFY(station.touch(42));
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(station.valide(line), u"True"_s);
    QCOMPARE(station.window->FAfficher_Numero()->numberText(), u"42"_s);
    QVERIFY(station.announcements().isEmpty());
    QCOMPARE(station.window->dxStatusBar1->panelText(TVente_au_comptoir_zedivad::soundPanel),
             u"Sans son : les numéros ne sont pas annoncés"_s);
    QVERIFY(!station.window->dxStatusBar1->panel(TVente_au_comptoir_zedivad::soundPanel)->toolTip().isEmpty());
}

void TestValidation::unusualOrderNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("called"); // empty: no sound, one error box

    QTest::newRow("above 999: digit by digit") << 1234 << QStringList { u"TALABIA"_s, u"FA1"_s, u"FA2"_s, u"FA3"_s, u"FA4"_s };
    QTest::newRow("negative: stored and shown, not called") << -3 << QStringList();
}

void TestValidation::unusualOrderNumbers()
{
    // The validation is stored before anything is called: a number that
    // cannot be called costs one error box, never the validation.
    QFETCH(int, number);
    QFETCH(QStringList, called);
    StationFixture station;
    const qint64 line = station.db.insertLine({ .NUM_VENTE = number });
    station.login();
    station.openDisplay();
    station.window->Timer2->stop();
    QVERIFY(station.touch(number));
    QCOMPARE(station.valide(line), u"True"_s);
    QCOMPARE(station.window->FAfficher_Numero()->numberText(), QString::number(number));
    if (called.isEmpty()) {
        QVERIFY(station.announcements().isEmpty());
        QVERIFY2(m_errors.size() == 1 && m_errors.constFirst().contains(QString::number(number)),
                 qPrintable(m_errors.join(u'\n')));
    } else {
        QCOMPARE(station.announcements(), QList<QStringList> { called });
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    }
    QVERIFY(station.window->Timer2->isActive());
}

#include "tst_validation.moc"
