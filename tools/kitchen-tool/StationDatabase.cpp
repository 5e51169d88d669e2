#include "StationDatabase.h"

#include "app/StationError.h"
#include "data/DbConnection.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

namespace StationDatabase {

namespace {

// Line 1 of Ch.txt: UTF-8 or UTF-16 by its byte-order mark, UTF-8 otherwise;
// lines end at CR LF, LF or CR and are not trimmed.
QString firstLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(QStringLiteral("Cannot open %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    const auto encoding = QStringConverter::encodingForData(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8), QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    const QString line = end < 0 ? text : text.left(end);
    if (line.isEmpty())
        throw StationError(QStringLiteral("%1 holds no database text on its first line").arg(path));
    return line;
}

} // namespace

ConnectionSettings settings()
{
    const QString directory = QDir::currentPath();
    const QString database = firstLine(QDir(directory).filePath(QStringLiteral("Ch.txt")));
    return ConnectionSettings::fromWorkingDirectory(directory, database);
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
