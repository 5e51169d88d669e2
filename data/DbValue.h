#pragma once

#include "data/TimeOfDay.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <variant>

/// One value read from or written to the database: NULL, an integer, a
/// floating-point number, a text, a date, a time or a timestamp.
class DbValue
{
public:
    enum class Type { Null, Integer, Float, Text, Date, Time, Timestamp };

    DbValue() = default;
    DbValue(int value);
    DbValue(qint64 value);
    DbValue(double value);
    DbValue(const QString &value);
    DbValue(const char *) = delete; // say QStringLiteral or u""_s
    DbValue(QDate value);      // an invalid QDate is NULL
    DbValue(TimeOfDay value);
    DbValue(const QDateTime &value); // an invalid QDateTime is NULL

    static DbValue null() { return {}; }

    Type type() const;
    bool isNull() const { return type() == Type::Null; }

    /// Conversions as the data layer applies them to a parameter or a field
    /// read: a text converts to a number when it is one (surrounding blanks
    /// ignored), a number to its decimal text; anything else throws a
    /// StationError that names the value and the wanted type. NULL reads as
    /// 0, an empty text, an invalid date or midnight.
    qint64 toInteger() const;
    double toFloat() const;
    QString toText() const;
    QDate toDate() const;
    TimeOfDay toTime() const;
    QDateTime toDateTime() const;

    bool operator==(const DbValue &other) const = default;

private:
    std::variant<std::monostate, qint64, double, QString, QDate, TimeOfDay, QDateTime> m_value;
};

using DbRow = QList<DbValue>;
