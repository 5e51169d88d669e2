#include "data/ConnectionSettings.h"

#include "app/StationError.h"
#include "data/IniFile.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>

ConnectionSettings ConnectionSettings::fromWorkingDirectory(const QString &directory, const QString &database)
{
    ConnectionSettings settings;
    settings.database = database;

    const QString path = QDir(directory).filePath(QStringLiteral("station.ini"));
    const IniFile ini = IniFile::read(path);
    const QString section = QStringLiteral("database");
    settings.password = ini.value(section, QStringLiteral("password"), settings.password);
    settings.codepage = ini.value(section, QStringLiteral("codepage"), settings.codepage);
    settings.clientLibrary = ini.value(section, QStringLiteral("clientlibrary"), settings.clientLibrary);
    const auto seconds = [&](const QString &key, int fallback) {
        if (!ini.contains(section, key))
            return fallback;
        const QString text = ini.value(section, key);
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok || value < 0)
            throw StationError(QStringLiteral("station.ini: %1=%2 is not a number of seconds").arg(key, text));
        return value;
    };
    settings.lockTimeoutSeconds = seconds(QStringLiteral("locktimeout"), settings.lockTimeoutSeconds);
    settings.callTimeoutSeconds = seconds(QStringLiteral("calltimeout"), stationCallTimeoutSeconds);
    checkCodepage(settings.codepage);
    return settings;
}

void ConnectionSettings::checkCodepage(const QString &codepage)
{
    const QByteArray name = codepage.toLatin1();
    if (codepage.isEmpty() || !QStringDecoder(name.constData()).isValid()
        || !QStringEncoder(name.constData()).isValid())
        throw StationError(QStringLiteral("Unknown code page \"%1\" (station.ini, [database] codepage=)").arg(codepage));
}
