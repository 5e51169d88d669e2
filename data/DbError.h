#pragma once

#include "app/StationError.h"

/// An error of the database or of the data layer, with the server's own message
/// text and its codes, so that a lost connection can be told from a constraint
/// error.
class DbError : public StationError
{
public:
    DbError(QString message, long sqlCode = 0, qint64 gdsCode = 0);

    /// SQLCODE of the error (for example -902 for a broken connection); 0 for
    /// errors of the data layer itself.
    long sqlCode() const noexcept { return m_sqlCode; }
    /// The first Firebird status code (isc_...); 0 for errors of the data layer itself.
    qint64 gdsCode() const noexcept { return m_gdsCode; }
    /// True when the attachment is gone (server stopped, network cut, call
    /// aborted by the watchdog): the caller's way back is a reconnect.
    bool isConnectionLost() const noexcept;

private:
    long m_sqlCode;
    qint64 m_gdsCode;
};
