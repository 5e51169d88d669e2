#include "data/QueryTableModel.h"

#include "data/DbError.h"
#include "data/DbQuery.h"
#include "data/PendingTile.h"

#include <algorithm>

namespace {

bool isNumber(DbValue::Type type)
{
    return type == DbValue::Type::Integer || type == DbValue::Type::Float;
}

template<typename T> int threeWay(const T &left, const T &right)
{
    return left < right ? -1 : (right < left ? 1 : 0);
}

} // namespace

int compareDbValues(const DbValue &left, const DbValue &right)
{
    const DbValue::Type a = left.type();
    const DbValue::Type b = right.type();
    if (a == DbValue::Type::Null || b == DbValue::Type::Null)
        return threeWay(a != DbValue::Type::Null, b != DbValue::Type::Null);
    if (a == DbValue::Type::Integer && b == DbValue::Type::Integer)
        return threeWay(left.toInteger(), right.toInteger());
    if (isNumber(a) && isNumber(b))
        return threeWay(left.toFloat(), right.toFloat());
    if (a != b)
        return threeWay(int(a), int(b));
    switch (a) {
    case DbValue::Type::Text:
        return threeWay(left.toText(), right.toText());
    case DbValue::Type::Date:
        return threeWay(left.toDate(), right.toDate());
    case DbValue::Type::Time:
        return threeWay(left.toTime(), right.toTime());
    case DbValue::Type::Timestamp:
        return threeWay(left.toDateTime(), right.toDateTime());
    default:
        return 0;
    }
}

QueryTableModel::QueryTableModel(const DbQuery &query, QList<QueryColumn> columns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_query(query)
    , m_columns(std::move(columns))
{
}

void QueryTableModel::setSortKeys(QList<QuerySortKey> keys)
{
    m_sortKeys = std::move(keys);
}

void QueryTableModel::setLocale(const QLocale &locale)
{
    m_locale = locale;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), { Qt::DisplayRole });
}

void QueryTableModel::reload()
{
    QStringList fieldNames;
    QList<int> columnFields;
    QList<DbRow> rows;
    QList<int> sortFields;
    if (m_query.isOpen()) {
        fieldNames = m_query.fieldNames();
        const auto fieldOf = [this](const QString &name) {
            const int field = m_query.fieldIndex(name);
            if (field < 0)
                throw DbError(QStringLiteral("Field '%1' not found").arg(name));
            return field;
        };
        for (const QueryColumn &column : std::as_const(m_columns))
            columnFields.append(fieldOf(column.field));
        for (const QuerySortKey &key : std::as_const(m_sortKeys))
            sortFields.append(fieldOf(key.field));
        const int count = m_query.rowCount();
        rows.reserve(count);
        for (int i = 0; i < count; ++i)
            rows.append(m_query.row(i));
    }

    QList<int> order(rows.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    if (!sortFields.isEmpty()) {
        std::stable_sort(order.begin(), order.end(), [&](int left, int right) {
            for (int k = 0; k < sortFields.size(); ++k) {
                const int field = sortFields.at(k);
                const int result = compareDbValues(rows.at(left).at(field), rows.at(right).at(field));
                if (result != 0)
                    return m_sortKeys.at(k).order == Qt::AscendingOrder ? result < 0 : result > 0;
            }
            return false;
        });
    }
    QList<int> rowOfQueryRow(rows.size());
    for (int i = 0; i < order.size(); ++i)
        rowOfQueryRow[order.at(i)] = i;

    beginResetModel();
    m_fieldNames = std::move(fieldNames);
    m_columnFields = std::move(columnFields);
    m_rows = std::move(rows);
    m_order = std::move(order);
    m_rowOfQueryRow = std::move(rowOfQueryRow);
    endResetModel();
}

int QueryTableModel::rowForQueryRow(int queryRow) const
{
    return queryRow >= 0 && queryRow < m_rowOfQueryRow.size() ? m_rowOfQueryRow.at(queryRow) : -1;
}

int QueryTableModel::queryRow(int row) const
{
    return row >= 0 && row < m_order.size() ? m_order.at(row) : -1;
}

DbValue QueryTableModel::value(int row, int column) const
{
    if (row < 0 || row >= m_order.size() || column < 0 || column >= m_columnFields.size())
        return {};
    return m_rows.at(m_order.at(row)).at(m_columnFields.at(column));
}

DbValue QueryTableModel::value(int row, const QString &field) const
{
    if (row < 0 || row >= m_order.size())
        return {};
    for (qsizetype i = 0; i < m_fieldNames.size(); ++i) {
        if (m_fieldNames.at(i).compare(field, Qt::CaseInsensitive) == 0)
            return m_rows.at(m_order.at(row)).at(i);
    }
    return {};
}

int QueryTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_order.size());
}

int QueryTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant QueryTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(value(index.row(), index.column()), m_locale);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns.at(index.column()).alignment);
    case ValueRole:
        return QVariant::fromValue(value(index.row(), index.column()));
    default:
        return {};
    }
}

QVariant QueryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns.at(section).header;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags QueryTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    // read-only: nothing is edited, dragged or dropped here
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString QueryTableModel::displayText(const DbValue &value, const QLocale &locale)
{
    switch (value.type()) {
    case DbValue::Type::Null:
        return QString();
    case DbValue::Type::Integer:
    case DbValue::Type::Float:
        return PendingTile::numberText(value, locale);
    case DbValue::Type::Date:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case DbValue::Type::Time:
        return value.toTime().toString();
    case DbValue::Type::Timestamp: {
        const QDateTime stamp = value.toDateTime();
        return locale.toString(stamp.date(), QLocale::ShortFormat) + QLatin1Char(' ')
            + TimeOfDay::fromQTime(stamp.time()).toString();
    }
    case DbValue::Type::Text:
        return value.toText();
    }
    return QString();
}
