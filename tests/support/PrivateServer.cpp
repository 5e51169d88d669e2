#include "PrivateServer.h"

#include "app/StationError.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>

namespace {

const QString installed = QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0");
const QString serverBinary = QStringLiteral("/usr/sbin/firebird");
const QString securityDatabase = QStringLiteral("/var/lib/firebird/3.0/system/security3.fdb");

int freePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        throw StationError(QStringLiteral("No free loopback port: %1").arg(probe.errorString()));
    return probe.serverPort();
}

void writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        throw StationError(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
}

} // namespace

PrivateServer::PrivateServer()
    : m_root(QDir::tempPath() + QStringLiteral("/station-server-XXXXXX"))
{
    if (!QFileInfo(serverBinary).isExecutable())
        throw StationError(QStringLiteral("%1 is missing (install firebird3.0-server)").arg(serverBinary));
    if (!m_root.isValid())
        throw StationError(QStringLiteral("Cannot make a temporary folder: %1").arg(m_root.errorString()));
    const QDir root(m_root.path());
    for (const QFileInfo &entry : QDir(installed).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (entry.fileName() == QLatin1String("firebird.conf")
            || entry.fileName() == QLatin1String("databases.conf"))
            continue;
        QFile::link(entry.absoluteFilePath(), root.filePath(entry.fileName()));
    }
    // The shared server holds the installed security database open: a copy of our own.
    const QString security = root.filePath(QStringLiteral("security3.fdb"));
    if (!QFile::copy(securityDatabase, security))
        throw StationError(
            QStringLiteral("Cannot copy %1 (run as root or as firebird)").arg(securityDatabase));
    QFile::setPermissions(security, QFile::ReadOwner | QFile::WriteOwner);
    writeFile(root.filePath(QStringLiteral("databases.conf")),
              QStringLiteral("security.db = %1\n").arg(security).toUtf8());
    root.mkpath(QStringLiteral("lock"));
    m_port = freePort();
    writeFile(root.filePath(QStringLiteral("firebird.conf")),
              QStringLiteral("RemoteServicePort = %1\n"
                             "RemoteBindAddress = 127.0.0.1\n"
                             "ServerMode = Super\n"
                             "SecurityDatabase = %2\n"
                             "IpcName = station_test_%1\n")
                  .arg(m_port)
                  .arg(security)
                  .toUtf8());

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD"), root.path());
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), root.filePath(QStringLiteral("lock")));
    environment.insert(QStringLiteral("FIREBIRD_TMP"), root.filePath(QStringLiteral("lock")));
    m_process.setProcessEnvironment(environment);
    m_process.setProgram(serverBinary);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    start();
}

PrivateServer::~PrivateServer()
{
    if (isRunning())
        stop();
}

QString PrivateServer::host() const
{
    return QStringLiteral("localhost/%1").arg(m_port);
}

bool PrivateServer::listening() const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(m_port));
    return socket.waitForConnected(500);
}

void PrivateServer::start()
{
    if (isRunning())
        return;
    m_process.start();
    if (!m_process.waitForStarted(10000))
        throw StationError(
            QStringLiteral("The private Firebird server did not start: %1").arg(m_process.errorString()));
    // generous: a loaded machine may take its time
    const QDeadlineTimer deadline(60000);
    while (!listening()) {
        if (!isRunning())
            throw StationError(QStringLiteral("The private Firebird server ended at its start"));
        if (deadline.hasExpired())
            throw StationError(
                QStringLiteral("The private Firebird server does not listen on port %1").arg(m_port));
        QThread::msleep(50);
    }
}

void PrivateServer::waitForEnd()
{
    if (!m_process.waitForFinished(30000)) {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(10000);
    }
    m_frozen = false;
}

void PrivateServer::stop()
{
    if (!isRunning())
        return;
    thaw();
    m_process.terminate();
    waitForEnd();
}

void PrivateServer::kill()
{
    if (!isRunning())
        return;
    m_process.kill();
    waitForEnd();
}

void PrivateServer::freeze()
{
    if (isRunning() && !m_frozen && ::kill(pid_t(m_process.processId()), SIGSTOP) == 0)
        m_frozen = true;
}

void PrivateServer::thaw()
{
    if (m_frozen && ::kill(pid_t(m_process.processId()), SIGCONT) == 0)
        m_frozen = false;
}
