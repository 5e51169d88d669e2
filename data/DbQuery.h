#pragma once

#include "data/DbValue.h"

#include <QString>
#include <QStringList>
#include <memory>

class DbConnection;

/// A SELECT with positional parameters whose rows are fetched whole when it
/// opens, and a current row. (An INSERT ... RETURNING or EXECUTE PROCEDURE
/// with outputs is a query of one row, committed at once.)
///
/// The text may name its parameters ":NAME" as the station's SQL texts do; a
/// name used twice is one parameter. Parameter positions are the distinct
/// names in order of first appearance, counted from 0.
///
/// For an updatable query (setUpdatingTable), rows can be located, edited,
/// inserted and posted; every post is written to the table and committed at once.
class DbQuery
{
public:
    DbQuery(DbConnection &connection, QString sql);
    ~DbQuery();
    DbQuery(const DbQuery &) = delete;
    DbQuery &operator=(const DbQuery &) = delete;

    const QString &sql() const;
    DbConnection &connection() const;

    int paramCount() const;
    QStringList paramNames() const;
    /// A position or name that the text does not have throws DbError.
    void setParam(int position, const DbValue &value);
    void setParam(const QString &name, const DbValue &value);
    DbValue param(int position) const;

    /// Runs the query with the current parameter values and fetches every row;
    /// the first row becomes current. On failure the query stays closed and
    /// its previous rows are gone. Throws DbError. A change in progress
    /// (edit, insert) is dropped.
    void open();
    void close();
    /// Close and open with the same parameter values.
    void refresh();
    bool isOpen() const;

    /// The plan the server chose (prepares the query when needed).
    QString plan();

    /// The calls below throw DbError("Cannot perform this operation on a
    /// closed dataset") on a closed query.
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }
    /// Moving to a row drops a change in progress (edit, insert) that was not posted.
    /// first() and last() return false on an empty query; next() returns false
    /// on the last row, stays there and sets eof().
    bool first();
    bool next();
    bool last();
    bool eof() const;
    /// Index of the current row, -1 when there is none.
    int currentRow() const;
    void setCurrentRow(int row);

    /// Field names as the server gives them (empty while closed); lookups by
    /// name ignore letter case.
    QStringList fieldNames() const;
    int fieldIndex(const QString &name) const; ///< -1 when there is no such field
    /// Row index of the loaded rows, 0 to rowCount() - 1; out of range throws DbError.
    const DbRow &row(int index) const;

    /// Fields of the current row; an unknown field name throws DbError naming it.
    /// On an empty query they read as NULL.
    DbValue field(const QString &name) const;
    bool isNull(const QString &name) const { return field(name).isNull(); }
    QString asText(const QString &name) const { return field(name).toText(); }
    qint64 asInteger(const QString &name) const { return field(name).toInteger(); }
    double asFloat(const QString &name) const { return field(name).toFloat(); }
    QDate asDate(const QString &name) const { return field(name).toDate(); }
    TimeOfDay asTime(const QString &name) const { return field(name).toTime(); }

    // Editing, for a query over one table.
    /// Makes the query updatable on table: a "Select ... from table" whose
    /// rows are fetched with their RDB$DB_KEY (kept hidden), so that a post
    /// changes exactly the row it was made on, even when another row holds
    /// the same values.
    void setUpdatingTable(const QString &table);
    /// Makes current the first row, in row order, whose two fields equal the
    /// two values exactly (case-sensitive for texts). False when none does; the
    /// current row is then unchanged.
    bool locate(const QString &field1, const DbValue &value1, const QString &field2, const DbValue &value2);
    /// Start changing the current row / a new row appended at the end. edit()
    /// on an empty query and either call on a query without an updating table
    /// throw DbError. While a change is in progress, field() reads the changed values.
    void edit();
    void insert();
    /// Outside edit() or insert() throws DbError.
    void setField(const QString &name, const DbValue &value);
    /// Writes the edited or inserted row to the table and commits. The changed
    /// row is the very row that was located (not every row with the same
    /// values); only the fields given with setField are written. The loaded
    /// copy then holds the row as stored; an inserted row is appended and
    /// becomes current. On failure the row keeps its unposted state and
    /// DbError is thrown (a row that another program deleted meanwhile too).
    void post();
    void cancel();

    struct Private;

private:
    std::unique_ptr<Private> d;
};
