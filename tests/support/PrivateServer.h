#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/// A Firebird server of the test's own, on a free loopback port, that the
/// test may stop, kill, freeze and start again without touching the shared
/// server on 3050: its own root (links to the installed files), its own
/// firebird.conf, lock folder and copy of the security database (so SYSDBA's
/// password is the installed server's, TestDatabase::serverPassword()).
///
/// The constructor starts it; it throws StationError when the server binary
/// is missing or does not listen.
class PrivateServer
{
public:
    PrivateServer();
    /// Stops the server (thawed first).
    ~PrivateServer();
    PrivateServer(const PrivateServer &) = delete;
    PrivateServer &operator=(const PrivateServer &) = delete;

    int port() const { return m_port; }
    /// The server part of a database text: "localhost/PORT".
    QString host() const;

    /// Starts the server and waits until it answers on its port.
    void start();
    /// Ends it as an administrator would (SIGTERM), and waits for the end.
    void stop();
    /// Ends it at once (SIGKILL): the connections drop without a goodbye.
    void kill();
    /// Stops (SIGSTOP) and resumes (SIGCONT) the process: a server that
    /// keeps its connections open but answers nothing, like a cut cable.
    void freeze();
    void thaw();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    qint64 processId() const { return m_process.processId(); }

private:
    bool listening() const;
    void waitForEnd();

    QTemporaryDir m_root;
    int m_port = 0;
    QProcess m_process;
    bool m_frozen = false;
};
