#pragma once

#include "data/DbValue.h"

#include <QAbstractTableModel>
#include <QList>
#include <QLocale>
#include <QString>

class DbQuery;

/// One column of a QueryTableModel: the query field it shows, its header and
/// the alignment of its cells.
struct QueryColumn
{
    QString field;
    QString header;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

/// A sort key of a QueryTableModel.
struct QuerySortKey
{
    QString field;
    Qt::SortOrder order = Qt::AscendingOrder;
};

/// The rows of a query as a table, for a grid: one model row per query row,
/// in the query's order or sorted by the model's own keys.
///
/// The model keeps a copy of the rows it took at the last reload(), so a
/// query closed or re-opened behind its back never leaves it pointing at rows
/// that are gone; call reload() after every open, refresh or close. A closed
/// query shows no row. Model rows and query rows are told apart: with sort
/// keys they differ, and rowForQueryRow()/queryRow() map between them.
///
/// Display texts: integers as decimal digits, floating-point numbers as a
/// general number (no decimals when whole), dates in the locale's short
/// format, times as HH:MM:SS; NULL is an empty cell.
class QueryTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// Role of the stored value of a cell (a DbValue in a QVariant).
    static constexpr int ValueRole = Qt::UserRole + 1;

    QueryTableModel(const DbQuery &query, QList<QueryColumn> columns, QObject *parent = nullptr);

    const QList<QueryColumn> &columns() const { return m_columns; }

    /// Sorts the rows by these keys, the first one first; rows that compare
    /// equal on every key keep the query's order. NULL comes before any value.
    /// No key: the query's order.
    void setSortKeys(QList<QuerySortKey> keys);
    void setLocale(const QLocale &locale);

    /// Takes the query's rows afresh (none while it is closed) and sorts them.
    /// Throws DbError, before changing anything, when a column or sort key
    /// names a field the open query does not have.
    void reload();

    /// The model row showing a query row, -1 for none.
    int rowForQueryRow(int queryRow) const;
    /// The query row a model row shows, -1 for none.
    int queryRow(int row) const;
    /// The stored value of a cell; NULL out of range.
    DbValue value(int row, int column) const;
    /// A field of a model row by name (the field need not be a column); NULL
    /// out of range or for an unknown field.
    DbValue value(int row, const QString &field) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    /// The text a cell shows for value.
    static QString displayText(const DbValue &value, const QLocale &locale = QLocale());

private:
    const DbQuery &m_query;
    QList<QueryColumn> m_columns;
    QList<QuerySortKey> m_sortKeys;
    QLocale m_locale;
    QStringList m_fieldNames;
    QList<int> m_columnFields; ///< field index of each column
    QList<DbRow> m_rows; ///< in query order
    QList<int> m_order; ///< model row -> query row
    QList<int> m_rowOfQueryRow;
};

/// A sort comparison of two stored values: NULL first, numbers by value,
/// texts by their characters, dates and times in time order. -1, 0 or 1.
int compareDbValues(const DbValue &left, const DbValue &right);
