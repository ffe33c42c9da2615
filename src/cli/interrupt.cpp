#include "cli/interrupt.h"

#include <atomic>
#include <csignal>
#include <ostream>

namespace vorla {
namespace {

// Read by the picture's threads, written by the handler: lock-free, so safe in both.
std::atomic<int> caught{0};
std::atomic<bool> asked{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

extern "C" void Caught(int signal) {
    caught = signal;
    asked = true;
}

}  // namespace

void InstallInterruptHandlers() {
    std::signal(SIGPIPE, SIG_IGN);
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        struct sigaction on {};
        on.sa_handler = Caught;
        sigemptyset(&on.sa_mask);
        // No SA_RESTART: a write or an open that waits returns, and the render ends.
        on.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &on, nullptr);
    }
}

int InterruptSignal() {
    return caught;
}

const std::atomic<bool>* InterruptFlag() {
    return &asked;
}

int InterruptExitCode(int signal) {
    return 128 + signal;
}

const char* InterruptName(int signal) {
    return signal == SIGINT ? "SIGINT" : signal == SIGTERM ? "SIGTERM" : "a signal";
}

int Fail(std::ostream& err, int code, const std::string& message) {
    if (const int signal = InterruptSignal()) {
        err << "vorla-render: interrupted by " << InterruptName(signal)
            << "; no file was left half written\n";
        return InterruptExitCode(signal);
    }
    err << "vorla-render: " << message << "\n";
    return code;
}

}  // namespace vorla
