#include "tickets/LabelDataset.h"

#include "data/DbQuery.h"

#include <QLocale>

LabelDataset::LabelDataset(QString name, QString componentName, QStringList fieldNames, QList<DbRow> rows)
    : m_name(std::move(name))
    , m_componentName(std::move(componentName))
    , m_fieldNames(std::move(fieldNames))
    , m_rows(std::move(rows))
{
}

LabelDataset LabelDataset::fromQuery(QString name, QString componentName, const DbQuery &query,
                                     const QStringList &fields)
{
    QStringList present;
    QList<int> columns;
    for (const QString &field : fields) {
        const int column = query.fieldIndex(field);
        if (column >= 0) {
            present.append(field);
            columns.append(column);
        }
    }
    QList<DbRow> rows;
    rows.reserve(query.rowCount());
    for (int i = 0; i < query.rowCount(); ++i) {
        const DbRow &source = query.row(i);
        DbRow row;
        row.reserve(columns.size());
        for (const int column : std::as_const(columns))
            row.append(column < source.size() ? source.at(column) : DbValue());
        rows.append(row);
    }
    return LabelDataset(std::move(name), std::move(componentName), present, rows);
}

bool LabelDataset::isNamed(QStringView reference) const
{
    return (!m_name.isEmpty() && reference.compare(m_name, Qt::CaseInsensitive) == 0)
        || (!m_componentName.isEmpty() && reference.compare(m_componentName, Qt::CaseInsensitive) == 0);
}

int LabelDataset::fieldIndex(QStringView field) const
{
    for (qsizetype i = 0; i < m_fieldNames.size(); ++i) {
        if (field.compare(m_fieldNames.at(i), Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

QString LabelDataset::displayText(const DbValue &value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    switch (value.type()) {
    case DbValue::Type::Null:
        return {};
    case DbValue::Type::Integer:
        return QString::number(value.toInteger());
    case DbValue::Type::Float:
        return locale.toString(value.toFloat(), 'g', QLocale::FloatingPointShortest);
    case DbValue::Type::Text:
        return value.toText();
    case DbValue::Type::Date:
        return locale.toString(value.toDate(), QLocale::ShortFormat);
    case DbValue::Type::Time:
        return value.toTime().toString();
    case DbValue::Type::Timestamp: {
        const QDateTime stamp = value.toDateTime();
        return locale.toString(stamp.date(), QLocale::ShortFormat) + u' '
            + stamp.time().toString(u"HH:mm:ss");
    }
    }
    return {};
}
