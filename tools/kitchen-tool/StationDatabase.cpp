#include "StationDatabase.h"

#include "app/ConnectionFile.h"
#include "app/StationError.h"
#include "data/DbConnection.h"

#include <QDir>

namespace StationDatabase {

ConnectionSettings settings()
{
    // as the station's start-up reads them: station.ini first, for the code
    // page of a Ch.txt without a byte-order mark
    ConnectionSettings settings = ConnectionSettings::fromWorkingDirectory(QDir::currentPath(), QString());
    const ConnectionFile file = ConnectionFile::read(ConnectionFile::fileName(), settings.codepage);
    settings.database = file.database();
    if (settings.database.isEmpty())
        throw StationError(QStringLiteral("%1 holds no database text on its first line").arg(file.path()));
    return settings;
}

void open(DbConnection &connection)
{
    connection.open(settings());
}

QDate dateArgument(const QStringList &arguments)
{
    QDate date = QDate::currentDate();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) != QStringLiteral("--date") || i + 1 >= arguments.size())
            throw StationError(QStringLiteral("Unexpected argument \"%1\" (only --date YYYY-MM-DD is known)")
                                   .arg(arguments.at(i)));
        const QString text = arguments.at(++i);
        date = QDate::fromString(text, Qt::ISODate);
        if (!date.isValid() || text.size() != 10)
            throw StationError(QStringLiteral("\"%1\" is not a date of the form YYYY-MM-DD").arg(text));
    }
    return date;
}

} // namespace StationDatabase
