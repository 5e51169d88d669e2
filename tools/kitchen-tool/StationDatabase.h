#pragma once

#include "data/ConnectionSettings.h"

#include <QDate>
#include <QStringList>

class DbConnection;

/// How kitchen-tool's database commands reach the station's database: as the
/// station does, from the working directory's Ch.txt (line 1, the database
/// text) and station.ini.
namespace StationDatabase {

/// The connection settings of the current directory. Throws StationError
/// when Ch.txt is missing, unreadable or holds no database text, or
/// station.ini names an unknown code page.
ConnectionSettings settings();

/// Opens connection with settings(); throws DbError with the server's text.
void open(DbConnection &connection);

/// The value of "--date YYYY-MM-DD" in arguments, today without it. Any other
/// argument, or a date that is not one, throws StationError.
QDate dateArgument(const QStringList &arguments);

} // namespace StationDatabase
