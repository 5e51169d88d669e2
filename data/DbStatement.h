#pragma once

#include "data/DbValue.h"

#include <QString>
#include <QStringList>
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
    /// A position or name that the text does not have throws DbError.
    void setParam(int position, const DbValue &value);
    void setParam(const QString &name, const DbValue &value);
    DbValue param(int position) const;

    /// Executes and commits; returns the number of rows changed. Throws DbError;
    /// a row locked by another program fails after the connection's lock timeout.
    /// A parameter value that does not convert to the type the server expects
    /// (a text that is no number for an integer) throws DbError naming the
    /// parameter; nothing is executed then.
    int execute();

    /// The plan the server chose for the statement (prepares it when needed).
    QString plan();

    struct Private;

private:
    std::unique_ptr<Private> d;
};
