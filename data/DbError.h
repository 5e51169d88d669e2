#pragma once

#include "app/StationError.h"

/// An error of the database or of the data layer, with the server's own message
/// text and its codes, so that a lost connection can be told from a constraint
/// error.
class DbError : public StationError
{
public:
    /// connectionLost marks an error of the data layer itself that means the
    /// same as a broken attachment (no attachment at all, for instance); an
    /// error of the server is classed by its codes.
    DbError(QString message, long sqlCode = 0, qint64 gdsCode = 0, bool connectionLost = false);

    /// SQLCODE of the error (for example -902 for a broken connection); 0 for
    /// errors of the data layer itself.
    long sqlCode() const noexcept { return m_sqlCode; }
    /// The first Firebird status code (isc_...); 0 for errors of the data layer itself.
    qint64 gdsCode() const noexcept { return m_gdsCode; }
    /// True when the attachment is gone (server stopped, network cut, call
    /// aborted by the watchdog): the caller's way back is a reconnect.
    bool isConnectionLost() const noexcept { return m_connectionLost; }

    /// True for the status codes of the network and shut-down class: the
    /// attachment cannot be used any more.
    static bool isConnectionLostCode(qint64 gdsCode) noexcept;

private:
    long m_sqlCode;
    qint64 m_gdsCode;
    bool m_connectionLost;
};
