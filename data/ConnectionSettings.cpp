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
    if (ini.contains(section, QStringLiteral("locktimeout"))) {
        const QString text = ini.value(section, QStringLiteral("locktimeout"));
        bool ok = false;
        const int seconds = text.toInt(&ok);
        if (!ok || seconds < 0)
            throw StationError(
                QStringLiteral("station.ini: locktimeout=%1 is not a number of seconds").arg(text));
        settings.lockTimeoutSeconds = seconds;
    }
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
