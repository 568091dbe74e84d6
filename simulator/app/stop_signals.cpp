// Async-signal-safe stop flag: the handler only stores to a sig_atomic_t.
#include "stop_signals.h"

#include <signal.h>

namespace {

volatile sig_atomic_t gStopRequested = 0;

void onStopSignal(int) { gStopRequested = 1; }

}  // namespace

void installStopSignalHandlers(bool withoutWindow) {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGHUP, &action, nullptr);
    if (withoutWindow) {
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

bool stopRequested() { return gStopRequested != 0; }
