#pragma once

#include <QtGlobal>
#include <algorithm>
#include <optional>

// What the benchmarks measure and print, in one place: the same percentile
// and the same readings of the kernel's process figures for every one.

/// The nearest-rank percentile (fraction 0.5 for the median, 0.99 for p99)
/// of the values, a QList or a std::vector of numbers; 0 when there are none.
template<typename Values> double percentile(Values values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    using Size = decltype(values.size());
    const Size index = std::min<Size>(values.size() - 1, Size(fraction * double(values.size())));
    return double(values[index]);
}

/// CPU seconds (user + system) the process has used so far; none when it
/// cannot be read (the process has gone).
std::optional<double> processCpuSeconds(qint64 pid);

/// This process's resident memory in KiB; -1 when it cannot be read.
qint64 residentKiB();
