#include "data/TimeOfDay.h"

#include <ctime>

TimeOfDay TimeOfDay::fromHms(int hours, int minutes, int seconds, int tenThousandths)
{
    return TimeOfDay(quint32(((hours * 60 + minutes) * 60 + seconds)) * TicksPerSecond + quint32(tenThousandths));
}

TimeOfDay TimeOfDay::fromQTime(QTime time)
{
    if (!time.isValid())
        return TimeOfDay();
    return TimeOfDay(quint32(time.msecsSinceStartOfDay()) * (TicksPerSecond / 1000));
}

TimeOfDay TimeOfDay::currentTime()
{
    // QTime stops at milliseconds; the system clock gives the fourth digit the
    // database keeps. One reading serves both the wall-clock time and its fraction.
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    localtime_r(&now.tv_sec, &local);
    return fromHms(local.tm_hour, local.tm_min, qMin(local.tm_sec, 59), int(now.tv_nsec / 100000));
}

QTime TimeOfDay::toQTime() const
{
    return QTime::fromMSecsSinceStartOfDay(int(m_ticks / (TicksPerSecond / 1000)));
}

QString TimeOfDay::toString() const
{
    return QStringLiteral("%1:%2:%3")
        .arg(hour(), 2, 10, QLatin1Char('0'))
        .arg(minute(), 2, 10, QLatin1Char('0'))
        .arg(second(), 2, 10, QLatin1Char('0'));
}
