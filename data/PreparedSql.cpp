#include "data/DbPrivate.h"

#include <QDateTime>

#include <cmath>
#include <cstring>

namespace {

constexpr int JulianDayOfIscEpoch = 2400001; // ISC_DATE 0 is 1858-11-17

ISC_DATE toIscDate(QDate date)
{
    return ISC_DATE(date.toJulianDay() - JulianDayOfIscEpoch);
}

QDate fromIscDate(ISC_DATE date)
{
    return QDate::fromJulianDay(qint64(date) + JulianDayOfIscEpoch);
}

qint64 powerOfTen(int exponent)
{
    qint64 value = 1;
    while (exponent-- > 0)
        value *= 10;
    return value;
}

template<typename T>
T readAs(const char *data)
{
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

QString typeText(int type)
{
    switch (type) {
    case SQL_TEXT:
    case SQL_VARYING:
        return QStringLiteral("text");
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        return QStringLiteral("integer");
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return QStringLiteral("number");
    case SQL_TYPE_DATE:
        return QStringLiteral("date");
    case SQL_TYPE_TIME:
        return QStringLiteral("time");
    case SQL_TIMESTAMP:
        return QStringLiteral("timestamp");
    case SQL_BLOB:
        return QStringLiteral("blob");
    case SQL_BOOLEAN:
        return QStringLiteral("boolean");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

} // namespace

// --- SqlDescriptors --------------------------------------------------------------

SqlDescriptors::SqlDescriptors()
{
    reserve(1);
    get()->sqld = 0;
}

bool SqlDescriptors::reserve(int n)
{
    const int wanted = qMax(n, 1);
    if (!m_storage.empty() && get()->sqln >= wanted)
        return false;
    const size_t bytes = XSQLDA_LENGTH(size_t(wanted));
    m_storage.assign((bytes + sizeof(qint64) - 1) / sizeof(qint64), 0);
    XSQLDA *da = get();
    da->version = SQLDA_VERSION1;
    da->sqln = ISC_SHORT(wanted);
    da->sqld = 0;
    return true;
}

void SqlDescriptors::allocateBuffers()
{
    const int n = count();
    m_buffers.assign(size_t(n), {});
    m_indicators.assign(size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR &v = var(i);
        const int type = v.sqltype & ~1;
        qsizetype size = v.sqllen;
        if (type == SQL_VARYING)
            size += 2;
        else if (type == SQL_NULL)
            size = 1;
        m_buffers[size_t(i)].assign(size_t(qMax<qsizetype>(size, 1) + 7) / 8, 0);
        v.sqldata = reinterpret_cast<char *>(m_buffers[size_t(i)].data());
        v.sqlind = &m_indicators[size_t(i)];
        // every column reports NULL through its indicator
        v.sqltype = ISC_SHORT(v.sqltype | 1);
    }
}

char *SqlDescriptors::inputBuffer(int i, qsizetype size)
{
    if (m_buffers.size() < size_t(count())) {
        m_buffers.resize(size_t(count()));
        m_indicators.resize(size_t(count()), 0);
    }
    m_buffers[size_t(i)].assign(size_t(qMax<qsizetype>(size, 1) + 7) / 8, 0);
    XSQLVAR &v = var(i);
    v.sqldata = reinterpret_cast<char *>(m_buffers[size_t(i)].data());
    v.sqlind = &m_indicators[size_t(i)];
    return v.sqldata;
}

// --- PreparedSql -----------------------------------------------------------------

PreparedSql::PreparedSql(DbConnection &connection, const QString &sql)
    : m_connection(connection)
    , m_sql(sql)
    , m_parameters(SqlText::Parameters::parse(sql))
{
}

PreparedSql::~PreparedSql()
{
    free();
}

void PreparedSql::free() noexcept
{
    if (m_statement == 0)
        return;
    // A handle of an older attachment died with it.
    if (m_generation == c().generation && c().db != 0) {
        FbStatus status;
        c().fb->freeStatement(status, &m_statement, DSQL_drop);
    }
    m_statement = 0;
    m_cursorOpen = false;
}

void PreparedSql::prepare(isc_tr_handle *transaction)
{
    DbConnection::Private &connection = c();
    connection.requireOpen();
    if (m_statement != 0 && m_generation == connection.generation)
        return;
    free();

    const FbClient &fb = *connection.fb;
    FbStatus status;
    isc_stmt_handle statement = 0;
    fb.allocateStatement(status, &connection.db, &statement);
    fb.check(status);
    m_statement = statement;
    m_generation = connection.generation;

    try {
        const QByteArray text = m_connection.encode(m_parameters.sql);
        m_out.reserve(16);
        fb.prepare(status, transaction, &m_statement, 0, text.constData(), SQL_DIALECT_V6, m_out.get());
        fb.check(status);
        if (m_out.reserve(m_out.count())) {
            fb.describe(status, &m_statement, SQLDA_VERSION1, m_out.get());
            fb.check(status);
        }
        m_out.allocateBuffers();

        m_in.reserve(16);
        fb.describeBind(status, &m_statement, SQLDA_VERSION1, m_in.get());
        fb.check(status);
        if (m_in.reserve(m_in.count())) {
            fb.describeBind(status, &m_statement, SQLDA_VERSION1, m_in.get());
            fb.check(status);
        }
        if (m_in.count() != m_parameters.markers.size())
            throw DbError(QStringLiteral("The statement has %1 parameters, the server sees %2:\n%3")
                              .arg(m_parameters.markers.size())
                              .arg(m_in.count())
                              .arg(m_sql));
        m_inDescribed.clear();
        for (int i = 0; i < m_in.count(); ++i) {
            const XSQLVAR &v = m_in.var(i);
            m_inDescribed.push_back({ISC_SHORT(v.sqltype & ~1), v.sqlscale, v.sqlsubtype, v.sqllen,
                                     m_parameters.names.at(m_parameters.markers.at(i))});
        }

        const QByteArray info = sqlInfo(char(isc_info_sql_stmt_type), 16);
        m_type = info.size() >= 3 && info.at(0) == char(isc_info_sql_stmt_type)
                     ? int(fb.vaxInteger(info.constData() + 3, short(fb.vaxInteger(info.constData() + 1, 2))))
                     : 0;
    } catch (...) {
        free();
        throw;
    }
}

bool PreparedSql::isSelect() const
{
    return m_type == isc_info_sql_stmt_select || m_type == isc_info_sql_stmt_select_for_upd;
}

QString PreparedSql::columnName(int i) const
{
    const XSQLVAR &v = m_out.var(i);
    return QString::fromUtf8(v.aliasname, v.aliasname_length);
}

int PreparedSql::columnType(int i) const
{
    return m_out.var(i).sqltype & ~1;
}

QByteArray PreparedSql::sqlInfo(char item, int size)
{
    QByteArray buffer(size, '\0');
    FbStatus status;
    c().fb->sqlInfo(status, &m_statement, 1, &item, short(buffer.size()), buffer.data());
    c().fb->check(status);
    return buffer;
}

void PreparedSql::bind(const QList<DbValue> &values, const QList<std::optional<QByteArray>> &raw)
{
    for (int i = 0; i < m_in.count(); ++i) {
        const Described &described = m_inDescribed[size_t(i)];
        const int position = m_parameters.markers.at(i);
        XSQLVAR &v = m_in.var(i);

        if (position < raw.size() && raw.at(position)) {
            const QByteArray &bytes = *raw.at(position);
            std::memcpy(m_in.inputBuffer(i, bytes.size()), bytes.constData(), size_t(bytes.size()));
            v.sqltype = SQL_TEXT | 1;
            v.sqlscale = 0;
            v.sqlsubtype = described.subtype;
            v.sqllen = ISC_SHORT(bytes.size());
            *v.sqlind = 0;
            continue;
        }

        const DbValue value = position < values.size() ? values.at(position) : DbValue();
        if (value.isNull() || described.type == SQL_NULL) {
            // room for a value of the described size, whatever the client reads of a NULL
            m_in.inputBuffer(i, qsizetype(described.length) + 2);
            v.sqltype = ISC_SHORT(described.type | 1);
            v.sqllen = described.type == SQL_NULL ? 0 : described.length;
            *v.sqlind = value.isNull() ? -1 : 0;
            continue;
        }

        try {
            switch (described.type) {
            case SQL_TEXT:
            case SQL_VARYING:
            case SQL_BLOB: {
                if (described.type == SQL_BLOB)
                    throw DbError(QStringLiteral("A blob parameter cannot be given a value"));
                const QByteArray bytes = m_connection.encode(value.toText());
                if (bytes.size() > 32767)
                    throw DbError(QStringLiteral("The text is too long for a parameter"));
                std::memcpy(m_in.inputBuffer(i, bytes.size()), bytes.constData(), size_t(bytes.size()));
                v.sqltype = SQL_TEXT | 1;
                v.sqlscale = 0;
                v.sqlsubtype = described.subtype;
                v.sqllen = ISC_SHORT(bytes.size());
                break;
            }
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64: {
                qint64 number;
                if (described.scale == 0) {
                    number = value.toInteger();
                } else if (value.type() == DbValue::Type::Integer) {
                    number = value.toInteger() * powerOfTen(-described.scale);
                } else {
                    const double scaled = std::round(value.toFloat() * double(powerOfTen(-described.scale)));
                    if (!std::isfinite(scaled) || std::fabs(scaled) > 9.2e18)
                        throw DbError(QStringLiteral("\"%1\" is out of range").arg(value.toText()));
                    number = qint64(scaled);
                }
                std::memcpy(m_in.inputBuffer(i, 8), &number, 8);
                v.sqltype = SQL_INT64 | 1;
                v.sqlscale = described.scale;
                v.sqllen = 8;
                break;
            }
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_D_FLOAT: {
                const double number = value.toFloat();
                std::memcpy(m_in.inputBuffer(i, 8), &number, 8);
                v.sqltype = SQL_DOUBLE | 1;
                v.sqlscale = 0;
                v.sqllen = 8;
                break;
            }
            case SQL_TYPE_DATE: {
                const ISC_DATE date = toIscDate(value.toDate());
                std::memcpy(m_in.inputBuffer(i, 4), &date, 4);
                v.sqltype = SQL_TYPE_DATE | 1;
                v.sqllen = 4;
                break;
            }
            case SQL_TYPE_TIME: {
                const TimeOfDay time = value.toTime();
                if (!time.isValid())
                    throw DbError(QStringLiteral("%1 ticks is not a time of day").arg(time.ticks()));
                const ISC_TIME ticks = time.ticks();
                std::memcpy(m_in.inputBuffer(i, 4), &ticks, 4);
                v.sqltype = SQL_TYPE_TIME | 1;
                v.sqllen = 4;
                break;
            }
            case SQL_TIMESTAMP: {
                const QDateTime dateTime = value.toDateTime();
                ISC_TIMESTAMP stamp;
                stamp.timestamp_date = toIscDate(dateTime.date());
                stamp.timestamp_time = TimeOfDay::fromQTime(dateTime.time()).ticks();
                std::memcpy(m_in.inputBuffer(i, sizeof stamp), &stamp, sizeof stamp);
                v.sqltype = SQL_TIMESTAMP | 1;
                v.sqllen = ISC_SHORT(sizeof stamp);
                break;
            }
            case SQL_BOOLEAN: {
                bool flag;
                const QString text = value.toText().trimmed();
                if (value.type() == DbValue::Type::Text
                    && (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0
                        || text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0))
                    flag = text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
                else
                    flag = value.toInteger() != 0;
                *m_in.inputBuffer(i, 1) = flag ? 1 : 0;
                v.sqltype = SQL_BOOLEAN | 1;
                v.sqllen = 1;
                break;
            }
            default:
                throw DbError(QStringLiteral("A parameter of %1 cannot be given a value").arg(typeText(described.type)));
            }
        } catch (const StationError &error) {
            throw DbError(QStringLiteral("Parameter %1: %2").arg(described.name, error.message()));
        }
        *v.sqlind = 0;
    }
}

void PreparedSql::execute(isc_tr_handle *transaction)
{
    const FbClient &fb = *c().fb;
    FbStatus status;
    if (m_cursorOpen)
        closeCursor();
    if (isSelect()) {
        fb.execute(status, transaction, &m_statement, SQLDA_VERSION1, m_in.get());
        fb.check(status);
        m_cursorOpen = true;
    } else if (m_out.count() > 0) {
        fb.execute2(status, transaction, &m_statement, SQLDA_VERSION1, m_in.get(), m_out.get());
        fb.check(status);
    } else {
        fb.execute(status, transaction, &m_statement, SQLDA_VERSION1, m_in.get());
        fb.check(status);
    }
}

bool PreparedSql::fetch(isc_tr_handle *transaction, DbRow &row, QByteArray *firstColumnRaw)
{
    FbStatus status;
    const ISC_STATUS result = c().fb->fetch(status, &m_statement, SQLDA_VERSION1, m_out.get());
    if (result == 100) {
        closeCursor();
        return false;
    }
    c().fb->check(status);
    row = singletonRow(transaction, firstColumnRaw);
    return true;
}

DbRow PreparedSql::singletonRow(isc_tr_handle *transaction, QByteArray *firstColumnRaw)
{
    DbRow row;
    const int n = m_out.count();
    int first = 0;
    if (firstColumnRaw) {
        const XSQLVAR &v = m_out.var(0);
        *firstColumnRaw = *v.sqlind < 0 ? QByteArray() : QByteArray(v.sqldata, v.sqllen);
        first = 1;
    }
    row.reserve(n - first);
    for (int i = first; i < n; ++i)
        row.append(columnValue(transaction, i));
    return row;
}

void PreparedSql::closeCursor()
{
    if (!m_cursorOpen)
        return;
    m_cursorOpen = false;
    FbStatus status;
    c().fb->freeStatement(status, &m_statement, DSQL_close);
}

int PreparedSql::affectedRows()
{
    const QByteArray info = sqlInfo(char(isc_info_sql_records), 64);
    if (info.at(0) != char(isc_info_sql_records))
        return 0;
    const FbClient &fb = *c().fb;
    int total = 0;
    const char *p = info.constData() + 3;
    const char *end = info.constData() + info.size();
    while (p < end && *p != char(isc_info_end)) {
        const char item = *p++;
        const short length = short(fb.vaxInteger(p, 2));
        p += 2;
        const int count = int(fb.vaxInteger(p, length));
        p += length;
        if (item == char(isc_info_req_insert_count) || item == char(isc_info_req_update_count)
            || item == char(isc_info_req_delete_count))
            total += count;
    }
    return total;
}

QString PreparedSql::plan(isc_tr_handle *transaction)
{
    prepare(transaction);
    QByteArray info = sqlInfo(char(isc_info_sql_get_plan), 4096);
    if (info.at(0) != char(isc_info_sql_get_plan))
        return QString();
    const short length = short(c().fb->vaxInteger(info.constData() + 1, 2));
    return QString::fromUtf8(info.constData() + 3, length).trimmed();
}

DbValue PreparedSql::columnValue(isc_tr_handle *transaction, int i) const
{
    const XSQLVAR &v = m_out.var(i);
    if (*v.sqlind < 0)
        return DbValue();
    const int type = v.sqltype & ~1;
    const char *data = v.sqldata;
    switch (type) {
    case SQL_TEXT: {
        // fixed-width text comes padded with blanks; the value is what was written
        qsizetype length = v.sqllen;
        while (length > 0 && data[length - 1] == ' ')
            --length;
        return DbValue(m_connection.decode(QByteArray(data, length)));
    }
    case SQL_VARYING: {
        const auto length = readAs<quint16>(data);
        return DbValue(m_connection.decode(QByteArray(data + 2, length)));
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        const qint64 number = type == SQL_SHORT  ? qint64(readAs<qint16>(data))
                              : type == SQL_LONG ? qint64(readAs<qint32>(data))
                                                 : readAs<qint64>(data);
        if (v.sqlscale == 0)
            return DbValue(number);
        return DbValue(double(number) / double(powerOfTen(-v.sqlscale)));
    }
    case SQL_FLOAT:
        return DbValue(double(readAs<float>(data)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return DbValue(readAs<double>(data));
    case SQL_TYPE_DATE:
        return DbValue(fromIscDate(readAs<ISC_DATE>(data)));
    case SQL_TYPE_TIME:
        return DbValue(TimeOfDay(readAs<ISC_TIME>(data)));
    case SQL_TIMESTAMP: {
        const auto stamp = readAs<ISC_TIMESTAMP>(data);
        // wall-clock values: no time zone shift
        return DbValue(QDateTime(fromIscDate(stamp.timestamp_date), TimeOfDay(stamp.timestamp_time).toQTime()));
    }
    case SQL_BOOLEAN:
        return DbValue(qint64(data[0] != 0));
    case SQL_BLOB: {
        const FbClient &fb = *c().fb;
        FbStatus status;
        isc_blob_handle blob = 0;
        auto id = readAs<ISC_QUAD>(data);
        fb.openBlob(status, &c().db, transaction, &blob, &id, 0, nullptr);
        fb.check(status);
        QByteArray bytes;
        char segment[8192];
        for (;;) {
            unsigned short got = 0;
            const ISC_STATUS result = fb.getSegment(status, &blob, &got, sizeof segment, segment);
            if (result != 0 && result != isc_segment)
                break;
            bytes.append(segment, got);
        }
        const bool failed = status.failed() && status.vector[1] != isc_segstr_eof;
        FbStatus closeStatus;
        fb.closeBlob(closeStatus, &blob);
        if (failed)
            fb.check(status);
        return DbValue(m_connection.decode(bytes));
    }
    default:
        throw DbError(QStringLiteral("The column %1 has a %2 that cannot be read").arg(columnName(i), typeText(type)));
    }
}
