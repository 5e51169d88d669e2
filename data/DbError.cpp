#include "data/DbError.h"

#include <ibase.h>

DbError::DbError(QString message, long sqlCode, qint64 gdsCode, bool connectionLost)
    : StationError(std::move(message))
    , m_sqlCode(sqlCode)
    , m_gdsCode(gdsCode)
    , m_connectionLost(connectionLost || isConnectionLostCode(gdsCode))
{
}

bool DbError::isConnectionLostCode(qint64 gdsCode) noexcept
{
    switch (gdsCode) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_net_connect_err:
    case isc_net_connect_listen_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_shutdown:
    case isc_shutinprog:
    case isc_att_shutdown:
    case isc_cancelled:
    case isc_bad_db_handle:
        return true;
    default:
        return false;
    }
}
