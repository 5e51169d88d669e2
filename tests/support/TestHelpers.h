#pragma once

#include "app/StationError.h"
#include "data/DbError.h"
#include "data/DbQuery.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

/// Small helpers for database tests.
namespace TestHelpers {

/// The message of the StationError (or DbError) that action throws, empty
/// when it throws none. connectionLost, when given, tells whether a DbError
/// meant a lost attachment.
inline QString errorOf(const std::function<void()> &action, bool *connectionLost = nullptr)
{
    try {
        action();
    } catch (const DbError &error) {
        if (connectionLost)
            *connectionLost = error.isConnectionLost();
        return error.message();
    } catch (const StationError &error) {
        return error.message();
    }
    return QString();
}

/// The first column of the first row of a query ("select count(*) ...").
inline qint64 scalar(DbConnection &connection, const QString &sql)
{
    DbQuery query(connection, sql);
    query.open();
    return query.isEmpty() ? 0 : query.row(0).at(0).toInteger();
}

/// What a run of kitchen-tool gave: its exit status (-1 when it did not
/// finish within a minute) and its two outputs.
struct ToolRun
{
    int status;
    QString out;
    QString err;
};

/// Runs the built kitchen-tool with the arguments in the messages' locale
/// (LC_ALL) and a run-time folder of its own. An embedded database must be
/// detached first: its file serves one process.
inline ToolRun runKitchenTool(const QStringList &arguments, const QString &locale = QStringLiteral("C"))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), locale);
    const QTemporaryDir runtime;
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("STATION_BINARY_DIR") + QStringLiteral("/bin/kitchen-tool"),
                  arguments);
    if (!process.waitForFinished(60000))
        return { -1, QString(), QStringLiteral("kitchen-tool did not finish: ") + process.errorString() };
    return { process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

} // namespace TestHelpers
