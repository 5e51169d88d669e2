#include "data/CallWatchdog.h"

CallWatchdog::CallWatchdog(std::function<void()> abort)
    : m_abort(std::move(abort))
    , m_thread([this] { run(); })
{
}

CallWatchdog::~CallWatchdog()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
}

void CallWatchdog::arm(std::chrono::milliseconds limit)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_depth++ > 0)
            return;
        m_deadline = Clock::now() + limit;
    }
    m_changed.notify_all();
}

void CallWatchdog::disarm()
{
    std::lock_guard lock(m_mutex);
    if (m_depth > 0)
        --m_depth;
}

int CallWatchdog::aborted() const
{
    std::lock_guard lock(m_mutex);
    return m_aborted;
}

void CallWatchdog::run()
{
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (m_depth == 0 || m_deadline == Clock::time_point::max()) {
            m_changed.wait(lock);
            continue;
        }
        const Clock::time_point deadline = m_deadline;
        if (m_changed.wait_until(lock, deadline) == std::cv_status::no_timeout)
            continue; // a new call, or the end: look again
        if (m_stop || m_depth == 0 || m_deadline != deadline || Clock::now() < deadline)
            continue;
        // The same call is still running past its deadline. Abort it once:
        // the deadline moves out of reach until the next call arms again.
        m_deadline = Clock::time_point::max();
        ++m_aborted;
        lock.unlock();
        m_abort();
        lock.lock();
    }
}
