#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

/// A thread that watches one database call at a time: a call that has not
/// returned by its deadline is aborted through the callback (which runs on
/// the watchdog's thread). A server that stops answering without closing the
/// connection (frozen, cable pulled) would otherwise hold the caller until
/// the operating system gives up on the socket.
class CallWatchdog
{
public:
    using Clock = std::chrono::steady_clock;

    explicit CallWatchdog(std::function<void()> abort);
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog &) = delete;
    CallWatchdog &operator=(const CallWatchdog &) = delete;

    /// A call starts that must be over within limit; nested calls keep the
    /// outermost deadline.
    void arm(std::chrono::milliseconds limit);
    /// The call is over (as many times as arm()).
    void disarm();
    /// How many calls the watchdog has aborted.
    int aborted() const;

private:
    void run();

    std::function<void()> m_abort;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Clock::time_point m_deadline;
    int m_depth = 0;
    int m_aborted = 0;
    bool m_stop = false;
    std::thread m_thread;
};
