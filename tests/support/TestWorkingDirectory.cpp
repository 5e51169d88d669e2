#include "TestWorkingDirectory.h"

#include "TestDatabase.h"
#include "app/StationError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestWorkingDirectory::TestWorkingDirectory(const TestDatabase &database, const QString &serverLabel)
    : m_directory(QDir::tempPath() + QStringLiteral("/station-work-XXXXXX"))
{
    setUp(database.settings(), serverLabel);
}

TestWorkingDirectory::TestWorkingDirectory(const ConnectionSettings &settings, const QString &serverLabel)
    : m_directory(QDir::tempPath() + QStringLiteral("/station-work-XXXXXX"))
{
    setUp(settings, serverLabel);
}

void TestWorkingDirectory::setUp(const ConnectionSettings &settings, const QString &serverLabel)
{
    if (!m_directory.isValid())
        throw StationError(QStringLiteral("Cannot make a temporary folder: %1").arg(m_directory.errorString()));
    // UTF-8 with its byte-order mark, which the station reads whatever its code page
    writeFile(QStringLiteral("Ch.txt"),
              QByteArray("\xEF\xBB\xBF")
                  + (settings.database + QStringLiteral("\r\n") + serverLabel + QStringLiteral("\r\n")).toUtf8());
    writeFile(QStringLiteral("station.ini"), QStringLiteral("[database]\npassword=%1\ncodepage=%2\n")
                                                 .arg(settings.password, settings.codepage)
                                                 .toUtf8());
    m_previous = QDir::currentPath();
    QDir::setCurrent(m_directory.path());
}

TestWorkingDirectory::~TestWorkingDirectory()
{
    QDir::setCurrent(m_previous);
}

QString TestWorkingDirectory::filePath(const QString &name) const
{
    return m_directory.filePath(name);
}

void TestWorkingDirectory::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw StationError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

void TestWorkingDirectory::removeFile(const QString &name) const
{
    QFile::remove(filePath(name));
}
