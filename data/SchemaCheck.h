#pragma once

#include <QList>
#include <QString>

class DbConnection;

/// Whether a database has what the station relies on: its three tables, the
/// columns it reads and writes with a usable type, and the indexes that keep
/// the board's poll fast on a long history.
namespace SchemaCheck {

struct Item
{
    enum class Kind { Table, Column, Index };
    Kind kind;
    QString table;
    QString column; ///< empty for a table
    /// The type as declared ("VARCHAR(5)"), the index name, or empty when missing.
    QString found;
    bool ok;
    /// Why it is not usable, or for a missing index the statement that adds it.
    QString advice;
};

/// Checks every table, column and index, in a fixed order. Throws DbError
/// when the database cannot be read at all.
QList<Item> run(DbConnection &connection);

/// Name of an active index whose first column is column, empty when none.
QString indexOn(DbConnection &connection, const QString &table, const QString &column);

} // namespace SchemaCheck
