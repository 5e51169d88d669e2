#pragma once

#include "FixtureLine.h"
#include "data/ConnectionSettings.h"
#include "data/DbConnection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

/// A fresh Firebird database for one test case, made from a small SQL fixture
/// that plays the counter-sale system, and dropped (file deleted) at the end.
///
///     TestDatabase db(TestDatabase::schema() + QStringLiteral("INSERT INTO ..."));
///     DataModule module;
///     module.UniConnection1.open(db.settings());
///
/// Where it lives: the embedded engine (a file in a temporary folder) unless
/// the environment variable STATION_TEST_SERVER names a server ("localhost"),
/// or the constructor asks for one. Over a server the database text is
/// "host:/path", the SYSDBA password comes from
/// /etc/firebird/3.0/SYSDBA.password and the folder is open to the server's
/// user. A server that cannot be reached makes the constructor throw: a test
/// that asked for the network path fails, it is never skipped.
///
/// The constructor and run() throw StationError/DbError with the server's
/// text; QtTest reports it as a failure of the test function.
class TestDatabase
{
public:
    enum class Where { FromEnvironment, Embedded, Server };

    explicit TestDatabase(const QString &fixture = schema(), Where where = Where::FromEnvironment);
    /// On the server named by server ("localhost/3061" for a server of the
    /// test's own); an empty text: the embedded engine.
    TestDatabase(const QString &fixture, const QString &server);
    ~TestDatabase();
    TestDatabase(const TestDatabase &) = delete;
    TestDatabase &operator=(const TestDatabase &) = delete;

    /// Connection settings for the station's connection: database text,
    /// SYSDBA with the right password, code page windows-1256.
    const ConnectionSettings &settings() const { return m_settings; }
    const QString &databaseText() const { return m_settings.database; }
    /// The temporary folder that holds the database file (and nothing else
    /// of the test's, unless the test puts it there).
    QString directory() const { return m_directory.path(); }
    bool isServer() const { return m_server; }

    /// Runs more fixture SQL (statements separated by ';', SET TERM for
    /// triggers), each committed at once.
    void run(const QString &script);
    /// Inserts one order line (committed) and returns its CLE_LISTE_COMMANDE.
    /// Texts go through the code page, as the counter-sale system writes them.
    qint64 insertLine(const FixtureLine &line);
    /// Lets go of the database, so that another process can open an embedded
    /// file (the embedded engine gives a file to one process at a time: run
    /// kitchen-tool or the station only after this). run(), insertLine() and
    /// the destructor attach again by themselves.
    void detach();
    /// A second, independent attachment, as another program would have.
    std::unique_ptr<DbConnection> connect() const;

    /// The three tables of the counter-sale system, with indexes, DATE_VENTE
    /// as DATE and text columns in the database's default character set NONE.
    static QString schema();
    /// The same with DATE_VENTE as TIMESTAMP.
    static QString timestampSchema();
    /// The demo users: admin/admin, Cuisine/1234, طباخ/1111 and the blocked Ancien/0000.
    static QString users();

    /// The server named by STATION_TEST_SERVER, empty when not set.
    static QString serverFromEnvironment();
    /// SYSDBA's password of the local server, from /etc/firebird/3.0/SYSDBA.password.
    static QString serverPassword();

private:
    DbConnection &attached();

    QTemporaryDir m_directory;
    ConnectionSettings m_settings;
    bool m_server = false;
    std::unique_ptr<DbConnection> m_connection;
};
