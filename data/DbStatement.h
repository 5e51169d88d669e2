#pragma once

#include "data/DbValue.h"

#include <QString>
#include <memory>

class DbConnection;

/// A statement that returns no rows (UPDATE), with positional parameters named
/// ":NAME" as in DbQuery, prepared once and executed many times, committed at
/// once.
class DbStatement
{
public:
    DbStatement(DbConnection &connection, QString sql);
    ~DbStatement();
    DbStatement(const DbStatement &) = delete;
    DbStatement &operator=(const DbStatement &) = delete;

    const QString &sql() const;
    int paramCount() const;
    QStringList paramNames() const;
    void setParam(int position, const DbValue &value);
    void setParam(const QString &name, const DbValue &value);

    /// Executes and commits; returns the number of rows changed. Throws DbError;
    /// a row locked by another program fails after the connection's lock timeout.
    int execute();

    struct Private;

private:
    std::unique_ptr<Private> d;
};
