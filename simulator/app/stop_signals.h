// Stop signals end a run the way Esc does, so that a live run saves its state: SIGTERM and SIGINT
// (turned into a quit event by SDL in windowed and headless runs, handled here when there is no
// window), and SIGHUP (a closed terminal or a dropped remote session) in every mode. The handlers
// only set a flag, which the run loops read.
#pragma once

// Installs the handlers (once): SIGHUP always, SIGTERM and SIGINT too when withoutWindow. Also
// ignores SIGPIPE and SIGXFSZ, so that a closed output or an over-long file makes the write fail
// with a reason instead of killing the process before it saves.
void installStopSignalHandlers(bool withoutWindow);
// True once a handled stop signal has arrived.
bool stopRequested();
