#pragma once

#include "data/DbValue.h"

#include <QList>
#include <QString>
#include <QStringList>

class DbQuery;

/// The rows a layout prints from, under the name the layout knows them by
/// ("Ticet"), with the field names of the query they came from.
class LabelDataset
{
public:
    LabelDataset() = default;
    /// componentName is the name of the dataset component (say "Ticet1"),
    /// which layouts may use in place of name.
    LabelDataset(QString name, QString componentName, QStringList fieldNames, QList<DbRow> rows);

    /// The fields of query that are among fields, in the order of fields, with
    /// all of its rows. The query must be open.
    static LabelDataset fromQuery(QString name, QString componentName, const DbQuery &query,
                                  const QStringList &fields);

    const QString &name() const { return m_name; }
    const QString &componentName() const { return m_componentName; }
    /// Whether a layout's reference (a user name or a component name, any case) means this dataset.
    bool isNamed(QStringView reference) const;

    const QStringList &fieldNames() const { return m_fieldNames; }
    int fieldIndex(QStringView field) const; ///< any case; -1 when there is none
    int rowCount() const { return int(m_rows.size()); }
    const DbRow &row(int index) const { return m_rows.at(index); }

    /// A value as a label shows it: a text as stored, an integer without
    /// decimals, a floating-point number in its shortest general form with
    /// the decimal separator of the current locale, a date in the locale's
    /// short form, a time as HH:MM:SS; NULL as nothing.
    static QString displayText(const DbValue &value);

private:
    QString m_name;
    QString m_componentName;
    QStringList m_fieldNames;
    QList<DbRow> m_rows;
};
