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
/// committed at once. The connection talks to the server with the character
/// set NONE: text bytes pass unchanged and are converted here, through the
/// configured code page.
///
/// Queries and statements keep a reference to their connection and must not
/// outlive it.
///
/// The client library catches SIGINT and SIGTERM and shuts its engine down
/// under the program's feet (the program's detach then hangs): a program
/// that must end cleanly on those signals uses StopSignals.
class DbConnection
{
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection &) = delete;
    DbConnection &operator=(const DbConnection &) = delete;

    /// Attaches to settings.database. Throws DbError with the server's text
    /// (file missing, server down, wrong password, client library missing),
    /// StationError for an unknown code page.
    void open(const ConnectionSettings &settings);
    void close();
    bool isOpen() const;
    /// Asks the server whether the attachment still works (a round trip,
    /// under the watchdog). False when not open or when the server has let it
    /// go: after an error whose codes do not tell, this says whether the way
    /// back is a reconnect.
    bool isAlive();

    struct CreateOptions
    {
        int pageSize = 8192;
        /// Off makes commits cheap where losing the file on a power cut does
        /// not matter (test databases).
        bool forcedWrites = true;
    };
    /// Creates the database file settings.database (character set NONE,
    /// dialect 3) and stays attached to it. Throws DbError, for instance when
    /// the file exists already.
    void create(const ConnectionSettings &settings, const CreateOptions &options);
    void create(const ConnectionSettings &settings) { create(settings, CreateOptions()); }
    /// Deletes the attached database and its file; the connection is closed.
    void drop();

    /// Detaches (if still attached) and attaches again with the same settings.
    /// Queries and statements prepare themselves again at their next use.
    void reconnect();

    const ConnectionSettings &settings() const;

    /// Attaches with settings and lets go at once; throws as open() does.
    /// Touches no other connection, so another thread may call it (to find
    /// out whether a server is back without holding the caller's thread).
    static void probe(const ConnectionSettings &settings);

    /// Database text to and from the configured code page. encode() throws
    /// StationError for a text with a letter the code page cannot hold, so
    /// that nothing is stored as '?'.
    QString decode(const QByteArray &bytes) const;
    QByteArray encode(const QString &text) const;

    /// Counts attachments; a query whose handle belongs to an older one prepares again.
    quint64 generation() const;

    /// Aborts the database call in progress, if any. Safe to call from another
    /// thread (the watchdog); the aborted call fails with a DbError for which
    /// isConnectionLost() is true.
    void cancelOperation();

    /// One transaction around several statements and queries, for tools and
    /// tests that load many rows or must hold a row locked: until commit() or
    /// rollback(), every statement, query and post of this connection runs in
    /// it and nothing is committed. The station itself never calls these.
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    /// Runs a script of statements separated by ';' (with SET TERM for
    /// triggers), each committed at once (or in the open transaction), with
    /// no parameters. For schemas and fixtures. Throws DbError naming the
    /// failing statement.
    void executeScript(const QString &script);

    struct Private;
    Private *d_func() const { return d.get(); }

private:
    std::unique_ptr<Private> d;
};
