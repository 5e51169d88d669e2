#pragma once

#include "data/ConnectionSettings.h"

#include <QByteArray>
#include <QString>
#include <memory>

class DbQuery;
class DbStatement;

/// The one attachment of the station to its Firebird database, over the
/// client library (embedded engine or server, as the database text says).
///
/// Every read runs in its own read-committed, read-only transaction, so that a
/// poll always sees what other programs committed before it ran; every write
/// runs in a read-committed transaction with a bounded lock wait and is
/// committed at once.
class DbConnection
{
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;

    /// Attaches to settings.database. Throws DbError with the server's text
    /// (file missing, server down, wrong password, client library missing).
    void open(const ConnectionSettings &settings);
    void close();
    bool isOpen() const;

    /// Detaches (if still attached) and attaches again with the same settings.
    /// Queries and statements prepare themselves again at their next use.
    void reconnect();

    const ConnectionSettings &settings() const;

    /// Database text to and from the configured code page.
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;

    /// Counts attachments; a query whose handle belongs to an older one prepares again.
    quint64 generation() const;

    /// Aborts the database call in progress, if any. Safe to call from another
    /// thread (the watchdog); the aborted call fails with a DbError for which
    /// isConnectionLost() is true.
    void cancelOperation();

    struct Private;
    Private *d_func() const { return d.get(); }

private:
    std::unique_ptr<Private> d;
};
