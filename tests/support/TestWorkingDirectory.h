#pragma once

#include "data/ConnectionSettings.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class TestDatabase;

/// A temporary working directory as the station finds it at a restaurant:
/// Ch.txt (UTF-8 with a byte-order mark; line 1 the database text, line 2 the
/// server label) and station.ini
/// ([database] password= and codepage=). The constructor makes it the current
/// directory; the destructor restores the previous one and deletes it.
class TestWorkingDirectory
{
public:
    explicit TestWorkingDirectory(const TestDatabase &database,
                                  const QString &serverLabel = QStringLiteral("Serveur de test"));
    /// For a database the test does not own (a missing file, an unreachable server).
    explicit TestWorkingDirectory(const ConnectionSettings &settings,
                                  const QString &serverLabel = QStringLiteral("Serveur de test"));
    ~TestWorkingDirectory();
    TestWorkingDirectory(const TestWorkingDirectory &) = delete;
    TestWorkingDirectory &operator=(const TestWorkingDirectory &) = delete;

    QString path() const { return m_directory.path(); }
    QString filePath(const QString &name) const;
    /// Writes (or replaces) a file of the directory; folders in name are made.
    void writeFile(const QString &name, const QByteArray &bytes) const;
    /// Removes a file of the directory (say station.ini, to test the defaults).
    void removeFile(const QString &name) const;

private:
    void setUp(const ConnectionSettings &settings, const QString &serverLabel);

    QTemporaryDir m_directory;
    QString m_previous;
};
