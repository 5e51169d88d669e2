#include "data/DbStatement.h"

#include "data/DbPrivate.h"

struct DbStatement::Private
{
    Private(DbConnection &connection, const QString &sql)
        : connection(connection)
        , prepared(connection, sql)
        , params(prepared.parameters().names.size())
    {
    }
    DbConnection &connection;
    PreparedSql prepared;
    QList<DbValue> params;

    int position(const QString &name) const
    {
        const int found = SqlText::Parameters::position(prepared.parameters().names, name);
        if (found < 0)
            throw DbError(QStringLiteral("The statement has no parameter %1").arg(name));
        return found;
    }
    void checkPosition(int position) const
    {
        if (position < 0 || position >= params.size())
            throw DbError(QStringLiteral("The statement has no parameter at position %1").arg(position));
    }
};

DbStatement::DbStatement(DbConnection &connection, QString sql)
    : d(std::make_unique<Private>(connection, sql))
{
}

DbStatement::~DbStatement() = default;

const QString &DbStatement::sql() const
{
    return d->prepared.sql();
}

int DbStatement::paramCount() const
{
    return int(d->params.size());
}

QStringList DbStatement::paramNames() const
{
    return d->prepared.parameters().names;
}

void DbStatement::setParam(int position, const DbValue &value)
{
    d->checkPosition(position);
    d->params[position] = value;
}

void DbStatement::setParam(const QString &name, const DbValue &value)
{
    d->params[d->position(name)] = value;
}

DbValue DbStatement::param(int position) const
{
    d->checkPosition(position);
    return d->params.at(position);
}

int DbStatement::execute()
{
    DbConnection::Private &connection = *d->connection.d_func();
    return runWrite(connection, [&] {
        TransactionScope transaction(connection, DbConnection::Private::TransactionKind::Write);
        d->prepared.prepare(transaction.handle());
        d->prepared.bind(d->params);
        d->prepared.execute(transaction.handle());
        if (d->prepared.isSelect())
            d->prepared.closeCursor();
        const int rows = d->prepared.affectedRows();
        transaction.commit();
        return rows;
    });
}

QString DbStatement::plan()
{
    DbConnection::Private &connection = *d->connection.d_func();
    TransactionScope transaction(connection, DbConnection::Private::TransactionKind::Read);
    return d->prepared.plan(transaction.handle());
}
