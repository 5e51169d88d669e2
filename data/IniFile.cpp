#include "data/IniFile.h"

#include "app/StationError.h"

#include <QFile>
#include <QStringDecoder>

IniFile IniFile::read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return IniFile();
    if (!file.open(QIODevice::ReadOnly))
        throw StationError(QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    QStringDecoder decoder(QStringDecoder::Utf8);
    return fromText(decoder.decode(file.readAll()));
}

IniFile IniFile::fromText(const QString &text)
{
    IniFile ini;
    QString section;
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString &rawLine : normalised.split(QLatin1Char('\n'))) {
        QString line = rawLine.trimmed();
        if (line.startsWith(QChar(0xFEFF)))
            line = line.mid(1).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        ini.m_values.insert(keyOf(section, line.left(equals).trimmed()), line.mid(equals + 1).trimmed());
    }
    return ini;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return m_values.contains(keyOf(section, key));
}

QString IniFile::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    return m_values.value(keyOf(section, key), defaultValue);
}

QString IniFile::keyOf(const QString &section, const QString &key)
{
    return section.toLower() + QLatin1Char('\n') + key.toLower();
}
