#include "data/StopSignals.h"

#include <csignal>
#include <cstdlib>
#include <pthread.h>
#include <thread>

namespace StopSignals {

void install(std::function<void()> onStop)
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    std::thread([signals, onStop = std::move(onStop)] {
        bool stopping = false;
        for (;;) {
            int received = 0;
            if (sigwait(&signals, &received) != 0)
                continue;
            if (stopping)
                std::_Exit(128 + received); // asked twice: the clean way is stuck
            stopping = true;
            onStop();
        }
    }).detach();
}

} // namespace StopSignals
