#include "data/DbStatement.h"

#include "data/DbPrivate.h"

struct DbStatement::Private
{
    Private(DbConnection &connection, const QString &sql)
        : connection(connection)
        , prepared(connection, sql)
        , params(prepared.parameters().names, QStringLiteral("statement"))
    {
    }
    DbConnection &connection;
    PreparedSql prepared;
    ParameterValues params;
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
    return d->params.count();
}

QStringList DbStatement::paramNames() const
{
    return d->params.names();
}

void DbStatement::setParam(int position, const DbValue &value)
{
    d->params.set(position, value);
}

void DbStatement::setParam(const QString &name, const DbValue &value)
{
    d->params.set(name, value);
}

DbValue DbStatement::param(int position) const
{
    return d->params.at(position);
}

int DbStatement::execute()
{
    DbConnection::Private &connection = *d->connection.d_func();
    return runWrite(connection, [&] {
        TransactionScope transaction(connection, DbConnection::Private::TransactionKind::Write);
        d->prepared.prepare(transaction.handle());
        d->prepared.bind(d->params.values());
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
