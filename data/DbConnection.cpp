#include "data/DbConnection.h"

#include "app/StationError.h"
#include "data/DbPrivate.h"

#include <QRegularExpression>
#include <QScopeGuard>

namespace {

void appendItem(QByteArray &block, char item, const QByteArray &value)
{
    block.append(item);
    block.append(char(value.size()));
    block.append(value);
}

void appendInteger(QByteArray &block, char item, quint32 value)
{
    block.append(item);
    block.append(char(4));
    for (int i = 0; i < 4; ++i)
        block.append(char((value >> (8 * i)) & 0xFF));
}

QByteArray limited(const QString &what, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() > 255)
        throw StationError(QStringLiteral("The %1 is too long").arg(what));
    return bytes;
}

} // namespace

// --- DbConnection::Private -------------------------------------------------------

void DbConnection::Private::requireOpen() const
{
    if (db == 0)
        throw DbError(QStringLiteral("The database is not connected"), 0, 0, true);
}

isc_tr_handle DbConnection::Private::begin(TransactionKind kind)
{
    requireOpen();
    QByteArray tpb;
    tpb.append(char(isc_tpb_version3));
    if (kind == TransactionKind::Read) {
        // Read committed, record version: each read sees what others
        // committed before it ran, and never waits for a lock.
        tpb.append(char(isc_tpb_read));
        tpb.append(char(isc_tpb_read_committed));
        tpb.append(char(isc_tpb_rec_version));
        tpb.append(char(isc_tpb_nowait));
    } else {
        tpb.append(char(isc_tpb_write));
        tpb.append(char(isc_tpb_read_committed));
        tpb.append(char(isc_tpb_rec_version));
        if (settings.lockTimeoutSeconds > 0) {
            tpb.append(char(isc_tpb_wait));
            appendInteger(tpb, char(isc_tpb_lock_timeout), quint32(settings.lockTimeoutSeconds));
        } else {
            tpb.append(char(isc_tpb_nowait));
        }
    }
    struct
    {
        isc_db_handle *database;
        ISC_LONG length;
        const char *block;
    } vector {&db, ISC_LONG(tpb.size()), tpb.constData()};
    FbStatus status;
    isc_tr_handle transaction = 0;
    fb->startMultiple(status, &transaction, 1, &vector);
    fb->check(status);
    return transaction;
}

void DbConnection::Private::commit(isc_tr_handle &transaction)
{
    FbStatus status;
    fb->commitTransaction(status, &transaction);
    fb->check(status);
}

void DbConnection::Private::rollback(isc_tr_handle &transaction) noexcept
{
    if (transaction == 0)
        return;
    FbStatus status;
    fb->rollbackTransaction(status, &transaction);
    // On a broken attachment the rollback fails too; the handle is gone with it.
    transaction = 0;
}

QByteArray DbConnection::Private::parameterBlock(bool creating, int pageSize, bool forcedWrites) const
{
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    appendItem(dpb, char(isc_dpb_user_name), limited(QStringLiteral("user name"), settings.user));
    appendItem(dpb, char(isc_dpb_password), limited(QStringLiteral("password"), settings.password));
    // NONE: the server hands text bytes over unchanged; the code page is ours.
    appendItem(dpb, char(isc_dpb_lc_ctype), QByteArrayLiteral("NONE"));
    appendItem(dpb, char(isc_dpb_utf8_filename), QByteArray());
    if (settings.callTimeoutSeconds > 0)
        appendInteger(dpb, char(isc_dpb_connect_timeout), quint32(settings.callTimeoutSeconds));
    if (creating) {
        appendInteger(dpb, char(isc_dpb_page_size), quint32(pageSize));
        appendItem(dpb, char(isc_dpb_sql_dialect), QByteArray(1, char(SQL_DIALECT_V6)));
        appendItem(dpb, char(isc_dpb_force_write), QByteArray(1, char(forcedWrites ? 1 : 0)));
        appendItem(dpb, char(isc_dpb_set_db_charset), QByteArrayLiteral("NONE"));
    }
    return dpb;
}

void DbConnection::Private::setCodepage(const QString &codepage)
{
    ConnectionSettings::checkCodepage(codepage);
    const QByteArray name = codepage.toLatin1();
    decoder.emplace(name.constData());
    encoder.emplace(name.constData());
}

void DbConnection::Private::attached()
{
    cancelHandle.store(db);
    ++generation;
}

void DbConnection::Private::watch()
{
    if (settings.callTimeoutSeconds <= 0) {
        watchdog.reset();
        return;
    }
    if (!watchdog)
        watchdog = std::make_unique<CallWatchdog>([this] {
            isc_db_handle handle = cancelHandle.load();
            if (handle == 0)
                return;
            FbStatus status;
            fb->cancelOperation(status, &handle, fb_cancel_abort);
        });
}

std::chrono::milliseconds DbConnection::Private::callLimit(TransactionKind kind) const
{
    // a write may wait for a locked row first, by design
    const int seconds = settings.callTimeoutSeconds
                        + (kind == TransactionKind::Write ? settings.lockTimeoutSeconds : 0);
    return std::chrono::milliseconds(1000 * qint64(seconds));
}

// --- TransactionScope ------------------------------------------------------------

TransactionScope::TransactionScope(DbConnection::Private &connection, DbConnection::Private::TransactionKind kind)
    : m_connection(connection)
    , m_own(connection.explicitTransaction == 0)
{
    if (connection.watchdog && connection.db != 0) {
        connection.watchdog->arm(connection.callLimit(kind));
        m_watched = true;
    }
    // a failed begin leaves no transaction: the destructor does not run
    auto unwatch = qScopeGuard([this] {
        if (m_watched)
            m_connection.watchdog->disarm();
    });
    if (m_own)
        m_transaction = connection.begin(kind);
    else
        connection.requireOpen();
    unwatch.dismiss();
}

TransactionScope::~TransactionScope()
{
    if (m_own)
        m_connection.rollback(m_transaction);
    if (m_watched)
        m_connection.watchdog->disarm();
}

void TransactionScope::commit()
{
    if (m_own)
        m_connection.commit(m_transaction);
}

// --- DbConnection ----------------------------------------------------------------

namespace {

// The watchdog's deadline, when the connection has a watchdog, over one call
// made outside any transaction (a detach, a ping).
class WatchedCall
{
public:
    explicit WatchedCall(DbConnection::Private &connection)
        : m_watchdog(connection.watchdog.get())
    {
        if (m_watchdog)
            m_watchdog->arm(connection.callLimit(DbConnection::Private::TransactionKind::Read));
    }
    ~WatchedCall()
    {
        if (m_watchdog)
            m_watchdog->disarm();
    }
    WatchedCall(const WatchedCall &) = delete;
    WatchedCall &operator=(const WatchedCall &) = delete;

private:
    CallWatchdog *m_watchdog;
};

} // namespace

DbConnection::DbConnection()
    : d(std::make_unique<Private>())
{
}

DbConnection::~DbConnection()
{
    if (d->explicitTransaction)
        d->rollback(d->explicitTransaction);
    close();
    d->watchdog.reset();
}

void DbConnection::open(const ConnectionSettings &settings)
{
    close();
    d->setCodepage(settings.codepage);
    d->fb = &FbClient::load(settings.clientLibrary);
    d->settings = settings;

    const QByteArray path = settings.database.toUtf8();
    const QByteArray dpb = d->parameterBlock(false, 0, false);
    FbStatus status;
    isc_db_handle db = 0;
    d->fb->attachDatabase(status, 0, path.constData(), &db, short(dpb.size()), dpb.constData());
    d->fb->check(status);
    d->db = db;
    d->attached();
    d->watch();
}

void DbConnection::create(const ConnectionSettings &settings, const CreateOptions &options)
{
    close();
    d->setCodepage(settings.codepage);
    d->fb = &FbClient::load(settings.clientLibrary);
    d->settings = settings;

    const QByteArray path = settings.database.toUtf8();
    const QByteArray dpb = d->parameterBlock(true, options.pageSize, options.forcedWrites);
    FbStatus status;
    isc_db_handle db = 0;
    d->fb->createDatabase(status, 0, path.constData(), &db, short(dpb.size()), dpb.constData(), 0);
    d->fb->check(status);
    d->db = db;
    d->attached();
    d->watch();
}

void DbConnection::drop()
{
    d->requireOpen();
    if (d->explicitTransaction)
        d->rollback(d->explicitTransaction);
    d->cancelHandle.store(0);
    FbStatus status;
    d->fb->dropDatabase(status, &d->db);
    if (status.failed()) {
        const DbError error = d->fb->error(status);
        close();
        throw error;
    }
    d->db = 0;
}

void DbConnection::close()
{
    if (d->db == 0)
        return;
    if (d->explicitTransaction)
        d->rollback(d->explicitTransaction);
    {
        // a frozen server would hold the detach as long as any other call
        const WatchedCall watched(*d);
        FbStatus status;
        d->fb->detachDatabase(status, &d->db);
    }
    d->cancelHandle.store(0);
    // A detach from a lost attachment fails; the client has let go of it anyway.
    d->db = 0;
}

void DbConnection::probe(const ConnectionSettings &settings)
{
    DbConnection connection;
    connection.open(settings);
    connection.close();
}

bool DbConnection::isOpen() const
{
    return d->db != 0;
}

bool DbConnection::isAlive()
{
    if (d->db == 0)
        return false;
    const WatchedCall watched(*d);
    FbStatus status;
    d->fb->ping(status, &d->db);
    return !status.failed();
}

void DbConnection::reconnect()
{
    const ConnectionSettings settings = d->settings;
    close();
    open(settings);
}

const ConnectionSettings &DbConnection::settings() const
{
    return d->settings;
}

QString DbConnection::decode(const QByteArray &bytes) const
{
    if (!d->decoder)
        d->setCodepage(d->settings.codepage);
    d->decoder->resetState();
    return d->decoder->decode(bytes);
}

QByteArray DbConnection::encode(const QString &text) const
{
    if (!d->encoder)
        d->setCodepage(d->settings.codepage);
    d->encoder->resetState();
    QByteArray bytes = d->encoder->encode(text);
    if (d->encoder->hasError()) {
        // resetState() does not clear the error of every converter: start afresh
        d->encoder.emplace(d->settings.codepage.toLatin1().constData());
        throw StationError(QStringLiteral("The text \"%1\" cannot be written in the code page %2")
                               .arg(text, d->settings.codepage));
    }
    return bytes;
}

quint64 DbConnection::generation() const
{
    return d->generation;
}

void DbConnection::cancelOperation()
{
    isc_db_handle handle = d->cancelHandle.load();
    if (handle == 0 || !d->fb)
        return;
    FbStatus status;
    d->fb->cancelOperation(status, &handle, fb_cancel_abort);
}

void DbConnection::startTransaction()
{
    if (d->explicitTransaction)
        throw DbError(QStringLiteral("A transaction is already open"));
    d->explicitTransaction = d->begin(Private::TransactionKind::Write);
}

void DbConnection::commit()
{
    if (!d->explicitTransaction)
        throw DbError(QStringLiteral("No transaction is open"));
    try {
        d->commit(d->explicitTransaction);
    } catch (...) {
        d->rollback(d->explicitTransaction);
        throw;
    }
}

void DbConnection::rollback()
{
    d->rollback(d->explicitTransaction);
}

bool DbConnection::inTransaction() const
{
    return d->explicitTransaction != 0;
}

void DbConnection::executeScript(const QString &script)
{
    // isql commands that have no meaning here: every statement commits.
    static const QRegularExpression ignored(
        QStringLiteral("^(COMMIT|SET\\s+(NAMES|SQL\\s+DIALECT|AUTODDL|ECHO|LIST|BAIL|HEADING|WARNINGS))\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString &statement : SqlText::splitScript(script)) {
        if (ignored.match(statement).hasMatch())
            continue;
        TransactionScope transaction(*d, Private::TransactionKind::Write);
        const QByteArray text = encode(statement);
        FbStatus status;
        d->fb->executeImmediate(status, &d->db, transaction.handle(), 0, text.constData(), SQL_DIALECT_V6, nullptr);
        d->fb->check(status, QStringLiteral("in the statement: ") + statement.left(300));
        transaction.commit();
    }
}
