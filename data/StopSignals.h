#pragma once

#include <functional>

/// Ends a program cleanly on SIGINT, SIGTERM and SIGHUP.
///
/// The Firebird client library catches those signals itself when it finds no
/// handler, and starts shutting its engine down from a thread of its own:
/// the program's own detach then spins for ever. install() keeps the signals
/// from every handler: it blocks them in all threads and waits for them on a
/// thread of its own, which calls onStop at the first signal (from that
/// thread: post to the event loop, for instance with
/// QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection)).
/// A second signal ends the process at once.
///
/// Call it first thing in main(), before any thread starts (Qt's or the
/// client library's), so that every thread inherits the blocked signals.
namespace StopSignals {
void install(std::function<void()> onStop);
}
