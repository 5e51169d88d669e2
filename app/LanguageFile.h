#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

/// The language file langue.txt of the working directory: one line, "A"
/// (Arabic) or "F" (French).
///
/// One file whatever the case of its name: an existing file is found by its
/// name compared without case ("langue.TXT", "LANGUE.txt"), and written back
/// under the name it has; a new file is named "langue.txt".
class LanguageFile
{
public:
    /// codepage: the station's code page (station.ini), in which the letter is
    /// written and a file without a byte-order mark is read.
    LanguageFile(QString directory, QString codepage);

    static QString defaultName() { return QStringLiteral("langue.txt"); }

    /// The language file of the process's working directory, in the code page
    /// that station.ini there names (windows-1256 without one). Throws
    /// StationError for an unknown code page or an unreadable station.ini.
    static LanguageFile inWorkingDirectory();

    /// The path of the file in the directory: the existing one (the exact
    /// name first, else the first in name order that matches without case),
    /// or the directory joined with "langue.txt".
    QString path() const;
    bool exists() const;

    /// The first line of the file, nullopt when there is no file or it holds
    /// no line at all (empty). Lines end at CR LF, LF or CR; a byte-order mark
    /// selects UTF-8 or UTF-16. Throws StationError when the file exists but
    /// cannot be read.
    std::optional<QString> firstLine() const;
    /// The first line of a language file's bytes, as firstLine() reads it.
    static std::optional<QString> firstLineOf(const QByteArray &bytes, const QString &codepage);

    /// Replaces the whole file with letter followed by CR LF in the code page,
    /// without byte-order mark. Throws StationError with the file's error when
    /// it cannot be written; the file is then left as it was.
    void write(const QString &letter) const;

    const QString &directory() const { return m_directory; }
    const QString &codepage() const { return m_codepage; }

private:
    QString m_directory;
    QString m_codepage;
};
