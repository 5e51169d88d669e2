#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
const QByteArray activateRequest = QByteArrayLiteral("activate\n");
constexpr int connectTimeoutMs = 2000;
} // namespace

SingleInstance::SingleInstance(const QString &identity, QObject *parent)
    : QObject(parent)
    , m_identity(identity)
{
    const QString serverName = serverNameOf(identity);
    if (askRunningCopy(serverName)) {
        m_secondCopy = true;
        return;
    }
    listen(serverName);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::identityOf(const QString &executablePath)
{
    return QFileInfo(executablePath).fileName().toUpper();
}

QString SingleInstance::serverNameOf(const QString &identity)
{
    // In the user's runtime folder: copies of other users on the same machine
    // run on other desktops and are not the same program for the guard.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return identity;
    return QDir(runtime).filePath(identity);
}

bool SingleInstance::isRegistered() const
{
    return m_server && m_server->isListening();
}

bool SingleInstance::askRunningCopy(const QString &serverName)
{
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(activateRequest);
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(connectTimeoutMs);
    return true;
}

void SingleInstance::listen(const QString &serverName)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::readRequests);
    if (m_server->listen(serverName))
        return;
    // Nobody answered on that name: the socket file is left over from a copy
    // that did not end cleanly.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(serverName);
        m_server->listen(serverName);
    }
}

void SingleInstance::readRequests()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto readLines = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == activateRequest)
                    emit activationRequested();
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readLines);
        readLines();
    }
}
