#include "data/DbValue.h"

#include "app/StationError.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

QString typeName(DbValue::Type type)
{
    switch (type) {
    case DbValue::Type::Null:
        return QStringLiteral("NULL");
    case DbValue::Type::Integer:
        return QStringLiteral("integer");
    case DbValue::Type::Float:
        return QStringLiteral("number");
    case DbValue::Type::Text:
        return QStringLiteral("text");
    case DbValue::Type::Date:
        return QStringLiteral("date");
    case DbValue::Type::Time:
        return QStringLiteral("time");
    case DbValue::Type::Timestamp:
        return QStringLiteral("timestamp");
    }
    return {};
}

[[noreturn]] void cannotConvert(const DbValue &value, DbValue::Type wanted)
{
    throw StationError(QStringLiteral("\"%1\" is not a valid %2").arg(value.toText(), typeName(wanted)));
}

// A decimal number written with a point, or with the current locale's decimal
// separator, surrounding blanks ignored.
bool parseFloat(const QString &text, double *result)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    *result = QLocale::c().toDouble(trimmed, &ok);
    if (!ok)
        *result = QLocale().toDouble(trimmed, &ok);
    return ok && std::isfinite(*result);
}

// TimeOfDay from "HH:MM[:SS[.ffff]]".
bool parseTime(const QString &text, TimeOfDay *result)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::(\\d{2})(?:[.,](\\d{1,4}))?)?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    const int hours = match.captured(1).toInt();
    const int minutes = match.captured(2).toInt();
    const int seconds = match.captured(3).toInt();
    const QString fractionText = match.captured(4);
    const int fraction = fractionText.isEmpty() ? 0 : QString(fractionText + QStringLiteral("000")).left(4).toInt();
    if (hours > 23 || minutes > 59 || seconds > 59)
        return false;
    *result = TimeOfDay::fromHms(hours, minutes, seconds, fraction);
    return true;
}

QDate parseDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (!date.isValid())
        date = QDateTime::fromString(trimmed, Qt::ISODate).date();
    return date;
}

} // namespace

DbValue::DbValue(int value)
    : m_value(qint64(value))
{
}

DbValue::DbValue(qint64 value)
    : m_value(value)
{
}

DbValue::DbValue(double value)
    : m_value(value)
{
}

DbValue::DbValue(const QString &value)
    : m_value(value)
{
}

DbValue::DbValue(QDate value)
{
    if (value.isValid())
        m_value = value;
}

DbValue::DbValue(TimeOfDay value)
    : m_value(value)
{
}

DbValue::DbValue(const QDateTime &value)
{
    if (value.isValid())
        m_value = value;
}

DbValue::Type DbValue::type() const
{
    return Type(m_value.index());
}

qint64 DbValue::toInteger() const
{
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return std::get<qint64>(m_value);
    case Type::Float: {
        const double value = std::round(std::get<double>(m_value));
        if (!std::isfinite(value) || std::fabs(value) > 9.2e18)
            cannotConvert(*this, Type::Integer);
        return qint64(value);
    }
    case Type::Text: {
        const QString trimmed = std::get<QString>(m_value).trimmed();
        bool ok = false;
        const qint64 value = trimmed.toLongLong(&ok);
        if (ok)
            return value;
        // "2.0" and "2,5" are numbers too; a whole value converts exactly, others round.
        double number = 0;
        if (parseFloat(trimmed, &number))
            return DbValue(number).toInteger();
        cannotConvert(*this, Type::Integer);
    }
    default:
        cannotConvert(*this, Type::Integer);
    }
}

double DbValue::toFloat() const
{
    switch (type()) {
    case Type::Null:
        return 0;
    case Type::Integer:
        return double(std::get<qint64>(m_value));
    case Type::Float:
        return std::get<double>(m_value);
    case Type::Text: {
        double number = 0;
        if (parseFloat(std::get<QString>(m_value), &number))
            return number;
        cannotConvert(*this, Type::Float);
    }
    default:
        cannotConvert(*this, Type::Float);
    }
}

QString DbValue::toText() const
{
    switch (type()) {
    case Type::Null:
        return QString();
    case Type::Integer:
        return QString::number(std::get<qint64>(m_value));
    case Type::Float:
        return QString::number(std::get<double>(m_value), 'g', QLocale::FloatingPointShortest);
    case Type::Text:
        return std::get<QString>(m_value);
    case Type::Date:
        return std::get<QDate>(m_value).toString(Qt::ISODate);
    case Type::Time:
        return std::get<TimeOfDay>(m_value).toString();
    case Type::Timestamp:
        return std::get<QDateTime>(m_value).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return QString();
}

QDate DbValue::toDate() const
{
    switch (type()) {
    case Type::Null:
        return QDate();
    case Type::Date:
        return std::get<QDate>(m_value);
    case Type::Timestamp:
        return std::get<QDateTime>(m_value).date();
    case Type::Text: {
        const QDate date = parseDate(std::get<QString>(m_value));
        if (date.isValid())
            return date;
        cannotConvert(*this, Type::Date);
    }
    default:
        cannotConvert(*this, Type::Date);
    }
}

TimeOfDay DbValue::toTime() const
{
    switch (type()) {
    case Type::Null:
        return TimeOfDay();
    case Type::Time:
        return std::get<TimeOfDay>(m_value);
    case Type::Timestamp:
        return TimeOfDay::fromQTime(std::get<QDateTime>(m_value).time());
    case Type::Text: {
        TimeOfDay time;
        if (parseTime(std::get<QString>(m_value), &time))
            return time;
        cannotConvert(*this, Type::Time);
    }
    default:
        cannotConvert(*this, Type::Time);
    }
}

QDateTime DbValue::toDateTime() const
{
    switch (type()) {
    case Type::Null:
        return QDateTime();
    case Type::Timestamp:
        return std::get<QDateTime>(m_value);
    case Type::Date:
        return QDateTime(std::get<QDate>(m_value), QTime(0, 0));
    case Type::Text: {
        const QString trimmed = std::get<QString>(m_value).trimmed();
        QDateTime value = QDateTime::fromString(trimmed, Qt::ISODate);
        if (!value.isValid())
            value = QDateTime::fromString(trimmed, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!value.isValid()) {
            const QDate date = QDate::fromString(trimmed, Qt::ISODate);
            if (date.isValid())
                value = QDateTime(date, QTime(0, 0));
        }
        if (value.isValid())
            return value;
        cannotConvert(*this, Type::Timestamp);
    }
    default:
        cannotConvert(*this, Type::Timestamp);
    }
}
