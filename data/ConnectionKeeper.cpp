#include "data/ConnectionKeeper.h"

#include "data/DbConnection.h"
#include "data/DbError.h"

#include <algorithm>

ConnectionKeeper::ConnectionKeeper(DbConnection &connection)
    : m_connection(connection)
{
}

ConnectionKeeper::~ConnectionKeeper()
{
    if (m_probe.valid())
        m_probe.wait();
}

void ConnectionKeeper::lost(const QString &message)
{
    if (m_lost)
        return;
    m_lost = true;
    m_message = message;
    m_attempts = 0;
    m_delay = firstRetry;
    m_due = Clock::now() + m_delay;
}

void ConnectionKeeper::retryLater(const QString &message)
{
    m_message = message;
    m_delay = std::min(retryCap, m_delay * 2);
    // counted from the end of the failed attempt: an attempt that waited for a
    // frozen server does not run straight into the next one
    m_due = Clock::now() + m_delay;
}

bool ConnectionKeeper::tryReconnect()
{
    if (!m_lost)
        return true;
    if (m_probe.valid()) {
        if (m_probe.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
            return false;
        const QString failure = m_probe.get();
        if (!failure.isEmpty()) {
            retryLater(failure);
            return false;
        }
        // The server answers: attach again here, where the connection lives.
        try {
            m_connection.reconnect();
        } catch (const StationError &error) {
            retryLater(error.message());
            throw;
        }
        m_lost = false;
        return true;
    }
    if (Clock::now() < m_due)
        return false;
    ++m_attempts;
    m_probe = std::async(std::launch::async, [settings = m_connection.settings()]() -> QString {
        try {
            DbConnection::probe(settings);
            return QString();
        } catch (const StationError &error) {
            return error.message().isEmpty() ? QStringLiteral("no answer") : error.message();
        } catch (const std::exception &error) {
            return QString::fromLocal8Bit(error.what());
        }
    });
    return false;
}
