// The window's start-up: the working folder, the start-up timer, and where
// each failure of the connection file or the connection stops it.

#include "TestDatabase.h"
#include "TestWorkingDirectory.h"
#include "app/LocalIPAddress.h"
#include "forms/ErrorBox.h"
#include "forms/StatusBar.h"
#include "forms/TPassw.h"
#include "forms/TVente_au_comptoir_zedivad.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void creationHandler();
    void startupTimer_data();
    void startupTimer();
    void closingEndsTheProgram(); // last: it runs the application's own event loop

private:
    std::unique_ptr<TestDatabase> m_db;
    // The start-up ends by showing the login dialog modally: it is counted
    // and quit as soon as it is up, so that the start-up timer's handler returns.
    QTimer m_loginQuitter;
    int m_loginsShown = 0;
    QStringList m_errorBoxes;
};

void StartupTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    ErrorBox::setPresenter([this](const QString &message) { m_errorBoxes.append(message); });
    m_db = std::make_unique<TestDatabase>();
    m_loginQuitter.setInterval(20);
    connect(&m_loginQuitter, &QTimer::timeout, this, [this] {
        if (auto *login = qobject_cast<TPassw *>(QApplication::activeModalWidget())) {
            ++m_loginsShown;
            login->cxButton1Click();
        }
    });
    m_loginQuitter.start();
}

void StartupTest::cleanupTestCase()
{
    ErrorBox::setPresenter({});
    m_db.reset();
}

void StartupTest::init()
{
    m_errorBoxes.clear();
    m_loginsShown = 0;
}

void StartupTest::creationHandler()
{
    TestWorkingDirectory work(*m_db);
    TVente_au_comptoir_zedivad window;
    QVERIFY(!window.Timer1->isActive());
    window.ForcatmCreate();
    QCOMPARE(window.Repar, QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator());
    QVERIFY(window.Repar.startsWith(QDir::toNativeSeparators(work.path())));
    QVERIFY(window.Timer1->isActive());
    QVERIFY(window.Timer1->interval() == 50);
    // Not connected yet: that is the start-up timer's work.
    QVERIFY(!window.UniConnection1.isOpen());
    QTRY_VERIFY(window.UniConnection1.isOpen());
    QVERIFY(!window.Timer1->isActive());
    QTRY_COMPARE(m_loginsShown, 1);
}

void StartupTest::startupTimer_data()
{
    QTest::addColumn<QByteArray>("connectionFile"); // "-": no file; "%DB%": the test database's text
    QTest::addColumn<QString>("error"); // part of the one error shown; empty: none
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QString>("serverLabel");
    QTest::addColumn<QByteArray>("stationIni"); // empty: as the test database wants it

    QTest::newRow("two lines") << QByteArray("%DB%\r\nServeur cuisine\r\n") << QString() << true
                               << "Serveur cuisine" << QByteArray();
    QTest::newRow("three lines: the third is ignored")
        << QByteArray("%DB%\nCuisine 2\nautre chose") << QString() << true << "Cuisine 2" << QByteArray();
    QTest::newRow("label kept with its blanks")
        << QByteArray("%DB%\r\n  Poste  ") << QString() << true << "  Poste  " << QByteArray();
    QTest::newRow("missing file") << QByteArray("-") << "Ch.txt" << false << "" << QByteArray();
    QTest::newRow("empty file") << QByteArray("") << "est vide" << false << "" << QByteArray();
    QTest::newRow("one line: connected, then stopped")
        << QByteArray("%DB%\r\n") << "ligne 2" << true << "" << QByteArray();
    QTest::newRow("database that does not exist")
        << QByteArray("/nonexistent/folder/base.fdb\r\nServeur") << "base.fdb" << false << "" << QByteArray();
    QTest::newRow("server that does not answer")
        << QByteArray("127.0.0.1/1:/tmp/base.fdb\r\nServeur") << "127.0.0.1" << false << "" << QByteArray();
    if (m_db->isServer()) {
        QTest::newRow("wrong password") << QByteArray("%DB%\r\nServeur") << "password" << false << ""
                                        << QByteArray("[database]\npassword=wrong\ncodepage=windows-1256\n");
    }
}

void StartupTest::startupTimer()
{
    QFETCH(QByteArray, connectionFile);
    QFETCH(QString, error);
    QFETCH(bool, connected);
    QFETCH(QString, serverLabel);
    QFETCH(QByteArray, stationIni);

    TestWorkingDirectory work(*m_db);
    if (!stationIni.isEmpty())
        work.writeFile(u"station.ini"_s, stationIni);
    if (connectionFile == "-")
        work.removeFile(u"Ch.txt"_s);
    else
        work.writeFile(u"Ch.txt"_s, connectionFile.replace("%DB%", m_db->databaseText().toLocal8Bit()));

    TVente_au_comptoir_zedivad window;
    window.ForcatmCreate();
    QTRY_VERIFY(!window.Timer1->isActive());
    if (error.isEmpty()) {
        QCOMPARE(m_errorBoxes, QStringList());
    } else {
        QCOMPARE(m_errorBoxes.size(), 1);
        QVERIFY2(m_errorBoxes.first().contains(error), qPrintable(m_errorBoxes.first()));
    }
    QCOMPARE(window.UniConnection1.isOpen(), connected);
    QCOMPARE(window.dxStatusBar1->panelText(4), serverLabel);
    // Panel 6 is filled only when the start-up got that far.
    QCOMPARE(window.dxStatusBar1->panelText(6), error.isEmpty() ? LocalIPAddress() : QString());
    // The other panels keep their texts.
    QCOMPARE(window.dxStatusBar1->panelText(1), u"Admin"_s);
    QCOMPARE(window.dxStatusBar1->panelText(3), u"SERVEUR"_s);
    // The start-up ran once: its timer stays off, whatever happened.
    QVERIFY(!window.Timer1->isActive());
    QVERIFY(!window.Timer2->isActive());
    // The login dialog comes last, once everything before it went well.
    QTRY_COMPARE(m_loginsShown, error.isEmpty() ? 1 : 0);
}

void StartupTest::closingEndsTheProgram()
{
    // Even while another window of the program is open (the customer display).
    QWidget display;
    display.show();
    TVente_au_comptoir_zedivad window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTimer::singleShot(0, &window, &QWidget::close);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    bool stillRunning = false;
    connect(&watchdog, &QTimer::timeout, this, [&stillRunning] {
        stillRunning = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(20000);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!stillRunning);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
