#pragma once

#include <QString>
#include <QTime>
#include <compare>

/// A time of day with the database's resolution of 1/10000 s. QTime stops at
/// milliseconds, so the station keeps the database's own count.
class TimeOfDay
{
public:
    static constexpr quint32 TicksPerSecond = 10000;
    static constexpr quint32 TicksPerDay = 86400u * TicksPerSecond;

    constexpr TimeOfDay() = default;
    constexpr explicit TimeOfDay(quint32 ticks)
        : m_ticks(ticks)
    {
    }

    static TimeOfDay fromHms(int hours, int minutes, int seconds, int tenThousandths = 0);
    static TimeOfDay fromQTime(QTime time);
    /// The local wall-clock time now, fraction included.
    static TimeOfDay currentTime();

    constexpr quint32 ticks() const { return m_ticks; }
    constexpr bool isValid() const { return m_ticks < TicksPerDay; }
    int hour() const { return int(m_ticks / (3600u * TicksPerSecond)); }
    int minute() const { return int(m_ticks / (60u * TicksPerSecond) % 60u); }
    int second() const { return int(m_ticks / TicksPerSecond % 60u); }
    int fraction() const { return int(m_ticks % TicksPerSecond); }

    /// Truncated to milliseconds.
    QTime toQTime() const;
    /// "HH:MM:SS", 24-hour clock.
    QString toString() const;

    constexpr auto operator<=>(const TimeOfDay &) const = default;

private:
    quint32 m_ticks = 0;
};
