#pragma once

#include <QHash>
#include <QString>

/// A plain INI file as an installer writes it by hand: "[section]" lines,
/// "key=value" lines, ';' or '#' comment lines. Section and key names are
/// compared without regard to letter case; values are taken as written
/// (surrounding blanks removed), with no list or escape syntax, so a password
/// may hold any character. UTF-8, with or without a byte-order mark.
class IniFile
{
public:
    /// Reads path. A missing file gives an empty IniFile; a file that exists
    /// but cannot be read, or is not UTF-8, throws StationError naming it.
    static IniFile read(const QString &path);
    static IniFile fromText(const QString &text);

    bool contains(const QString &section, const QString &key) const;
    QString value(const QString &section, const QString &key, const QString &defaultValue = QString()) const;

private:
    static QString keyOf(const QString &section, const QString &key);
    QHash<QString, QString> m_values;
};
