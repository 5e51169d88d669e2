#pragma once

#include <QString>

/// How the station reaches its database: the database text (line 1 of the
/// connection file) and the credentials and code page of the optional
/// station.ini.
struct ConnectionSettings
{
    /// Handed unchanged to the client library: a plain path opens the file with
    /// the embedded engine, "host:/path" or "host/port:/path" goes to a server.
    QString database;
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("masterkey");
    /// The code page of every text the database holds.
    QString codepage = QStringLiteral("windows-1256");
    /// How long a write waits for a row locked by another program before it
    /// fails; 0 fails at once.
    int lockTimeoutSeconds = 5;
    /// How long a database call may go without an answer from the server
    /// before the watchdog aborts it (a write may wait lockTimeoutSeconds
    /// more), and how long an attach may take; 0: no watchdog, and the
    /// client library's own connect timeout. The station reads 3 from
    /// station.ini unless it says otherwise.
    int callTimeoutSeconds = 0;
    /// The Firebird client library, loaded when the first connection opens: a
    /// file name looked up by the system's loader, or a path.
    QString clientLibrary = QStringLiteral("libfbclient.so.2");

    /// The station's call timeout when station.ini names none.
    static constexpr int stationCallTimeoutSeconds = 3;

    /// Reads the [database] section of station.ini (password=, codepage=,
    /// locktimeout=, calltimeout=, clientlibrary=) in the given folder over the defaults
    /// above; a missing file leaves the defaults. Throws StationError for an
    /// unknown code page, naming it, for a lock timeout that is not a whole
    /// number of seconds (lock or call timeout), and for a file that exists but cannot be read.
    static ConnectionSettings fromWorkingDirectory(const QString &directory, const QString &database);

    /// Throws StationError naming codepage when the system cannot convert it.
    static void checkCodepage(const QString &codepage);
};
