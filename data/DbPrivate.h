#pragma once

// Inner parts of the data layer shared by DbConnection, DbQuery and
// DbStatement; nothing outside data/ includes this file.

#include "data/CallWatchdog.h"
#include "data/DbConnection.h"
#include "data/DbValue.h"
#include "data/FbClient.h"
#include "data/SqlText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <atomic>
#include <optional>
#include <vector>

struct DbConnection::Private
{
    const FbClient *fb = nullptr;
    ConnectionSettings settings;
    isc_db_handle db = 0;
    // A copy of db for cancelOperation(), which another thread may call.
    std::atomic<isc_db_handle> cancelHandle {0};
    quint64 generation = 0;
    // Aborts a call that outlives its deadline (settings.callTimeoutSeconds);
    // none while that is 0.
    std::unique_ptr<CallWatchdog> watchdog;
    isc_tr_handle explicitTransaction = 0;
    mutable std::optional<QStringDecoder> decoder;
    mutable std::optional<QStringEncoder> encoder;

    enum class TransactionKind { Read, Write };

    /// Throws the "not connected" DbError when there is no attachment.
    void requireOpen() const;
    isc_tr_handle begin(TransactionKind kind);
    void commit(isc_tr_handle &transaction);
    /// Never throws: used on the way out of a failure.
    void rollback(isc_tr_handle &transaction) noexcept;
    QByteArray parameterBlock(bool creating, int pageSize, bool forcedWrites) const;
    void setCodepage(const QString &codepage);
    void attached();
    /// Starts (or stops) the watchdog as the settings ask.
    void watch();
    /// The longest a call of this kind may take before the watchdog aborts it.
    std::chrono::milliseconds callLimit(TransactionKind kind) const;
};

/// The values of a text's ":NAME" parameters, set by position or by name
/// (letter case ignored); what the text does not have throws DbError.
class ParameterValues
{
public:
    ParameterValues(QStringList names, QString owner)
        : m_names(std::move(names))
        , m_values(m_names.size())
        , m_owner(std::move(owner))
    {
    }
    const QStringList &names() const { return m_names; }
    int count() const { return int(m_values.size()); }
    const QList<DbValue> &values() const { return m_values; }
    void set(int position, const DbValue &value) { m_values[check(position)] = value; }
    void set(const QString &name, const DbValue &value)
    {
        const int position = SqlText::Parameters::position(m_names, name);
        if (position < 0)
            throw DbError(QStringLiteral("The %1 has no parameter %2").arg(m_owner, name));
        m_values[position] = value;
    }
    const DbValue &at(int position) const { return m_values.at(check(position)); }

private:
    int check(int position) const
    {
        if (position < 0 || position >= m_values.size())
            throw DbError(QStringLiteral("The %1 has no parameter at position %2").arg(m_owner).arg(position));
        return position;
    }
    QStringList m_names;
    QList<DbValue> m_values;
    QString m_owner;
};

/// Runs a write; an error of the lock class (a row that another program holds
/// in an open transaction) comes back with a first line that says so.
template<typename Write>
auto runWrite(const DbConnection::Private &connection, Write &&write)
{
    try {
        return write();
    } catch (const DbError &error) {
        switch (error.gdsCode()) {
        case isc_deadlock:
        case isc_lock_conflict:
        case isc_update_conflict:
        case isc_lock_timeout:
            throw DbError(QStringLiteral("Another program holds the row locked; nothing was changed "
                                         "(waited %1 s).\n%2")
                              .arg(connection.settings.lockTimeoutSeconds)
                              .arg(error.message()),
                          error.sqlCode(), error.gdsCode(), error.isConnectionLost());
        default:
            throw;
        }
    }
}

/// A transaction for one piece of work: the connection's explicit transaction
/// when one is open (tools and tests group work that way), otherwise a
/// transaction of its own that commit() commits and the destructor rolls back.
class TransactionScope
{
public:
    TransactionScope(DbConnection::Private &connection, DbConnection::Private::TransactionKind kind);
    ~TransactionScope();
    TransactionScope(const TransactionScope &) = delete;
    TransactionScope &operator=(const TransactionScope &) = delete;

    isc_tr_handle *handle() { return m_own ? &m_transaction : &m_connection.explicitTransaction; }
    void commit();

private:
    DbConnection::Private &m_connection;
    isc_tr_handle m_transaction = 0;
    bool m_own;
    bool m_watched = false;
};

/// Descriptors and buffers of one side (input or output) of a statement.
class SqlDescriptors
{
public:
    SqlDescriptors();
    XSQLDA *get() { return reinterpret_cast<XSQLDA *>(m_storage.data()); }
    const XSQLDA *get() const { return reinterpret_cast<const XSQLDA *>(m_storage.data()); }
    int count() const { return get()->sqld; }
    XSQLVAR &var(int i) { return get()->sqlvar[i]; }
    const XSQLVAR &var(int i) const { return get()->sqlvar[i]; }
    /// Makes room for n descriptors; true when the descriptors had to grow
    /// (they must then be described again).
    bool reserve(int n);
    /// Gives each described column a data buffer and an indicator.
    void allocateBuffers();
    /// A buffer of its own for input descriptor i.
    char *inputBuffer(int i, qsizetype size);

private:
    std::vector<qint64> m_storage; // qint64 keeps the XSQLDA aligned
    std::vector<std::vector<qint64>> m_buffers;
    std::vector<ISC_SHORT> m_indicators;
};

/// One DSQL statement handle of the data layer: the text with its ":NAME"
/// parameters, prepared at first use and again after every new attachment,
/// bound with values converted to the types the server describes.
class PreparedSql
{
public:
    PreparedSql(DbConnection &connection, const QString &sql);
    ~PreparedSql();
    PreparedSql(const PreparedSql &) = delete;
    PreparedSql &operator=(const PreparedSql &) = delete;

    const QString &sql() const { return m_sql; }
    const SqlText::Parameters &parameters() const { return m_parameters; }

    /// Prepares unless prepared on the current attachment.
    void prepare(isc_tr_handle *transaction);
    bool isSelect() const;
    int columnCount() const { return m_out.count(); }
    QString columnName(int i) const;
    /// The base type (sqltype without the null flag) of column i.
    int columnType(int i) const;

    /// values are by position (index into parameters().names); raw holds
    /// bytes bound unconverted (a DB_KEY), by position.
    void bind(const QList<DbValue> &values, const QList<std::optional<QByteArray>> &raw = {});
    /// Runs the statement; a select leaves its cursor open for fetch().
    void execute(isc_tr_handle *transaction);
    /// Next row of the open cursor into row; false at the end (cursor closed).
    bool fetch(isc_tr_handle *transaction, DbRow &row, QByteArray *firstColumnRaw = nullptr);
    void closeCursor();
    /// Rows inserted, updated or deleted by the last execute().
    int affectedRows();
    /// The output of a statement with a singleton result (RETURNING).
    DbRow singletonRow(isc_tr_handle *transaction, QByteArray *firstColumnRaw = nullptr);
    /// The plan the server chose.
    QString plan(isc_tr_handle *transaction);

private:
    DbConnection::Private &c() const { return *m_connection.d_func(); }
    DbValue columnValue(isc_tr_handle *transaction, int i) const;
    QByteArray sqlInfo(char item, int size);
    void free() noexcept;

    DbConnection &m_connection;
    QString m_sql;
    SqlText::Parameters m_parameters;
    isc_stmt_handle m_statement = 0;
    quint64 m_generation = 0;
    int m_type = 0;
    bool m_cursorOpen = false;
    SqlDescriptors m_in;
    SqlDescriptors m_out;
    struct Described
    {
        ISC_SHORT type;
        ISC_SHORT scale;
        ISC_SHORT subtype;
        ISC_SHORT length;
        QString name;
    };
    std::vector<Described> m_inDescribed;
};
