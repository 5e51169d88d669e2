#include "data/QueryDataSource.h"

#include "data/DbQuery.h"

#include <QItemSelectionModel>

QueryDataSource::QueryDataSource(DbQuery &query, QList<QueryColumn> columns, QObject *parent)
    : QObject(parent)
    , m_query(query)
    , m_model(query, std::move(columns))
{
}

void QueryDataSource::setSelectionModel(QItemSelectionModel *selection)
{
    if (m_selection)
        disconnect(m_selection, nullptr, this, nullptr);
    m_selection = selection;
    if (m_selection) {
        connect(m_selection, &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex &current) { gridCurrentChanged(current); });
        showCurrentInGrid();
    }
}

void QueryDataSource::queryChanged()
{
    m_model.reload();
    showCurrentInGrid();
    Q_EMIT currentChanged();
}

void QueryDataSource::open(Current current)
{
    try {
        m_query.close();
        m_query.open();
        if (current == Current::Last)
            m_query.last();
    } catch (...) {
        queryChanged();
        throw;
    }
    m_model.reload();
    if (current == Current::Top && m_model.rowCount() > 0)
        m_query.setCurrentRow(m_model.queryRow(0));
    showCurrentInGrid();
    Q_EMIT currentChanged();
}

void QueryDataSource::setCurrentRow(int row)
{
    const int queryRow = m_model.queryRow(row);
    if (queryRow >= 0 && m_query.isOpen())
        m_query.setCurrentRow(queryRow);
    showCurrentInGrid();
    Q_EMIT currentChanged();
}

int QueryDataSource::currentRow() const
{
    return m_query.isOpen() ? m_model.rowForQueryRow(m_query.currentRow()) : -1;
}

QString QueryDataSource::currentText(const QString &field) const
{
    return currentRow() >= 0 ? m_query.asText(field) : QString();
}

void QueryDataSource::gridCurrentChanged(const QModelIndex &current)
{
    if (m_syncing || !current.isValid() || current.model() != &m_model)
        return;
    const int queryRow = m_model.queryRow(current.row());
    if (queryRow < 0 || !m_query.isOpen() || queryRow == m_query.currentRow())
        return;
    m_query.setCurrentRow(queryRow);
    Q_EMIT currentChanged();
}

void QueryDataSource::showCurrentInGrid()
{
    if (!m_selection || m_selection->model() != &m_model)
        return;
    const int row = currentRow();
    m_syncing = true;
    if (row >= 0) {
        const QModelIndex index = m_model.index(row, 0);
        m_selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        m_selection->clear();
    }
    m_syncing = false;
}
