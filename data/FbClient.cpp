#include "data/FbClient.h"

#include <QHash>
#include <QMutex>

#include <dlfcn.h>
#include <memory>

namespace {

template<typename Function>
void resolve(void *library, const char *name, Function &function, const QString &libraryName)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function)
        throw DbError(QStringLiteral("The Firebird client library \"%1\" has no function %2")
                          .arg(libraryName, QString::fromLatin1(name)));
}

} // namespace

const FbClient &FbClient::load(const QString &library)
{
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<FbClient>> loaded;
    QMutexLocker locker(&mutex);
    if (const auto found = loaded.constFind(library); found != loaded.cend())
        return **found;

    void *handle = dlopen(library.toLocal8Bit().constData(), RTLD_NOW | RTLD_GLOBAL);
    if (!handle)
        throw DbError(QStringLiteral("Cannot load the Firebird client library \"%1\": %2")
                          .arg(library, QString::fromLocal8Bit(dlerror())));

    auto client = std::make_shared<FbClient>();
    resolve(handle, "isc_attach_database", client->attachDatabase, library);
    resolve(handle, "isc_create_database", client->createDatabase, library);
    resolve(handle, "isc_detach_database", client->detachDatabase, library);
    resolve(handle, "isc_drop_database", client->dropDatabase, library);
    resolve(handle, "isc_start_multiple", client->startMultiple, library);
    resolve(handle, "isc_commit_transaction", client->commitTransaction, library);
    resolve(handle, "isc_rollback_transaction", client->rollbackTransaction, library);
    resolve(handle, "isc_dsql_allocate_statement", client->allocateStatement, library);
    resolve(handle, "isc_dsql_prepare", client->prepare, library);
    resolve(handle, "isc_dsql_describe", client->describe, library);
    resolve(handle, "isc_dsql_describe_bind", client->describeBind, library);
    resolve(handle, "isc_dsql_execute", client->execute, library);
    resolve(handle, "isc_dsql_execute2", client->execute2, library);
    resolve(handle, "isc_dsql_execute_immediate", client->executeImmediate, library);
    resolve(handle, "isc_dsql_fetch", client->fetch, library);
    resolve(handle, "isc_dsql_free_statement", client->freeStatement, library);
    resolve(handle, "isc_dsql_sql_info", client->sqlInfo, library);
    resolve(handle, "isc_open_blob2", client->openBlob, library);
    resolve(handle, "isc_get_segment", client->getSegment, library);
    resolve(handle, "isc_close_blob", client->closeBlob, library);
    resolve(handle, "isc_sqlcode", client->sqlcode, library);
    resolve(handle, "fb_interpret", client->interpret, library);
    resolve(handle, "isc_vax_integer", client->vaxInteger, library);
    resolve(handle, "fb_cancel_operation", client->cancelOperation, library);
    resolve(handle, "fb_ping", client->ping, library);
    // The library stays loaded for the life of the process: its engine and
    // its threads cannot be unloaded safely.
    loaded.insert(library, client);
    return *client;
}

DbError FbClient::error(const ISC_STATUS *status, const QString &context) const
{
    QStringList lines;
    const ISC_STATUS *cursor = status;
    char buffer[1024];
    while (interpret(buffer, sizeof buffer, &cursor) > 0)
        lines.append(QString::fromLocal8Bit(buffer));
    QString message = lines.join(QLatin1Char('\n'));
    if (message.isEmpty())
        message = QStringLiteral("Database error %1").arg(status[1]);
    if (!context.isEmpty())
        message += QLatin1Char('\n') + context;

    // The first code names the error; a network error can also come second,
    // after a generic one, so the whole vector decides whether the attachment is gone.
    bool lost = false;
    const ISC_STATUS *end = status + ISC_STATUS_LENGTH - 1;
    for (const ISC_STATUS *item = status; item < end && *item != isc_arg_end;) {
        const ISC_STATUS kind = item[0];
        if (kind == isc_arg_gds && DbError::isConnectionLostCode(item[1]))
            lost = true;
        if (kind == isc_arg_cstring)
            item += 3;
        else
            item += 2;
    }
    return DbError(message, long(sqlcode(status)), qint64(status[1]), lost);
}
