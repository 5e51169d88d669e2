#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

/// Keeps one copy of the program running per user: the first copy registers
/// under the upper-cased file name of its executable; a later copy under the
/// same file name finds it, asks it to come to the front and learns that it is
/// the second copy (it then ends without doing anything else).
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    /// Registers identity, or asks the copy that already holds it to come to the front.
    explicit SingleInstance(const QString &identity, QObject *parent = nullptr);
    ~SingleInstance() override;

    /// The identity of a program: its executable's file name without folder, upper-cased.
    static QString identityOf(const QString &executablePath);
    /// The local socket under which the copy with that identity listens.
    static QString serverNameOf(const QString &identity);

    const QString &identity() const { return m_identity; }
    /// True when another copy was running: this copy has asked it to come forward.
    bool isSecondCopy() const { return m_secondCopy; }
    /// True when this copy holds the identity.
    bool isRegistered() const;

signals:
    /// A later copy asked this one to come to the front.
    void activationRequested();

private:
    bool askRunningCopy(const QString &serverName);
    void listen(const QString &serverName);
    void readRequests();

    QString m_identity;
    QLocalServer *m_server = nullptr;
    bool m_secondCopy = false;
};
