#include "data/DbQuery.h"

#include "data/DbPrivate.h"

#include <QHash>

namespace {

const QString closedMessage = QStringLiteral("Cannot perform this operation on a closed dataset");

QString quoted(const QString &name)
{
    QString text = name;
    text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// "Select <list> from table ..." as "Select table.RDB$DB_KEY, <list> from
// table ...", a bare "*" list qualified, since it may not follow another column.
QString withDbKey(const QString &sql, const QString &table)
{
    qsizetype i = 0;
    const qsizetype n = sql.size();
    while (i < n) {
        const qsizetype skipped = SqlText::skipNonCode(sql, i);
        if (skipped != i) {
            i = skipped;
        } else if (sql.at(i).isSpace()) {
            ++i;
        } else {
            break;
        }
    }
    const QString keyword = QStringLiteral("select");
    if (QStringView(sql).mid(i, keyword.size()).compare(keyword, Qt::CaseInsensitive) != 0
        || (i + keyword.size() < n && isNameChar(sql.at(i + keyword.size()))))
        throw DbError(QStringLiteral("An updatable query must be a SELECT from %1:\n%2").arg(table, sql));
    const qsizetype afterSelect = i + keyword.size();
    qsizetype list = afterSelect;
    while (list < n && sql.at(list).isSpace())
        ++list;
    QString rest = sql.mid(list);
    if (rest.startsWith(QLatin1Char('*')))
        rest = table + QStringLiteral(".*") + rest.mid(1);
    return sql.left(afterSelect) + QLatin1Char(' ') + table + QStringLiteral(".RDB$DB_KEY, ") + rest;
}

// Whether a loaded field holds exactly the value a caller looks for: texts
// case-sensitive and whole, numbers and dates after converting the wanted
// value to the field's type; NULL matches NULL only.
bool sameValue(const DbValue &field, const DbValue &wanted)
{
    if (field.isNull() || wanted.isNull())
        return field.isNull() && wanted.isNull();
    try {
        switch (field.type()) {
        case DbValue::Type::Integer:
            if (wanted.type() == DbValue::Type::Float)
                return double(field.toInteger()) == wanted.toFloat();
            return field.toInteger() == wanted.toInteger();
        case DbValue::Type::Float:
            return field.toFloat() == wanted.toFloat();
        case DbValue::Type::Text:
            return field.toText() == wanted.toText();
        case DbValue::Type::Date:
            return field.toDate() == wanted.toDate();
        case DbValue::Type::Time:
            return field.toTime() == wanted.toTime();
        case DbValue::Type::Timestamp:
            return field.toDateTime() == wanted.toDateTime();
        case DbValue::Type::Null:
            break;
        }
    } catch (const StationError &) {
        // a value that does not even convert to the field's type is not in it
    }
    return false;
}

} // namespace

struct DbQuery::Private
{
    Private(DbConnection &connection, QString sql)
        : connection(connection)
        , sql(std::move(sql))
        , params(SqlText::Parameters::parse(this->sql).names, QStringLiteral("query"))
    {
    }

    enum class State { Browse, Edit, Insert };

    DbConnection &connection;
    QString sql;
    ParameterValues params;
    QString updatingTable;
    std::unique_ptr<PreparedSql> prepared;

    bool isOpen = false;
    QStringList fields;
    QHash<QString, int> fieldIndex; // upper-cased name -> index
    QList<DbRow> rows;
    QList<QByteArray> keys; // RDB$DB_KEY of each row of an updatable query
    int current = -1;
    bool eof = true;

    State state = State::Browse;
    DbRow buffer;
    QList<bool> assigned;

    DbConnection::Private &c() const { return *connection.d_func(); }

    PreparedSql &statement()
    {
        if (!prepared)
            prepared = std::make_unique<PreparedSql>(
                connection, updatingTable.isEmpty() ? sql : withDbKey(sql, updatingTable));
        return *prepared;
    }

    void requireOpen() const
    {
        if (!isOpen)
            throw DbError(closedMessage);
    }

    int indexOf(const QString &name) const
    {
        const int index = fieldIndex.value(name.toUpper(), -1);
        if (index < 0)
            throw DbError(QStringLiteral("Field '%1' not found").arg(name));
        return index;
    }

    void requireUpdatable() const
    {
        requireOpen();
        if (updatingTable.isEmpty())
            throw DbError(QStringLiteral("The query cannot change rows: it has no updating table"));
    }

    // The stored row, read back in the same transaction as the change, so that
    // the loaded copy shows what the table holds (defaults, triggers, padding).
    DbRow storedRow(isc_tr_handle *transaction, const QByteArray &key, const DbRow &fallback)
    {
        PreparedSql reread(connection,
                           QStringLiteral("select * from %1 where RDB$DB_KEY = :DB_KEY").arg(updatingTable));
        reread.prepare(transaction);
        reread.bind({DbValue()}, {key});
        reread.execute(transaction);
        DbRow stored;
        const bool found = reread.fetch(transaction, stored);
        reread.closeCursor();
        DbRow row = fallback;
        if (!found)
            return row;
        for (int column = 0; column < reread.columnCount(); ++column) {
            const int index = fieldIndex.value(reread.columnName(column).toUpper(), -1);
            if (index >= 0)
                row[index] = stored.at(column);
        }
        return row;
    }

    void postEdit()
    {
        QStringList assignments;
        QList<DbValue> values;
        for (int i = 0; i < fields.size(); ++i) {
            if (!assigned.at(i))
                continue;
            assignments.append(QStringLiteral("%1 = :V%2").arg(quoted(fields.at(i))).arg(values.size()));
            values.append(buffer.at(i));
        }
        if (assignments.isEmpty()) {
            state = State::Browse;
            return;
        }
        const QByteArray key = keys.at(current);
        TransactionScope transaction(c(), DbConnection::Private::TransactionKind::Write);
        PreparedSql update(connection, QStringLiteral("update %1 set %2 where RDB$DB_KEY = :DB_KEY")
                                           .arg(updatingTable, assignments.join(QStringLiteral(", "))));
        update.prepare(transaction.handle());
        QList<std::optional<QByteArray>> raw(values.size() + 1);
        raw[values.size()] = key;
        values.append(DbValue());
        update.bind(values, raw);
        update.execute(transaction.handle());
        if (update.affectedRows() == 0)
            throw DbError(QStringLiteral("The row to change is no longer in %1 (another program removed it); "
                                         "nothing was written")
                              .arg(updatingTable));
        const DbRow stored = storedRow(transaction.handle(), key, buffer);
        transaction.commit();
        rows[current] = stored;
        state = State::Browse;
    }

    void postInsert()
    {
        QStringList columns;
        QStringList markers;
        QList<DbValue> values;
        for (int i = 0; i < fields.size(); ++i) {
            if (!assigned.at(i))
                continue;
            columns.append(quoted(fields.at(i)));
            markers.append(QStringLiteral(":V%1").arg(values.size()));
            values.append(buffer.at(i));
        }
        const QString sql = columns.isEmpty()
                                ? QStringLiteral("insert into %1 default values returning RDB$DB_KEY").arg(updatingTable)
                                : QStringLiteral("insert into %1 (%2) values (%3) returning RDB$DB_KEY")
                                      .arg(updatingTable, columns.join(QStringLiteral(", ")),
                                           markers.join(QStringLiteral(", ")));
        TransactionScope transaction(c(), DbConnection::Private::TransactionKind::Write);
        PreparedSql insert(connection, sql);
        insert.prepare(transaction.handle());
        insert.bind(values);
        insert.execute(transaction.handle());
        QByteArray key;
        insert.singletonRow(transaction.handle(), &key);
        const DbRow stored = storedRow(transaction.handle(), key, buffer);
        transaction.commit();
        rows.append(stored);
        keys.append(key);
        current = int(rows.size()) - 1;
        eof = false;
        state = State::Browse;
    }
};

DbQuery::DbQuery(DbConnection &connection, QString sql)
    : d(std::make_unique<Private>(connection, std::move(sql)))
{
}

DbQuery::~DbQuery() = default;

const QString &DbQuery::sql() const
{
    return d->sql;
}

DbConnection &DbQuery::connection() const
{
    return d->connection;
}

int DbQuery::paramCount() const
{
    return d->params.count();
}

QStringList DbQuery::paramNames() const
{
    return d->params.names();
}

void DbQuery::setParam(int position, const DbValue &value)
{
    d->params.set(position, value);
}

void DbQuery::setParam(const QString &name, const DbValue &value)
{
    d->params.set(name, value);
}

DbValue DbQuery::param(int position) const
{
    return d->params.at(position);
}

void DbQuery::open()
{
    close();
    DbConnection::Private &connection = d->c();
    PreparedSql &statement = d->statement();
    {
        TransactionScope preparation(connection, DbConnection::Private::TransactionKind::Read);
        statement.prepare(preparation.handle());
        preparation.commit();
    }
    const bool select = statement.isSelect();
    if (!select && statement.columnCount() == 0)
        throw DbError(QStringLiteral("The query returns no rows:\n%1").arg(d->sql));
    // an INSERT ... RETURNING is a query of one row that writes: it commits at once
    TransactionScope transaction(connection, select ? DbConnection::Private::TransactionKind::Read
                                                    : DbConnection::Private::TransactionKind::Write);
    statement.prepare(transaction.handle());
    statement.bind(d->params.values());
    statement.execute(transaction.handle());

    const bool updatable = !d->updatingTable.isEmpty();
    QStringList fields;
    QHash<QString, int> index;
    for (int column = updatable ? 1 : 0; column < statement.columnCount(); ++column) {
        const QString name = statement.columnName(column);
        index.insert(name.toUpper(), int(fields.size()));
        fields.append(name);
    }
    QList<DbRow> rows;
    QList<QByteArray> keys;
    if (select) {
        try {
            DbRow row;
            QByteArray key;
            while (statement.fetch(transaction.handle(), row, updatable ? &key : nullptr)) {
                rows.append(row);
                if (updatable)
                    keys.append(key);
            }
        } catch (...) {
            statement.closeCursor();
            throw;
        }
    } else {
        QByteArray key;
        rows.append(statement.singletonRow(transaction.handle(), updatable ? &key : nullptr));
        if (updatable)
            keys.append(key);
    }
    transaction.commit();

    d->fields = fields;
    d->fieldIndex = index;
    d->rows = std::move(rows);
    d->keys = std::move(keys);
    d->isOpen = true;
    d->current = d->rows.isEmpty() ? -1 : 0;
    d->eof = d->rows.isEmpty();
}

void DbQuery::close()
{
    d->state = Private::State::Browse;
    d->isOpen = false;
    d->rows.clear();
    d->keys.clear();
    d->fields.clear();
    d->fieldIndex.clear();
    d->current = -1;
    d->eof = true;
}

void DbQuery::refresh()
{
    open();
}

bool DbQuery::isOpen() const
{
    return d->isOpen;
}

QString DbQuery::plan()
{
    TransactionScope transaction(d->c(), DbConnection::Private::TransactionKind::Read);
    return d->statement().plan(transaction.handle());
}

int DbQuery::rowCount() const
{
    d->requireOpen();
    return int(d->rows.size());
}

bool DbQuery::first()
{
    d->requireOpen();
    d->state = Private::State::Browse;
    d->current = d->rows.isEmpty() ? -1 : 0;
    d->eof = d->rows.isEmpty();
    return !d->rows.isEmpty();
}

bool DbQuery::next()
{
    d->requireOpen();
    d->state = Private::State::Browse;
    if (d->current + 1 < d->rows.size()) {
        ++d->current;
        d->eof = false;
        return true;
    }
    d->eof = true;
    return false;
}

bool DbQuery::last()
{
    d->requireOpen();
    d->state = Private::State::Browse;
    d->current = int(d->rows.size()) - 1;
    d->eof = d->rows.isEmpty();
    return !d->rows.isEmpty();
}

bool DbQuery::eof() const
{
    d->requireOpen();
    return d->eof;
}

int DbQuery::currentRow() const
{
    d->requireOpen();
    return d->current;
}

void DbQuery::setCurrentRow(int row)
{
    d->requireOpen();
    if (row < 0 || row >= d->rows.size())
        throw DbError(QStringLiteral("Row %1 is not in the query (it holds %2)").arg(row).arg(d->rows.size()));
    d->state = Private::State::Browse;
    d->current = row;
    d->eof = false;
}

QStringList DbQuery::fieldNames() const
{
    return d->fields;
}

int DbQuery::fieldIndex(const QString &name) const
{
    return d->fieldIndex.value(name.toUpper(), -1);
}

const DbRow &DbQuery::row(int index) const
{
    d->requireOpen();
    if (index < 0 || index >= d->rows.size())
        throw DbError(QStringLiteral("Row %1 is not in the query (it holds %2)").arg(index).arg(d->rows.size()));
    return d->rows.at(index);
}

DbValue DbQuery::field(const QString &name) const
{
    d->requireOpen();
    const int index = d->indexOf(name);
    if (d->state != Private::State::Browse)
        return d->buffer.at(index);
    if (d->current < 0)
        return DbValue();
    return d->rows.at(d->current).at(index);
}

void DbQuery::setUpdatingTable(const QString &table)
{
    if (table == d->updatingTable)
        return;
    close();
    d->updatingTable = table;
    d->prepared.reset();
}

bool DbQuery::locate(const QString &field1, const DbValue &value1, const QString &field2, const DbValue &value2)
{
    d->requireOpen();
    const int index1 = d->indexOf(field1);
    const int index2 = d->indexOf(field2);
    d->state = Private::State::Browse;
    for (int i = 0; i < d->rows.size(); ++i) {
        const DbRow &row = d->rows.at(i);
        if (sameValue(row.at(index1), value1) && sameValue(row.at(index2), value2)) {
            d->current = i;
            d->eof = false;
            return true;
        }
    }
    return false;
}

void DbQuery::edit()
{
    d->requireUpdatable();
    if (d->current < 0)
        throw DbError(QStringLiteral("The query holds no row to edit"));
    d->state = Private::State::Edit;
    d->buffer = d->rows.at(d->current);
    d->assigned = QList<bool>(d->fields.size(), false);
}

void DbQuery::insert()
{
    d->requireUpdatable();
    d->state = Private::State::Insert;
    d->buffer = DbRow(d->fields.size());
    d->assigned = QList<bool>(d->fields.size(), false);
}

void DbQuery::setField(const QString &name, const DbValue &value)
{
    d->requireOpen();
    if (d->state == Private::State::Browse)
        throw DbError(QStringLiteral("The query is not being edited: call edit() or insert() first"));
    const int index = d->indexOf(name);
    d->buffer[index] = value;
    d->assigned[index] = true;
}

void DbQuery::post()
{
    d->requireOpen();
    switch (d->state) {
    case Private::State::Browse:
        throw DbError(QStringLiteral("The query is not being edited: call edit() or insert() first"));
    case Private::State::Edit:
        runWrite(d->c(), [&] { d->postEdit(); });
        break;
    case Private::State::Insert:
        runWrite(d->c(), [&] { d->postInsert(); });
        break;
    }
}

void DbQuery::cancel()
{
    d->state = Private::State::Browse;
}
