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
    /// How long a write waits for a row locked by another program before it fails.
    int lockTimeoutSeconds = 5;

    /// Reads the [database] section of station.ini (password=, codepage=,
    /// locktimeout=) in the given folder over the defaults above; a missing
    /// file leaves the defaults. Throws StationError for an unknown code page,
    /// naming it, and for a file that exists but cannot be read.
    static ConnectionSettings fromWorkingDirectory(const QString &directory, const QString &database);
};
