// The station while its database server goes away (stopped, killed, frozen)
// and comes back: the banner, the greyed board, a touch and the
// validated-orders dialog meanwhile, and the return by itself. Each test runs
// a Firebird server of its own on a free port.
#include "PrivateServer.h"
#include "StationFixture.h"
#include "forms/ErrorBox.h"
#include "forms/TF_liste_commande.h"

#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QDate today = QDate::currentDate();
// Generous: a loaded machine, a server that restarts, a watchdog of seconds.
constexpr int slow = 60000;

enum class Outage { Stopped, Killed, Frozen };

void begin(PrivateServer &server, TestDatabase &db, Outage outage)
{
    // the fixture's own attachment would die with the server
    db.detach();
    switch (outage) {
    case Outage::Stopped:
        server.stop();
        break;
    case Outage::Killed:
        server.kill();
        break;
    case Outage::Frozen:
        server.freeze();
        break;
    }
}

void end(PrivateServer &server, Outage outage)
{
    if (outage == Outage::Frozen)
        server.thaw();
    else
        server.start();
}

/// Logs in with the connection settings of the station (the watchdog on)
/// rather than the bare test settings.
void loginAsStation(StationFixture &station)
{
    ConnectionSettings settings = station.db.settings();
    settings.callTimeoutSeconds = ConnectionSettings::stationCallTimeoutSeconds;
    station.window->UniConnection1.open(settings);
    station.login();
}

bool bannerSaysUnreachable(const TVente_au_comptoir_zedivad &window)
{
    return window.boardErrorBanner()->isVisible()
        && window.boardErrorBanner()->text().startsWith(
            TVente_au_comptoir_zedivad::unreachableText(QString()).trimmed());
}

} // namespace

Q_DECLARE_METATYPE(Outage)

class TestServerOutage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void outageAndReturn_data();
    void outageAndReturn();
    void touchDuringOutage_data();
    void touchDuringOutage();
    void dialogDuringOutage();

private:
    QStringList m_errors;
};

void TestServerOutage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ErrorBox::setPresenter([this](const QString &message) { m_errors << message; });
}

void TestServerOutage::init()
{
    m_errors.clear();
}

void TestServerOutage::outageAndReturn_data()
{
    QTest::addColumn<Outage>("outage");
    QTest::newRow("server stopped, started again") << Outage::Stopped;
    QTest::newRow("server killed, started again") << Outage::Killed;
    QTest::newRow("server frozen, then answering again") << Outage::Frozen;
}

void TestServerOutage::outageAndReturn()
{
    QFETCH(Outage, outage);
    PrivateServer server;
    StationFixture station(TestDatabase::schema() + TestDatabase::users(), server.host());
    station.db.insertLine({ .NUM_VENTE = 41 });
    loginAsStation(station);
    TVente_au_comptoir_zedivad &window = *station.window;
    QTRY_COMPARE_WITH_TIMEOUT(station.tilesNumbered(41), 1, slow);
    const QString user = window.Label12->text();
    const QList<PendingTile> before = window.Groupe1->tiles();
    QSignalSpy ticks(window.Timer2, &QTimer::timeout);
    QSignalSpy reachable(&window, &TVente_au_comptoir_zedivad::databaseReachableChanged);

    begin(server, station.db, outage);
    // A frozen server is found out by the watchdog, the others at once.
    QTRY_VERIFY_WITH_TIMEOUT(bannerSaysUnreachable(window), slow);
    QVERIFY(window.Categories->isStale());
    QVERIFY(!window.databaseReachable());
    QCOMPARE(reachable.size(), 1);
    QCOMPARE(reachable.at(0).at(0).toBool(), false);
    // The ticks go on without the server, and neither pile up boxes nor lose the tiles.
    const qsizetype ticked = ticks.size();
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= ticked + 40, slow);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(window.Groupe1->tiles(), before);
    QVERIFY(window.Categories->isStale());

    end(server, outage);
    station.db.insertLine({ .NUM_VENTE = 42 });
    QTRY_COMPARE_WITH_TIMEOUT(station.tilesNumbered(42), 1, slow);
    QVERIFY(window.boardErrorBanner()->isHidden());
    QVERIFY(!window.Categories->isStale());
    QVERIFY(window.databaseReachable());
    QCOMPARE(reachable.size(), 2);
    QCOMPARE(reachable.at(1).at(0).toBool(), true);
    // the login and the working date are kept
    QCOMPARE(window.Label12->text(), user);
    QCOMPARE(window.cxDateEdit2->date(), today);
    QVERIFY(window.Timer2->isActive());
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
}

void TestServerOutage::touchDuringOutage_data()
{
    QTest::addColumn<bool>("afterBanner");
    QTest::newRow("touch before any tick found the server gone") << false;
    QTest::newRow("touch while the banner is up") << true;
}

void TestServerOutage::touchDuringOutage()
{
    QFETCH(bool, afterBanner);
    PrivateServer server;
    StationFixture station(TestDatabase::schema() + TestDatabase::users(), server.host());
    const qint64 key = station.db.insertLine({ .NUM_VENTE = 43 });
    loginAsStation(station);
    station.openDisplay();
    TVente_au_comptoir_zedivad &window = *station.window;
    QTRY_COMPARE_WITH_TIMEOUT(station.tilesNumbered(43), 1, slow);
    const QString shown = window.FAfficher_Numero()->numberText();

    // waits for the server's end without running the window's events: no tick meanwhile
    station.db.detach();
    server.kill();
    if (afterBanner)
        QTRY_VERIFY_WITH_TIMEOUT(bannerSaysUnreachable(window), slow);
    QVERIFY(station.touch(43));
    // One error; nothing shown, printed or called; the refresh goes on.
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(window.FAfficher_Numero()->numberText(), shown);
    QVERIFY(station.announcements().isEmpty());
    QVERIFY(station.labels().isEmpty());
    QVERIFY(window.Timer2->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(bannerSaysUnreachable(window), slow);
    QCOMPARE(m_errors.size(), 1);

    server.start();
    QTRY_VERIFY_WITH_TIMEOUT(window.boardErrorBanner()->isHidden(), slow);
    // nothing was stored: the line is pending and on the board still
    QCOMPARE(station.valide(key), u"False"_s);
    QTRY_COMPARE_WITH_TIMEOUT(station.tilesNumbered(43), 1, slow);

    // Back: the same touch validates, once.
    QVERIFY(station.touch(43));
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(station.valide(key), u"True"_s);
    QCOMPARE(station.announcements().size(), 1);
    QCOMPARE(window.FAfficher_Numero()->numberText(), u"43"_s);
    QTRY_COMPARE_WITH_TIMEOUT(station.tilesNumbered(43), 0, slow);
}

void TestServerOutage::dialogDuringOutage()
{
    PrivateServer server;
    StationFixture station(TestDatabase::schema() + TestDatabase::users(), server.host());
    const qint64 key = station.db.insertLine({ .NUM_VENTE = 44, .VALIDE = u"True"_s });
    loginAsStation(station);
    TVente_au_comptoir_zedivad &window = *station.window;
    bool ran = false;

    // The dialog is modal: the checks run inside its own message loop.
    QTimer::singleShot(0, &window, [&] {
        TF_liste_commande *dialog = window.findChild<TF_liste_commande *>();
        QVERIFY(dialog);
        const auto close = qScopeGuard([dialog] { dialog->close(); });
        QTRY_VERIFY_WITH_TIMEOUT(dialog->isVisible(), slow);
        QTRY_COMPARE_WITH_TIMEOUT(dialog->dListe_Commande->model()->rowCount(), 1, slow);
        QVERIFY(dialog->unreachableBanner()->isHidden());

        station.db.detach();
        server.kill();
        // The board refresh goes on behind the dialog and tells it.
        QTRY_VERIFY_WITH_TIMEOUT(dialog->unreachableBanner()->isVisible(), slow);
        QVERIFY(bannerSaysUnreachable(window));
        QCOMPARE(dialog->dListe_Commande->model()->rowCount(), 1);
        // A withdrawal meanwhile: one error, nothing stored.
        QTest::mouseClick(dialog->cxButton2, Qt::LeftButton);
        QCOMPARE(m_errors.size(), 1);

        server.start();
        QTRY_VERIFY_WITH_TIMEOUT(dialog->unreachableBanner()->isHidden(), slow);
        QVERIFY(window.boardErrorBanner()->isHidden());
        QCOMPARE(station.valide(key), u"True"_s);
        // the list was read afresh, and the withdrawal works again
        QCOMPARE(dialog->dListe_Commande->model()->rowCount(), 1);
        QTest::mouseClick(dialog->cxButton2, Qt::LeftButton);
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(station.valide(key), u"False"_s);
        QCOMPARE(dialog->dListe_Commande->model()->rowCount(), 0);
        ran = true;
    });
    window.cxButton5Click();
    QVERIFY(ran);
    QVERIFY(window.findChild<TF_liste_commande *>() == nullptr);
    QCOMPARE(m_errors.size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(station.tilesNumbered(44), 1, slow);
}

QTEST_MAIN(TestServerOutage)
#include "tst_serveroutage.moc"
