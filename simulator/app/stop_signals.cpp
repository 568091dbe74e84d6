// Async-signal-safe stop flag: the handler only stores to a sig_atomic_t.
#include "stop_signals.h"

#include <signal.h>

namespace {

volatile sig_atomic_t gStopRequested = 0;

void onStopSignal(int) { gStopRequested = 1; }

}  // namespace

void installStopSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool stopRequested() { return gStopRequested != 0; }
