#pragma once

#include "data/ConnectionSettings.h"

#include <QString>
#include <chrono>
#include <future>

class DbConnection;

/// Brings a lost connection back by itself. Once told that the attachment
/// is gone, it asks the server on a worker thread whether it answers again
/// (so that a server that does not answer never holds the caller's thread),
/// backing off from a quarter second to at most retryCap between attempts;
/// when the server answers, the connection attaches again on the caller's
/// thread, and its queries and statements prepare themselves again.
class ConnectionKeeper
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds firstRetry { 250 };
    static constexpr std::chrono::milliseconds retryCap { 1500 };

    explicit ConnectionKeeper(DbConnection &connection);
    /// Waits for an attempt in progress (at most the connect timeout).
    ~ConnectionKeeper();
    ConnectionKeeper(const ConnectionKeeper &) = delete;
    ConnectionKeeper &operator=(const ConnectionKeeper &) = delete;

    bool isLost() const { return m_lost; }
    /// The attachment is gone (message: the error that told so); the first
    /// attempt is due after firstRetry.
    void lost(const QString &message);
    /// The error that told of the loss, or of the last failed attempt.
    const QString &message() const { return m_message; }
    /// Attempts so far since the loss.
    int attempts() const { return m_attempts; }

    /// Called often while lost (every tick): starts an attempt when one is
    /// due, and when an attempt found the server answering, attaches again.
    /// True once the connection is back (isLost() is false then); the reattach
    /// itself may throw DbError, which leaves the keeper lost.
    bool tryReconnect();

private:
    void retryLater(const QString &message);

    DbConnection &m_connection;
    bool m_lost = false;
    QString m_message;
    int m_attempts = 0;
    std::chrono::milliseconds m_delay { firstRetry };
    Clock::time_point m_due;
    std::future<QString> m_probe;
};
