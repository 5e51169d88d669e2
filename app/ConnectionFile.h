#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

/// The connection file Ch.txt: line 1 is the database text, line 2 the server
/// label shown in the status bar; later lines are ignored. The station never
/// writes it.
///
/// The bytes are read as UTF-8 or UTF-16 (little or big endian) when they start
/// with the matching byte-order mark, otherwise in the configured code page.
/// Lines end at CR LF, LF or CR and keep their blanks.
class ConnectionFile
{
public:
    static QString fileName() { return QStringLiteral("Ch.txt"); }

    /// Reads the file at path. Throws StationError when it is missing or cannot
    /// be read, or when codepage names no code page this system knows.
    static ConnectionFile read(const QString &path, const QString &codepage);

    /// The file's contents from its bytes, as read() decodes and splits them.
    static ConnectionFile fromBytes(const QByteArray &bytes, const QString &codepage,
                                    const QString &path = fileName());

    static QString decode(const QByteArray &bytes, const QString &codepage);
    /// Splits at CR LF, LF or CR; a break at the very end opens no further line.
    static QStringList splitLines(const QString &text);

    const QStringList &lines() const { return m_lines; }
    const QString &path() const { return m_path; }

    /// Line 1, unchanged. Throws StationError when the file has no line at all.
    QString database() const;
    /// Line 2, unchanged. Throws StationError when the file has fewer than two lines.
    QString serverLabel() const;

private:
    QString line(int index, const QString &role) const;

    QString m_path;
    QStringList m_lines;
};
