#pragma once

#include "app/StationError.h"
#include "data/DbError.h"
#include "data/DbQuery.h"

#include <QString>
#include <functional>

/// Small helpers for database tests.
namespace TestHelpers {

/// The message of the StationError (or DbError) that action throws, empty
/// when it throws none. connectionLost, when given, tells whether a DbError
/// meant a lost attachment.
inline QString errorOf(const std::function<void()> &action, bool *connectionLost = nullptr)
{
    try {
        action();
    } catch (const DbError &error) {
        if (connectionLost)
            *connectionLost = error.isConnectionLost();
        return error.message();
    } catch (const StationError &error) {
        return error.message();
    }
    return QString();
}

/// The first column of the first row of a query ("select count(*) ...").
inline qint64 scalar(DbConnection &connection, const QString &sql)
{
    DbQuery query(connection, sql);
    query.open();
    return query.isEmpty() ? 0 : query.row(0).at(0).toInteger();
}

} // namespace TestHelpers
