#pragma once

#include "data/DbValue.h"

#include <QString>
#include <QStringList>
#include <memory>

class DbConnection;

/// A SELECT with positional parameters whose rows are fetched whole when it
/// opens, and a current row.
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
    void setParam(int position, const DbValue &value);
    void setParam(const QString &name, const DbValue &value);
    DbValue param(int position) const;

    /// Runs the query with the current parameter values and fetches every row;
    /// the first row becomes current. On failure the query stays closed and
    /// its previous rows are gone. Throws DbError.
    void open();
    void close();
    /// Close and open with the same parameter values.
    void refresh();
    bool isOpen() const;

    /// The calls below throw DbError("Dataset is closed"-like text) on a closed query.
    int rowCount() const;
    bool isEmpty() const { return rowCount() == 0; }
    bool first();
    bool next();
    bool last();
    bool eof() const;
    /// Index of the current row, -1 when there is none.
    int currentRow() const;
    void setCurrentRow(int row);

    QStringList fieldNames() const;
    int fieldIndex(const QString &name) const; ///< -1 when there is no such field
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
    void setUpdatingTable(const QString &table);
    /// Makes current the first row, in row order, whose two fields equal the
    /// two values exactly (case-sensitive for texts). False when none does; the
    /// current row is then unchanged.
    bool locate(const QString &field1, const DbValue &value1, const QString &field2, const DbValue &value2);
    /// Start changing the current row / a new row appended at the end.
    void edit();
    void insert();
    void setField(const QString &name, const DbValue &value);
    /// Writes the edited or inserted row to the table and commits. The changed
    /// row is the very row that was located (not every row with the same
    /// values). On failure the row keeps its unposted state and DbError is thrown.
    void post();
    void cancel();

    struct Private;

private:
    std::unique_ptr<Private> d;
};
