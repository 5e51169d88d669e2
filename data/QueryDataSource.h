#pragma once

#include "data/QueryTableModel.h"

#include <QObject>
#include <QPointer>

class DbQuery;
class QItemSelectionModel;

/// Binds a query to what shows it: a table model over its rows and the
/// selection model of the grid, so that the grid's current row and the
/// query's current row are one. A click on a row makes that row the query's
/// current row; a move of the query from code (after queryChanged()) makes
/// it the grid's current row.
class QueryDataSource : public QObject
{
    Q_OBJECT

public:
    QueryDataSource(DbQuery &query, QList<QueryColumn> columns, QObject *parent = nullptr);

    DbQuery &query() const { return m_query; }
    QueryTableModel *model() { return &m_model; }

    /// The selection model of the grid that shows model() (after the grid
    /// was given the model); nullptr detaches it.
    void setSelectionModel(QItemSelectionModel *selection);

    /// After the query was opened, re-read, closed or moved: the model takes
    /// the rows afresh and the grid's current row becomes the query's
    /// current row. Throws DbError when the query lacks a column's field.
    void queryChanged();

    /// Which row open() makes current.
    enum class Current {
        First, ///< the query's first row
        Last, ///< the query's last row
        Top, ///< the grid's top row (the model's first)
    };

    /// Opens the query with the parameter values it holds (re-reads it when it
    /// is open) and makes a row current, then takes the rows afresh: also when
    /// the open fails, so that the grid never shows rows the query no longer
    /// holds. Throws the open's DbError.
    void open(Current current = Current::First);

    /// Makes a model row current, in the query and in the grid (-1: none in the grid).
    void setCurrentRow(int row);
    /// The model row of the query's current row, -1 when there is none.
    int currentRow() const;

    /// A field of the current row as text; empty when there is no current
    /// row or the query is closed.
    QString currentText(const QString &field) const;

Q_SIGNALS:
    /// The current row changed, or the rows were taken afresh.
    void currentChanged();

private:
    void gridCurrentChanged(const QModelIndex &current);
    void showCurrentInGrid();

    DbQuery &m_query;
    QueryTableModel m_model;
    QPointer<QItemSelectionModel> m_selection;
    bool m_syncing = false;
};
